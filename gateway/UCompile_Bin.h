// Image compiler: turns ParGen.xml and the three gateway table files into the two memory images
// the update program writes into the device: bank1.bin (the 2048-byte general parameter block)
// and bank2.bin (NTP server, Modbus request table, IEC 61850 section). The device maps bank2.bin
// at 0x80000, so addresses stored inside it are 0x80000 + the file position.
//
// Every field is serialised on its own, little-endian; nothing is copied from memory layouts.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include <array>
#include <cstdint>
#include <stdexcept>

// Ends a compile or a save; the message names the file (and the row and attribute) at fault.
class ECompileError : public std::runtime_error
{
public:
    explicit ECompileError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString Message() const { return QString::fromStdString(what()); }
};

inline constexpr int Par_Block_Size = 2048;
inline constexpr int Image2_Max_Size = 0x7FFFF;
inline constexpr uint32_t Image2_Device_Address = 0x80000;
inline constexpr int NTP_Server_Pos = 0;
inline constexpr int NTP_Server_Size = 1024;
inline constexpr int Modbus_Table_Pos = 1024;
inline constexpr int Modbus_Max_Records = 1024;
inline constexpr int Modbus_Record_Size = 32;
inline constexpr int IEC61850_Section_Pos = 33792;
inline constexpr int IEC61850_Header_Size = 54;
inline constexpr int Known_Cert_Entry_Size = 8;
inline constexpr int IEC61850_Var_Size = 32;

struct TTLS_Certificate
{
    QString Certificate;
    uint32_t Certificate_Add = 0;
    uint32_t Certificate_Length = 0; // UTF-8 byte count + 1 for the zero byte
};

struct TTLS_Bank
{
    QString key;
    uint32_t key_add = 0;
    uint32_t Key_Length = 0; // UTF-8 byte count + 1
    QString Key_Password;
    uint32_t Key_Password_Add = 0;
    TTLS_Certificate Server_Cert;
    TTLS_Certificate Root_Cert;
    uint32_t Known_Cert_En = 0;
    uint32_t Known_Cert_Num = 0;
    uint32_t Known_Cert_Add = 0;
    QVector<TTLS_Certificate> Known_Cert;
};

struct TIEC61850_Var
{
    QString Name;
    uint32_t Name_Add = 0;
    uint32_t Data_Type = 0; // 2 bit, 4 integer, 6 float
    uint32_t Position = 0;
    uint32_t Start_Bit = 0;
    uint32_t Length = 0;
    uint32_t Read_Only = 0;
    float Multiplication_Factor = 1.0f;
    uint16_t Operation = 0; // 0 none, 1 integer to float, 2 float to integer
    uint16_t Options = 0;   // bit 0 swap bytes, bit 1 swap words
};

struct TIEC61850
{
    uint16_t port = 102;
    uint32_t TLS_Enable = 0;
    TTLS_Bank TLS_Data;
    QString Password;
    uint32_t Password_Add = 0;
    uint32_t Var_Number = 0;
    uint32_t Var_Add = 0;
    QVector<TIEC61850_Var> Variables;
};

// One request of the Modbus master, 32 bytes in the image.
struct TModbus_Request
{
    uint16_t Position = 0; // byte index in the data image
    uint16_t Start_Bit = 0;
    uint32_t Poll_Time = 0; // ms
    uint8_t Slave_ID = 0;
    uint8_t Function = 0;
    uint16_t Address = 0;
    uint16_t NPoint = 0;
    uint16_t Reserved_14 = 0;
    uint32_t Reserved_16 = 0;
    uint16_t Index_Topic = 0;
    uint32_t Max_Error = 0;
    uint8_t Conversion = 0; // 2 float conversion; bit 0 little-endian; bit 2 signed
    uint8_t Factor = 0;     // factor code of Operation
    uint8_t Read_Bytes = 0; // data bytes a read returns; 0 for writes
    uint8_t Flags = 0;      // bit 0 on change, bit 2 swap bytes, bit 3 swap words, bit 4 on command
};

// Paths of the four input files.
struct TCompile_Files
{
    QString ParGen;
    QString TLS_Known_Cert;
    QString IEC61850_Variables;
    QString ModbusM_SetAccess;

    // The four files in the configuration folder conf.
    static TCompile_Files In_Folder(const QString &conf);
};

// Factor code of a Modbus row's Operation text (compared upper-cased); 0 for an unknown text.
uint8_t Modbus_Factor_Code(const QString &operation);

class TImage_Compiler
{
public:
    TImage_Compiler();

    // Builds both images from the files; nothing of an earlier compile survives. On an error the
    // images are left empty, Compiled() is false and ECompileError is thrown.
    void Compile_Bin(const TCompile_Files &files);
    // Writes <confPath>/bin/bank1.bin and bank2.bin (the folder is created when missing), each
    // replaced atomically. Throws ECompileError when there is no compiled image or a file cannot
    // be written.
    void Save_Bin_Files(const QString &confPath) const;

    bool Compiled() const { return FCompiled; }
    const QByteArray &Image1() const { return FImage1; }
    const QByteArray &Image2() const { return FImage2; }
    const std::array<uint8_t, Par_Block_Size> &Par_Block() const { return FPar; }
    const TIEC61850 &IEC61850() const { return FIEC61850; }
    const std::array<TModbus_Request, Modbus_Max_Records> &Modbus_Table() const { return FModbus; }
    int Modbus_Count() const { return FModbus_Count; }
    const QString &NTP_Server() const { return FNTP_Server; }

    // The steps of Compile_Bin, in their order.
    void Init_General_Parameters();
    void Clear_IEC61850_Data();
    void Clear_Modbus_Table();
    void Load_Par_Gen(const QString &path);
    void Set_Par_Version();
    void Load_IEC61850_Variables(const QString &path);
    void Load_TLS_Known_Cert(const QString &path);
    void Load_Modbus_Master_Access(const QString &path);
    int Store_NTP_Server(int pos, QByteArray &image) const;
    int Store_Modbus_Table(int pos, QByteArray &image) const;
    // Lays out and writes the section at pos, device address addr; returns the position after it.
    // Throws ECompileError when the section would pass the end of image 2.
    int Store_IEC61850_Section(uint32_t addr, int pos, QByteArray &image);
    void Store_General_Parameters();

    // A text as UTF-8 / one byte per UTF-16 unit (its low byte), then a zero byte; an empty text
    // writes nothing. Returns the position after it.
    static int Store_Encoded_String(const QString &text, int pos, QByteArray &image);
    static int Store_Byte_String(const QString &text, int pos, QByteArray &image);

private:
    void compile(const TCompile_Files &files);

    std::array<uint8_t, Par_Block_Size> FPar{};
    QByteArray FImage1;
    QByteArray FImage2;
    TIEC61850 FIEC61850;
    std::array<TModbus_Request, Modbus_Max_Records> FModbus{};
    int FModbus_Count = 0;
    QString FNTP_Server;
    bool FCompiled = false;
};

// The compiler of the running program.
TImage_Compiler &Image_Compiler();

// The main window's update step: compile the open configuration's files (paths of the shared
// state) and write the two images into its bin folder. Both throw ECompileError.
void Compile_Bin();
void Save_Bin_Files();
