#include "gateway/table/UTableDialog.h"

#include "common/ULanguage.h"
#include "common/button/LbButton.h"
#include "gateway/table/UTableRows.h"
#include "grid/model/QrlColumnGrid.h"
#include "platform/text/StrConv.h"
#include "platform/ui/ErrorReport.h"
#include "platform/ui/MessageBox.h"

#include <QDir>
#include <QTabWidget>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

constexpr int Fixed_Col_Width = 40;

// Asked before OK replaces a file that was not loaded whole.
QString partialFileQuestion(const QString &problem, const QString &path)
{
    return problem + QStringLiteral("\n\n") +
           Table_Message(Text_Partial_File, {QDir::toNativeSeparators(path)}) +
           QStringLiteral("\n\n") + Table_Message(Text_Save_Anyway);
}

} // namespace

// What the frame does with one grid that depends on its kind: a column grid, whose check-box
// columns hold "Y"/"N" texts, or a plain string grid whose check boxes are cell graphics.
class TTableGridOps
{
public:
    virtual ~TTableGridOps() = default;
    virtual void SetupColumn(int col, const TTableGridColumn &spec, bool checkBox) = 0;
    virtual void SetHeader(int col, const QString &text) = 0;
    // The frame's combo items of a column; a grid without combo editors ignores them.
    virtual void SetComboItems(int col, const QStringList &items) = 0;
    // The cell is a check box, whose unchecked state is what an empty row holds too.
    virtual bool IsCheckCell(const TTableGridColumn &spec, int col, int row) const = 0;
    virtual QString Text(int col, int row) const = 0;
    virtual void SetText(int col, int row, const QString &text) = 0;
    virtual void DeleteRow(int row, bool enable) = 0;
    virtual void InsertRow(int row, bool enable) = 0;
    virtual void CopyRow(int row) = 0;
    virtual void PasteRow(int row, bool copied) = 0;
};

namespace {

class TColumnGridOps final : public TTableGridOps
{
public:
    explicit TColumnGridOps(TQrlColumnGrid *grid) : m_grid(grid) {}

    void SetupColumn(int col, const TTableGridColumn &spec, bool checkBox) override
    {
        TGridColumnItem *item = m_grid->Columns()->Items(col);
        item->SetEditor(spec.Editor);
        item->SetColor(spec.Color);
        if (checkBox)
            item->SetAlignment(TAlignment::taCenter);
        if (spec.Combo == TTableCombo::tcItems)
            item->SetComboItems(spec.Items);
    }
    void SetHeader(int col, const QString &text) override
    {
        m_grid->Columns()->Items(col)->SetHeader(text);
    }
    void SetComboItems(int col, const QStringList &items) override
    {
        m_grid->Columns()->Items(col)->SetComboItems(items);
    }
    bool IsCheckCell(const TTableGridColumn &spec, int, int) const override
    {
        return spec.Editor == TEditorType::edDataCheckBox;
    }
    QString Text(int col, int row) const override { return m_grid->GetCellEx(col, row); }
    void SetText(int col, int row, const QString &text) override
    {
        m_grid->SetCellEx(col, row, text);
    }
    void DeleteRow(int row, bool) override { Grid_Delete_Row(row, m_grid); }
    void InsertRow(int row, bool enable) override { Grid_Insert_Row(row, m_grid, enable); }
    void CopyRow(int row) override { Grid_Copy_Row(m_grid, row); }
    void PasteRow(int row, bool copied) override { Grid_Paste_Row(m_grid, row, copied); }

private:
    TQrlColumnGrid *m_grid;
};

class TCheckGraphicsGridOps final : public TTableGridOps
{
public:
    explicit TCheckGraphicsGridOps(TQrlStringGrid *grid) : m_grid(grid) {}

