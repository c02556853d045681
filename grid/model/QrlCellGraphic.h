// The optional graphic of a grid cell (picture, icon, image index, check box, radio button,
// button, node glyph, text rotation, ...) and the grid's node-row look settings.
//
// A graphic is one small object whose fields mean different things per kind (TCellType). The
// grid creates and attaches it; the painter draws it; the check-box, node and grouping code give
// it its state.
#pragma once

#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridTypes.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Geometry.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <typeinfo>

class TQrlStringGrid;

// What a graphic's object slots (CellBitmap, CellIcon) refer to: an object of a known class, or
// a plain 32-bit value (the progress, shape and rating kinds keep colours there). The reference
// knows how to free its object; whether it does is the graphic's ownership rule.
class TCellRef
{
public:
    TCellRef() = default;

    template <class T> static TCellRef Object(T *p)
    {
        TCellRef r;
        if (!p)
            return r;
        r.m_ptr = p;
        r.m_type = &typeid(T);
        r.m_delete = [](void *q) { delete static_cast<T *>(q); };
        if constexpr (requires(const T &t) {
                          t.Width();
                          t.Height();
                      }) {
            r.m_size = [](const void *q) {
                const T *t = static_cast<const T *>(q);
                return TSize{static_cast<int>(t->Width()), static_cast<int>(t->Height())};
            };
        }
        return r;
    }
    static TCellRef Value(std::uint32_t v)
    {
        TCellRef r;
        r.m_value = v;
        return r;
    }

    bool IsEmpty() const { return !m_ptr && m_value == 0; }
    bool IsObject() const { return m_ptr != nullptr; }
    // The object when it was stored as a T, else null.
    template <class T> T *As() const
    {
        return m_ptr && *m_type == typeid(T) ? static_cast<T *>(m_ptr) : nullptr;
    }
    const void *Address() const { return m_ptr; }
    std::uint32_t IntValue() const { return m_value; }
    // The object's Width() and Height() where its class has them; (0, 0) otherwise.
    TSize Size() const { return m_ptr && m_size ? m_size(m_ptr) : TSize{}; }

    // Frees the object (a value is only forgotten) and empties the reference.
    void Free()
    {
        if (m_ptr && m_delete)
            m_delete(m_ptr);
        *this = TCellRef();
    }

    friend bool operator==(const TCellRef &a, const TCellRef &b)
    {
        return a.m_ptr == b.m_ptr && a.m_value == b.m_value;
    }

private:
    void *m_ptr = nullptr;
    const std::type_info *m_type = nullptr;
    void (*m_delete)(void *) = nullptr;
    TSize (*m_size)(const void *) = nullptr;
    std::uint32_t m_value = 0;
};

class TCellGraphic : public TPersistent
{
public:
    TCellGraphic() = default;
    // Frees what the graphic owns, by kind: see releaseOwned.
    ~TCellGraphic() override;

    // Copies the plain fields (not the object slots, CellVar or CellCheckBoxState). What this
    // graphic owned is freed first, so the copied CellCreated never claims a foreign object.
    void Assign(const TPersistent &Source) override;

    // Each setter below gives the graphic its kind; an object the graphic owned before is freed.
    void SetBitmap(TBitmap *ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
    void SetIcon(const TCellRef &aicon, TCellHAlign hal, TCellVAlign val);
    void SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val);
    void SetDataImage(int idx, TCellHAlign hal, TCellVAlign val);
    // Creates the owned image-index list of cell (Col, Row); its changes go to Notifier.
    void SetMultiImage(int Col,
                       int Row,
                       int dir,
                       TCellHAlign hal,
                       TCellVAlign val,
                       TIntList::TChangeEvent Notifier);
    // APicture: any picture object with Width() and Height() (a picture, a file picture).
    void SetPicture(const TCellRef &APicture,
                    bool Transparent,
                    TStretchMode StretchMode,
                    int padding,
                    TCellHAlign hal,
                    TCellVAlign val);
    void SetFilePicture(const TCellRef &APicture,
                        bool Transparent,
                        TStretchMode StretchMode,
                        int padding,
                        TCellHAlign hal,
                        TCellVAlign val);
    // CellIndex = bh * 65536 + the low 16 bits of bw.
    void SetButton(int bw, int bh, const QString &caption, TCellHAlign hal, TCellVAlign val);
    void SetBitButton(
        int bw, int bh, const QString &caption, TBitmap *Glyph, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val);
    // Brought into 0..360 (360 stays 360).
    void SetAngle(std::int16_t AAngle);
    void SetInterfacedCell(const TCellRef &AObject);

    // The room a ctPicture or ctFilePicture takes in a cell of cw x rh pixels; (0, 0) for
    // any other kind. hastext is not used.
    TPoint GetPictureSize(int cw, int rh, bool hastext) const;

