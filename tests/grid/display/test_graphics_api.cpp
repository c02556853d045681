// The graphic families of the string grid: ownership of what adders and creators store, removers
// that keep other kinds, the image kinds' need for an image list, comments, markers, scroll bars
// on merged cells and button rectangles.
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlFilePicture.h"
#include "grid/model/QrlGridDraw.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlImageList.h"
#include "grid/model/QrlStringGrid.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using H = TCellHAlign;
using V = TCellVAlign;

class GraphicsApiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid = std::make_unique<TQrlStringGrid>();
        grid->SetColCount(4);
        grid->SetRowCount(6);
    }
    std::unique_ptr<TQrlStringGrid> grid;
};

TEST_F(GraphicsApiTest, CreatorsOwnTheirObjectsAddersLeaveThemToTheCaller)
{
    // Creator objects go with the graphic (a leak would show under the leak checker); the
    // caller's bitmap survives its graphic being replaced and removed.
    TBitmap mine(4, 4);
    struct Step
    {
        const char *name;
        std::function<void()> make;
        TCellType kind;
    };
    const Step steps[] = {
        {"CreateBitmap", [&] { grid->CreateBitmap(1, 1, false, H::haLeft, V::vaTop); },
         TCellType::ctBitmap},
        {"CreatePicture",
         [&] { grid->CreatePicture(1, 1, false, TStretchMode::Stretch, 0, H::haLeft, V::vaTop); },
         TCellType::ctPicture},
        {"CreateFilePicture",
         [&] {
             grid->CreateFilePicture(1, 1, false, TStretchMode::noStretch, 0, H::haLeft, V::vaTop);
         },
         TCellType::ctFilePicture},
        {"CreateIcon", [&] { grid->CreateIcon(1, 1, H::haLeft, V::vaTop); }, TCellType::ctIcon},
        {"CreateBitButton",
         [&] { grid->CreateBitButton(1, 1, 30, 20, QStringLiteral("x"), H::haLeft, V::vaTop); },
         TCellType::ctBitButton},
        {"AddBitmap", [&] { grid->AddBitmap(1, 1, &mine, true, H::haLeft, V::vaTop); },
         TCellType::ctBitmap},
        {"AddPicture",
         [&] {
             grid->AddPicture(1, 1, &mine, false, TStretchMode::Shrink, 2, H::haLeft, V::vaTop);
         },
         TCellType::ctPicture},
        {"AddIcon", [&] { grid->AddIcon(1, 1, &mine, H::haLeft, V::vaTop); }, TCellType::ctIcon},
        {"AddBitButton",
         [&] { grid->AddBitButton(1, 1, 30, 20, QString(), &mine, H::haLeft, V::vaTop); },
         TCellType::ctBitButton},
    };
    for (const Step &s : steps) {
        s.make(); // replaces whatever the previous step stored
        EXPECT_EQ(grid->GetCellType(1, 1), s.kind) << s.name;
    }
    grid->RemoveButton(1, 1);
    EXPECT_EQ(grid->GetCellType(1, 1), TCellType::ctEmpty);
    EXPECT_EQ(mine.Width(), 4);
}

TEST_F(GraphicsApiTest, GettersAndRemoversOnlyAnswerForTheirKind)
{
    TBitmap *bmp = grid->CreateBitmap(1, 1, false, H::haLeft, V::vaTop);
    EXPECT_EQ(grid->GetBitmap(1, 1), bmp);
    EXPECT_TRUE(grid->HasBitmap(1, 1));
    EXPECT_FALSE(grid->HasPicture(1, 1));
    grid->RemovePicture(1, 1);
    grid->RemoveIcon(1, 1);
    grid->RemoveProgress(1, 1);
    EXPECT_EQ(grid->GetBitmap(1, 1), bmp);
    grid->RemoveBitmap(1, 1);
    EXPECT_FALSE(grid->HasBitmap(1, 1));
    EXPECT_EQ(grid->GetBitmap(2, 2), nullptr);
}

