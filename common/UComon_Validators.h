// Small stateless checks and splitters for the texts typed into dialogs and grid cells.
// None of them shows anything; each reports through its result.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// Dotted IPv4 address, blanks around the parts allowed. The parts found are returned even when
// a dot is missing; the result is true only for four parts of 0 to 255.
bool Split_IP_Address(const QString &text, QString &ip1, QString &ip2, QString &ip3, QString &ip4);

// Four dotted bytes, parts not trimmed. Returns true on an ERROR: an empty text (bytes left
// untouched) or a part that is not 0 to 255 (that byte becomes 0; all four are always written).
bool Str_To_IP_Bytes(const QString &text, uint8_t &b1, uint8_t &b2, uint8_t &b3, uint8_t &b4);

// "a.b.c.d:port". All outputs are 0 unless the whole text is valid.
bool Str_To_IP_Port(
    const QString &text, uint8_t &b1, uint8_t &b2, uint8_t &b3, uint8_t &b4, uint16_t &port);

// KNX individual address ("area.line.device" or a plain number) or, with isGroup, group address
// ("main/sub", "main/middle/sub" or a plain number). 0 valid, 1 invalid.
int32_t Check_KNX_Address(const QString &text, bool isGroup, bool allowAllZero);

// True when the text holds no ".", i.e. it is meant as a group address.
bool Is_Group_Address(const QString &text);

// SNMP object identifier: 0 valid; 1 longer than 61; 2 a character other than "." and digits;
// 3 starts with "." (also the empty text: the first component is missing); 4 ends with ".";
// 5 holds ".."; 6 a component above 4294967295.
int32_t Check_OID(const QString &text);

// 0 valid; 1 longer than 15; 2 shorter than 8 (than 1 with allowShort), before 1;
// 3 a character outside 0-9, A-Z, a-z.
int32_t Check_SNMP_Password(const QString &text, bool allowShort);

// "AUTH NOPRIV" 1, "AUTH PRIV" 3 (any case, trimmed), empty -1, anything else 0.
int8_t Get_SNMP_Security_Level(const QString &text);

// The user's decimal separator, "," or "."; "," when unknown or unusual.
QString Get_Decimal_Separator();

// Reads a real written with "," or ".": both are turned into the given separator and the text is
// converted with the program's decimal separator. On failure value is 1.0 and the result false.
bool Str_To_Float_Sep(const QString &text, const QString &separator, float &value);

// Numbers (decimal text, ascending) of the serial ports 1 to 256 that are present.
QStringList Get_COM_Ports();
