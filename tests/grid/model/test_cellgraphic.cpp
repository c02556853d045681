#include "grid/model/QrlCellGraphic.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// A payload that counts its destruction and reports a picture size.
struct Payload
{
    static inline int destroyed = 0;
    Payload(int w = 0, int h = 0) : w(w), h(h) {}
    ~Payload() { ++destroyed; }
    int Width() const { return w; }
    int Height() const { return h; }
    int w, h;
};

TEST(CellGraphic, NewGraphicIsNone)
{
    TCellGraphic g;
    EXPECT_EQ(g.CellType(), TCellType::ctNone);
    EXPECT_NE(g.CellType(), TCellType::ctBitmap);
    EXPECT_FALSE(g.CellCreated());
    EXPECT_TRUE(g.CellBitmap().IsEmpty());
    EXPECT_TRUE(g.CellText().isEmpty());
    EXPECT_FALSE(g.CellVar().isValid());
}

TEST(CellGraphic, SetAngleWrapsIntoZeroTo360)
{
    const std::pair<int, int> cases[] = {{-90, 270}, {360, 360}, {725, 5}, {0, 0}, {-720, 0}};
    for (auto [in, out] : cases) {
        TCellGraphic g;
        g.SetAngle(static_cast<std::int16_t>(in));
        EXPECT_EQ(g.CellType(), TCellType::ctRotated);
        EXPECT_EQ(g.CellAngle(), out) << in;
    }
}

