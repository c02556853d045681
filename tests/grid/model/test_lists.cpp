#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridParse.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

std::vector<int> entries(const TIntList &l)
{
    std::vector<int> v;
    for (int i = 0; i < l.Count(); ++i)
        v.push_back(l.GetInteger(i));
    return v;
}

TEST(GridLists, IntListChangeEvents)
{
    struct Case
    {
        const char *name;
        std::function<void(TIntList &)> op;
        int events;
        std::vector<int> after;
    };
    const Case cases[] = {
        {"Add", [](TIntList &l) { l.Add(9); }, 1, {1, 2, 3, 9}},
        {"Insert", [](TIntList &l) { l.Insert(0, 9); }, 0, {9, 1, 2, 3}},
        {"Insert at end", [](TIntList &l) { l.Insert(3, 9); }, 0, {1, 2, 3, 9}},
        {"Delete", [](TIntList &l) { l.Delete(1); }, 1, {1, 3}},
        {"SetInteger", [](TIntList &l) { l.SetInteger(2, 7); }, 1, {1, 2, 7}},
        {"Clear", [](TIntList &l) { l.Clear(); }, 0, {}},
        {"DeleteValue", [](TIntList &l) { l.DeleteValue(2); }, 1, {1, 3}},
        {"DeleteValue absent", [](TIntList &l) { l.DeleteValue(5); }, 0, {1, 2, 3}},
    };
    for (const Case &c : cases) {
        TIntList l(4, 6);
        l.Add(1);
        l.Add(2);
        l.Add(3);
        int events = 0;
        l.OnChange = [&](TIntList *sender, int col, int row) {
            EXPECT_EQ(sender, &l);
            EXPECT_EQ(col, 4);
            EXPECT_EQ(row, 6);
            ++events;
        };
        c.op(l);
        EXPECT_EQ(events, c.events) << c.name;
        EXPECT_EQ(entries(l), c.after) << c.name;
    }

    TIntList l;
    l.Add(1);
    EXPECT_TRUE(l.HasValue(1));
    EXPECT_FALSE(l.HasValue(2));
    EXPECT_THROW(l.GetInteger(1), std::out_of_range);
    EXPECT_THROW(l.Delete(-1), std::out_of_range);
    EXPECT_THROW(l.Insert(2, 0), std::out_of_range);
}

TEST(GridLists, IntListStrValue)
{
    TIntList l;
    EXPECT_EQ(l.StrValue(), QString());
    l.Add(5);
    l.Add(-2);
    l.Add(17);
    EXPECT_EQ(l.StrValue(), QStringLiteral("5,-2,17"));

    struct Case
    {
        const char16_t *text;
        bool throws;
        std::vector<int> after; // what the list holds afterwards, thrown or not
    };
    const Case cases[] = {
        {u"4, 9", false, {4, 9}},   {u"4 9", false, {4, 9}}, {u"\"1\",2", false, {1, 2}},
        {u"  7  ", false, {7}},     {u"", false, {}},        {u"1,,2", true, {1}},
        {u"1,x,3", true, {1}},      {u"1,", true, {1}},      {u"\"1 2\"", true, {}},
        {u"99999999999", true, {}},
    };
    for (const Case &c : cases) {
        TIntList t;
        t.Add(42);
        int events = 0;
        t.OnChange = [&](TIntList *, int, int) { ++events; };
        if (c.throws)
            EXPECT_THROW(t.SetStrValue(QString::fromUtf16(c.text)), EQrlConvertError);
        else
            EXPECT_NO_THROW(t.SetStrValue(QString::fromUtf16(c.text)));
        EXPECT_EQ(entries(t), c.after) << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(events, static_cast<int>(c.after.size())); // one per entry, none for clearing
    }
}

TEST(GridLists, SortIndexList)
{
    TSortIndexList l;
    l.AddIndex(3, true);
    l.AddIndex(1, false);
    EXPECT_EQ(l.SaveToString(), QStringLiteral("u3;d1"));
    EXPECT_EQ(static_cast<uint32_t>(l.GetInteger(1)), 0x80000001u);
    EXPECT_EQ(l.FindIndex(1), 1);
    EXPECT_EQ(l.FindIndex(2), -1);

    l.ToggleIndex(3);
    EXPECT_EQ(l.SaveToString(), QStringLiteral("d3;d1"));
    l.ToggleIndex(2); // absent: nothing
    EXPECT_EQ(l.SaveToString(), QStringLiteral("d3;d1"));

    l.SetSortColumns(0, 8); // keeps the direction
    EXPECT_EQ(l.SortColumns(0), 8);
    EXPECT_FALSE(l.SortDirections(0));
    l.SetSortDirections(1, true);
    EXPECT_EQ(l.SaveToString(), QStringLiteral("d8;u1"));

    TSortIndexList big;
    big.AddIndex(70000, true);
    EXPECT_EQ(big.SaveToString(), QStringLiteral("u4464"));

    const std::pair<const char16_t *, const char16_t *> loads[] = {
        {u"u3;d1;x;u", u"u3;d1"}, // one-character entries are skipped
        {u"", u""},
        {u"x5;u2", u"d5;u2"}, // any letter but u is descending
        {u"d5;u-1;uab;u7", u"d5;u7"},
    };
    for (const auto &[in, out] : loads) {
        TSortIndexList t;
        t.AddIndex(99, true);
        t.LoadFromString(QString::fromUtf16(in));
        EXPECT_EQ(t.SaveToString(), QString::fromUtf16(out))
            << QString::fromUtf16(in).toStdString();
    }
}

TEST(GridLists, ControlList)
{
    TControlList list;
    QWidget a;
    auto *b = new QWidget;
    list.AddControl(1, 2, &a);
    list.AddControl(3, 4, b);
    list.AddControl(1, 2, b);
    EXPECT_EQ(list.ControlIndex(1, 2), 0);
    EXPECT_EQ(list.ControlIndex(3, 4), 1);
    EXPECT_EQ(list.ControlIndex(2, 1), -1);
    EXPECT_TRUE(list.HasHandle(b));
    EXPECT_FALSE(list.HasHandle(nullptr));

    list.RemoveControl(0); // the item goes, the control stays
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.ControlIndex(1, 2), 1);
    EXPECT_FALSE(list.HasHandle(&a));

    delete b; // a control destroyed elsewhere leaves no dangling entry
    EXPECT_EQ(list.GetControl(0)->Control.data(), nullptr);
    EXPECT_FALSE(list.HasHandle(b));
    EXPECT_THROW(list.GetControl(2), std::out_of_range);
    EXPECT_THROW(list.RemoveControl(-1), std::out_of_range);
}

TEST(GridLists, FileStringList)
{
    TFileStringList f;
    EXPECT_TRUE(f.Eof());
    f.Write(QStringLiteral("a"));
    f.Write(QStringLiteral("b"));
    f.WriteLn(QStringLiteral("c"));
    f.WriteLn(QStringLiteral("d"));
    f.Write(QStringLiteral("pending"));
    EXPECT_EQ(static_cast<QStringList>(f), QStringList({"abc", "d"}));

    f.Reset();
    f.WriteLn(QStringLiteral("e")); // Reset dropped the pending text
    QString s;
    ASSERT_FALSE(f.Eof());
    f.ReadLn(s);
    EXPECT_EQ(s, QStringLiteral("abc"));
    f.ReadLn(s);
    f.ReadLn(s);
    EXPECT_EQ(s, QStringLiteral("e"));
    EXPECT_TRUE(f.Eof());
    EXPECT_THROW(f.ReadLn(s), std::out_of_range);
}

} // namespace
