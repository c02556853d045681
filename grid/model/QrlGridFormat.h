// A safe stand-in for the platform's printf-like Format: the format text comes from users and
// settings files, so it is parsed here and never handed to the C library.
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

// Specifiers: "%" [index ":"] ["-"] [width] ["." precision] type, with type one of d u x e f g
// n m s (either case) and "%%". Arguments are taken in order. A number written with e, f, g, n
// or m uses the regional decimal separator (n and m also group thousands). Returns false (Out
// empty) for a bad specifier, a missing argument or an argument of the wrong kind (d, u and x
// need an integer, the float kinds a number).
bool GridFormat(const QString &Fmt, const QVariantList &Args, QString &Out);

// The whole text as a 32-bit integer: optional sign, then decimal digits, or hexadecimal ones
// after "$", "x", "X", "0x" or "0X" (up to 8 of them, read as the 32 bits they give).
bool GridTryStrToInt(const QString &Text, int &Value);
// A complete decimal number with "." and an optional exponent.
bool GridTryStrToFloat(const QString &Text, double &Value);

// Dates and times in the regional short date format and the time separator (hours, minutes,
// seconds).
QString GridDateToStr(double Value);
QString GridTimeToStr(double Value);
// Throw EQrlConvertError for a text that is not a date / time.
double GridStrToDate(const QString &Text);
double GridStrToTime(const QString &Text);
