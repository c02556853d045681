// The grid library's start-up values, the focus-frame watch, the file-version reader, the
// regional accessors and the string grid's column order, wide cells and recorded widths.
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlGridStartup.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/os/Regional.h"
#include "platform/ui/WindowMessage.h"

#include <QCoreApplication>
#include <QFile>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

// ---- registered names and start-up values ------------------------------------------------

TEST(GridStartup, RegisteredNamesMapToTheRunsSharedIds)
{
    EXPECT_EQ(WM_GRIDEDITDONE(), plat::RegisterWindowMessage("GridEditDone"));
    EXPECT_EQ(WM_DTPSHIFTFOCUS(), plat::RegisterWindowMessage("DTPShiftFocus"));
    EXPECT_EQ(CF_GRIDCELLS(),
              static_cast<int>(plat::RegisterWindowMessage("TQrlStringGrid Cells")));
    const std::vector<int> ids{static_cast<int>(WM_GRIDEDITDONE()),
                               static_cast<int>(WM_DTPSHIFTFOCUS()), CF_GRIDCELLS()};
    for (size_t i = 0; i < ids.size(); ++i) {
        EXPECT_GE(ids[i], static_cast<int>(QEvent::User));
        for (size_t j = i + 1; j < ids.size(); ++j)
            EXPECT_NE(ids[i], ids[j]);
    }
    EXPECT_TRUE(GridCellsMimeType().contains("\"TQrlStringGrid Cells\""));
}

TEST(GridStartup, PostedEditDoneCarriesColumnAndRow)
{
    struct Receiver : QObject
    {
        std::vector<std::pair<std::intptr_t, std::intptr_t>> got;
        bool event(QEvent *e) override
        {
            if (e->type() != WM_GRIDEDITDONE())
                return QObject::event(e);
            auto *m = static_cast<plat::TMessageEvent *>(e);
            got.emplace_back(m->WParam, m->LParam);
            return true;
        }
    } r;
    plat::PostMessage(&r, WM_GRIDEDITDONE(), 3, 7);
    EXPECT_TRUE(r.got.empty()); // posted, not sent
    QCoreApplication::sendPostedEvents(&r);
    ASSERT_EQ(r.got.size(), 1u);
    EXPECT_EQ(r.got[0], std::make_pair(std::intptr_t(3), std::intptr_t(7)));
}

TEST(GridStartup, FlagsFollowThePlatform)
{
    // The classic machine is of the XP generation with common controls 5.x, past 4.70.
    EXPECT_TRUE(ThemedHTMLEnabled());
    EXPECT_TRUE(CommonControlsOK());
    const TDragDropFormats &dd = DragDropFormats();
    EXPECT_EQ(dd.RichTextFormat, 0);
    EXPECT_EQ(dd.GridColumnFormat, 0);
    EXPECT_EQ(dd.GridCellsFormat, 0);
    EXPECT_FALSE(dd.Active);
}

TEST(GridStartup, CommonControlsFlagComparesTheVersionSigned)
{
    const struct
    {
        int versionMS;
        bool ok;
    } cases[] = {
        {-1, false},        {0x00040045, false},
        {0x00040046, true}, {0x00050050, true},
        {0x00060000, true}, {static_cast<int>(0x80010000u), false}, // the top bit makes it negative
    };
    for (const auto &c : cases)
        EXPECT_EQ(CommonControlsOKForVersion(c.versionMS), c.ok) << std::hex << c.versionMS;
}

TEST(GridStartup, FinaliseUndoesTheStartOnceAndTheNextReachStartsAgain)
{
    QWidget top;
    auto *grid = new TQrlStringGrid(&top);
    QWidget frame;
    SetFocusWindowGrid(grid, &frame);
    ASSERT_TRUE(QrlGridStarted());
    ASSERT_TRUE(GridWindowWatchInstalled());

    QrlGridFinalize();
    EXPECT_FALSE(QrlGridStarted());
    EXPECT_FALSE(GridWindowWatchInstalled());
    EXPECT_EQ(FocusWindowGrid(), nullptr);
    QrlGridFinalize(); // a second end does nothing

    const QRect before(1, 1, 2, 2);
    frame.setGeometry(before);
    QMoveEvent move(QPoint(50, 50), QPoint(0, 0));
    QCoreApplication::sendEvent(&top, &move);
    EXPECT_EQ(frame.geometry(), before); // the watch is gone

    EXPECT_EQ(WM_GRIDEDITDONE(), plat::RegisterWindowMessage("GridEditDone"));
    EXPECT_TRUE(QrlGridStarted());
    EXPECT_TRUE(GridWindowWatchInstalled());
}

