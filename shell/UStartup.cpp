#include "shell/UStartup.h"

#include "common/UComon.h"

bool Startup_Shared_State(const QString &basePath)
{
    Setup_Folders(basePath);

    Conf_Name.clear();
    Update_Option = 0;
    Update_Read_Back = true;
    Last_EDE_Folder.clear();

    Read_Setting();

    Main_Caption = QString::fromLatin1(Main_Window_Caption);
    SW_Code = QString::fromLatin1(Software_Code);
    SW_Description = QString::fromLatin1(Product_Description);

    const bool open = Reopen_Last_Configuration();
    Set_Files();

    Copy_Row_Buffer.clear();
    Copy_Row_Check_Flags.clear();
    MIB_Read_Objects.clear();
    MIB_Write_Objects.clear();
    return open;
}