    void SetupColumn(int col, const TTableGridColumn &spec, bool checkBox) override
    {
        for (int r = 1; r < m_grid->RowCount(); ++r) {
            m_grid->SetColors(col, r, spec.Color);
            if (checkBox) {
                m_grid->AddCheckBox(col, r, false, false);
                m_grid->SetAlignments(col, r, TAlignment::taCenter);
            }
        }
    }
    void SetHeader(int col, const QString &text) override { m_grid->SetCellEx(col, 0, text); }
    void SetComboItems(int, const QStringList &) override {}
    bool IsCheckCell(const TTableGridColumn &spec, int col, int row) const override
    {
        return spec.Editor == TEditorType::edDataCheckBox || m_grid->HasCheckBox(col, row);
    }
    QString Text(int col, int row) const override
    {
        if (m_grid->HasCheckBox(col, row)) {
            bool state = false;
            m_grid->GetCheckBoxState(col, row, state);
            return state ? QStringLiteral("Y") : QStringLiteral("N");
        }
        return m_grid->GetCellEx(col, row);
    }
    void SetText(int col, int row, const QString &text) override
    {
        if (m_grid->HasCheckBox(col, row))
            m_grid->SetCheckBoxState(col, row, text != QLatin1String("N"));
        else
            m_grid->SetCellEx(col, row, text);
    }
    void DeleteRow(int row, bool enable) override { Grid_Delete_Row_Check(row, m_grid, enable); }
    void InsertRow(int row, bool enable) override { Grid_Insert_Row_Check(row, m_grid, enable); }
    void CopyRow(int row) override { Grid_Copy_Row_Check(m_grid, row); }
    void PasteRow(int row, bool copied) override { Grid_Paste_Row_Check(m_grid, row, copied); }

private:
    TQrlStringGrid *m_grid;
};

int gridsOf(TFrameLayout layout)
{
    return layout == TFrameLayout::flTwoPages ? 2 : 1;
}

} // namespace

TTableDialog::TTableDialog(TTableDialogDesc desc, QWidget *parent)
    : TTitledForm(desc.Name, parent), m_desc(std::move(desc))
{
    if (m_desc.Grids.size() != gridsOf(m_desc.Layout) ||
        m_desc.Grids.size() != m_desc.File.Groups.size())
        throw std::invalid_argument(
            "a table dialog has one grid per file group, two in a two-page layout, else one");
    FormCreate();
}

TTableDialog::~TTableDialog() = default;

TQrlColumnGrid *TTableDialog::ColumnGrid(int index) const
{
    return qobject_cast<TQrlColumnGrid *>(Grid(index));
}

int TTableDialog::ActiveGridIndex() const
{
    return PageControl1 ? std::max(0, PageControl1->currentIndex()) : 0;
}

int TTableDialog::GridIndexOf(const QObject *grid) const
{
    for (int i = 0; i < m_grids.size(); ++i)
        if (m_grids[i] == grid)
            return i;
    return -1;
}

void TTableDialog::FormCreate()
{
    SetClientSize(m_desc.ClientWidth, m_desc.ClientHeight);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    P_Title->setFixedHeight(Title_Panel_Height);
    layout->addWidget(P_Title);

    const int grids = int(m_desc.Grids.size());
    m_grids.resize(grids);
    m_ops.resize(grids);
    if (m_desc.Layout != TFrameLayout::flTwoPages) {
        buildGrid(0, this);
        layout->addWidget(m_grids[0], 1);
    } else {
        PageControl1 = new QTabWidget(this);
        PageControl1->setObjectName(QStringLiteral("PageControl1"));
        for (int i = 0; i < grids; ++i) {
            auto *sheet = new QWidget;
            sheet->setObjectName(m_desc.Grids[i].TabName);
            auto *sheetLayout = new QVBoxLayout(sheet);
            sheetLayout->setContentsMargins(0, 0, 0, 0);
            buildGrid(i, sheet);
            sheetLayout->addWidget(m_grids[i]);
            PageControl1->addTab(sheet, QString());
            Tab_Sheets << sheet;
        }
        layout->addWidget(PageControl1, 1);
    }

    P_Button = new QWidget(this);
    P_Button->setObjectName(QStringLiteral("P_Button"));
    P_Button->setFixedHeight(Button_Panel_Height);
    layout->addWidget(P_Button);
    const char *names[] = {"Btn_OK",     "Btn_Cancel",  "Btn_DelRow",
                           "Btn_InsRow", "Btn_CopyRow", "Btn_PasteRow"};
    TLbButton **buttons[] = {&Btn_OK,     &Btn_Cancel,  &Btn_DelRow,
                             &Btn_InsRow, &Btn_CopyRow, &Btn_PasteRow};
    for (int i = 0; i < 6; ++i) {
        TLbButton *button = new TLbButton(P_Button);
        button->setObjectName(QString::fromLatin1(names[i]));
        button->setGeometry(16 + 118 * i, 6, 110, 28);
        Style_Push_Button(button);
        *buttons[i] = button;
    }
    Btn_OK->SetGlyph(LbResourceBitmap(QStringLiteral("LBOK")));
    Btn_Cancel->SetGlyph(LbResourceBitmap(QStringLiteral("LBCANCEL")));
    Btn_OK->SetNumGlyphs(2);
    Btn_Cancel->SetNumGlyphs(2);
    Btn_Cancel->SetModalResult(mrCancel);
    Btn_OK->OnClick = [this](QObject *) { Btn_OKClick(); };
    Btn_DelRow->OnClick = [this](QObject *) { Btn_DelRowClick(); };
    Btn_InsRow->OnClick = [this](QObject *) { Btn_InsRowClick(); };
    Btn_CopyRow->OnClick = [this](QObject *) { Btn_CopyRowClick(); };
    Btn_PasteRow->OnClick = [this](QObject *) { Btn_PasteRowClick(); };

    Hint_Lists = QVector<QStringList>(grids);
    Data_Size = QVector<int>(grids, 0);
    Do_Copy = QVector<bool>(grids, false);
    for (int i = 0; i < grids; ++i)
        Data_Size[i] = m_desc.Grids[i].DataSize;
    if (PageControl1)
        PageControl1->setCurrentIndex(0);
    Set_Lang();
}

