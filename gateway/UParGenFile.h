// The general parameter file ParGen.xml: its keys, defaults, reading, whole-form check and
// writing. The dialog TFParGen moves the values between this set and its controls; the image
// compiler reads the same file through readParGen().
#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace plat {
class XmlDocument;
}

namespace pargen {

// Key positions, in the order the file is written.
enum TParKey : int {
    IEC61850_Server_IP1,
    IEC61850_Server_IP2,
    IEC61850_Server_IP3,
    IEC61850_Server_IP4,
    IEC61850_Server_SM1,
    IEC61850_Server_SM2,
    IEC61850_Server_SM3,
    IEC61850_Server_SM4,
    IEC61850_Server_GAT1,
    IEC61850_Server_GAT2,
    IEC61850_Server_GAT3,
    IEC61850_Server_GAT4,
    IEC61850_Server_EN_GAT,
    IEC61850_Server_Port,
    IEC61850_Server_Password,
    IEC61850_Server_Name_Of_Server,
    Eth_Conn_Device_Name,
    Eth_Conn_DHCP_Cable,
    Eth_Conn_DHCP_WiFi,
    Eth_Conn_Enable_DNS,
    Eth_Conn_Primary_DNS1,
    Eth_Conn_Primary_DNS2,
    Eth_Conn_Primary_DNS3,
    Eth_Conn_Primary_DNS4,
    Eth_Conn_Secondary_DNS1,
    Eth_Conn_Secondary_DNS2,
    Eth_Conn_Secondary_DNS3,
    Eth_Conn_Secondary_DNS4,
    TLS_Server_Enable,
    TLS_Server_Key,
    TLS_Server_Key_Password,
    TLS_Server_Server_Certificate,
    TLS_Server_Root_Certificate,
    TLS_Server_Enable_Known_Cert,
    ModbusM_SERIAL,
    ModbusM_BAUDRATE,
    ModbusM_PARITY,
    ModbusM_STOPBITS,
    ModbusM_TIMEOUT,
    ModbusM_CYCLIC,
    NTP_Server_URL,
    NTP_Poll_Time,
};

inline constexpr int ParGen_Key_Count = 42;

enum class TParKind {
    Octet,     // decimal text of one address byte
    Number,    // decimal text
    Text,      // free text
    MultiLine, // free text with line breaks (key, certificates)
    FlagExact, // check box; checked only by the text "1"
    FlagInt,   // check box; the text as an integer, 1 checks, a non-integer fails the read
    Index,     // drop-down list; the selected index in decimal
};

struct TParKeyDesc
{
    const char *name;    // element name in the file
    const char *control; // the dialog control that holds the value
    TParKind kind;
    const char *defNoFile;  // value when there is no file
    const char *defMissing; // value when the key is missing; nullptr: leave as it was
    const char *fallback;   // older key read when this one fails; nullptr: none
    int itemCount;          // Index: number of list items
};

extern const std::array<TParKeyDesc, ParGen_Key_Count> ParGen_Keys;

// The 42 values as the file holds them: flags "1"/"0", indexes in decimal, the rest as typed.
using TParGenValues = std::array<QString, ParGen_Key_Count>;

inline constexpr char ParGen_Root_Name[] = "Par_Gen";
inline constexpr char ParGen_Version_Comment[] = "SW_VERSION = 1.005";

// Every value as a new configuration starts.
TParGenValues defaultValues();

// Reads the values out of a loaded document (its document element is the root).
TParGenValues readParGen(const plat::XmlDocument &doc);

// Reads the file; a missing file gives defaultValues(). Throws plat::EXmlError when the file
// exists but cannot be read or parsed.
TParGenValues loadParGen(const QString &path);

// The whole-form check: 0 when every rule passes, else the text number of the first rule that
// fails.
int checkParGen(const TParGenValues &values);

// Builds the document the save writes: root Par_Gen with the 42 elements, then the comment.
void buildParGen(plat::XmlDocument &doc, const TParGenValues &values);

// Writes the file atomically. Throws plat::EXmlError when it cannot be written.
void saveParGen(const QString &path, const TParGenValues &values);

// 0 when the text holds only the digits 0-9 and the letters A-Z, a-z (an empty text too),
// 1 otherwise.
int32_t Check_Device_Name(const QString &text);

} // namespace pargen
