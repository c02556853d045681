// Step 4: the Modbus master requests, read requests on one page and write requests on the other,
// kept in ModbusM_SetAccess.xml.
#pragma once

#include "gateway/table/UTableDialog.h"

#include <QStringList>
#include <QVector>

class TQrlColumnGrid;

// The dialog as data; usable on its own by anything that runs the plain frame over it.
TTableDialogDesc SetAccess_Desc();

class TFSetAccess : public TTableDialog
{
    Q_OBJECT

public:
    explicit TFSetAccess(QWidget *parent = nullptr);

    void FormShow() override;
    // A choice in the read grid's Topic column.
    void ComboChange(QObject *Sender, int ACol, int ARow, int AItemIndex);

    // The index when it names the topic, else the first entry equal to it; -1 when none.
    int Get_Index_From_Topic(const QString &Topic, int Index) const;
    QString Get_Topic_From_Index(int Index) const;

    TQrlColumnGrid *ACG_Modbus_Read = nullptr;
    TQrlColumnGrid *ACG_Modbus_Write = nullptr;
    QWidget *TS_Modbus_Read = nullptr;
    QWidget *TS_Modbus_Write = nullptr;

    int NByte_IN = 0;
    int NByte_OUT = 0;
    // Topics a read request can be bound to; this gateway never fills it.
    QStringList List_Publish_Topic;
    // Per read data row the chosen topic index, -1 for none.
    QVector<int> ComboItem_Topic;

protected:
    void Load_Value(int grid, int row, int k, const QString &value) override;
    QString Save_Value(int grid, int row, int k) const override;
};