TEST_F(GraphicsApiTest, ImageKindsNeedTheGridImageList)
{
    grid->SetCells(1, 1, QString());
    grid->AddImageIdx(1, 1, 3, H::haLeft, V::vaTop);
    grid->AddDataImage(1, 2, 3, H::haLeft, V::vaTop);
    grid->AddMultiImage(1, 3, 0, H::haLeft, V::vaTop);
    for (int r : {1, 2, 3})
        EXPECT_EQ(grid->GetCellType(1, r), TCellType::ctEmpty) << r;
    EXPECT_TRUE(grid->Cells(1, 2).isEmpty());

    TCustomImageList images(16, 16);
    grid->SetGridImages(&images);
    EXPECT_EQ(grid->CellImageList(1, 1), &images);
    grid->AddImageIdx(1, 1, 3, H::haLeft, V::vaTop);
    int idx = -1;
    EXPECT_TRUE(grid->GetImageIdx(1, 1, idx));
    EXPECT_EQ(idx, 3);
    grid->SetImageIdx(1, 1, 5);
    EXPECT_TRUE(grid->GetImageIdx(1, 1, idx));
    EXPECT_EQ(idx, 5);

    // The data image keeps a text and gives an empty cell its index.
    grid->SetCells(2, 1, QStringLiteral("7"));
    grid->AddDataImage(2, 1, 3, H::haLeft, V::vaTop);
    grid->AddDataImage(1, 2, 3, H::haLeft, V::vaTop);
    EXPECT_EQ(grid->Cells(2, 1), QStringLiteral("7"));
    EXPECT_EQ(grid->Cells(1, 2), QStringLiteral("3"));
    EXPECT_TRUE(grid->HasDataImage(1, 2));
    grid->RemoveDataImage(1, 2);
    EXPECT_FALSE(grid->HasDataImage(1, 2));
    EXPECT_TRUE(grid->Cells(1, 2).isEmpty());
    // Cleared even without a data image.
    grid->SetCells(3, 3, QStringLiteral("abc"));
    grid->RemoveDataImage(3, 3);
    EXPECT_TRUE(grid->Cells(3, 3).isEmpty());

    grid->AddMultiImage(1, 3, 0, H::haLeft, V::vaTop);
    ASSERT_NE(grid->GetCellImages(1, 3), nullptr);
    grid->GetCellImages(1, 3)->Add(1);
    EXPECT_TRUE(grid->GetCellGraphic(1, 3)->CellBoolean());

    grid->SetGridImages(nullptr);
    EXPECT_FALSE(grid->GetImageIdx(1, 1, idx));
}

TEST_F(GraphicsApiTest, ProgressAddersFillTheDocumentedFields)
{
    grid->AddProgressFormatted(1, 1, clBlue, clWhite, clGray, clBlack, QStringLiteral("%d"), 5, 50);
    const TCellGraphic *g = grid->GetCellGraphic(1, 1);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->CellType(), TCellType::ctProgress);
    EXPECT_EQ(g->CellBitmap().IntValue(), clBlue);
    EXPECT_EQ(g->CellIcon().IntValue(), clGray);
    EXPECT_EQ(TColor(g->CellIndex()), clWhite);
    EXPECT_EQ(TColor(g->CellAngle()), clBlack);
    EXPECT_TRUE(g->CellBoolean());
    EXPECT_EQ(g->CellErrFrom(), 5);
    EXPECT_EQ(g->CellErrLen(), 50);
    EXPECT_TRUE(grid->HasProgress(1, 1));

    grid->AddProgressPie(2, 1, clRed, 30);
    grid->SetProgressPie(2, 1, 60);
    grid->SetProgressPie(1, 1, 99); // not a pie: untouched
    EXPECT_EQ(grid->GetCellGraphic(2, 1)->CellAngle(), 60);
    EXPECT_EQ(grid->GetCellGraphic(1, 1)->CellAngle(), int(clBlack));
}

TEST_F(GraphicsApiTest, SetCommentLeavesOtherGraphicsAlone)
{
    grid->AddButton(1, 1, 30, 20, QStringLiteral("Go"), H::haLeft, V::vaTop);
    grid->SetComment(1, 1, QStringLiteral("note"));
    EXPECT_EQ(grid->GetCellType(1, 1), TCellType::ctButton);
    EXPECT_EQ(grid->GetButtonText(1, 1), QStringLiteral("Go"));
    EXPECT_TRUE(grid->GetComment(1, 1).isEmpty());

    grid->SetComment(2, 1, QStringLiteral("a"));
    grid->SetComment(2, 1, QStringLiteral("b"));
    QString text;
    EXPECT_TRUE(grid->IsComment(2, 1, text));
    EXPECT_EQ(text, QStringLiteral("b"));
    EXPECT_EQ(TColor(grid->GetCellGraphic(2, 1)->CellIndex()), grid->ControlLook()->CommentColor());
    grid->AddColorComment(3, 2, QStringLiteral("c"), clGreen);
    grid->RemoveAllComments();
    EXPECT_FALSE(grid->IsComment(2, 1, text));
    EXPECT_FALSE(grid->IsComment(3, 2, text));
    EXPECT_EQ(grid->GetCellType(1, 1), TCellType::ctButton);
}

