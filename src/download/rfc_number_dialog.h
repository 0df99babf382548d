// The question Download RFC asks first: which RFC.
#ifndef PARCHLY_DOWNLOAD_RFC_NUMBER_DIALOG_H
#define PARCHLY_DOWNLOAD_RFC_NUMBER_DIALOG_H

#include <QDialog>

#include <cstdint>
#include <optional>

class QSpinBox;

namespace parchly {

class RfcNumberDialog : public QDialog {
    Q_OBJECT

public:
    explicit RfcNumberDialog(QWidget* parent = nullptr);
    int32_t number() const;
    void setNumber(int32_t number);

private:
    QSpinBox* m_number;
};

// Asks for an RFC number through the program's dialogs; none when the
// reader cancelled.
std::optional<int32_t> askRfcNumber(QWidget* parent);

} // namespace parchly

#endif
