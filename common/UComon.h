// State shared by every window for the whole run: the open configuration, the program's folders,
// the texts that identify the software, the user's options, the update dialog's last values and
// the path of every table file; plus the settings file Montavor.xml that keeps part of it.
// Only the user-interface thread touches this state.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

// The module's text validators live beside it.
#include "common/UComon_Validators.h"

// --- Identity of the software -------------------------------------------------------------

inline constexpr char Software_Code[] = "QS40300";
inline constexpr char Product_Description[] = "IEC61850 Server / Modbus Master - Converter";
inline constexpr char Program_Version[] = "1.005";
// The trailing blank belongs to the caption.
inline constexpr char Main_Window_Caption[] =
    "Orvato - Configurator QS40300 - IEC61850 Server / Modbus Master ";

// Folder and file names beside the program.
inline constexpr char Master_Folder_Name[] = "MASTER";
inline constexpr char Projects_Folder_Name[] = "PROJECTS";
inline constexpr char Language_Folder_Name[] = "LANGUAGE";
inline constexpr char Setting_File_Name[] = "Montavor.xml";

// Read defaults of the settings file.
inline constexpr char Default_IP_Address[] = "192.168.2.205";
inline constexpr char Default_Language_Name[] = "English";

// --- Shared state ---------------------------------------------------------------------------

extern QString Conf_Name;     // name of the configuration (kept even when its folder is gone)
extern QString Conf_Path;     // its folder; empty when no configuration is open
extern QString Base_Path;     // folder of the program, no trailing separator
extern QString Master_Path;   // Base_Path/MASTER: firmware files
extern QString Projects_Path; // Base_Path/PROJECTS: one folder per configuration
extern QString Language_Path; // Base_Path/LANGUAGE: language files and flags
extern QString Main_Caption;
extern QString SW_Code;
extern QString SW_Description;
extern QString Last_IP_Address;
extern int32_t Update_Option;
extern bool Update_Read_Back;
extern QString Language_Name;
extern bool Enable_Internet;
extern bool Enable_Update;
extern bool Enable_Jump_Fields;       // Enter moves to the next cell in the tables
extern bool Enable_DblClick_AutoSize; // double click on a header sizes the column
extern QString Last_EDE_Folder;

// Table files of the open configuration, rebuilt by Set_Files.
extern QString File_ParGen;
extern QString File_TLS_Known_Cert;
extern QString File_IEC61850_Variables;
extern QString File_ModbusM_SetAccess;
extern QString File_ModbusTCPM_SetAccess;
extern QString File_BACnet_Master_Access;
extern QString File_BACnet_Slave_SetAccess;
extern QString File_CAN_Rec_Frames;
extern QString File_CAN_Send_Frames;
extern QString File_PDO_CANopen;
extern QString File_SDO_Client_CANopen;
extern QString File_SDO_Server_CANopen;
extern QString File_DNETM_Net;
extern QString File_DNETM_DefOff;
extern QString File_J1939_Rec_Frames;
extern QString File_J1939_Send_Frames;
extern QString File_KNX_SetAccess;
extern QString File_MQTT_Set_Topic;
extern QString File_NMEA_Rec_Frames;
extern QString File_NMEA_Send_Frames;
extern QString File_SNMP_Manager;
extern QString File_SNMP_Trap;

// The row clipboard of the table dialogs: row texts and the check flags that go with them.
extern QStringList Copy_Row_Buffer;
extern QList<bool> Copy_Row_Check_Flags;

// Object lists of the MIB writer.
extern QStringList MIB_Read_Objects;
extern QStringList MIB_Write_Objects;

// --- Operations -----------------------------------------------------------------------------

// Sets Base_Path from basePath (the program's folder in the application) and the three folder
// paths below it, and creates each of the three folders that is missing, one level only.
// A folder that cannot be created is ignored: later file operations in it fail on their own.
void Setup_Folders(const QString &basePath);

// Base_Path/Montavor.xml.
QString Setting_File();

// Reads Montavor.xml from Base_Path. A missing file, or one that does not parse, gives every
// value its default (Conf_Name and Conf_Path cleared as well). Otherwise each value is read on
// its own and a value that cannot be found takes its default; an empty element gives "".
// A flag is on only for the text "1".
void Read_Setting();

// Writes Montavor.xml whole from the current values, replacing the file atomically.
// Throws plat::EXmlError when it cannot be written; the old file then stays as it was.
void Save_Setting();

// Opens the configuration Conf_Name when its folder under Projects_Path exists (Conf_Path set),
// otherwise none (Conf_Path cleared). Conf_Name is kept either way, so the settings file goes on
// naming it. Returns whether a configuration is open.
bool Reopen_Last_Configuration();

// Rebuilds the 22 table-file paths from Conf_Path.
void Set_Files();
