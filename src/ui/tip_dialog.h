// The Tip of the Day dialog: one line of the tips file per showing. How far
// the file has been read is kept in the "Tip" section of the settings file,
// so each showing (and each start-up check) moves on one tip, and a changed
// tips file starts again from its top.
#ifndef PARCHLY_UI_TIP_DIALOG_H
#define PARCHLY_UI_TIP_DIALOG_H

#include <QDialog>
#include <cstdio>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;

namespace parchly {

class Profile;

class TipDialog : public QDialog {
    Q_OBJECT
public:
    // Reads the next tip at once, whether or not the dialog is then shown.
    TipDialog(const std::string& appDirectory, Profile& profile, QWidget* parent = nullptr);
    // Remembers where the next tip is to be looked for and, when the dialog
    // was closed with "&Close" (accepted; the only way of closing that
    // stores the check box), whether tips are shown at start-up.
    ~TipDialog() override;

    // Whether the user wants tips shown at start-up ("StartUp" is 0).
    bool showAtStartUp() const { return m_showAtStartUp; }

    QString tipText() const;
    QCheckBox* startUpBox() const { return m_startUp; }
    QPushButton* nextButton() const { return m_next; }
    QPushButton* closeButton() const { return m_close; }

public slots:
    void nextTip();

private:
    void buildWidgets();
    void readTip();

    Profile& m_profile;
    std::FILE* m_file = nullptr;
    bool m_showAtStartUp = true;

    QLabel* m_tip = nullptr;
    QCheckBox* m_startUp = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_close = nullptr;
};

// The tip at start-up, over the main window already shown (`parent`):
// constructs the dialog (which moves the tips on by one in any case) and
// shows it when the user keeps tips at start-up.
void showStartUpTip(const std::string& appDirectory, Profile& profile, QWidget* parent);

} // namespace parchly

#endif
