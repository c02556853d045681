// Pasted text in the grid's text editor: whatever the clipboard holds, the editor keeps to its
// length limit and its kind's rule, and the cell ends up with the editor's text.
// Input: kind byte, length-limit byte, flags byte (bit 0: UTF-16 text, bit 1: multi-line
// editor, bit 2: select all before pasting), then the clipboard text.
#include "FuzzSupport.h"

#include "grid/editing/QrlInplaceEdit.h"
#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlStringGrid.h"

#include <QApplication>
#include <QClipboard>

namespace {

const TEditorType kinds[] = {
    TEditorType::edNormal,    TEditorType::edNumeric,       TEditorType::edPositiveNumeric,
    TEditorType::edFloat,     TEditorType::edPositiveFloat, TEditorType::edCapital,
    TEditorType::edMixedCase, TEditorType::edPassword,      TEditorType::edLowerCase,
    TEditorType::edUpperCase, TEditorType::edValidChars};

const QString validChars = QStringLiteral("0123456789ABC");

TQrlStringGrid *grid = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The application and its shown grid live for the whole run and are never torn down: at
    // exit the grid would outlive the statics its events use, and the application its window.
    static QApplication *const app = new QApplication(*argc, *argv);
    Q_UNUSED(app);
    TQrlStringGrid &g = *new TQrlStringGrid;
    g.SetColCount(3);
    g.SetRowCount(3);
    g.SetValidChars(validChars);
    // The editor shows without the window having the focus.
    g.SetOptions(g.Options() + plat::TGridOption::goEditing +
                 plat::TGridOption::goAlwaysShowEditor);
    g.resize(300, 120);
    g.show();
    grid = &g;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Reader in(data, size);
    const TEditorType kind = kinds[in.take<uint8_t>() % std::size(kinds)];
    const int limit = in.take<uint8_t>() % 12;
    const uint8_t flags = in.take<uint8_t>();
    const QByteArray rest = in.rest();
    const QString pasted =
        (flags & 1) ? QString(reinterpret_cast<const QChar *>(rest.constData()), rest.size() / 2)
                    : QString::fromUtf8(rest);

    grid->SetWordWrap(flags & 2);
    grid->SetMaxEditLength(limit);
    grid->SetCells(1, 1, QString());
    grid->SetCol(1);
    grid->SetRow(1);
    grid->KeepOldCellValue(1, 1);
    grid->SetDefaultEditor(kind);
    grid->ShowInplaceEdit();
    TQrlInplaceEdit *ed = grid->NormalEdit();
    FUZZ_CHECK(ed);
    if (flags & 4)
        ed->Editor()->SelectAll();
    QApplication::clipboard()->setText(pasted);
    ed->PasteFromClipboard();

    const QString text = ed->Text();
    if (limit > 0)
        FUZZ_CHECK(text.size() <= limit);
    if (!text.isEmpty()) {
        switch (kind) {
        case TEditorType::edNumeric:
            FUZZ_CHECK(NumberTextKind(text) == 0);
            break;
        case TEditorType::edPositiveNumeric:
            FUZZ_CHECK(NumberTextKind(text) == 0 && !text.contains(QLatin1Char('-')));
            break;
        case TEditorType::edFloat:
            FUZZ_CHECK(NumberTextKind(text) == 0 || NumberTextKind(text) == 1);
            break;
        case TEditorType::edPositiveFloat:
            FUZZ_CHECK((NumberTextKind(text) == 0 || NumberTextKind(text) == 1) &&
                       !text.contains(QLatin1Char('-')));
            break;
        case TEditorType::edUpperCase:
            FUZZ_CHECK(text == text.toUpper());
            break;
        case TEditorType::edLowerCase:
            FUZZ_CHECK(text == text.toLower());
            break;
        case TEditorType::edValidChars:
            for (QChar c : text)
                FUZZ_CHECK(validChars.contains(c));
            break;
        default:
            break;
        }
    }
    // The cell follows the editor's text.
    FUZZ_CHECK(grid->Cells(1, 1) == text);
    grid->HideInplaceEdit();
    return 0;
}