TEST_F(GraphicsApiTest, ShapeColourAndRating)
{
    grid->AddShape(1, 1, TCellShape::csStar, clYellow, clNavy, H::haLeft, V::vaTop);
    EXPECT_EQ(grid->GetShapeColor(1, 1), clYellow);
    grid->SetShapeColor(1, 1, clLime);
    EXPECT_EQ(grid->GetShapeColor(1, 1), clLime);
    EXPECT_EQ(grid->GetShapeColor(2, 2), clNone);
    grid->AddRating(2, 2, 5, clRed, clGray);
    EXPECT_TRUE(grid->HasRating(2, 2));
    EXPECT_EQ(grid->GetCellGraphic(2, 2)->CellHAlign(), H::haFull);
    grid->RemoveShape(2, 2);
    EXPECT_TRUE(grid->HasRating(2, 2));
}

TEST_F(GraphicsApiTest, MarkersKeepTheKindOfAnExistingGraphic)
{
    grid->AddMarker(1, 1, 2, 3);
    EXPECT_EQ(grid->GetCellType(1, 1), TCellType::ctEmpty);
    int pos = -1;
    int len = -1;
    grid->GetMarker(1, 1, pos, len);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(len, 3);
    grid->AddButton(2, 1, 30, 20, QString(), H::haLeft, V::vaTop);
    grid->AddMarker(2, 1, 4, 1);
    EXPECT_EQ(grid->GetCellType(2, 1), TCellType::ctButton);
    grid->RemoveAllMarkers();
    EXPECT_EQ(grid->GetCellGraphic(1, 1), nullptr);
    grid->GetMarker(2, 1, pos, len);
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(len, 0);
    EXPECT_EQ(grid->GetCellType(2, 1), TCellType::ctButton);
}

TEST_F(GraphicsApiTest, ScrollBarOnAMergedAreaAnswersForTheBaseCell)
{
    grid->MergeCells(1, 1, 2, 2);
    grid->AddScrollBar(1, 1, false);
    grid->SetScrollPosition(2, 2, 7);
    EXPECT_TRUE(grid->HasScrollBar(2, 2));
    EXPECT_EQ(grid->GetScrollPosition(2, 1), 7);
    grid->SetScrollProp(1, 2, {10, 200});
    const TScrollProp p = grid->GetScrollProp(1, 1);
    EXPECT_EQ(p.PageSize, 10);
    EXPECT_EQ(p.Range, 200);
    EXPECT_EQ(grid->GetScrollPosition(3, 4), -1);
    const TScrollProp none = grid->GetScrollProp(3, 4);
    EXPECT_EQ(none.PageSize, -1);
    EXPECT_EQ(none.Range, -1);
}

TEST_F(GraphicsApiTest, ButtonRectanglesComeFromTheStoredOffsetAndSize)
{
    grid->AddButton(1, 1, 30, 12, QStringLiteral("Go"), H::haLeft, V::vaTop);
    grid->GetCellGraphic(1, 1)->SetCellValue((3 << 16) | 5);
    const TRect cell = grid->CellRect(1, 1);
    EXPECT_EQ(grid->CellButtonRect(1, 1), Bounds(cell.Left + 5, cell.Top + 3, 30, 12));
    grid->PushButton(1, 1, true);
    EXPECT_TRUE(grid->GetCellGraphic(1, 1)->CellBoolean());
    EXPECT_TRUE(grid->HasButton(1, 1));
    grid->AddBitButton(2, 1, 30, 12, QString(), nullptr, H::haFull, V::vaFull);
    const TRect cell2 = grid->CellRect(2, 1);
    EXPECT_EQ(grid->CellButtonRect(2, 1), cell2);
    grid->RemoveAllButtons();
    EXPECT_FALSE(grid->HasButton(1, 1));
    EXPECT_FALSE(grid->HasButton(2, 1));
    EXPECT_EQ(grid->CellButtonRect(1, 1), TRect{});
    EXPECT_EQ(grid->ExpandButtonRect(1, 1), TRect{});
}

