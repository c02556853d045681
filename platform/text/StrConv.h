// Text-to-number conversion and trimming shared by every layer (checks, image compiler, grid).
#pragma once

#include <QString>
#include <cstdint>

namespace plat {

// Reads the whole text as a 32-bit signed decimal integer: optional '+' or '-', then digits only.
// No blanks, no hexadecimal, no empty text. Returns false (out untouched) when it does not fit.
bool TryStrToInt(const QString &text, int32_t &out);

// As TryStrToInt, giving fallback for anything that does not convert.
int32_t StrToIntDef(const QString &text, int32_t fallback);

// Remove blanks and control characters (code <= 0x20) at both ends / the start / the end.
QString Trim(const QString &text);
QString TrimLeft(const QString &text);
QString TrimRight(const QString &text);

} // namespace plat