void TTableDialog::buildGrid(int index, QWidget *parent)
{
    const TTableGridDesc &gd = m_desc.Grids[index];
    const TTableGroup &group = m_desc.File.Groups[index];
    const bool checkGraphics = m_desc.Layout == TFrameLayout::flCheckBoxGraphics;
    TQrlStringGrid *grid = nullptr;
    if (checkGraphics) {
        grid = new TQrlStringGrid(parent);
        m_ops[index] = std::make_unique<TCheckGraphicsGridOps>(grid);
    } else {
        auto *columnGrid = new TQrlColumnGrid(parent);
        grid = columnGrid;
        m_ops[index] = std::make_unique<TColumnGridOps>(columnGrid);
    }
    m_grids[index] = grid;
    grid->setObjectName(gd.Name);

    // Column 0, the described columns and, last, the hidden layout column.
    const int cols = int(gd.Columns.size()) + 2;
    grid->SetColCount(cols);
    grid->SetRowCount(group.Capacity + 1);
    grid->SetFixedRows(1);
    grid->SetFixedCols(1);
    grid->SetDefaultRowHeight(gd.RowHeight);
    grid->SetVAlignment(gd.VAlignment);
    grid->SetColWidths(0, Fixed_Col_Width);
    using plat::TGridOption;
    grid->SetOptions(plat::TGridOptions{TGridOption::goFixedVertLine, TGridOption::goFixedHorzLine,
                                        TGridOption::goVertLine, TGridOption::goHorzLine,
                                        TGridOption::goRangeSelect, TGridOption::goColSizing,
                                        TGridOption::goEditing});
    grid->SetHintShowCells(true);

    for (int c = 1; c <= gd.Columns.size(); ++c) {
        const TTableGridColumn &col = gd.Columns[c - 1];
        grid->SetColWidths(c, col.Width);
        const bool check = col.Editor == TEditorType::edDataCheckBox ||
                           (checkGraphics && gd.EnableColumn && c == 1);
        m_ops[index]->SetupColumn(c, col, check);
    }
    // The row operations shift, copy and paste hidden columns like the others, so a row's layout
    // travels with it.
    grid->HideColumn(cols - 1);
    for (int c = cols - 2; c >= 1; --c)
        if (gd.Columns[c - 1].Hidden)
            grid->HideColumn(c);

    grid->OnKeyPress = [this](QObject *Sender, QChar &Key) { KeyPress(Sender, Key); };
    grid->OnGridHint = [this](QObject *Sender, int ARow, int ACol, QString &HintStr) {
        GridHint(Sender, ARow, ACol, HintStr);
    };
    grid->OnDblClickCell = [this](QObject *Sender, int ARow, int ACol) {
        DblClickCell(Sender, ARow, ACol);
    };
    if (m_desc.SelectRowOnClick)
        grid->OnClickCell = [this](QObject *Sender, int ARow, int ACol) {
            ClickCell(Sender, ARow, ACol);
        };
}

