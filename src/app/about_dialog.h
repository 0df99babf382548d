// The About box: program icon, name and version, one OK button.
#ifndef PARCHLY_APP_ABOUT_DIALOG_H
#define PARCHLY_APP_ABOUT_DIALOG_H

#include <QDialog>

class QLabel;

namespace parchly {

constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 2;

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    QString programName() const;
    QString versionText() const;

private:
    QLabel* m_name;
    QLabel* m_version;
};

} // namespace parchly

#endif
