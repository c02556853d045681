// Public types of the grid library: the persistent base of its settings objects, the
// enumerations every part of the grid shares, and the grid's event types.
//
// Enumerations keep their declaration order (the first value is 0); several are stored by
// ordinal (cell graphics, settings streams), so never reorder them.
//
// Event argument order: click, edit, anchor, colour, border, alignment, fixed-cell, password,
// can-edit and hint events pass the row before the column; button, expand, check-box,
// editor-type, word-wrap, combo, spin, check-text, ellipsis, balloon and image events the column
// before the row. Sender comes first; "var" arguments are references.
#pragma once

#include "platform/TSet.h"
#include "platform/grid/GridTypes.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Geometry.h"

#include <QString>

#include <functional>

class QObject;
class TBrush;
class TCanvas;
class TFont;
class TPen;

// Base of the small settings objects a grid owns. Assign copies from an object of the same
// class only; any other source leaves the object unchanged.
class TPersistent
{
public:
    TPersistent() = default;
    TPersistent(const TPersistent &) = delete;
    TPersistent &operator=(const TPersistent &) = delete;
    virtual ~TPersistent() = default;

    virtual void Assign(const TPersistent &Source) { (void)Source; }
};

// Change event of a settings object; the sender is the object itself.
using TSettingsNotifyEvent = std::function<void(TPersistent *Sender)>;

// Horizontal text alignment as the toolkit's controls keep it.
// The axis a line operation runs along; the value parts write row and column logic once over it.
enum class TGridAxis { Cols, Rows };

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// --- Base grid ------------------------------------------------------------------------------

enum class TColumnCalcType {
    acNONE,
    acSUM,
    acAVG,
    acCOUNT,
    acMIN,
    acMAX,
    acSPREAD,
    acCUSTOM,
    acDISTINCT,
    acSTDDEV
};

enum class TGridSelectionStyle { ssDefault, ssVista, ssWin7, ssOffice2007 };

enum class THoverRowCell { hcNormal, hcFixed, hcSelected };
using THoverRowCells = TSet<THoverRowCell>;

// --- Shared by the whole library ------------------------------------------------------------

enum class TEditorType {
    edNormal,
    edSpinEdit,
    edComboEdit,
    edComboList,
    edEditBtn,
    edCheckBox,
    edDateEdit,
    edDateEditUpDown,
    edTimeEdit,
    edButton,
    edDataCheckBox,
    edNumeric,
    edPositiveNumeric,
    edFloat,
    edCapital,
    edMixedCase,
    edPassword,
    edUnitEditBtn,
    edLowerCase,
    edUpperCase,
    edFloatSpinEdit,
    edTimeSpinEdit,
    edDateSpinEdit,
    edNumericEditBtn,
    edFloatEditBtn,
    edCustom,
    edRichEdit,
    edNone,
    edDateTimeEdit,
    edValidChars,
    edTrackbarDropDown,
    edMemoDropDown,
    edCalculatorDropDown,
    edTimePickerDropDown,
    edDetailDropDown,
    edGridDropDown,
    edColorPickerDropDown,
    edImagePickerDropDown,
    edQrlGridDropDown,
    edPositiveFloat,
    edNumericUnitEditBtn,
    edFloatUnitEditBtn,
    edMaskEditBtn
};
inline constexpr int EditorTypeCount = 43;

// The kinds the grid's own text editor edits; every other kind has a control of its own.
inline constexpr bool IsTextEditorKind(TEditorType e)
{
    switch (e) {
    case TEditorType::edNormal:
    case TEditorType::edNumeric:
    case TEditorType::edPositiveNumeric:
    case TEditorType::edFloat:
    case TEditorType::edPositiveFloat:
    case TEditorType::edCapital:
    case TEditorType::edMixedCase:
    case TEditorType::edPassword:
    case TEditorType::edLowerCase:
    case TEditorType::edUpperCase:
    case TEditorType::edValidChars:
        return true;
    default:
        return false;
    }
}

// Sets a flag for a scope and puts the old value back, also when an exception passes.
class TFlagScope
{
public:
    TFlagScope(bool &flag, bool value) : m_flag(flag), m_old(flag) { m_flag = value; }
    ~TFlagScope() { m_flag = m_old; }
    TFlagScope(const TFlagScope &) = delete;
    TFlagScope &operator=(const TFlagScope &) = delete;

private:
    bool &m_flag;
    bool m_old;
};

