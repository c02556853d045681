// The multi-line text editor a platform string grid can host for cells with line breaks (a
// descendant returns it from CreateEditor or GetCellEditor). Long lines wrap at the editor's
// width with WordWrap; Ctrl+Enter breaks the line, and so does Enter with LineFeedOnEnter
// (otherwise Enter closes the editor as in the single-line one); Up and Down move the caret
// between lines and reach the grid only from the first or the last line.
//
// Text() gives the line breaks in the form the cell had (CR LF when it had none), and an
// unedited text exactly as it was set. Edit masks are kept for the host but not applied: a
// mask describes a single line.
#pragma once

#include "platform/grid/GridEditor.h"

#include <QPlainTextEdit>

class QMimeData;

namespace plat {

class TInplaceMemo : public QPlainTextEdit, public TGridEditor
{
    Q_OBJECT

public:
    explicit TInplaceMemo(TPlatformStringGrid *grid);
    ~TInplaceMemo() override;

    QWidget *Widget() override { return this; }

    QString Text() const override;
    void SetText(const QString &value) override;
    int SelStart() const override;
    void SetSelStart(int pos) override;
    int SelLength() const override;
    void SetSelLength(int length) override;
    void SelectAll() override { selectAll(); }
    bool Modified() const override;
    void SetModified(bool value) override;
    int MaxLength() const override { return m_maxLength; }
    void SetMaxLength(int value) override { m_maxLength = value > 0 ? value : 0; }
    QString EditMask() const override { return m_editMask; }
    void SetEditMask(const QString &mask) override { m_editMask = mask; }

    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool value);
    bool LineFeedOnEnter() const { return m_lineFeedOnEnter; }
    void SetLineFeedOnEnter(bool value) { m_lineFeedOnEnter = value; }

protected:
    // Line breaks (Ctrl+Enter; Enter with LineFeedOnEnter) are typed here and not handed to the
    // grid; a character that would pass MaxLength is dropped after the grid saw it.
    void KeyPress(QChar &Key) override;
    bool CaretMovesInside(int Key) const override;

    bool event(QEvent *e) override;
    bool WidgetEvent(QEvent *e) override;
    // Pasted text is cut to the room MaxLength leaves.
    void insertFromMimeData(const QMimeData *source) override;

private:
    int roomFor(int length) const;
    int toTextPos(int docPos) const;
    int toDocPos(int textPos) const;

    QString m_setText; // the text as last set by code
    QString m_lineBreak = QStringLiteral("\r\n");
    bool m_edited = false; // the document changed since the text was set
    int m_maxLength = 0;
    QString m_editMask;
    bool m_wordWrap = true;
    bool m_lineFeedOnEnter = false;
};

} // namespace plat
