// Look types of the grid library (component styles, colour tones, office themes) and the theme
// decisions: whether visual styles are bound, which office theme is active, the default
// interface font, and the notifier that tells grids of office theme changes.
//
// Every question about the machine goes through IThemeEnvironment. The default environment is
// this program's: no visual-styles library, no office suite, no registry. So drawing takes the
// classic path, CurrentOfficeTheme answers ot2003Classic and no notifier window is created.
#pragma once

#include "platform/ui/Colors.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// --- Style types ----------------------------------------------------------------------------

enum class TQuorlStyle {
    tsOffice2003Blue,
    tsOffice2003Silver,
    tsOffice2003Olive,
    tsOffice2003Classic,
    tsOffice2007Luna,
    tsOffice2007Obsidian,
    tsWindowsXP,
    tsWhidbey,
    tsCustom,
    tsOffice2007Silver,
    tsWindowsVista,
    tsWindows7,
    tsTerminal,
    tsOffice2010Blue,
    tsOffice2010Silver,
    tsOffice2010Black,
};

struct TColorTone
{
    TColor BrushColor = clNone;
    TColor BorderColor = clNone;
    TColor TextColor = clNone;

    friend bool operator==(const TColorTone &, const TColorTone &) = default;
};

struct TColorTones
{
    TColorTone Background;
    TColorTone Foreground;
    TColorTone Selected;
    TColorTone Hover;
    TColorTone Disabled;

    friend bool operator==(const TColorTones &, const TColorTones &) = default;
};

enum class TOfficeTheme {
    ot2003Blue,
    ot2003Silver,
    ot2003Olive,
    ot2003Classic,
    ot2007Blue,
    ot2007Silver,
    ot2007Black,
    ot2010Blue,
    ot2010Silver,
    ot2010Black,
    otUnknown,
};

// A component tells its look through these; callers find them with dynamic_cast. They carry
// no ownership: the component's own lifetime rules apply.
class IQuorlStyle
{
public:
    virtual void SetComponentStyle(TQuorlStyle AStyle) = 0;

protected:
    ~IQuorlStyle() = default;
};

class IQuorlTones
{
public:
    virtual void SetColorTones(const TColorTones &ATones) = 0;

protected:
    ~IQuorlTones() = default;
};

// --- Machine questions ----------------------------------------------------------------------

class IThemeEnvironment
{
public:
    virtual ~IThemeEnvironment() = default;

    // Registry below the current user's root.
    virtual bool RegistryKeyExists(const QString &Key) const = 0;
    // std::nullopt when the key or its integer value is missing.
    virtual std::optional<int> RegistryInteger(const QString &Key, const QString &Name) const = 0;

    // The visual-styles library.
    virtual bool VisualStylesLibraryLoads() const = 0;
    virtual bool VisualStylesExports(const QString &FunctionName) const = 0;
    virtual bool IsThemeActive() const = 0;
    // Colour part of the current theme's name ("NormalColor", "HomeStead", "Metallic", ...).
    virtual QString CurrentThemeColorName() const = 0;

    // Major file version of the common-controls library; all bits set without version data.
    virtual uint32_t ComCtl32MajorVersion() const = 0;
    virtual bool Kernel32ExportsGetLocaleInfoEx() const = 0;
    virtual int PlatformMajorVersion() const = 0;
    virtual int PlatformMinorVersion() const = 0;
};

// This program's machine: an XP-generation platform with the classic look, common controls
// before version 6, no visual-styles library, no office suite, an empty registry.
class TClassicThemeEnvironment : public IThemeEnvironment
{
public:
    bool RegistryKeyExists(const QString &) const override { return false; }
    std::optional<int> RegistryInteger(const QString &, const QString &) const override
    {
        return std::nullopt;
    }
    bool VisualStylesLibraryLoads() const override { return false; }
    bool VisualStylesExports(const QString &) const override { return false; }
    bool IsThemeActive() const override { return false; }
    QString CurrentThemeColorName() const override { return QString(); }
    uint32_t ComCtl32MajorVersion() const override { return 5; }
    bool Kernel32ExportsGetLocaleInfoEx() const override { return false; }
    int PlatformMajorVersion() const override { return 5; }
    int PlatformMinorVersion() const override { return 1; }
};

// The environment in force; SetThemeEnvironment(nullptr) returns to the classic one. The
// caller keeps ownership of what it sets.
IThemeEnvironment &ThemeEnvironment();
void SetThemeEnvironment(IThemeEnvironment *Env);

// --- Visual-styles binding ------------------------------------------------------------------

// One binding of the visual-styles library. Two copies exist, each with its own state.
class TVisualStylesBinding
{
public:
    explicit TVisualStylesBinding(QString ModuleName) : m_module(std::move(ModuleName)) {}

    // The 45 functions bound by name, in binding order.
    static const QStringList &FunctionNames();

