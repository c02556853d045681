// Step 5: the client certificates the IEC 61850 server accepts when it is restricted to known
// certificates, edited as TLS_Known_Cert.xml on the table-dialog frame. One plain string grid
// whose Enable column is a check-box graphic; certificates are multi-line PEM texts.
#pragma once

#include "gateway/table/UTableDialog.h"

class TQrlStringGrid;

// The dialog's description; the file is the configuration's TLS_Known_Cert.xml (File_TLS_Known_Cert
// at the time of each show and save).
TTableDialogDesc TLS_Known_Cert_Dialog_Desc();

class TFTLS_Server_Known_Cert : public TTableDialog
{
public:
    explicit TFTLS_Server_Known_Cert(QWidget *parent = nullptr);

    // The certificate grid.
    TQrlStringGrid *QSG = nullptr;

private:
    // The grid's looks the frame does not set: tall word-wrapped rows that keep line breaks.
    void Init_Table();
};
