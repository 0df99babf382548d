// "Open RFC by Number": the reader types a number, or a few words of a
// title that the RFC index completes to its RFC.
#ifndef PARCHLY_FRAME_OPEN_RFC_DIALOG_H
#define PARCHLY_FRAME_OPEN_RFC_DIALOG_H

#include <QDialog>
#include <cstdint>
#include <map>
#include <string>

class QCompleter;
class QLineEdit;
class QPushButton;

namespace parchly {

// The RFC number a typed text names: "9110", "rfc9110", "RFC 9110" or a
// completion "9110  HTTP Semantics"; 0 when it names none.
int rfcNumberOfTypedText(const QString& text);

class OpenRfcDialog : public QDialog {
    Q_OBJECT
public:
    // `titles`: the RFC index's title of each RFC, offered as completions.
    OpenRfcDialog(const std::map<int32_t, std::string>& titles, QWidget* parent = nullptr);

    QLineEdit* numberEdit() const { return m_number; }
    QCompleter* completer() const { return m_completer; }
    QPushButton* openButton() const { return m_open; }
    // The RFC chosen; 0 when the text names none.
    int chosenNumber() const;

private:
    QLineEdit* m_number;
    QCompleter* m_completer;
    QPushButton* m_open;
};

} // namespace parchly

#endif