// ctNone is 2, not 0: a fresh cell graphic is not a bitmap.
enum class TCellType {
    ctBitmap,
    ctIcon,
    ctNone,
    ctImageList,
    ctCheckBox,
    ctDataCheckBox,
    ctRotated,
    ctDataImage,
    ctNode,
    ctRadio,
    ctEmpty,
    ctImages,
    ctPicture,
    ctFilePicture,
    ctValue,
    ctProgress,
    ctComment,
    ctButton,
    ctBitButton,
    ctVirtCheckBox,
    ctRowCheckBox,
    ctProgressPie,
    ctSummary,
    ctRangeIndicator,
    ctXPProgress,
    ctInterface,
    ctScrollbar,
    ctRadioButton,
    ctBalloon,
    ctShape,
    ctRating,
    ctTriStateCheckBox,
    ctExpand
};
inline constexpr int CellTypeCount = 33;
using TCellTypes = TSet<TCellType>;

enum class TSortStyle {
    ssAutomatic,
    ssAlphabetic,
    ssNumeric,
    ssDate,
    ssAlphaNoCase,
    ssAlphaCase,
    ssShortDateEU,
    ssShortDateUS,
    ssCustom,
    ssFinancial,
    ssAnsiAlphaCase,
    ssAnsiAlphaNoCase,
    ssRaw,
    ssHTML,
    ssImages,
    ssCheckBox,
    ssDateTime,
    ssTime,
    ssAlphaNumeric,
    ssAlphaNumericNoCase
};

enum class TGridLook {
    glStandard,
    glSoft,
    glClassic,
    glQuorl,
    glXP,
    glListView,
    glVista,
    glWin7,
    glOffice2007,
    glCustom
};

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

