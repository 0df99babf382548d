// The welcome shown in the middle of the empty main window while the local
// RFC folder has no RFC index: the ways to get something to read.
#ifndef PARCHLY_FRAME_WELCOME_PANEL_H
#define PARCHLY_FRAME_WELCOME_PANEL_H

#include <QFrame>

class QPushButton;

namespace parchly {

class WelcomePanel : public QFrame {
    Q_OBJECT
public:
    explicit WelcomePanel(QWidget* parent = nullptr);

    QPushButton* updateCollectionButton() const { return m_updateCollection; }
    QPushButton* downloadIndexButton() const { return m_downloadIndex; }
    QPushButton* chooseFolderButton() const { return m_chooseFolder; }
    QPushButton* openFileButton() const { return m_openFile; }

signals:
    void updateCollectionRequested();
    void downloadIndexRequested();
    void chooseFolderRequested();
    void openFileRequested();

private:
    QPushButton* m_updateCollection;
    QPushButton* m_downloadIndex;
    QPushButton* m_chooseFolder;
    QPushButton* m_openFile;
};

} // namespace parchly

#endif
