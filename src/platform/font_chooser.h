// The font chooser of the Options dialog's Format page: fixed-pitch fonts
// only, with style, size, underline, strikeout and colour.
#ifndef PARCHLY_PLATFORM_FONT_CHOOSER_H
#define PARCHLY_PLATFORM_FONT_CHOOSER_H

#include "platform/dialogs.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace parchly {

class FontChooserDialog : public QDialog {
    Q_OBJECT
public:
    explicit FontChooserDialog(const FontChoice& initial, QWidget* parent = nullptr);

    FontChoice choice() const;

    QFontComboBox* faceBox() const { return m_face; }
    // "Regular", "Italic", "Bold", "Bold Italic".
    QComboBox* styleBox() const { return m_style; }
    QSpinBox* sizeBox() const { return m_size; }
    QCheckBox* underlineBox() const { return m_underline; }
    QCheckBox* strikeoutBox() const { return m_strikeout; }
    QColor colour() const { return m_colour; }
    void setColour(const QColor& colour);

private slots:
    void pickColour();
    void updateSample();

private:
    QFontComboBox* m_face = nullptr;
    QComboBox* m_style = nullptr;
    QSpinBox* m_size = nullptr;
    QCheckBox* m_underline = nullptr;
    QCheckBox* m_strikeout = nullptr;
    QPushButton* m_colourButton = nullptr;
    QLabel* m_sample = nullptr;
    QColor m_colour;
};

} // namespace parchly

#endif
