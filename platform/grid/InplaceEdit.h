// The single-line text editor that a platform string grid shows over its current cell: the
// grid's default editor (CreateEditor), made on first use, kept and moved from cell to cell.
// Key handling and the message layer come from TGridEditor.
#pragma once

#include "platform/grid/GridEditor.h"

#include <QLineEdit>

namespace plat {

class TInplaceEdit : public QLineEdit, public TGridEditor
{
    Q_OBJECT

public:
    explicit TInplaceEdit(TPlatformStringGrid *grid);
    ~TInplaceEdit() override;

    QWidget *Widget() override { return this; }

    QString Text() const override { return text(); }
    void SetText(const QString &value) override;
    void SelectAll() override { selectAll(); }
    void Deselect() { deselect(); }
    int SelStart() const override;
    void SetSelStart(int pos) override;
    int SelLength() const override;
    void SetSelLength(int length) override;
    bool Modified() const override { return isModified(); }
    void SetModified(bool value) override { setModified(value); }
    int MaxLength() const override { return m_maxLength; }
    void SetMaxLength(int value) override;
    QString EditMask() const override { return inputMask(); }
    void SetEditMask(const QString &mask) override;

protected:
    bool event(QEvent *e) override;
    bool WidgetEvent(QEvent *e) override;

private:
    int m_maxLength = 0;
};

} // namespace plat