void TTableDialog::Set_Lang()
{
    Set_Title_Texts(m_desc.CaptionText, m_desc.DescText);
    TLbButton *buttons[] = {Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow};
    for (int i = 0; i < 6; ++i) {
        buttons[i]->SetCaption(Table_Text(m_desc.ButtonTexts[i]));
        buttons[i]->SetHint(Table_Text(m_desc.ButtonHints[i]));
    }
    for (int g = 0; g < m_grids.size(); ++g) {
        const TTableGridDesc &gd = m_desc.Grids[g];
        if (PageControl1)
            PageControl1->setTabText(g, Table_Text(gd.TabText));
        for (int c = 0; c <= gd.Columns.size(); ++c)
            m_ops[g]->SetHeader(c, Table_Text(c == 0 ? gd.HeaderN : gd.Columns[c - 1].Header));
        Hint_Lists[g].clear();
        for (const TTableGridColumn &col : gd.Columns)
            Hint_Lists[g] << Table_Text(col.Hint);
    }
}

int TTableDialog::lastRealCol(int grid) const
{
    return m_grids[grid]->ColCount() + m_grids[grid]->NumHiddenColumns() - 1;
}

int TTableDialog::Layout_Col(int grid) const
{
    return int(m_desc.Grids[grid].Columns.size()) + 1;
}

int TTableDialog::keyCol(int grid) const
{
    const TTableGroup &group = m_desc.File.Groups[grid];
    return group.Columns.value(group.KeyColumn).GridCol;
}

QString TTableDialog::Cell_Text(int grid, int col, int row) const
{
    return m_ops[grid]->Text(col, row);
}

void TTableDialog::Set_Cell_Text(int grid, int col, int row, const QString &text)
{
    m_ops[grid]->SetText(col, row, text);
}

bool TTableDialog::Row_Ends_Table(int grid, int row) const
{
    return plat::Trim(Cell_Text(grid, keyCol(grid), row)).isEmpty();
}

bool TTableDialog::Row_Enabled(int grid, int row) const
{
    if (!m_desc.Grids[grid].EnableColumn)
        return true;
    return plat::Trim(Cell_Text(grid, 1, row)).toUpper() == QLatin1String("Y");
}

void TTableDialog::Reset_Grids()
{
    for (int g = 0; g < m_grids.size(); ++g) {
        TQrlStringGrid *grid = m_grids[g];
        const bool enable = m_desc.Grids[g].EnableColumn;
        const int last = lastRealCol(g);
        for (int r = 1; r < grid->RowCount(); ++r) {
            grid->SetCellEx(0, r, QString::number(r));
            for (int c = 1; c <= last; ++c)
                Set_Cell_Text(g, c, r, c == 1 && enable ? QStringLiteral("Y") : QString());
        }
    }
}

void TTableDialog::Fill_Combo_Items()
{
    for (int g = 0; g < m_grids.size(); ++g) {
        const QVector<TTableGridColumn> &cols = m_desc.Grids[g].Columns;
        for (int k = 0; k < cols.size(); ++k) {
            QStringList items;
            switch (cols[k].Combo) {
            case TTableCombo::tcNone:
            case TTableCombo::tcItems:
                continue;
            case TTableCombo::tcPositionsOrNone:
                items << QStringLiteral("None");
                [[fallthrough]];
            case TTableCombo::tcPositions:
                for (int i = 0; i < Data_Size[g]; ++i)
                    items << QString::number(i);
                break;
            }
            m_ops[g]->SetComboItems(k + 1, items);
        }
    }
}

void TTableDialog::Load_Value(int grid, int row, int k, const QString &value)
{
    Set_Cell_Text(grid, m_desc.File.Groups[grid].Columns[k].GridCol, row, value);
}

QString TTableDialog::Save_Value(int grid, int row, int k) const
{
    return Cell_Text(grid, m_desc.File.Groups[grid].Columns[k].GridCol, row);
}

