// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cell_text.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace zifrax {

namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }
bool isAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Reads [sign] digits [. digits] [exponent] from `pos`; returns the position
// after the number, or `pos` itself when no digit was found.
qsizetype scanNumber(const QString& text, qsizetype pos, double* value)
{
    qsizetype i = pos;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    qsizetype digits = 0;
    while (i < text.size() && isAsciiDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < text.size() && isAsciiDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return pos;
    qsizetype end = i;
    if (i < text.size() && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < text.size() && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            ++j;
        if (j < text.size() && isAsciiDigit(text[j])) {
            while (j < text.size() && isAsciiDigit(text[j]))
                ++j;
            end = j;
        }
    }
    *value = text.mid(pos, end - pos).toDouble();
    return end;
}

}  // namespace

bool isNumeric(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    double value = 0;
    if (scanNumber(trimmed, 0, &value) == trimmed.size())
        return true;
    bool ok = false;
    QLocale().toDouble(trimmed, &ok);
    return ok;
}

double leadingValue(const QString& text)
{
    qsizetype pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    double value = 0;
    scanNumber(text, pos, &value);
    return value;
}

std::int32_t roundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    const double rounded = std::nearbyint(value);  // the default rounding mode is half to even
    if (rounded <= std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (rounded >= std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(rounded);
}

std::int32_t cellDigit(const QString& text)
{
    const std::int32_t value = roundHalfEven(leadingValue(text));
    return value >= 0 && value <= 9 ? value : 0;
}

}  // namespace zifrax