enum class TCellHAlign { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum class TCellVAlign { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };

// How a picture cell fits its picture; stored by ordinal in the cell graphic.
enum class TStretchMode {
    noStretch,
    Stretch,
    StretchWithAspectRatio,
    Shrink,
    ShrinkWithAspectRatio
};

// --- Settings module ------------------------------------------------------------------------

enum class TCellBorder { cbTop, cbLeft, cbRight, cbBottom };
using TCellBorders = TSet<TCellBorder>;

enum class TCellGradientDirection { GradientVertical, GradientHorizontal };
enum class TVAlignment { vtaTop, vtaCenter, vtaBottom };
enum class TArrowDirection { arrUp, arrDown, arrLeft, arrRight };
enum class TQrlGridButtonStyle { tasButton, tasCheck };
enum class TSearchDirection { sdTopBottom, sdLeftRight };
enum class THomeEndAction { heFirstLastColumn, heFirstLastRow, heFirstLastCell };
enum class TClipboardPasteAction { paReplace, paInsert };
enum class TAdvanceDirection { adLeftRight, adTopBottom, adLeftRightInRow, adTopBottomInCol };
enum class TInsertPosition { pInsertBefore, pInsertAfter };
enum class TCursorAdvance { caDefault, caSnake, caLoop };
enum class TGridFixedCellEdit { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum class TGridFixedCellEditor { fceEdit, fceComboEdit, fceComboList };
enum class TWheelAction { waMoveSelection, waScroll };

// --- Event types ----------------------------------------------------------------------------

using TGetDisplTextEvent = std::function<void(QObject *Sender, int ACol, int ARow, QString &Value)>;
using TGetDisplWideTextEvent =
    std::function<void(QObject *Sender, int ACol, int ARow, QString &Value)>;
using TFloatFormatEvent =
    std::function<void(QObject *Sender, int ACol, int ARow, bool &IsFloat, QString &FloatFormat)>;
using TOnResizeEvent = std::function<void(QObject *Sender)>;
using TColumnSizeEvent = std::function<void(QObject *Sender, int ACol, bool &Allow)>;
using TColumnSizingEvent = std::function<void(QObject *Sender, int ACol, int ColumnSize)>;
using TRowSizingEvent = std::function<void(QObject *Sender, int ARow, int RowSize)>;
using TRowSizeEvent = std::function<void(QObject *Sender, int ARow, bool &Allow)>;
using TEndColumnSizeEvent = std::function<void(QObject *Sender, int ACol)>;
using TUpdateColumnSizeEvent = std::function<void(QObject *Sender, int ACol, int &AWidth)>;
using TEndRowSizeEvent = std::function<void(QObject *Sender, int ARow)>;
using TClickCellEvent = std::function<void(QObject *Sender, int ARow, int ACol)>;
using TDblClickCellEvent = std::function<void(QObject *Sender, int ARow, int ACol)>;
using TCanEditCellEvent = std::function<void(QObject *Sender, int ARow, int ACol, bool &CanEdit)>;
using TScrollHintEvent = std::function<void(QObject *Sender, int ARow, QString &hintstr)>;
using TButtonClickEvent = std::function<void(QObject *Sender, int ACol, int ARow)>;
using TExpandClickEvent = std::function<void(QObject *Sender, int ACol, int ARow, bool Expanded)>;
using TCheckBoxClickEvent = std::function<void(QObject *Sender, int ACol, int ARow, bool State)>;
using TGetEditorTypeEvent =
    std::function<void(QObject *Sender, int ACol, int ARow, TEditorType &AEditor)>;
using TCustomCellDrawEvent = std::function<void(QObject *Sender,
                                                TCanvas *Canvas,
                                                int ACol,
                                                int ARow,
                                                plat::TGridDrawState AState,
                                                TRect ARect,
                                                bool Printing)>;
using TAnchorClickEvent = std::function<void(
    QObject *Sender, int ARow, int ACol, const QString &Anchor, bool &AutoHandle)>;
using TAnchorHintEvent = std::function<void(QObject *Sender, int ARow, int ACol, QString &Anchor)>;
using TAnchorEvent =
    std::function<void(QObject *Sender, int ARow, int ACol, const QString &Anchor)>;
using TClickSortEvent = std::function<void(QObject *Sender, int ACol)>;
using TCanSortEvent = std::function<void(QObject *Sender, int ACol, bool &DoSort)>;
using TCustomCompareEvent =
    std::function<void(QObject *Sender, const QString &str1, const QString &str2, int &Res)>;
using TRawCompareEvent =
    std::function<void(QObject *Sender, int ACol, int Row1, int Row2, int &Res)>;
using TGridFormatEvent = std::function<void(
    QObject *Sender, int ACol, TSortStyle &AStyle, QString &aPrefix, QString &aSuffix)>;
using TGridColorEvent = std::function<void(QObject *Sender,
                                           int ARow,
                                           int ACol,
                                           plat::TGridDrawState AState,
                                           TBrush *ABrush,
                                           TFont *AFont)>;
using TGridGradientEvent = std::function<void(QObject *Sender,
                                              int ARow,
                                              int ACol,
                                              TColor &Color,
                                              TColor &ColorTo,
                                              TColor &ColorMirror,
                                              TColor &ColorMirrorTo,
                                              TCellGradientDirection &GD)>;
using TGridBorderEvent =
    std::function<void(QObject *Sender, int ARow, int ACol, TPen *APen, TCellBorders &Borders)>;
using TGridBorderPropEvent = std::function<void(QObject *Sender,
                                                int ARow,
                                                int ACol,
                                                TPen *LeftPen,
                                                TPen *TopPen,
                                                TPen *RightPen,
                                                TPen *BottomPen)>;
using TGridAlignEvent = std::function<void(
    QObject *Sender, int ARow, int ACol, TAlignment &HAlign, TVAlignment &VAlign)>;
using TGridHintEvent = std::function<void(QObject *Sender, int ARow, int ACol, QString &hintstr)>;
using TEllipsClickEvent = std::function<void(QObject *Sender, int ACol, int ARow, QString &S)>;
using TGridBalloonEvent = std::function<void(
    QObject *Sender, int ACol, int ARow, QString &ATitle, QString &AText, int &AIcon)>;
using TCanInsertRowEvent = std::function<void(QObject *Sender, int ARow, bool &CanInsert)>;
using TAutoInsertRowEvent = std::function<void(QObject *Sender, int ARow)>;
using TCanAddRowEvent = std::function<void(QObject *Sender, bool &CanAdd)>;
using TAutoAddRowEvent = std::function<void(QObject *Sender, int ARow)>;
using TCanDeleteRowEvent = std::function<void(QObject *Sender, int ARow, bool &CanDelete)>;
using TAutoDeleteRowEvent = std::function<void(QObject *Sender, int ARow)>;
using TAutoInsertColEvent = std::function<void(QObject *Sender, int ACol)>;
using TSearchEditChangeEvent =
    std::function<void(QObject *Sender, const QString &Value, bool &DefaultSearch)>;
using TSpinClickEvent =
    std::function<void(QObject *Sender, int ACol, int ARow, int AValue, bool UpDown)>;
using TImageChangeEvent = std::function<void(QObject *Sender, int Acol, int Arow)>;
// Value: the text the footer cell of ACol gets; ARow counts the hidden rows in.
using TCalcFooterEvent = std::function<void(QObject *Sender, int ACol, int ARow, QString &Value)>;
// Asked by the mouse settings (the sender) whether the grid sits in a form designer.
using TIsDesigningEvent = std::function<void(TPersistent *Sender, bool &IsDesigning)>;
