#include "grid/model/QrlGridTheme.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace {

IThemeEnvironment *&currentEnvironment()
{
    static IThemeEnvironment *env = nullptr;
    return env;
}

TThemeNotifier *&notifierInstance()
{
    static TThemeNotifier *instance = nullptr;
    return instance;
}

[[noreturn]] void throwIndex(int index)
{
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}

} // namespace

IThemeEnvironment &ThemeEnvironment()
{
    static TClassicThemeEnvironment classic;
    IThemeEnvironment *env = currentEnvironment();
    return env ? *env : classic;
}

void SetThemeEnvironment(IThemeEnvironment *Env)
{
    currentEnvironment() = Env;
}

// --- Visual-styles binding ------------------------------------------------------------------

const QStringList &TVisualStylesBinding::FunctionNames()
{
    static const QStringList names = {
        QStringLiteral("OpenThemeData"),
        QStringLiteral("CloseThemeData"),
        QStringLiteral("DrawThemeBackground"),
        QStringLiteral("DrawThemeText"),
        QStringLiteral("GetThemeBackgroundContentRect"),
        QStringLiteral("GetThemeBackgroundExtent"),
        QStringLiteral("GetThemeTextExtent"),
        QStringLiteral("GetThemeTextMetrics"),
        QStringLiteral("GetThemeBackgroundRegion"),
        QStringLiteral("HitTestThemeBackground"),
        QStringLiteral("DrawThemeEdge"),
        QStringLiteral("DrawThemeIcon"),
        QStringLiteral("IsThemePartDefined"),
        QStringLiteral("IsThemeBackgroundPartiallyTransparent"),
        QStringLiteral("GetThemeColor"),
        QStringLiteral("GetThemeMetric"),
        QStringLiteral("GetThemeString"),
        QStringLiteral("GetThemeBool"),
        QStringLiteral("GetThemeInt"),
        QStringLiteral("GetThemeEnumValue"),
        QStringLiteral("GetThemePosition"),
        QStringLiteral("GetThemeFont"),
        QStringLiteral("GetThemeRect"),
        QStringLiteral("GetThemeMargins"),
        QStringLiteral("GetThemeIntList"),
        QStringLiteral("SetWindowTheme"),
        QStringLiteral("GetThemeFilename"),
        QStringLiteral("GetThemeSysColor"),
        QStringLiteral("GetThemeSysColorBrush"),
        QStringLiteral("GetThemeSysBool"),
        QStringLiteral("GetThemeSysSize"),
        QStringLiteral("GetThemeSysFont"),
        QStringLiteral("GetThemeSysString"),
        QStringLiteral("GetThemeSysInt"),
        QStringLiteral("IsThemeActive"),
        QStringLiteral("IsAppThemed"),
        QStringLiteral("GetWindowTheme"),
        QStringLiteral("EnableThemeDialogTexture"),
        QStringLiteral("IsThemeDialogTextureEnabled"),
        QStringLiteral("GetThemeAppProperties"),
        QStringLiteral("SetThemeAppProperties"),
        QStringLiteral("GetCurrentThemeName"),
        QStringLiteral("GetThemeDocumentationProperty"),
        QStringLiteral("DrawThemeParentBackground"),
        QStringLiteral("EnableTheming"),
    };
    return names;
}

void TVisualStylesBinding::LoadThemeFunctions()
{
    if (m_loaded)
        return;
    const IThemeEnvironment &env = ThemeEnvironment();
    if (!env.VisualStylesLibraryLoads())
        return;
    m_loaded = true;
    const QStringList &names = FunctionNames();
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (!env.VisualStylesExports(names[i])) {
            throw std::logic_error(QStringLiteral("Assertion failure: %1 not bound (%2, entry %3)")
                                       .arg(names[i], m_module)
                                       .arg(i + 1)
                                       .toStdString());
        }
    }
}

TVisualStylesBinding &QrlXPVS()
{
    static TVisualStylesBinding binding(QStringLiteral("QrlXPVS"));
    return binding;
}

TVisualStylesBinding &ATXPVS()
{
    static TVisualStylesBinding binding(QStringLiteral("ATXPVS"));
    return binding;
}

// --- Platform and office questions ----------------------------------------------------------

bool ComCtl32IsV6()
{
    return (ThemeEnvironment().ComCtl32MajorVersion() & 0xFF) > 5;
}

bool IsVistaOrLater()
{
    return ThemeEnvironment().Kernel32ExportsGetLocaleInfoEx();
}

bool IsWindowsXPOrLater()
{
    const IThemeEnvironment &env = ThemeEnvironment();
    const int major = env.PlatformMajorVersion();
    return major > 5 || (major == 5 && env.PlatformMinorVersion() > 0);
}

int InstalledOfficeVersion()
{
    const IThemeEnvironment &env = ThemeEnvironment();
    if (env.RegistryKeyExists(kOffice14General))
        return 2;
    if (env.RegistryKeyExists(kOffice12General))
        return 1;
    return 0;
}

int ReadOfficeThemeValue(const IThemeEnvironment &Registry, const QString &Key)
{
    if (!Registry.RegistryKeyExists(Key))
        return -1;
    return Registry.RegistryInteger(Key, QStringLiteral("Theme")).value_or(-1);
}

