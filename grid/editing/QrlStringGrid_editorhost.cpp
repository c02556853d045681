// The grid's side of IGridEditorHost: the editors read and change the edit in progress here
// rather than in the grid's state.
#include "grid/editing/QrlStringGrid_editing_p.h"

class TQrlStringGrid::TGridEditorHost final : public IGridEditorHost
{
public:
    explicit TGridEditorHost(TQrlStringGrid &grid) : m_g(grid) {}

    bool HostAlive() const override { return m_g.d && !m_g.d->destroying; }

    bool EditMode() const override { return m_g.ed->editMode; }
    void SetEditing(bool Value) override { m_g.ed->editing = Value; }
    void EditEnded() override
    {
        m_g.ed->editing = false;
        m_g.ed->editMode = false;
    }
    TEditorType EditorKind() const override { return m_g.ed->editControl; }
    bool EditStarting() const override { return m_g.ed->editStart; }
    bool ShowEditProcess() const override { return m_g.ed->showEditProcess; }
    bool NoEditChange() const override { return m_g.ed->noEditChange; }
    void SetNoEditChange(bool Value) override { m_g.ed->noEditChange = Value; }
    bool OpenedByClick() const override { return m_g.ed->lButFlg; }
    void ClearOpenedByClick() override { m_g.ed->lButFlg = false; }
    bool KillBlocked() const override { return m_g.ed->blockKill; }
    void ClearStartEditChar() override { m_g.d->startEditChar = QChar(); }
    plat::TGridCoord EditCell() const override { return m_g.ed->editCell; }

    QString NewCellText() const override { return m_g.ed->newCellText; }
    QString OldCellText() const override { return m_g.ed->oldCellText; }
    void SetOldCellText(const QString &Value) override { m_g.ed->oldCellText = Value; }
    QString CachedCellText() const override { return m_g.ed->cellCache; }
    bool ValidateCell(const QString &Text) override { return m_g.ValidateCell(Text); }
    bool Validating() const override { return m_g.ed->validating; }
    void SetValidating(bool Value) override { m_g.ed->validating = Value; }
    int EditLimit() override { return m_g.GetEditLimit(); }
    void HideEditor() override { m_g.HideInplaceEdit(); }
    void SetNoAutoAdvance(bool Value) override { m_g.ed->noAutoAdvance = Value; }

    QString ValidChars() const override { return m_g.ed->validChars; }
    bool ValidCharCode(int Code) const override
    {
        return Code >= 0 && Code < 256 && m_g.ed->validCharSet.test(static_cast<std::size_t>(Code));
    }
    bool ExcelStyleDecimalSeparator() const override { return m_g.ed->excelStyleDecimalSeparator; }
    bool Lookup() const override { return m_g.ed->lookup; }
    bool LookupCaseSensitive() const override { return m_g.ed->lookupCaseSensitive; }
    bool LookupHistory() const override { return m_g.ed->lookupHistory; }
    QStringList LookupItems() const override { return m_g.d->lookupItems; }
    void AddLookupItem(const QString &Item) override { m_g.d->lookupItems.append(Item); }

    bool ComboFilling() const override { return m_g.ed->comboFilling; }
    void SetComboFilling(bool Value) override { m_g.ed->comboFilling = Value; }

    TRect CellRect(int ACol, int ARow) const override { return m_g.CellRect(ACol, ARow); }
    void ForwardKeyDown(int &Key, plat::TShiftState Shift) override { m_g.KeyDown(Key, Shift); }

private:
    TQrlStringGrid &m_g;
};

IGridEditorHost *TQrlStringGrid::editorHost()
{
    if (!ed->editorHost)
        ed->editorHost = std::make_unique<TGridEditorHost>(*this);
    return ed->editorHost.get();
}
