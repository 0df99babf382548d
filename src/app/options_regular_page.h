// The Options dialog's "Regular" page: the behaviour switches and the node
// counts of the RFC Index tree.
#ifndef PARCHLY_APP_OPTIONS_REGULAR_PAGE_H
#define PARCHLY_APP_OPTIONS_REGULAR_PAGE_H

#include <QWidget>

class QCheckBox;
class QLineEdit;

namespace parchly {

class Profile;
struct RfcSettings;

class OptionsRegularPage : public QWidget {
    Q_OBJECT
public:
    OptionsRegularPage(RfcSettings& settings, Profile& profile, QWidget* parent = nullptr);

    // Stores the page into the settings and saves them; false, storing
    // nothing, when the node counts are rejected (the message is shown).
    bool apply();

    // Each check box's object name is the name of its settings field.
    QCheckBox* box(const char* fieldName) const;
    QLineEdit* levelCountsField() const { return m_levelCounts; }

private slots:
    // A master switch that is on turns its dependent boxes on and locks
    // them; turned off again, they stay on but can be changed.
    void applyDependentOptions();

private:
    struct Binding {
        QCheckBox* box;
        bool RfcSettings::*field;
    };

    QCheckBox* addBox(const char* label, const char* fieldName, bool RfcSettings::*field, bool indented);

    RfcSettings& m_settings;
    Profile& m_profile;
    QList<Binding> m_bindings;
    QLineEdit* m_levelCounts = nullptr;
};

} // namespace parchly

#endif
