// One row per data column of a table dialog: the attribute the file stores it in and how the grid
// shows and edits it. Table_Grid_Columns turns a dialog's rows into the frame's grid columns.
#pragma once

#include "gateway/table/UTableDialog.h"
#include "gateway/table/UTablePalette.h"

#include <QString>
#include <QStringList>
#include <QVector>

struct TColumnSpec
{
    QString Attribute{}; // the file attribute of the column
    int Header = 0;      // text number of the header; 0: none
    int Hint = 0;        // text number of the header hint; 0: none
    int Width = 64;
    TEditorType Editor = TEditorType::edNormal;
    TTableCombo Combo = TTableCombo::tcNone;
    QStringList Items{}; // for tcItems
    QString Default{};   // what a missing attribute loads as
    TColor Color = TablePalette::Comment;
    bool Hidden = false;
};

// The grid columns 1, 2, ... of group from its column rows. The rows describe the group's columns
// in grid order: row k is the column shown in grid column k + 1. Throws std::invalid_argument when
// a row's attribute or default disagrees with the file's description of that grid column, or a
// column of the file has no row, so a dialog cannot show one attribute under another's header.
QVector<TTableGridColumn> Table_Grid_Columns(const TTableGroup &group,
                                             const QVector<TColumnSpec> &specs);