void TTableDialog::Load_File()
{
    const QString path = m_desc.FilePath ? m_desc.FilePath() : QString();
    const TTableLoadResult result = Load_Table_File(m_desc.File, path);
    for (int g = 0; g < m_grids.size() && g < result.Rows.size(); ++g) {
        const TTableRows &rows = result.Rows[g];
        const int count = std::min<int>(int(rows.size()), m_grids[g]->RowCount() - 1);
        const TTableGroup &group = m_desc.File.Groups[g];
        for (int r = 0; r < count; ++r) {
            for (int k = 0; k < rows[r].size() && k < group.Columns.size(); ++k)
                Load_Value(g, r + 1, k, rows[r][k]);
            Set_Cell_Text(g, Layout_Col(g), r + 1, Table_Row_Layout(group, rows[r]));
        }
    }
    // Remembered until the file is replaced: OK must not drop what the grids do not hold
    // without asking.
    m_loadProblem = result.Message();
    if (!m_loadProblem.isEmpty())
        plat::MessageBox(m_loadProblem, result.Ok() ? plat::MsgIcon::Warning : plat::MsgIcon::Error,
                         plat::MsgButtons::OK);
}

void TTableDialog::FormShow()
{
    if (PageControl1)
        PageControl1->setCurrentIndex(0);
    // An editor still open from the last showing stores its text now, before the reset, not
    // later into the reloaded table.
    for (TQrlStringGrid *grid : std::as_const(m_grids)) {
        grid->HideInplaceEdit();
        grid->SetEditorMode(false);
    }
    Reset_Grids();
    for (int g = 0; g < m_grids.size(); ++g)
        Data_Size[g] = m_desc.Grids[g].DataSize;
    Fill_Combo_Items();
    Load_File();
    Do_Copy.fill(false);
    Go_Top_Left();
    // The first page is shown: its grid takes the keys, so typing starts in the table.
    if (!m_grids.isEmpty() && m_grids[0]->isEnabled())
        m_grids[0]->setFocus();
}

void TTableDialog::Go_Top_Left()
{
    for (TQrlStringGrid *grid : std::as_const(m_grids)) {
        const int col = grid->FixedCols();
        const int row = grid->FixedRows();
        if (col >= grid->ColCount() || row >= grid->RowCount())
            continue;
        grid->MoveColRow(col, row, true, true);
        grid->SetTopRow(row);
        grid->SetLeftCol(col);
    }
}

TTableData TTableDialog::Table_Data() const
{
    TTableData data = Empty_Table_Data(m_desc.File);
    for (int g = 0; g < m_grids.size(); ++g) {
        const int columns = int(m_desc.File.Groups[g].Columns.size());
        for (int r = 1; r < m_grids[g]->RowCount(); ++r) {
            if (Row_Ends_Table(g, r))
                break;
            TTableRow row;
            for (int k = 0; k < columns; ++k)
                row << Save_Value(g, r, k);
            if (const QString layout = Cell_Text(g, Layout_Col(g), r); !layout.isEmpty())
                row << layout;
            data[g] << row;
        }
    }
    return data;
}

bool TTableDialog::Controllo_dati()
{
    for (int g = 0; g < m_grids.size(); ++g) {
        const TTableRowCheck &check = m_desc.Grids[g].Check;
        if (!check)
            continue;
        for (int r = 1; r < m_grids[g]->RowCount(); ++r) {
            if (Row_Ends_Table(g, r))
                break;
            if (!Row_Enabled(g, r))
                continue;
            const QString message = check(*this, *m_grids[g], r);
            if (!message.isEmpty()) {
                plat::MessageBox(Table_Text(m_desc.ErrorRowText) + QString::number(r) + message,
                                 plat::MsgIcon::Error, plat::MsgButtons::OK);
                return false;
            }
        }
    }
    return true;
}

bool TTableDialog::confirmOverwritingPartialFile() const
{
    const QString path = m_desc.FilePath ? m_desc.FilePath() : QString();
    return plat::MessageBox(partialFileQuestion(m_loadProblem, path), plat::MsgIcon::Question,
                            plat::MsgButtons::YesNo) == mrYes;
}

bool TTableDialog::Row_Holds_Data(int grid, int row) const
{
    const TTableGridDesc &gd = m_desc.Grids[grid];
    for (int c = 1; c <= Layout_Col(grid); ++c) {
        if (c == 1 && gd.EnableColumn)
            continue;
        const QString text = plat::Trim(Cell_Text(grid, c, row));
        const bool check =
            c <= gd.Columns.size() && m_ops[grid]->IsCheckCell(gd.Columns[c - 1], c, row);
        // An unchecked box is what an empty row holds too.
        if (check ? text.toUpper() == QLatin1String("Y") : !text.isEmpty())
            return true;
    }
    return false;
}