TEST(CellGraphic, KindSetters)
{
    struct Case
    {
        const char *name;
        std::function<void(TCellGraphic &)> set;
        TCellType kind;
        std::function<void(const TCellGraphic &)> check;
    };
    const auto L = TCellHAlign::haLeft;
    const auto T = TCellVAlign::vaTop;
    const Case cases[] = {
        {"button", [&](TCellGraphic &g) { g.SetButton(80, 20, "Go", TCellHAlign::haFull, T); },
         TCellType::ctButton,
         [](const TCellGraphic &g) {
             EXPECT_EQ(g.CellIndex(), 20 * 65536 + 80);
             EXPECT_EQ(g.CellText(), QStringLiteral("Go"));
             EXPECT_FALSE(g.CellBoolean());
             EXPECT_EQ(g.CellHAlign(), TCellHAlign::haFull);
         }},
        {"button width above 16 bits", [&](TCellGraphic &g) { g.SetButton(0x10005, 2, "", L, T); },
         TCellType::ctButton,
         [](const TCellGraphic &g) { EXPECT_EQ(g.CellIndex(), 2 * 65536 + 5); }},
        {"check box", [&](TCellGraphic &g) { g.SetCheckBox(true, false, true, L, T); },
         TCellType::ctCheckBox,
         [](const TCellGraphic &g) {
             EXPECT_TRUE(g.CellBoolean());
             EXPECT_TRUE(g.CellTransparent());
             EXPECT_EQ(g.CellAngle(), 0);
         }},
        {"data check box", [&](TCellGraphic &g) { g.SetCheckBox(false, true, false, L, T); },
         TCellType::ctDataCheckBox, [](const TCellGraphic &g) { EXPECT_FALSE(g.CellBoolean()); }},
        {"tri-state", [&](TCellGraphic &g) { g.SetCheckBox(TCheckBoxState::cbGrayed, true, L, T); },
         TCellType::ctTriStateCheckBox,
         [](const TCellGraphic &g) {
             EXPECT_EQ(g.CellCheckBoxState(), TCheckBoxState::cbGrayed);
             EXPECT_FALSE(g.CellBoolean());
         }},
        {"radio button", [&](TCellGraphic &g) { g.SetRadioButton(true, false, L, T); },
         TCellType::ctRadioButton, [](const TCellGraphic &g) { EXPECT_TRUE(g.CellBoolean()); }},
        {"image index", [&](TCellGraphic &g) { g.SetImageIdx(4, L, TCellVAlign::vaCenter); },
         TCellType::ctImageList,
         [](const TCellGraphic &g) {
             EXPECT_EQ(g.CellIndex(), 4);
             EXPECT_EQ(g.CellVAlign(), TCellVAlign::vaCenter);
         }},
        {"data image", [&](TCellGraphic &g) { g.SetDataImage(2, L, T); }, TCellType::ctDataImage,
         [](const TCellGraphic &g) { EXPECT_EQ(g.CellIndex(), 2); }},
        {"picture",
         [&](TCellGraphic &g) {
             g.SetPicture(TCellRef(), true, TStretchMode::Shrink, 3, TCellHAlign::haCenter, T);
         },
         TCellType::ctPicture,
         [](const TCellGraphic &g) {
             EXPECT_EQ(g.CellAngle(), static_cast<int>(TStretchMode::Shrink));
             EXPECT_EQ(g.CellIndex(), 3);
             EXPECT_TRUE(g.CellTransparent());
         }},
        {"file picture",
         [&](TCellGraphic &g) {
             g.SetFilePicture(TCellRef(), false, TStretchMode::Stretch, 1, L, T);
         },
         TCellType::ctFilePicture, [](const TCellGraphic &g) { EXPECT_EQ(g.CellAngle(), 1); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TCellGraphic g;
        c.set(g);
        EXPECT_EQ(g.CellType(), c.kind);
        c.check(g);
    }
}

TEST(CellGraphic, MultiImageOwnsAWiredList)
{
    int notified = 0, col = -1, row = -1;
    TCellGraphic g;
    g.SetMultiImage(3, 7, 0, TCellHAlign::haLeft, TCellVAlign::vaTop,
                    [&](TIntList *, int c, int r) {
                        ++notified;
                        col = c;
                        row = r;
                    });
    EXPECT_EQ(g.CellType(), TCellType::ctImages);
    EXPECT_TRUE(g.CellBoolean()) << "direction 0 lays images side by side";
    EXPECT_TRUE(g.CellCreated());
    TIntList *list = g.CellBitmap().As<TIntList>();
    ASSERT_NE(list, nullptr);
    list->Add(5);
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(col, 3);
    EXPECT_EQ(row, 7);
}

TEST(CellGraphic, PictureFitting)
{
    struct Case
    {
        TStretchMode mode;
        int cell;
        TPoint expected;
    };
    const Case cases[] = {
        {TStretchMode::Stretch, 60, {60, 60}},
        {TStretchMode::StretchWithAspectRatio, 60, {60, 30}},
        {TStretchMode::Shrink, 60, {60, 60}},
        {TStretchMode::ShrinkWithAspectRatio, 60, {60, 30}},
        {TStretchMode::noStretch, 60, {100, 50}},
        {TStretchMode::Shrink, 200, {100, 50}},
        {TStretchMode::ShrinkWithAspectRatio, 200, {100, 50}},
        {TStretchMode::StretchWithAspectRatio, 200, {200, 100}},
        {TStretchMode::Stretch, 200, {200, 200}},
    };
    Payload picture(100, 50);
    for (const Case &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        SCOPED_TRACE(c.cell);
        for (TCellType kind : {TCellType::ctPicture, TCellType::ctFilePicture}) {
            TCellGraphic g;
            const TCellRef ref = TCellRef::Object(&picture);
            if (kind == TCellType::ctPicture)
                g.SetPicture(ref, false, c.mode, 0, TCellHAlign::haLeft, TCellVAlign::vaTop);
            else
                g.SetFilePicture(ref, false, c.mode, 0, TCellHAlign::haLeft, TCellVAlign::vaTop);
            EXPECT_EQ(g.GetPictureSize(c.cell, c.cell, true), c.expected);
        }
    }
    // Padding comes off the cell; halves round to even (25 x 0.5 = 12.5 -> 12).
    EXPECT_EQ(FitPictureSize(100, 50, 70, 70, 10, TStretchMode::StretchWithAspectRatio),
              (TPoint{60, 30}));
    EXPECT_EQ(FitPictureSize(20, 25, 10, 100, 0, TStretchMode::StretchWithAspectRatio),
              (TPoint{10, 12}));
    // An empty picture takes ratio 1 instead of dividing by zero.
    EXPECT_EQ(FitPictureSize(0, 0, 30, 40, 0, TStretchMode::StretchWithAspectRatio),
              (TPoint{0, 40}));
    TCellGraphic button;
    button.SetButton(10, 10, "", TCellHAlign::haLeft, TCellVAlign::vaTop);
    EXPECT_EQ(button.GetPictureSize(60, 60, false), (TPoint{0, 0}));
}

TEST(CellGraphic, OwnershipOnDestruction)
{
    struct Case
    {
        const char *name;
        std::function<void(TCellGraphic &, Payload *)> attach;
        bool freed;
    };
    const auto L = TCellHAlign::haLeft;
    const auto T = TCellVAlign::vaTop;
    const Case cases[] = {
        {"picture handed in",
         [&](TCellGraphic &g, Payload *p) {
             g.SetPicture(TCellRef::Object(p), false, TStretchMode::Stretch, 0, L, T);
         },
         false},
        {"picture created",
         [&](TCellGraphic &g, Payload *p) {
             g.SetPicture(TCellRef::Object(p), false, TStretchMode::Stretch, 0, L, T);
             g.SetCellCreated(true);
         },
         true},
        {"icon created",
         [&](TCellGraphic &g, Payload *p) {
             g.SetIcon(TCellRef::Object(p), L, T);
             g.SetCellCreated(true);
         },
         true},
        {"interfaced object stays the caller's",
         [&](TCellGraphic &g, Payload *p) {
             g.SetInterfacedCell(TCellRef::Object(p));
             g.SetCellCreated(true);
         },
         false},
        {"check box custom glyph",
         [&](TCellGraphic &g, Payload *p) {
             g.SetCheckBox(true, false, false, L, T);
             g.SetCellBitmap(TCellRef::Object(p));
             g.SetCellAngle(1);
         },
         true},
        {"check box without custom glyph flag",
         [&](TCellGraphic &g, Payload *p) {
             g.SetCheckBox(true, false, false, L, T);
             g.SetCellBitmap(TCellRef::Object(p));
         },
         false},
        {"balloon list",
         [&](TCellGraphic &g, Payload *p) {
             g.SetCellType(TCellType::ctBalloon);
             g.SetCellBitmap(TCellRef::Object(p));
         },
         true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto *payload = new Payload;
        Payload::destroyed = 0;
        {
            TCellGraphic g;
            c.attach(g, payload);
        }
        EXPECT_EQ(Payload::destroyed, c.freed ? 1 : 0);
        if (!c.freed)
            delete payload;
    }
}

TEST(CellGraphic, ReplacingAKindFreesOnlyWhatWasOwned)
{
    auto *owned = new Payload;
    Payload mine;
    Payload::destroyed = 0;
    TCellGraphic g;
    g.SetPicture(TCellRef::Object(owned), false, TStretchMode::Stretch, 0, TCellHAlign::haLeft,
                 TCellVAlign::vaTop);
    g.SetCellCreated(true);
    g.SetPicture(TCellRef::Object(&mine), false, TStretchMode::Stretch, 0, TCellHAlign::haLeft,
                 TCellVAlign::vaTop);
    EXPECT_EQ(Payload::destroyed, 1) << "the owned picture is released, not leaked";
    EXPECT_FALSE(g.CellCreated()) << "the caller's picture is not claimed";
    g.SetAngle(90);
    EXPECT_EQ(Payload::destroyed, 1);
}

TEST(CellGraphic, AssignCopiesFieldsButNotObjects)
{
    Payload mine;
    TCellGraphic src;
    src.SetButton(30, 10, "Caption", TCellHAlign::haCenter, TCellVAlign::vaCenter);
    src.SetCellValue(2.5);
    src.SetCellErrFrom(4);
    src.SetCellVar(QVariant(7));
    src.SetCellCheckBoxState(TCheckBoxState::cbChecked);
    src.SetCellCreated(true);

    TCellGraphic dst;
    dst.SetBitmap(nullptr, false, TCellHAlign::haLeft, TCellVAlign::vaTop);
    dst.SetCellBitmap(TCellRef::Object(&mine));
    Payload::destroyed = 0;
    dst.Assign(src);
    EXPECT_EQ(dst.CellType(), TCellType::ctButton);
    EXPECT_EQ(dst.CellIndex(), src.CellIndex());
    EXPECT_EQ(dst.CellText(), QStringLiteral("Caption"));
    EXPECT_EQ(dst.CellValue(), 2.5);
    EXPECT_EQ(dst.CellErrFrom(), 4);
    EXPECT_TRUE(dst.CellCreated());
    EXPECT_FALSE(dst.CellVar().isValid());
    EXPECT_EQ(dst.CellCheckBoxState(), TCheckBoxState::cbUnchecked);
    // The caller's bitmap is neither copied on nor claimed through the copied flag.
    EXPECT_TRUE(dst.CellBitmap().IsEmpty());
    EXPECT_EQ(Payload::destroyed, 0);
}

TEST(CellRef, TypedAccessAndValues)
{
    Payload p(3, 4);
    const TCellRef ref = TCellRef::Object(&p);
    EXPECT_EQ(ref.As<Payload>(), &p);
    EXPECT_EQ(ref.As<TIntList>(), nullptr);
    EXPECT_EQ(ref.Size(), (TSize{3, 4}));
    const TCellRef colour = TCellRef::Value(clRed);
    EXPECT_FALSE(colour.IsObject());
    EXPECT_EQ(colour.IntValue(), clRed);
    EXPECT_EQ(colour.As<Payload>(), nullptr);
    TIntList list;
    EXPECT_EQ(TCellRef::Object(&list).Size(), (TSize{0, 0}));
}

// --- Node settings --------------------------------------------------------------------------

TEST(CellNode, DefaultsRepaintAndAssign)
{
    TCellNode n;
    EXPECT_EQ(n.Color(), clSilver);
    EXPECT_EQ(n.NodeType(), TNodeType::cnXP);
    EXPECT_EQ(n.NodeColor(), clBlack);
    EXPECT_FALSE(n.ExpandOne());
    EXPECT_TRUE(n.ShowTree());
    EXPECT_TRUE(n.ShowTreeFull());
    EXPECT_EQ(n.NodeIndent(), 12);
    EXPECT_EQ(n.TreeColor(), clGray);
    EXPECT_TRUE(n.ExpandGlyph().Empty());

    int repaints = 0;
    n.OnChange = [&](TPersistent *) { ++repaints; };
    n.SetNodeIndent(12);
    n.SetShowTree(true);
    EXPECT_EQ(repaints, 0);
    n.SetNodeIndent(16);
    n.SetNodeType(TNodeType::cnFlat);
    n.SetShowTreeFull(false);
    n.SetTreeColor(clRed);
    n.SetShowTree(false);
    EXPECT_EQ(repaints, 5);
    n.SetColor(clRed);
    n.SetExpandOne(true);
    n.SetNodeColor(clBlue);
    n.SetExpandGlyph(TBitmap(9, 9));
    EXPECT_EQ(repaints, 5) << "plain fields and glyphs do not repaint";

    TCellNode copy;
    copy.Assign(n);
    EXPECT_EQ(copy.NodeIndent(), 16);
    EXPECT_EQ(copy.NodeType(), TNodeType::cnFlat);
    EXPECT_EQ(copy.Color(), clRed);
    EXPECT_TRUE(copy.ExpandOne());
    EXPECT_EQ(copy.NodeColor(), clBlue);
    EXPECT_FALSE(copy.ShowTree());
    EXPECT_FALSE(copy.ShowTreeFull());
    EXPECT_EQ(copy.TreeColor(), clRed);
    EXPECT_EQ(copy.ExpandGlyph().Width(), 9);
}

} // namespace
