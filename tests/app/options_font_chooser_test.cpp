// The font chooser the Format page offers: it starts from the stored format
// and gives back what the user set.
#include "platform/font_chooser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace parchly {

TEST(FontChooser, StartsFromTheGivenChoiceAndReturnsWhatWasSet)
{
    FontChooserDialog chooser(FontChoice{"", 700, true, true, false, 14, QColor(0, 128, 255)});
    EXPECT_EQ(chooser.styleBox()->currentText(), "Bold Italic");
    const FontChoice same = chooser.choice();
    EXPECT_TRUE(same.weight == 700 && same.italic && same.underline && !same.strikeout);
    EXPECT_EQ(same.pointSize, 14);
    EXPECT_EQ(same.colour, QColor(0, 128, 255));

    chooser.styleBox()->setCurrentText("Italic");
    chooser.sizeBox()->setValue(9);
    chooser.underlineBox()->setChecked(false);
    chooser.strikeoutBox()->setChecked(true);
    chooser.setColour(Qt::red);
    const FontChoice chosen = chooser.choice();
    EXPECT_TRUE(chosen.weight == 400 && chosen.italic && !chosen.underline && chosen.strikeout);
    EXPECT_EQ(chosen.pointSize, 9);
    EXPECT_EQ(chosen.colour, QColor(Qt::red));
    EXPECT_EQ(chosen.face, chooser.faceBox()->currentFont().family());
}

} // namespace parchly
