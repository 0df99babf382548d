// The Options dialog: the only place where the user changes the settings.
// Its three pages each store their values and save the whole settings file
// when applied; open windows pick the changes up the next time they need them.
#ifndef PARCHLY_APP_OPTIONS_DIALOG_H
#define PARCHLY_APP_OPTIONS_DIALOG_H

#include <QDialog>
#include <string>

class QPushButton;
class QTabWidget;

namespace parchly {

class OptionsFormatPage;
class OptionsRegularPage;
class OptionsRfcPage;
class Profile;
struct RfcSettings;

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(RfcSettings& settings, Profile& profile, std::string& lastBrowsedFolder,
                  QWidget* parent = nullptr);

    enum Page { kRegularPage = 0, kFormatPage = 1, kRfcPage = 2 };

    QTabWidget* tabs() const { return m_tabs; }
    OptionsRegularPage* regularPage() const { return m_regular; }
    OptionsFormatPage* formatPage() const { return m_format; }
    OptionsRfcPage* rfcPage() const { return m_rfc; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* applyButton() const { return m_apply; }

signals:
    // Some page stored its values: open windows show them at once.
    void applied();

public slots:
    // "&OK": applies Regular, Format and RFC in this order, then closes,
    // whether or not a page rejected its input.
    void accept() override;

private slots:
    // "&Apply": applies the page of the selected tab only.
    void applyCurrentPage();

private:
    QTabWidget* m_tabs = nullptr;
    OptionsRegularPage* m_regular = nullptr;
    OptionsFormatPage* m_format = nullptr;
    OptionsRfcPage* m_rfc = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_apply = nullptr;
};

} // namespace parchly

#endif
