#include "app/options_level_counts.h"

#include "settings/leading_integer.h"

#include <QStringList>
#include <climits>

namespace parchly {

namespace {

// Counts below this are too small to group the index usefully; 10 itself
// is accepted.
constexpr int32_t kMinimumCount = 10;

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Reads the digits at `pos`, held at INT32_MAX so a long run cannot overflow.
int32_t readNumber(const QString& text, qsizetype& pos)
{
    long long number = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos)
        number = qMin<long long>(number * 10 + (text[pos].unicode() - '0'), INT32_MAX);
    return static_cast<int32_t>(number);
}

} // namespace

bool parseLevelCounts(const QString& text, std::vector<int32_t>& counts, QString& message)
{
    if (text.isEmpty() || leadingInteger(text.toStdString()) < 1) {
        message = QStringLiteral("Empty value.\nMust contain at least 1 decimal number!");
        return false;
    }
    std::vector<int32_t> parsed;
    qsizetype pos = 0;
    while (pos < text.size()) {
        if (isBlank(text[pos])) {
            ++pos;
            continue;
        }
        if (!isDigit(text[pos])) {
            message = QStringLiteral("Wrong value : %1.\nMust be decimal number!").arg(text[pos]);
            return false;
        }
        const int32_t number = readNumber(text, pos);
        if (number < kMinimumCount || (!parsed.empty() && number >= parsed.back())) {
            message = QStringLiteral("Wrong value: %1.\nMust be greater than 10!").arg(number);
            return false;
        }
        parsed.push_back(number);
        while (pos < text.size() && isBlank(text[pos]))
            ++pos;
        if (pos < text.size()) {
            if (text[pos] != QLatin1Char(',')) {
                message = QStringLiteral("Wrong character: %1.\nMust seperated by comma(,)!").arg(text[pos]);
                return false;
            }
            ++pos;
        }
    }
    counts = parsed;
    return true;
}

QString formatLevelCounts(const std::vector<int32_t>& counts)
{
    QStringList texts;
    for (int32_t count : counts)
        texts << QString::number(count);
    return texts.join(QStringLiteral(", "));
}

} // namespace parchly
