// The user's regional decimal separator and the number conversion that follows it.
#pragma once

#include <QChar>
#include <QString>
#include <optional>

namespace plat {

// The user's regional decimal setting as text (at most 3 characters); "" when unknown.
QString RegionalDecimalSetting();

// The decimal separator the program's own float conversion uses: the setting's first character
// when that is ',' or '.', else ','.
QChar ProgramDecimalSeparator();

// Tests pin the separator here; std::nullopt returns to the system's setting.
void OverrideDecimalSeparator(std::optional<QString> setting);

// Reads a real number written with ProgramDecimalSeparator(): blanks around it, optional sign,
// digits with at most one separator (at least one digit), optional exponent "E[+|-]digits".
// No thousands separators. False leaves out untouched.
bool TryStrToFloat(const QString &text, double &out);
// The same reading with the separator given, for texts of a fixed notation.
bool TryStrToFloat(const QString &text, QChar sep, double &out);
// As above, failing also when the value does not fit a 32-bit float.
bool TryStrToFloat(const QString &text, float &out);

} // namespace plat
