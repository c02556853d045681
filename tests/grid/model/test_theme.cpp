#include "grid/model/QrlGridTheme.h"

#include <QCoreApplication>
#include <QSet>

#include <gtest/gtest.h>

#include <map>

namespace {

class FakeThemeEnvironment : public IThemeEnvironment
{
public:
    // key -> its integer values
    std::map<QString, std::map<QString, int>> keys;
    bool library = false;
    QSet<QString> missingExports;
    bool themeActive = false;
    QString colorName;
    uint32_t comctlMajor = 5;
    bool getLocaleInfoEx = false;
    int major = 5;
    int minor = 1;

    bool RegistryKeyExists(const QString &Key) const override { return keys.count(Key) > 0; }
    std::optional<int> RegistryInteger(const QString &Key, const QString &Name) const override
    {
        const auto k = keys.find(Key);
        if (k == keys.end())
            return std::nullopt;
        const auto v = k->second.find(Name);
        if (v == k->second.end())
            return std::nullopt;
        return v->second;
    }
    bool VisualStylesLibraryLoads() const override { return library; }
    bool VisualStylesExports(const QString &FunctionName) const override
    {
        return library && !missingExports.contains(FunctionName);
    }
    bool IsThemeActive() const override { return themeActive; }
    QString CurrentThemeColorName() const override { return colorName; }
    uint32_t ComCtl32MajorVersion() const override { return comctlMajor; }
    bool Kernel32ExportsGetLocaleInfoEx() const override { return getLocaleInfoEx; }
    int PlatformMajorVersion() const override { return major; }
    int PlatformMinorVersion() const override { return minor; }

    void setTheme(const QString &key, std::optional<int> theme)
    {
        keys[key];
        if (theme)
            keys[key][QStringLiteral("Theme")] = *theme;
    }
    void setVisualStyle(const QString &color)
    {
        library = true;
        themeActive = true;
        comctlMajor = 6;
        colorName = color;
    }
};

class GridTheme : public ::testing::Test
{
protected:
    void SetUp() override { SetThemeEnvironment(&env); }
    void TearDown() override
    {
        SetThemeEnvironment(nullptr);
        QrlXPVS().FreeThemeFunctions();
        ATXPVS().FreeThemeFunctions();
    }