    bool Loaded() const { return m_loaded; }
    // Does nothing when loaded already. Without the library the flag stays False and drawing
    // falls back to the classic look; a library lacking one of the functions throws
    // std::logic_error with a text beginning "Assertion failure".
    void LoadThemeFunctions();
    void FreeThemeFunctions() { m_loaded = false; }

private:
    QString m_module;
    bool m_loaded = false;
};

TVisualStylesBinding &QrlXPVS();
TVisualStylesBinding &ATXPVS();

// --- Platform and office questions ----------------------------------------------------------

bool ComCtl32IsV6();
bool IsVistaOrLater();
bool IsWindowsXPOrLater();

// Keys below the current user's root.
inline const QString kOffice14General =
    QStringLiteral("Software\\Microsoft\\Office\\14.0\\Common\\General");
inline const QString kOffice12General =
    QStringLiteral("Software\\Microsoft\\Office\\12.0\\Common\\General");
inline const QString kOffice11General =
    QStringLiteral("Software\\Microsoft\\Office\\11.0\\Common\\General");
inline const QString kOffice14Common = QStringLiteral("Software\\Microsoft\\Office\\14.0\\Common");
inline const QString kOffice12Common = QStringLiteral("Software\\Microsoft\\Office\\12.0\\Common");

// 2 for the 14.0 suite, 1 for 12.0, 0 without either.
int InstalledOfficeVersion();
// The integer value "Theme" under Key; -1 when the key or the value is missing.
int ReadOfficeThemeValue(const IThemeEnvironment &Registry, const QString &Key);
// 0 without an active visual style, else 1 NormalColor, 2 HomeStead, 3 Metallic (0 for others).
int XPColorSchemeIndex();
// Never otUnknown.
TOfficeTheme CurrentOfficeTheme();
// "Segoe UI" from the Vista generation on, else "Tahoma".
QString DefaultUIFontName();

// --- Theme notifier -------------------------------------------------------------------------

// Window message 2993 as a Qt event type.
inline constexpr int kOfficeThemeChangeMessage = 2993;
inline const QEvent::Type OfficeThemeChangeEvent =
    static_cast<QEvent::Type>(QEvent::User + kOfficeThemeChangeMessage);

// Root key value of the current user's registry branch.
inline constexpr quintptr kHKeyCurrentUser = 0x80000001;

// Window handles (the widget stands for its handle).
class THandleList
{
public:
    int Count() const { return static_cast<int>(m_items.size()); }
    void Add(QWidget *Handle) { m_items.push_back(Handle); }
    void Insert(int Index, QWidget *Handle);
    void Delete(int Index);
    // Ignores a handle that is not in the list.
    void DeleteValue(QWidget *Handle);
    bool HasValue(QWidget *Handle) const;
    QWidget *GetInteger(int Index) const;
    void SetInteger(int Index, QWidget *Handle);

private:
    std::vector<QWidget *> m_items;
};

// Settings of the watch on the office theme key. The watch itself needs a registry change
// notification, which this platform does not have, so no thread is run: the object holds what
// the watch would use and Stop marks it ended.
class TRegMonitorThread
{
public:
    QString Key;
    quintptr RootKey = 0;
    bool WatchSub = false;
    QWidget *Wnd = nullptr;
    THandleList WinList;

    // Reading it while 0 makes it 15 (every kind of change) and keeps that.
    int Filter();
    void SetFilter(int Value) { m_filter = Value; }

    void Stop() { m_terminated = true; }
    bool Terminated() const { return m_terminated; }

private:
    int m_filter = 0;
    bool m_terminated = false;
};

// Hidden window that turns message 2993 into OnOfficeThemeChange.
class TThemeNotifierWindow : public QWidget
{
public:
    explicit TThemeNotifierWindow(QWidget *Parent);

    std::function<void(QObject *Sender)> OnOfficeThemeChange;

protected:
    bool event(QEvent *e) override;
};

// One per process (GetThemeNotifier). With an office suite installed it owns the hidden window
// and the watch settings; without one it holds nothing and registering does nothing.
class TThemeNotifier : public QObject
{
public:
    explicit TThemeNotifier(QWidget *Owner);
    ~TThemeNotifier() override;

    void RegisterWindow(QWidget *Handle);
    void UnRegisterWindow(QWidget *Handle);

    std::function<void(QObject *Sender)> OnOfficeThemeChange;

    // Null when no watch was set up.
    TRegMonitorThread *MonitorThread() const { return m_thread.get(); }
    TThemeNotifierWindow *NotifierWindow() const { return m_window.data(); }

private:
    std::unique_ptr<TRegMonitorThread> m_thread;
    QPointer<TThemeNotifierWindow> m_window;
};

// The process's notifier, created on first call with Owner as its owner.
TThemeNotifier *GetThemeNotifier(QWidget *Owner);