// ---- the focus frame follows the top-level window ----------------------------------------

class FocusFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        top = std::make_unique<QWidget>();
        top->setGeometry(100, 80, 600, 400);
        grid = new TQrlStringGrid(top.get());
        grid->setGeometry(20, 30, 500, 300);
        grid->SetCol(2);
        grid->SetRow(3);
    }
    void TearDown() override
    {
        ClearFocusWindowGrid(grid);
        top.reset();
    }

    // The current cell's screen rectangle from 4 pixels left and above, 9 wider and higher.
    QRect expectedFrame(QWidget *frame) const
    {
        const TRect r = grid->CellRect(grid->Col(), grid->Row());
        QPoint p = grid->mapToGlobal(QPoint(r.Left - 4, r.Top - 4));
        if (!frame->isWindow())
            p = frame->parentWidget()->mapFromGlobal(p);
        return QRect(p.x(), p.y(), r.Width() + 9, r.Height() + 9);
    }

    std::unique_ptr<QWidget> top;
    TQrlStringGrid *grid = nullptr;
};

TEST_F(FocusFrameTest, MoveAndResizeOfTheTopLevelWindowPlaceTheFrame)
{
    auto *toolFrame = new TGridFocusWindow(grid);
    auto *childFrame = new QWidget(top.get());
    const QRect start(1, 1, 2, 2);
    for (QWidget *frame : {static_cast<QWidget *>(toolFrame), childFrame}) {
        SCOPED_TRACE(frame->isWindow() ? "tool window" : "child widget");
        SetFocusWindowGrid(grid, frame);
        EXPECT_EQ(FocusWindowGrid(), grid);

        frame->setGeometry(start);
        top->move(140, 90);
        QMoveEvent move(top->pos(), QPoint(100, 80));
        QCoreApplication::sendEvent(top.get(), &move);
        EXPECT_EQ(frame->geometry(), expectedFrame(frame));

        frame->setGeometry(start);
        grid->SetCol(1);
        grid->SetRow(4);
        QResizeEvent resize(QSize(610, 410), top->size());
        QCoreApplication::sendEvent(top.get(), &resize);
        EXPECT_EQ(frame->geometry(), expectedFrame(frame));

        // Other events of the window leave the frame alone.
        frame->setGeometry(start);
        QEvent other(QEvent::WindowTitleChange);
        QCoreApplication::sendEvent(top.get(), &other);
        EXPECT_EQ(frame->geometry(), start);
    }
}

TEST_F(FocusFrameTest, OnlyTheShowingGridClearsAndAGoneGridIsForgotten)
{
    QWidget frame;
    TQrlStringGrid other;
    SetFocusWindowGrid(grid, &frame);
    ClearFocusWindowGrid(&other);
    EXPECT_EQ(FocusWindowGrid(), grid);
    ClearFocusWindowGrid(nullptr);
    EXPECT_EQ(FocusWindowGrid(), grid);

    ClearFocusWindowGrid(grid);
    EXPECT_EQ(FocusWindowGrid(), nullptr);
    const QRect start(1, 1, 2, 2);
    frame.setGeometry(start);
    QMoveEvent move(QPoint(5, 5), QPoint(0, 0));
    QCoreApplication::sendEvent(top.get(), &move);
    EXPECT_EQ(frame.geometry(), start);

    // A grid destroyed while showing its frame must not be reached by the next window move.
    SetFocusWindowGrid(grid, &frame);
    delete grid;
    grid = nullptr;
    EXPECT_EQ(FocusWindowGrid(), nullptr);
    QCoreApplication::sendEvent(top.get(), &move);
    EXPECT_EQ(frame.geometry(), start);
}

// ---- file version --------------------------------------------------------------------------

struct VersionBlob
{
    const char *name;
    QByteArray bytes;
    int expected;
};

