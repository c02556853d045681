// The program's 32 windows: created once at start, in a fixed order, and kept for the whole run.
// The main window comes first, as its creation fills the text table and the software code that
// every later window reads while it is created.
#pragma once

#include "platform/os/Files.h"

#include <QList>
#include <QString>

class QWidget;
class TFMontavoreFirmWare;
class TFNew_Project;
class TFOpenConf;
class TFAbout;
class TFSoftOptions;
class TFParGen;
class TFTLS_Server_Known_Cert;
class TFIEC61850_Variables;
class TFSetAccess;
class TFBoot;
class TFModbus_TCP_Master_Set_Access;
class TFProfinetFileName;
class TFBACnetAccess;
class TFImportEDEFile;
class TFBACnet_Eng_Unit;
class TFBACnetSlaveSetAccess;
class TFReceiveCAN;
class TFTransmitCAN;
class TFSet_PDO_Access;
class TFSet_SDO_Client_Access;
class TFSet_SDO_Server_Access;
class TFDefOffset;
class TFDNet;
class TFReceiveJ1939;
class TFTransmitJ1939;
class TFKNXAccess;
class TFMQTT_Set_Topic;
class TFTopicTemplate;
class TFReceiveNMEA;
class TFTransmitNMEA;
class TFSNMPManagerAccess;
class TFSNMP_Trap_Access;

extern TFMontavoreFirmWare *FMontavoreFirmWare;
extern TFNew_Project *FNew_Project;
extern TFOpenConf *FOpenConf;
extern TFAbout *FAbout;
extern TFSoftOptions *FSoftOptions;
extern TFParGen *FParGen;
extern TFTLS_Server_Known_Cert *FTLS_Server_Known_Cert;
extern TFIEC61850_Variables *FIEC61850_Variables;
extern TFSetAccess *FSetAccess;
extern TFBoot *FBoot;
extern TFModbus_TCP_Master_Set_Access *FModbus_TCP_Master_Set_Access;
extern TFProfinetFileName *FProfinetFileName;
extern TFBACnetAccess *FBACnetAccess;
extern TFImportEDEFile *FImportEDEFile;
extern TFBACnet_Eng_Unit *FBACnet_Eng_Unit;
extern TFBACnetSlaveSetAccess *FBACnetSlaveSetAccess;
extern TFReceiveCAN *FReceiveCAN;
extern TFTransmitCAN *FTransmitCAN;
extern TFSet_PDO_Access *FSet_PDO_Access;
extern TFSet_SDO_Client_Access *FSet_SDO_Client_Access;
extern TFSet_SDO_Server_Access *FSet_SDO_Server_Access;
extern TFDefOffset *FDefOffset;
extern TFDNet *FDNet;
extern TFReceiveJ1939 *FReceiveJ1939;
extern TFTransmitJ1939 *FTransmitJ1939;
extern TFKNXAccess *FKNXAccess;
extern TFMQTT_Set_Topic *FMQTT_Set_Topic;
extern TFTopicTemplate *FTopicTemplate;
extern TFReceiveNMEA *FReceiveNMEA;
extern TFTransmitNMEA *FTransmitNMEA;
extern TFSNMPManagerAccess *FSNMPManagerAccess;
extern TFSNMP_Trap_Access *FSNMP_Trap_Access;

// Creates the 32 windows in their order, the main window with basePath as the program folder.
// A second call while the windows exist does nothing.
void Create_Windows(const QString &basePath = plat::ProgramFolder());
// Destroys them, last created first, and clears the instance pointers. Nothing is saved.
void Free_Windows();
// The windows in creation order (empty before Create_Windows).
QList<QWidget *> Created_Windows();