    // Fields; the setters store without checks, the grid repaints.
    TCellType CellType() const { return FCellType; }
    void SetCellType(TCellType Value) { FCellType = Value; }
    const TCellRef &CellBitmap() const { return FCellBitmap; }
    void SetCellBitmap(const TCellRef &Value) { FCellBitmap = Value; }
    const TCellRef &CellIcon() const { return FCellIcon; }
    void SetCellIcon(const TCellRef &Value) { FCellIcon = Value; }
    TCellVAlign CellVAlign() const { return FCellVAlign; }
    void SetCellVAlign(TCellVAlign Value) { FCellVAlign = Value; }
    TCellHAlign CellHAlign() const { return FCellHAlign; }
    void SetCellHAlign(TCellHAlign Value) { FCellHAlign = Value; }
    int CellIndex() const { return FCellIndex; }
    void SetCellIndex(int Value) { FCellIndex = Value; }
    bool CellTransparent() const { return FCellTransparent; }
    void SetCellTransparent(bool Value) { FCellTransparent = Value; }
    // True when the graphic owns what CellBitmap or CellIcon refers to.
    bool CellCreated() const { return FCellCreated; }
    void SetCellCreated(bool Value) { FCellCreated = Value; }
    bool CellBoolean() const { return FCellBoolean; }
    void SetCellBoolean(bool Value) { FCellBoolean = Value; }
    int CellAngle() const { return FCellAngle; }
    void SetCellAngle(int Value) { FCellAngle = Value; }
    double CellValue() const { return FCellValue; }
    void SetCellValue(double Value) { FCellValue = Value; }
    int CellErrFrom() const { return FCellErrFrom; }
    void SetCellErrFrom(int Value) { FCellErrFrom = Value; }
    int CellErrLen() const { return FCellErrLen; }
    void SetCellErrLen(int Value) { FCellErrLen = Value; }
    QString CellText() const { return FCellText; }
    void SetCellText(const QString &Value) { FCellText = Value; }
    QVariant CellVar() const { return FCellVar; }
    void SetCellVar(const QVariant &Value) { FCellVar = Value; }
    TCheckBoxState CellCheckBoxState() const { return FCellCheckBoxState; }
    void SetCellCheckBoxState(TCheckBoxState Value) { FCellCheckBoxState = Value; }

private:
    // Frees what the current kind owns and empties both object slots.
    void releaseOwned();
    // Common start of the kind setters: frees what was owned, takes the kind and alignment.
    void become(TCellType type, TCellHAlign hal, TCellVAlign val);

    TCellType FCellType = TCellType::ctNone;
    TCellRef FCellBitmap;
    TCellRef FCellIcon;
    TCellVAlign FCellVAlign = TCellVAlign::vaTop;
    TCellHAlign FCellHAlign = TCellHAlign::haLeft;
    int FCellIndex = 0;
    bool FCellTransparent = false;
    bool FCellCreated = false;
    bool FCellBoolean = false;
    int FCellAngle = 0;
    double FCellValue = 0.0;
    int FCellErrFrom = 0;
    int FCellErrLen = 0;
    QString FCellText;
    QVariant FCellVar;
    TCheckBoxState FCellCheckBoxState = TCheckBoxState::cbUnchecked;
};

// The fitting rule of picture cells on a picture of w x h pixels; p is the padding.
TPoint FitPictureSize(int w, int h, int cw, int rh, int p, TStretchMode mode);

// --- Node settings --------------------------------------------------------------------------

enum class TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };

// Look and behaviour of node rows. NodeType, ShowTree, ShowTreeFull, TreeColor and NodeIndent
// fire OnChange (the grid repaints) when they change; the others are plain values.
class TCellNode : public TPersistent
{
public:
    explicit TCellNode(TQrlStringGrid *AOwner = nullptr) : FOwner(AOwner) {}

    void Assign(const TPersistent &Source) override;

    TQrlStringGrid *Owner() const { return FOwner; }

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TNodeType NodeType() const { return FNodeType; }
    void SetNodeType(TNodeType Value);
    TColor NodeColor() const { return FNodeColor; }
    void SetNodeColor(TColor Value) { FNodeColor = Value; }
    const TBitmap &ExpandGlyph() const { return FExpandGlyph; }
    void SetExpandGlyph(const TBitmap &Value) { FExpandGlyph = Value; }
    // Expanding a node contracts every other one.
    bool ExpandOne() const { return FExpandOne; }
    void SetExpandOne(bool Value) { FExpandOne = Value; }
    const TBitmap &ContractGlyph() const { return FContractGlyph; }
    void SetContractGlyph(const TBitmap &Value) { FContractGlyph = Value; }
    bool ShowTree() const { return FShowTree; }
    void SetShowTree(bool Value);
    bool ShowTreeFull() const { return FShowTreeFull; }
    void SetShowTreeFull(bool Value);
    // Pixels per node level.
    int NodeIndent() const { return FNodeIndent; }
    void SetNodeIndent(int Value);
    TColor TreeColor() const { return FTreeColor; }
    void SetTreeColor(TColor Value);

    TSettingsNotifyEvent OnChange;

private:
    template <class T> void set(T &field, T value)
    {
        if (field == value)
            return;
        field = value;
        if (OnChange)
            OnChange(this);
    }

    TColor FColor = clSilver;
    TNodeType FNodeType = TNodeType::cnXP;
    TColor FNodeColor = clBlack;
    TBitmap FExpandGlyph;
    bool FExpandOne = false;
    TBitmap FContractGlyph;
    TQrlStringGrid *FOwner = nullptr;
    bool FShowTree = true;
    bool FShowTreeFull = true;
    int FNodeIndent = 12;
    TColor FTreeColor = clGray;
};