// A version block behind some leading bytes, laid out as the resource compiler writes it.
QByteArray versionBlock(uint16_t valueLength, uint32_t signature, uint32_t ms, int cutAfter = -1)
{
    QByteArray b(64, 'x');
    b[0] = 'M';
    b[1] = 'Z';
    auto u16 = [&b](uint16_t v) {
        b.append(char(v & 0xFF));
        b.append(char(v >> 8));
    };
    auto u32 = [&](uint32_t v) {
        u16(uint16_t(v & 0xFFFF));
        u16(uint16_t(v >> 16));
    };
    u16(0x0334);
    u16(valueLength);
    u16(0);
    for (QChar ch : QStringLiteral("VS_VERSION_INFO"))
        u16(ch.unicode());
    u16(0);
    while (b.size() % 4)
        b.append('\0');
    u32(signature);
    u32(0x00010000);
    u32(ms);
    u32(0x00030004); // least significant half: must not be read
    for (int i = 0; i < 9; ++i)
        u32(0);
    b.append("trailing", 8);
    if (cutAfter >= 0)
        b.truncate(cutAfter);
    return b;
}

TEST(FileVersionMS, ReadsTheFixedInformationOrAnswersMinusOne)
{
    const QByteArray good = versionBlock(52, 0xFEEF04BD, 0x00060002);
    const VersionBlob cases[] = {
        {"version 6.2", good, 0x00060002},
        {"version 4.70", versionBlock(52, 0xFEEF04BD, 0x00040046), 0x00040046},
        {"top bit set", versionBlock(52, 0xFEEF04BD, 0x80010000), static_cast<int>(0x80010000u)},
        {"wrong signature", versionBlock(52, 0xFEEF04BC, 0x00060002), -1},
        {"no fixed information", versionBlock(0, 0xFEEF04BD, 0x00060002), -1},
        {"cut inside the fixed information", versionBlock(52, 0xFEEF04BD, 0x00060002, 140), -1},
        {"no version block", QByteArray("MZ plain bytes without any resource"), -1},
        {"empty file", QByteArray(), -1},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const VersionBlob &c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name) + ".dll");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        EXPECT_EQ(FileVersionMS(path), c.expected) << c.name;
    }
    EXPECT_EQ(FileVersionMS(dir.filePath("missing.dll")), -1);
}

// ---- small window and regional routines ------------------------------------------------------

TEST(GridStartup, TransparentWindowLetsMouseInputThrough)
{
    QWidget w;
    ASSERT_FALSE(w.testAttribute(Qt::WA_TransparentForMouseEvents));
    SetWindowTransparent(&w);
    EXPECT_TRUE(w.testAttribute(Qt::WA_TransparentForMouseEvents));
    SetWindowTransparent(nullptr);
}

TEST(GridStartup, RegionalAccessorsReadTheSettingsAtEachCall)
{
    plat::RegionalSettings us;
    plat::RegionalSettings de;
    de.decimal = ",";
    de.thousandSeparator = u'.';
    de.dateSeparator = u'.';
    de.timeSeparator = u'-';
    de.shortDateFormat = "dd.MM.yyyy";
    OverrideGridRegionalSettings(std::nullopt);
    for (const plat::RegionalSettings &s : {us, de, us}) {
        plat::OverrideRegionalSettings(s);
        EXPECT_EQ(GetDecimalSeparator(), s.decimal.at(0));
        EXPECT_EQ(GetThousandSeparator(), s.thousandSeparator);
        EXPECT_EQ(GetDateSeparator(), s.dateSeparator);
        EXPECT_EQ(GetTimeSeparator(), s.timeSeparator);
        EXPECT_EQ(GetShortDateFormat(), s.shortDateFormat);
    }
    plat::OverrideRegionalSettings(std::nullopt);
    EXPECT_FALSE(GetShortTimeFormat().isEmpty());
    EXPECT_FALSE(GetLongTimeFormat().isEmpty());
}

// ---- the string grid's small routines ----------------------------------------------------

class GridRoutinesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid = std::make_unique<TQrlStringGrid>();
        grid->SetColCount(4);
        grid->SetRowCount(3);
        for (int c = 0; c < 4; ++c)
            grid->SetCellEx(c, 0, QStringLiteral("H%1").arg(c));
    }
    std::vector<QString> headers() const
    {
        std::vector<QString> h;
        for (int c = 0; c < grid->ColCount(); ++c)
            h.push_back(grid->GetCellEx(c, 0));
        return h;
    }
    std::unique_ptr<TQrlStringGrid> grid;
};