int XPColorSchemeIndex()
{
    const IThemeEnvironment &env = ThemeEnvironment();
    if (!IsWindowsXPOrLater() || !env.VisualStylesLibraryLoads() || !env.IsThemeActive() ||
        !ComCtl32IsV6())
        return 0;
    const QString color = env.CurrentThemeColorName();
    if (color.contains(QStringLiteral("NormalColor")))
        return 1;
    if (color.contains(QStringLiteral("HomeStead")))
        return 2;
    if (color.contains(QStringLiteral("Metallic")))
        return 3;
    return 0;
}

TOfficeTheme CurrentOfficeTheme()
{
    const IThemeEnvironment &env = ThemeEnvironment();
    switch (ReadOfficeThemeValue(env, kOffice14Common)) {
    case -1:
        break;
    case 1:
        return TOfficeTheme::ot2010Blue;
    case 2:
        return TOfficeTheme::ot2010Silver;
    case 3:
        return TOfficeTheme::ot2010Black;
    default:
        return TOfficeTheme::ot2003Blue;
    }
    switch (ReadOfficeThemeValue(env, kOffice12Common)) {
    case -1:
        break;
    case 1:
        return TOfficeTheme::ot2007Blue;
    case 2:
        return TOfficeTheme::ot2007Silver;
    case 3:
        return TOfficeTheme::ot2007Black;
    default:
        return TOfficeTheme::ot2003Blue;
    }
    switch (XPColorSchemeIndex()) {
    case 1:
        return TOfficeTheme::ot2003Blue;
    case 2:
        return TOfficeTheme::ot2003Olive;
    case 3:
        return TOfficeTheme::ot2003Silver;
    default:
        return TOfficeTheme::ot2003Classic;
    }
}

QString DefaultUIFontName()
{
    return IsVistaOrLater() ? QStringLiteral("Segoe UI") : QStringLiteral("Tahoma");
}

// --- THandleList ----------------------------------------------------------------------------

void THandleList::Insert(int Index, QWidget *Handle)
{
    if (Index < 0 || Index > Count())
        throwIndex(Index);
    m_items.insert(m_items.begin() + Index, Handle);
}

void THandleList::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        throwIndex(Index);
    m_items.erase(m_items.begin() + Index);
}

void THandleList::DeleteValue(QWidget *Handle)
{
    const auto it = std::find(m_items.begin(), m_items.end(), Handle);
    if (it != m_items.end())
        m_items.erase(it);
}

bool THandleList::HasValue(QWidget *Handle) const
{
    return std::find(m_items.begin(), m_items.end(), Handle) != m_items.end();
}

QWidget *THandleList::GetInteger(int Index) const
{
    if (Index < 0 || Index >= Count())
        throwIndex(Index);
    return m_items[static_cast<size_t>(Index)];
}

void THandleList::SetInteger(int Index, QWidget *Handle)
{
    if (Index < 0 || Index >= Count())
        throwIndex(Index);
    m_items[static_cast<size_t>(Index)] = Handle;
}

// --- Notifier -------------------------------------------------------------------------------

int TRegMonitorThread::Filter()
{
    if (m_filter == 0)
        m_filter = 15;
    return m_filter;
}

TThemeNotifierWindow::TThemeNotifierWindow(QWidget *Parent) : QWidget(Parent)
{
    setObjectName(QStringLiteral("ThemeNotifierWindow"));
    setVisible(false);
}

bool TThemeNotifierWindow::event(QEvent *e)
{
    if (e->type() == OfficeThemeChangeEvent && OnOfficeThemeChange)
        OnOfficeThemeChange(this);
    return QWidget::event(e);
}

TThemeNotifier::TThemeNotifier(QWidget *Owner) : QObject(Owner)
{
    const int version = InstalledOfficeVersion();
    if (version != 1 && version != 2)
        return;
    if (Owner) {
        m_window = new TThemeNotifierWindow(Owner);
        m_window->OnOfficeThemeChange = [this](QObject *) {
            if (OnOfficeThemeChange)
                OnOfficeThemeChange(this);
        };
    }
    m_thread = std::make_unique<TRegMonitorThread>();
    m_thread->Wnd = m_window.data();
    m_thread->SetFilter(4); // changes of values
    m_thread->Key = version == 2 ? kOffice14Common : kOffice12Common;
    m_thread->RootKey = kHKeyCurrentUser;
    m_thread->WatchSub = true;
}

TThemeNotifier::~TThemeNotifier()
{
    if (m_thread)
        m_thread->Stop();
    if (notifierInstance() == this)
        notifierInstance() = nullptr;
    delete m_window.data();
}

void TThemeNotifier::RegisterWindow(QWidget *Handle)
{
    if (m_thread && !m_thread->WinList.HasValue(Handle))
        m_thread->WinList.Add(Handle);
}

void TThemeNotifier::UnRegisterWindow(QWidget *Handle)
{
    if (m_thread)
        m_thread->WinList.DeleteValue(Handle);
}

TThemeNotifier *GetThemeNotifier(QWidget *Owner)
{
    if (!notifierInstance())
        notifierInstance() = new TThemeNotifier(Owner);
    return notifierInstance();
}
