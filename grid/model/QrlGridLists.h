// Small lists the string grid and its option objects keep: integer lists with a change event,
// the sort-index list with its text form, the controls placed in cells, and the line reader and
// writer of the grid's text files.
//
// Index errors throw std::out_of_range ("List index out of bounds (i)").
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

// True when the values are 0 .. n - 1 in some order (a stored column order, say).
bool IsPermutation(const std::vector<int> &Values);

// A list of 32-bit integers belonging to one cell (FCol, FRow), which OnChange reports.
class TIntList
{
public:
    using TChangeEvent = std::function<void(TIntList *Sender, int Acol, int Arow)>;

    explicit TIntList(int Col = 0, int Row = 0) : FCol(Col), FRow(Row) {}
    virtual ~TIntList() = default;

    int Count() const { return static_cast<int>(m_items.size()); }

    // Add, Delete, SetInteger and DeleteValue fire OnChange; Insert and Clear do not.
    void Add(int Value);
    void Insert(int Index, int Value);
    void Delete(int Index);
    void Clear() { m_items.clear(); }
    int GetInteger(int Index) const;
    void SetInteger(int Index, int Value);
    int Items(int Index) const { return GetInteger(Index); }
    void SetItems(int Index, int Value) { SetInteger(Index, Value); }
    // Deletes the first entry equal to Value; nothing when there is none.
    void DeleteValue(int Value);
    bool HasValue(int Value) const;

    // "5,-2,17". Writing splits as comma text (commas and blanks separate, double quotes
    // group) and adds each part; a part that is not an integer throws EQrlConvertError after
    // the parts before it were added.
    QString StrValue() const;
    void SetStrValue(const QString &Value);

    TChangeEvent OnChange;
    int FCol = 0;
    int FRow = 0;

protected:
    void changed();
    void checkIndex(int Index) const;

private:
    std::vector<int> m_items;
};

// One entry per sort column in priority order: the column in bits 0..30, bit 31 set for a
// descending column.
class TSortIndexList : public TIntList
{
public:
    using TIntList::TIntList;

    void AddIndex(int ColumnIndex, bool Ascending);
    // List index of the first entry of that column, -1 when absent.
    int FindIndex(int ColumnIndex) const;
    void ToggleIndex(int ColumnIndex);

    int SortColumns(int Index) const;
    void SetSortColumns(int Index, int Value);
    bool SortDirections(int Index) const;
    void SetSortDirections(int Index, bool Ascending);

    // "u3;d1": direction letter and the column's low 16 bits, joined by ";".
    QString SaveToString() const;
    // Entries shorter than 2 characters, and entries whose number is not a column index,
    // are skipped.
    void LoadFromString(const QString &s);
};

// A control placed in cell (X = column, Y = real row); the control is not owned.
class TControlItem
{
public:
    TControlItem(int AX, int AY, QWidget *AObject) : X(AX), Y(AY), Control(AObject) {}

    int X = 0;
    int Y = 0;
    // Becomes null when the control is destroyed elsewhere.
    QPointer<QWidget> Control;
};

class TControlList
{
public:
    TControlList() = default;
    TControlList(const TControlList &) = delete;
    TControlList &operator=(const TControlList &) = delete;

    int Count() const { return static_cast<int>(m_items.size()); }
    void AddControl(int X, int Y, QWidget *AObject);
    // Index of the first item of that cell, -1 when none.
    int ControlIndex(int X, int Y) const;
    TControlItem *GetControl(int i) const;
    // Frees the item, not its control.
    void RemoveControl(int i);
    // The widget stands for its window handle here: True when some item holds that widget.
    bool HasHandle(const QWidget *Handle) const;

private:
    std::vector<std::unique_ptr<TControlItem>> m_items;
};

// A string list read and written line by line.
class TFileStringList : public QStringList
{
public:
    using QStringList::QStringList;

    int Count() const { return static_cast<int>(size()); }
    void Reset();
    bool Eof() const { return fp >= Count(); }
    // Reading past the last line throws std::out_of_range.
    void ReadLn(QString &s);
    void Write(const QString &s) { cache += s; }
    void WriteLn(const QString &s);

private:
    int fp = 0;
    QString cache;
};