TEST_F(GridRoutinesTest, StretchFillsTheClientWidthWithOneColumn)
{
    QWidget form;
    grid->setParent(&form);
    grid->resize(400, 200);
    grid->SetColCount(4);
    for (int c = 0; c < 4; ++c)
        grid->SetColWidths(c, 50);
    grid->SetOptions(plat::TGridOptions(grid->Options()).Exclude(plat::TGridOption::goVertLine));
    auto total = [&] {
        int w = 0;
        for (int c = 0; c < grid->ColCount(); ++c)
            w += grid->ColWidths(c);
        return w;
    };
    grid->ColumnSize()->SetStretchColumn(1);
    grid->ColumnSize()->SetStretch(true); // stretches at once, one pixel short
    EXPECT_EQ(total() + 1, grid->viewport()->width());
    EXPECT_EQ(grid->ColWidths(0), 50);
    EXPECT_GT(grid->ColWidths(1), 50);
    grid->DoStretchColumn(-1); // the last one takes the room instead
    EXPECT_EQ(grid->ColWidths(3) + grid->ColWidths(1) + 100 + 1, grid->viewport()->width());

    // Without Stretch nothing moves.
    grid->ColumnSize()->SetStretch(false);
    grid->SetColWidths(3, 50);
    grid->DoStretchColumn(3);
    EXPECT_EQ(grid->ColWidths(3), 50);
    grid->setParent(nullptr);
}

TEST_F(GridRoutinesTest, TheGridAnswersTheStyleInterface)
{
    IQuorlStyle *style = dynamic_cast<IQuorlStyle *>(grid.get());
    ASSERT_NE(style, nullptr);
    style->SetComponentStyle(TQuorlStyle::tsOffice2007Luna);
    EXPECT_EQ(grid->ComponentStyle(), TQuorlStyle::tsOffice2007Luna);
}

TEST_F(GridRoutinesTest, WideCellsPassTextThroughTheCellStoreUnchanged)
{
    const QString texts[] = {"plain", QString::fromUtf8("Ωμέγα ✓ 漢字"),
                             QString::fromUtf8("𝄞 clef"), ""};
    for (const QString &t : texts) {
        grid->SetWideCells(2, 1, t);
        EXPECT_EQ(grid->GetCellEx(2, 1), t);
        grid->SetCellEx(1, 2, t + "!");
        EXPECT_EQ(grid->GetWideCells(1, 2), t + "!");
    }
}

TEST_F(GridRoutinesTest, InitOrigColSizesRecordsEveryColumnAndTheGridWidth)
{
    grid->resize(333, 200);
    const int widths[] = {40, 55, 70, 85};
    for (int c = 0; c < 4; ++c)
        grid->SetColWidths(c, widths[c]);
    grid->InitOrigColSizes();
    ASSERT_EQ(grid->OrigColSizes().Count(), grid->ColCount());
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(grid->OrigColSizes().Items(c), widths[c]);
    EXPECT_EQ(grid->OrigGridWidth(), 333);

    // A later change is not recorded until asked again.
    grid->SetColWidths(1, 99);
    EXPECT_EQ(grid->OrigColSizes().Items(1), widths[1]);
    grid->InitOrigColSizes();
    EXPECT_EQ(grid->OrigColSizes().Items(1), 99);
}

TEST_F(GridRoutinesTest, ColumnByHeaderFindsTheFirstExactMatch)
{
    grid->SetCellEx(0, 0, "Name");
    grid->SetCellEx(1, 0, "Value");
    grid->SetCellEx(2, 0, "Name");
    grid->SetCellEx(3, 0, "value");
    const struct
    {
        const char *header;
        int col;
    } cases[] = {{"Name", 0}, {"Value", 1}, {"value", 3}, {"NAME", -1}, {"Nam", -1}, {"", -1}};
    for (const auto &c : cases)
        EXPECT_EQ(grid->ColumnByHeader(c.header), c.col) << c.header;

    // Hidden columns are searched too, by real index.
    grid->HideColumn(1);
    EXPECT_EQ(grid->ColumnByHeader("Value"), 1);
}