TEST_F(GraphicsApiTest, GraphicSizeCountsOnlyTheRoomBesideOrAboveTheText)
{
    TBitmap bmp(10, 8);
    const int cw = grid->ColWidths(1);
    const int rh = grid->RowHeights(1);
    struct Case
    {
        const char *text;
        H hal;
        V val;
        int w, h;
    };
    const Case bitmapCases[] = {
        {"abc", H::haLeft, V::vaTop, 0, 0},
        {"abc", H::haBeforeText, V::vaTop, 10, 0},
        {"abc", H::haAfterText, V::vaUnderText, 10, 8},
        {"abc", H::haLeft, V::vaAboveText, 0, 8},
        {"", H::haLeft, V::vaTop, 10, 8},
        {"abc", H::haFull, V::vaFull, cw, rh},
    };
    for (const Case &c : bitmapCases) {
        grid->SetCells(1, 1, QString::fromLatin1(c.text));
        grid->AddBitmap(1, 1, &bmp, false, c.hal, c.val);
        const TPoint p = grid->GetCellGraphicSize(1, 1);
        EXPECT_EQ(p.X, c.w) << c.text << int(c.hal) << int(c.val);
        EXPECT_EQ(p.Y, c.h) << c.text << int(c.hal) << int(c.val);
    }
    // A full-width rating keeps its star row unless it is full-height as well.
    grid->AddRating(2, 1, 5, clRed, clGray);
    EXPECT_EQ(grid->GetCellGraphicSize(2, 1), (TPoint{90, 16}));
    grid->GetCellGraphic(2, 1)->SetCellVAlign(V::vaFull);
    EXPECT_EQ(grid->GetCellGraphicSize(2, 1), (TPoint{cw, rh}));
    // A button beside text takes its width only; on an empty cell both sides.
    grid->SetCells(3, 1, QStringLiteral("x"));
    grid->AddButton(3, 1, 40, 20, QStringLiteral("Go"), H::haLeft, V::vaTop);
    EXPECT_EQ(grid->GetCellGraphicSize(3, 1), (TPoint{40, 0}));
    grid->SetCells(3, 1, QString());
    EXPECT_EQ(grid->GetCellGraphicSize(3, 1), (TPoint{40, 20}));
    grid->AddProgress(3, 2, clBlue, clWhite);
    EXPECT_EQ(grid->GetCellGraphicSize(3, 2), (TPoint{0, 0}));
    // The printout sizes pictures by the print scale; a zero scale counts as 1.
    TBitmap pic(40, 20);
    grid->AddPicture(1, 2, &pic, false, TStretchMode::Stretch, 0, H::haLeft, V::vaTop);
    EXPECT_EQ(grid->CalcPrintGraphicSize(1, 2, 80, 30, 2.0), (TPoint{40, 15}));
    EXPECT_EQ(grid->CalcPrintGraphicSize(1, 2, 80, 30, 0.0), (TPoint{80, 30}));
}

TEST_F(GraphicsApiTest, DisplayTextLinksTheFirstURLAndCountsGroupRows)
{
    grid->SetURLShowInText(true);
    const std::pair<const char *, const char *> cases[] = {
        {"see www.x.com?q=1", "see <a href=\"www.x.com\">www.x.com</a>?q=1"},
        {"mailto:a@b.c or http://x.org",
         "mailto:a@b.c or <a href=\"http://x.org\">http://x.org</a>"},
        {"plain <b>", "plain <b>"},
    };
    for (const auto &[in, out] : cases) {
        QString v = QString::fromLatin1(in);
        grid->GetDisplText(2, 2, v);
        EXPECT_EQ(v, QString::fromLatin1(out)) << in;
    }
    grid->SetURLShowInText(false);

    grid->SetRowCount(10);
    grid->AddNode(1, 5); // rows 1 .. 5
    grid->UpdateSubNodeCount(1, 1);
    grid->Grouping()->SetShowGroupCount(true);
    grid->SetCells(1, 1, QStringLiteral("Group"));
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("Group"));
    QString v = QStringLiteral("Group");
    grid->GetDisplText(1, 1, v);
    EXPECT_EQ(v, QStringLiteral("Group (3)"));
    QString other = QStringLiteral("x");
    grid->GetDisplText(2, 1, other);
    EXPECT_EQ(other, QStringLiteral("x"));
}

} // namespace
