// The Options dialog's "Format" page: the five display formats, chosen with
// the font chooser and shown in their four text forms.
#ifndef PARCHLY_APP_OPTIONS_FORMAT_PAGE_H
#define PARCHLY_APP_OPTIONS_FORMAT_PAGE_H

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace parchly {

class Profile;
struct RfcSettings;

class OptionsFormatPage : public QWidget {
    Q_OBJECT
public:
    OptionsFormatPage(RfcSettings& settings, Profile& profile, QWidget* parent = nullptr);

    // Stores the shown format for the selected category and saves the settings.
    bool apply();

    QComboBox* categoryBox() const { return m_category; }
    QPushButton* selectButton() const { return m_select; }
    // Chooses the category's colour at once, with no font chooser between.
    QPushButton* colourButton() const { return m_colourButton; }
    QLineEdit* fontField() const { return m_font; }
    QLineEdit* colorField() const { return m_color; }
    QLineEdit* styleField() const { return m_style; }
    QLineEdit* sizeField() const { return m_size; }
    // Gives the selected category the look of "Default": the plain text,
    // how the requirement keywords are turned off.
    QPushButton* plainButton() const { return m_plain; }
    // "Show what the RFC index says above each RFC" (ShowIndexBar).
    QCheckBox* indexBarBox() const { return m_indexBar; }

private slots:
    // A confirmed choice is stored in the settings at once (not saved).
    void selectFont();
    void selectColour();
    void showSelectedFormat();

private:
    RfcSettings& m_settings;
    Profile& m_profile;
    QComboBox* m_category = nullptr;
    QPushButton* m_select = nullptr;
    QPushButton* m_colourButton = nullptr;
    QLineEdit* m_font = nullptr;
    QLineEdit* m_color = nullptr;
    QLineEdit* m_style = nullptr;
    QLineEdit* m_size = nullptr;
    QPushButton* m_plain = nullptr;
    QCheckBox* m_indexBar = nullptr;
};

} // namespace parchly

#endif
