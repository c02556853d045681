#include "shell/UWindows.h"

#include "gateway/UBoot.h"
#include "gateway/UIEC61850_Variables.h"
#include "gateway/UParGen.h"
#include "gateway/USetAccess.h"
#include "gateway/UTLS_Server_Known_Cert.h"
#include "shell/UAbout.h"
#include "shell/UMain.h"
#include "shell/UNew_Project.h"
#include "shell/UOpenConf.h"
#include "shell/USoftOptions.h"
#include "sides/building/UBACnetAccess.h"
#include "sides/building/UBACnetSlaveSetAccess.h"
#include "sides/building/UBACnet_Eng_Unit.h"
#include "sides/building/UImportEDEFile.h"
#include "sides/building/UKNXAccess.h"
#include "sides/building/UMQTT_Set_Topic.h"
#include "sides/building/UModbus_TCP_Master_Set_Access.h"
#include "sides/building/UProfinetFileName.h"
#include "sides/building/USNMPManagerAccess.h"
#include "sides/building/USNMP_Trap_Access.h"
#include "sides/building/UTopicTemplate.h"
#include "sides/fieldbus/UDNet.h"
#include "sides/fieldbus/UDefOffset.h"
#include "sides/fieldbus/UReceiveCAN.h"
#include "sides/fieldbus/UReceiveJ1939.h"
#include "sides/fieldbus/UReceiveNMEA.h"
#include "sides/fieldbus/USet_PDO_Access.h"
#include "sides/fieldbus/USet_SDO_Client_Access.h"
#include "sides/fieldbus/USet_SDO_Server_Access.h"
#include "sides/fieldbus/UTransmitCAN.h"
#include "sides/fieldbus/UTransmitJ1939.h"
#include "sides/fieldbus/UTransmitNMEA.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

TFMontavoreFirmWare *FMontavoreFirmWare = nullptr;
TFNew_Project *FNew_Project = nullptr;
TFOpenConf *FOpenConf = nullptr;
TFAbout *FAbout = nullptr;
TFSoftOptions *FSoftOptions = nullptr;
TFParGen *FParGen = nullptr;
TFTLS_Server_Known_Cert *FTLS_Server_Known_Cert = nullptr;
TFIEC61850_Variables *FIEC61850_Variables = nullptr;
TFSetAccess *FSetAccess = nullptr;
TFBoot *FBoot = nullptr;
TFModbus_TCP_Master_Set_Access *FModbus_TCP_Master_Set_Access = nullptr;
TFProfinetFileName *FProfinetFileName = nullptr;
TFBACnetAccess *FBACnetAccess = nullptr;
TFImportEDEFile *FImportEDEFile = nullptr;
TFBACnet_Eng_Unit *FBACnet_Eng_Unit = nullptr;
TFBACnetSlaveSetAccess *FBACnetSlaveSetAccess = nullptr;
TFReceiveCAN *FReceiveCAN = nullptr;
TFTransmitCAN *FTransmitCAN = nullptr;
TFSet_PDO_Access *FSet_PDO_Access = nullptr;
TFSet_SDO_Client_Access *FSet_SDO_Client_Access = nullptr;
TFSet_SDO_Server_Access *FSet_SDO_Server_Access = nullptr;
TFDefOffset *FDefOffset = nullptr;
TFDNet *FDNet = nullptr;
TFReceiveJ1939 *FReceiveJ1939 = nullptr;
TFTransmitJ1939 *FTransmitJ1939 = nullptr;
TFKNXAccess *FKNXAccess = nullptr;
TFMQTT_Set_Topic *FMQTT_Set_Topic = nullptr;
TFTopicTemplate *FTopicTemplate = nullptr;
TFReceiveNMEA *FReceiveNMEA = nullptr;
TFTransmitNMEA *FTransmitNMEA = nullptr;
TFSNMPManagerAccess *FSNMPManagerAccess = nullptr;
TFSNMP_Trap_Access *FSNMP_Trap_Access = nullptr;

namespace {

struct TOwned
{
    QPointer<QWidget> window;
    std::function<void()> forget; // clears the instance pointer
};

std::vector<TOwned> &owned()
{
    static std::vector<TOwned> windows;
    return windows;
}

template <typename T, typename... Args> void create(T *&instance, Args &&...args)
{
    instance = new T(std::forward<Args>(args)...);
    owned().push_back({instance, [&instance] { instance = nullptr; }});
}

} // namespace

void Create_Windows(const QString &basePath)
{
    if (!owned().empty())
        return;
    create(FMontavoreFirmWare, basePath);
    create(FNew_Project);
    create(FOpenConf);
    create(FAbout);
    create(FSoftOptions);
    // The options dialog switches the language and the version timer of the whole program.
    FSoftOptions->OnLanguageChanged = [] {
        if (FMontavoreFirmWare)
            FMontavoreFirmWare->Change_Language();
    };
    FSoftOptions->OnTimerRule = [](bool on) {
        if (FMontavoreFirmWare)
            FMontavoreFirmWare->SetTimer_Update_Enabled(on);
    };
    create(FParGen);
    create(FTLS_Server_Known_Cert);
    create(FIEC61850_Variables);
    create(FSetAccess);
    create(FBoot);
    create(FModbus_TCP_Master_Set_Access);
    create(FProfinetFileName);
    create(FBACnetAccess);
    create(FImportEDEFile);
    create(FBACnet_Eng_Unit);
    create(FBACnetSlaveSetAccess);
    create(FReceiveCAN);
    create(FTransmitCAN);
    create(FSet_PDO_Access);
    create(FSet_SDO_Client_Access);
    create(FSet_SDO_Server_Access);
    create(FDefOffset);
    create(FDNet);
    create(FReceiveJ1939);
    create(FTransmitJ1939);
    create(FKNXAccess);
    create(FMQTT_Set_Topic);
    create(FTopicTemplate);
    create(FReceiveNMEA);
    create(FTransmitNMEA);
    create(FSNMPManagerAccess);
    create(FSNMP_Trap_Access);
}

void Free_Windows()
{
    auto &windows = owned();
    while (!windows.empty()) {
        TOwned last = std::move(windows.back());
        windows.pop_back();
        last.forget();
        delete last.window.data();
    }
}

QList<QWidget *> Created_Windows()
{
    QList<QWidget *> result;
    for (const TOwned &w : owned())
        result.append(w.window.data());
    return result;
}
