// The About box: program icon, name and version, copyright, licence and
// the homepage, one OK button.
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
    // `homepage`: the address Help, Parchly Homepage visits.
    explicit AboutDialog(const QString& homepage, QWidget* parent = nullptr);

    QString programName() const;
    QString versionText() const;
    QString copyrightText() const;
    QString licenceText() const;
    // The homepage link as shown (rich text).
    QString homepageText() const;

private:
    QLabel* m_name;
    QLabel* m_version;
    QLabel* m_copyright;
    QLabel* m_licence;
    QLabel* m_homepage;
};

} // namespace parchly

#endif