    FakeThemeEnvironment env;
};

TEST(GridThemeClassic, ThisMachineTakesTheClassicPath)
{
    EXPECT_EQ(CurrentOfficeTheme(), TOfficeTheme::ot2003Classic);
    EXPECT_EQ(InstalledOfficeVersion(), 0);
    EXPECT_EQ(XPColorSchemeIndex(), 0);
    EXPECT_FALSE(ComCtl32IsV6());
    EXPECT_EQ(DefaultUIFontName(), QStringLiteral("Tahoma"));
    QrlXPVS().LoadThemeFunctions();
    EXPECT_FALSE(QrlXPVS().Loaded());

    QWidget owner;
    TThemeNotifier *n = GetThemeNotifier(&owner);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(GetThemeNotifier(nullptr), n);
    EXPECT_EQ(n->MonitorThread(), nullptr);
    EXPECT_EQ(n->NotifierWindow(), nullptr);
    n->RegisterWindow(&owner); // nothing to register with
}

TEST_F(GridTheme, CurrentOfficeThemeDecisionTable)
{
    struct Case
    {
        const char *name;
        std::function<void(FakeThemeEnvironment &)> setup;
        TOfficeTheme theme;
    };
    const Case cases[] = {
        {"2010 silver over 2007",
         [](auto &e) {
             e.setTheme(kOffice14Common, 2);
             e.setTheme(kOffice12Common, 1);
         },
         TOfficeTheme::ot2010Silver},
        {"2010 blue", [](auto &e) { e.setTheme(kOffice14Common, 1); }, TOfficeTheme::ot2010Blue},
        {"2010 black", [](auto &e) { e.setTheme(kOffice14Common, 3); }, TOfficeTheme::ot2010Black},
        {"2010 theme 0 does not fall through",
         [](auto &e) {
             e.setTheme(kOffice14Common, 0);
             e.setTheme(kOffice12Common, 3);
         },
         TOfficeTheme::ot2003Blue},
        {"2010 key without value",
         [](auto &e) {
             e.setTheme(kOffice14Common, std::nullopt);
             e.setTheme(kOffice12Common, 3);
         },
         TOfficeTheme::ot2007Black},
        {"2007 blue", [](auto &e) { e.setTheme(kOffice12Common, 1); }, TOfficeTheme::ot2007Blue},
        {"2007 silver", [](auto &e) { e.setTheme(kOffice12Common, 2); },
         TOfficeTheme::ot2007Silver},
        {"2007 other", [](auto &e) { e.setTheme(kOffice12Common, 7); }, TOfficeTheme::ot2003Blue},
        {"no style", [](auto &) {}, TOfficeTheme::ot2003Classic},
        {"NormalColor", [](auto &e) { e.setVisualStyle("NormalColor"); }, TOfficeTheme::ot2003Blue},
        {"HomeStead", [](auto &e) { e.setVisualStyle("HomeStead"); }, TOfficeTheme::ot2003Olive},
        {"Metallic", [](auto &e) { e.setVisualStyle("Metallic"); }, TOfficeTheme::ot2003Silver},
        {"other colour", [](auto &e) { e.setVisualStyle("Royale"); }, TOfficeTheme::ot2003Classic},
        {"style inactive",
         [](auto &e) {
             e.setVisualStyle("NormalColor");
             e.themeActive = false;
         },
         TOfficeTheme::ot2003Classic},
        {"old common controls",
         [](auto &e) {
             e.setVisualStyle("NormalColor");
             e.comctlMajor = 5;
         },
         TOfficeTheme::ot2003Classic},
        {"common controls without version data",
         [](auto &e) {
             e.setVisualStyle("NormalColor");
             e.comctlMajor = 0xFFFFFFFF;
         },
         TOfficeTheme::ot2003Blue},
        {"before XP",
         [](auto &e) {
             e.setVisualStyle("NormalColor");
             e.minor = 0;
         },
         TOfficeTheme::ot2003Classic},
    };
    for (const Case &c : cases) {
        env = FakeThemeEnvironment();
        c.setup(env);
        EXPECT_EQ(CurrentOfficeTheme(), c.theme) << c.name;
    }
}

TEST_F(GridTheme, InstalledVersionAndThemeValue)
{
    EXPECT_EQ(InstalledOfficeVersion(), 0);
    env.setTheme(kOffice11General, std::nullopt);
    EXPECT_EQ(InstalledOfficeVersion(), 0);
    env.setTheme(kOffice12General, std::nullopt);
    EXPECT_EQ(InstalledOfficeVersion(), 1);
    env.setTheme(kOffice14General, std::nullopt);
    EXPECT_EQ(InstalledOfficeVersion(), 2);

    EXPECT_EQ(ReadOfficeThemeValue(env, kOffice12Common), -1);
    env.setTheme(kOffice12Common, std::nullopt);
    EXPECT_EQ(ReadOfficeThemeValue(env, kOffice12Common), -1);
    env.setTheme(kOffice12Common, 2);
    EXPECT_EQ(ReadOfficeThemeValue(env, kOffice12Common), 2);
}

TEST_F(GridTheme, PlatformQuestions)
{
    const std::tuple<int, int, bool> versions[] = {
        {4, 10, false}, {5, 0, false}, {5, 1, true}, {6, 0, true}, {10, 0, true}};
    for (const auto &[major, minor, xp] : versions) {
        env.major = major;
        env.minor = minor;
        EXPECT_EQ(IsWindowsXPOrLater(), xp) << major << "." << minor;
    }
    env.getLocaleInfoEx = true;
    EXPECT_TRUE(IsVistaOrLater());
    EXPECT_EQ(DefaultUIFontName(), QStringLiteral("Segoe UI"));
}

TEST_F(GridTheme, VisualStylesBinding)
{
    EXPECT_EQ(TVisualStylesBinding::FunctionNames().size(), 45);

    QrlXPVS().LoadThemeFunctions();
    EXPECT_FALSE(QrlXPVS().Loaded()); // no library: classic drawing

    env.library = true;
    QrlXPVS().LoadThemeFunctions();
    EXPECT_TRUE(QrlXPVS().Loaded());
    EXPECT_FALSE(ATXPVS().Loaded()); // each binding keeps its own state

    env.missingExports.insert(QStringLiteral("GetThemeSysFont"));
    QrlXPVS().LoadThemeFunctions(); // loaded already: not bound again
    try {
        ATXPVS().LoadThemeFunctions();
        ADD_FAILURE() << "a missing function must stop the binding";
    } catch (const std::logic_error &e) {
        const QString what = QString::fromStdString(e.what());
        EXPECT_TRUE(what.startsWith(QStringLiteral("Assertion failure"))) << e.what();
        EXPECT_TRUE(what.contains(QStringLiteral("ATXPVS")));
        EXPECT_TRUE(what.contains(QStringLiteral("GetThemeSysFont")));
    }

    QrlXPVS().FreeThemeFunctions();
    EXPECT_FALSE(QrlXPVS().Loaded());
}

TEST_F(GridTheme, NotifierWatchesTheInstalledSuite)
{
    const std::pair<QString, QString> suites[] = {
        {kOffice14General, kOffice14Common},
        {kOffice12General, kOffice12Common},
    };
    for (const auto &[general, watched] : suites) {
        env = FakeThemeEnvironment();
        env.setTheme(kOffice12General, std::nullopt);
        env.setTheme(general, std::nullopt);

        QWidget owner;
        QWidget grid1;
        QWidget grid2;
        TThemeNotifier *n = GetThemeNotifier(&owner);
        EXPECT_EQ(GetThemeNotifier(&grid1), n);
        TRegMonitorThread *t = n->MonitorThread();
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->Key, watched);
        EXPECT_EQ(t->Filter(), 4);
        EXPECT_EQ(t->RootKey, kHKeyCurrentUser);
        EXPECT_TRUE(t->WatchSub);
        ASSERT_NE(n->NotifierWindow(), nullptr);
        EXPECT_EQ(t->Wnd, n->NotifierWindow());
        EXPECT_EQ(n->NotifierWindow()->parentWidget(), &owner);
        EXPECT_TRUE(n->NotifierWindow()->isHidden());

        n->RegisterWindow(&grid1);
        n->RegisterWindow(&grid2);
        n->RegisterWindow(&grid1);
        EXPECT_EQ(t->WinList.Count(), 2);
        n->UnRegisterWindow(&owner); // not registered: nothing
        n->UnRegisterWindow(&grid1);
        EXPECT_EQ(t->WinList.Count(), 1);
        EXPECT_EQ(t->WinList.GetInteger(0), &grid2);

        QObject *sender = nullptr;
        n->OnOfficeThemeChange = [&](QObject *s) { sender = s; };
        QEvent change(OfficeThemeChangeEvent);
        QCoreApplication::sendEvent(n->NotifierWindow(), &change);
        EXPECT_EQ(sender, n);
    }
    // Each owner took its notifier with it, so the next call builds a fresh one.
    env = FakeThemeEnvironment();
    QWidget owner;
    EXPECT_EQ(GetThemeNotifier(&owner)->MonitorThread(), nullptr);
}

TEST(GridThemeLists, MonitorFilterAndHandleList)
{
    TRegMonitorThread t;
    EXPECT_EQ(t.Filter(), 15);
    t.SetFilter(4);
    EXPECT_EQ(t.Filter(), 4);
    EXPECT_FALSE(t.Terminated());
    t.Stop();
    EXPECT_TRUE(t.Terminated());

    QWidget a;
    QWidget b;
    THandleList l;
    l.Add(&a);
    l.Insert(0, &b);
    EXPECT_EQ(l.GetInteger(0), &b);
    l.DeleteValue(nullptr);
    EXPECT_EQ(l.Count(), 2);
    l.SetInteger(1, &b);
    l.Delete(0);
    EXPECT_TRUE(l.HasValue(&b));
    EXPECT_FALSE(l.HasValue(&a));
    EXPECT_THROW(l.Delete(1), std::out_of_range);
    EXPECT_THROW(l.Insert(3, &a), std::out_of_range);
}

} // namespace