bool TTableDialog::confirmDroppingRowsAfterBlankKey() const
{
    QStringList parts;
    for (int g = 0; g < m_grids.size(); ++g) {
        const int rows = m_grids[g]->RowCount();
        int end = 1;
        while (end < rows && !Row_Ends_Table(g, end))
            ++end;
        int dropped = 0;
        for (int r = end; r < rows; ++r)
            if (Row_Holds_Data(g, r))
                ++dropped;
        if (dropped == 0)
            continue;
        const TTableGridDesc &gd = m_desc.Grids[g];
        const QString key = Table_Text(gd.Columns.value(keyCol(g) - 1).Header);
        QString part = Table_Message(Text_Rows_After_Blank_Key,
                                     {QString::number(end), key, QString::number(dropped)});
        if (PageControl1)
            part = PageControl1->tabText(g) + QStringLiteral(": ") + part;
        parts << part;
    }
    if (parts.isEmpty())
        return true;
    return plat::MessageBox(parts.join(QLatin1Char('\n')) + QStringLiteral("\n\n") +
                                Table_Message(Text_Save_Anyway),
                            plat::MsgIcon::Question, plat::MsgButtons::YesNo) == mrYes;
}

void TTableDialog::Btn_OKClick()
{
    if (!Controllo_dati())
        return;
    if (!confirmDroppingRowsAfterBlankKey())
        return;
    if (!m_loadProblem.isEmpty() && !confirmOverwritingPartialFile())
        return;
    try {
        Write_Table_File(m_desc.File, Table_Data(),
                         m_desc.FilePath ? m_desc.FilePath() : QString());
    } catch (const std::exception &e) {
        // The old file stays whole and the dialog open with the user's rows.
        plat::ReportException(e);
        return;
    }
    m_loadProblem.clear();
    SetModalResult(mrOk);
}

void TTableDialog::Btn_DelRowClick()
{
    const int g = ActiveGridIndex();
    TQrlStringGrid *grid = Grid(g);
    const int row = grid->Row();
    if (plat::MessageBox(Table_Text(m_desc.DeleteRowText) + QString::number(row),
                         plat::MsgIcon::Question, plat::MsgButtons::YesNo) != mrYes)
        return;
    m_ops[g]->DeleteRow(row, m_desc.Grids[g].EnableColumn);
}

void TTableDialog::Btn_InsRowClick()
{
    const int g = ActiveGridIndex();
    m_ops[g]->InsertRow(Grid(g)->Row(), m_desc.Grids[g].EnableColumn);
}

void TTableDialog::Btn_CopyRowClick()
{
    const int g = ActiveGridIndex();
    m_ops[g]->CopyRow(Grid(g)->Row());
    // A row copied on one page cannot be pasted on the other.
    Do_Copy.fill(false);
    Do_Copy[g] = true;
}

void TTableDialog::Btn_PasteRowClick()
{
    const int g = ActiveGridIndex();
    m_ops[g]->PasteRow(Grid(g)->Row(), Do_Copy[g]);
}

void TTableDialog::KeyPress(QObject *Sender, QChar &Key)
{
    const int g = GridIndexOf(Sender);
    Grid_Enter_Next_Cell(Grid(g < 0 ? ActiveGridIndex() : g), Key);
}

void TTableDialog::GridHint(QObject *Sender, int ARow, int ACol, QString &HintStr)
{
    int g = GridIndexOf(Sender);
    if (g < 0)
        g = ActiveGridIndex();
    HintStr.clear();
    if (ARow == 0 && ACol >= 1)
        HintStr = Hint_Lists[g].value(Grid(g)->RealColIndex(ACol) - 1);
}

void TTableDialog::DblClickCell(QObject *Sender, int ARow, int ACol)
{
    const int g = GridIndexOf(Sender);
    Grid_DblClick_AutoSize(Grid(g < 0 ? ActiveGridIndex() : g), ARow, ACol);
}

void TTableDialog::ClickCell(QObject *Sender, int ARow, int ACol)
{
    const int g = GridIndexOf(Sender);
    TQrlStringGrid *grid = Grid(g < 0 ? ActiveGridIndex() : g);
    if (ACol == 0 && ARow >= grid->FixedRows())
        grid->SelectRows(ARow, 1);
}
