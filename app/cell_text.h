// SPDX-License-Identifier: GPL-3.0-or-later
// The two readings of a cell's text.
#pragma once

#include <QString>
#include <cstdint>

namespace zifrax {

// The whole text reads as a number, blanks around it allowed: a sign, a
// decimal point or the locale's decimal separator and an exponent are
// allowed. "7", " 7", "-3" and "0" are numeric; "a", "7a" and "" are not.
bool isNumeric(const QString& text);

// The number the text begins with, read with "." as the decimal point;
// 0 when it does not begin with a number.
double leadingValue(const QString& text);

// Rounded to a whole number, a half going to the even neighbour; clamped to
// the 32-bit range.
std::int32_t roundHalfEven(double value);

// The cell value of a text: its leading value rounded half to even, where
// anything outside 0 … 9 counts as no digit (0).
std::int32_t cellDigit(const QString& text);

}  // namespace zifrax