TEST_F(GridRoutinesTest, ColumnAtPositionRecordsTheIdentityOrderFirst)
{
    ASSERT_FALSE(grid->ColumnOrderRecorded());
    for (int pos = 0; pos < 4; ++pos) {
        EXPECT_EQ(grid->ColumnAtPosition(pos), pos);
        EXPECT_EQ(grid->ColumnPosition(pos), pos);
    }
    EXPECT_TRUE(grid->ColumnOrderRecorded());
    // A position outside the order is the caller's error, reported by the list.
    EXPECT_THROW(grid->ColumnAtPosition(4), std::out_of_range);
}

TEST_F(GridRoutinesTest, OrderFollowsMovesAndResetRestoresIt)
{
    using Moves = std::vector<std::pair<int, int>>;
    const struct
    {
        const char *name;
        bool recordFirst;
        Moves moves;
    } cases[] = {
        {"first to third", true, {{0, 2}}},
        {"last to first", true, {{3, 0}}},
        {"two moves", true, {{0, 3}, {1, 2}}},
        {"reversed", true, {{3, 0}, {3, 1}, {3, 2}}},
        {"recorded by the first move", false, {{1, 3}, {0, 2}}},
        {"there and back", true, {{2, 0}, {0, 2}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        if (c.recordFirst)
            grid->SetColumnOrder();
        std::vector<int> ref{0, 1, 2, 3};
        for (auto [from, to] : c.moves) {
            grid->MoveColumn(from, to);
            const int v = ref[from];
            ref.erase(ref.begin() + from);
            ref.insert(ref.begin() + to, v);
        }
        for (int pos = 0; pos < 4; ++pos) {
            EXPECT_EQ(grid->ColumnAtPosition(pos), ref[pos]) << pos;
            EXPECT_EQ(grid->ColumnPosition(ref[pos]), pos) << pos;
            // The order names the column whose cells now sit there.
            EXPECT_EQ(grid->GetCellEx(pos, 0), QStringLiteral("H%1").arg(ref[pos]));
        }
        grid->HideColumn(ref[1]);
        grid->ResetColumnOrder();
        EXPECT_EQ(grid->NumHiddenColumns(), 0);
        EXPECT_EQ(headers(), (std::vector<QString>{"H0", "H1", "H2", "H3"}));
        for (int col = 0; col < 4; ++col)
            EXPECT_EQ(grid->ColumnPosition(col), col);
    }
}

TEST_F(GridRoutinesTest, ColumnMovedHandlerSeesTheOrderAlreadyMoved)
{
    grid->SetColumnOrder();
    int seen = -1;
    grid->OnColumnMoved = [&](QObject *, int, int) { seen = grid->ColumnPosition(0); };
    grid->MoveColumn(0, 2);
    EXPECT_EQ(seen, 2);
}

TEST_F(GridRoutinesTest, ResetWithoutRecordedOrderShowsAllAndRecordsIdentity)
{
    grid->HideColumn(2);
    grid->ResetColumnOrder();
    EXPECT_EQ(grid->NumHiddenColumns(), 0);
    EXPECT_TRUE(grid->ColumnOrderRecorded());
    EXPECT_EQ(headers(), (std::vector<QString>{"H0", "H1", "H2", "H3"}));
}

TEST_F(GridRoutinesTest, GroupColumnShiftsPositionsByOne)
{
    grid->SetColumnOrder();
    grid->MoveColumn(0, 2); // order 1 2 0 3
    std::vector<int> ungroupedPos, ungroupedAt;
    for (int i = 0; i < 4; ++i) {
        ungroupedPos.push_back(grid->ColumnPosition(i));
        ungroupedAt.push_back(grid->ColumnAtPosition(i));
    }
    const int group = 1;
    grid->SetGroupColumn(group);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(grid->ColumnPosition(i), ungroupedPos[i] - (i >= group ? 1 : 0)) << i;
        EXPECT_EQ(grid->ColumnAtPosition(i), ungroupedAt[i] + (ungroupedAt[i] >= group ? 1 : 0))
            << i;
    }
    // Over the recorded identity order, position and column stay inverse while grouped.
    grid->SetColumnOrder();
    for (int pos = 0; pos < grid->ColCount(); ++pos)
        EXPECT_EQ(grid->ColumnPosition(grid->ColumnAtPosition(pos)), pos) << pos;
}

} // namespace
