#include "platform/char_format.h"

#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QString>
#include <cstring>

namespace parchly {

namespace {

QString faceOf(const TextFormat& format)
{
    return QString::fromUtf8(format.faceName, static_cast<int>(strnlen(format.faceName, kFaceNameSize)));
}

void applyFace(QTextCharFormat& out, const QString& face)
{
    if (!face.isEmpty() && QFontDatabase::hasFamily(face)) {
        out.setFontFamilies({face});
        return;
    }
    out.setFontFamilies({QFontDatabase::systemFont(QFontDatabase::FixedFont).family()});
    out.setFontStyleHint(QFont::TypeWriter);
    out.setFontFixedPitch(true);
}

// Equal in every field the conversion reads (the face up to its terminator).
bool sameFormat(const TextFormat& a, const TextFormat& b)
{
    return a.mask == b.mask && a.effects == b.effects && a.height == b.height && a.colour == b.colour
        && strncmp(a.faceName, b.faceName, kFaceNameSize) == 0;
}

} // namespace

QTextCharFormat toCharFormat(const TextFormat& format)
{
    QTextCharFormat out;
    const uint32_t mask = format.mask;
    if (mask & kMaskBold)
        out.setFontWeight(format.effects & kEffectBold ? QFont::Bold : QFont::Normal);
    if (mask & kMaskItalic)
        out.setFontItalic(format.effects & kEffectItalic);
    if (mask & kMaskUnderline)
        out.setFontUnderline(format.effects & kEffectUnderline);
    if (mask & kMaskStrikeout)
        out.setFontStrikeOut(format.effects & kEffectStrikeout);
    if (mask & kMaskFace)
        applyFace(out, faceOf(format));
    if (mask & kMaskColour) {
        const uint32_t c = format.colour;
        out.setForeground(QColor(int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff)));
    }
    if ((mask & kMaskSize) && format.height > 0)
        out.setFontPointSize(format.height / 20.0);
    return out;
}

QTextCharFormat CharFormatCache::charFormat(const TextFormat& format)
{
    for (const auto& known : m_formats)
        if (sameFormat(known.first, format))
            return known.second;
    if (m_formats.size() >= kLimit)
        m_formats.clear();
    m_formats.emplace_back(format, toCharFormat(format));
    return m_formats.back().second;
}

} // namespace parchly
