#include "grid/model/QrlGridStartup.h"

#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlGridTheme.h"
#include "platform/grid/PlatformStringGrid.h"
#include "platform/ui/WindowMessage.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace {

// Stands in for the thread's call-window hook: the only messages the hook acted on were the
// position changes of windows, so watching the focus grid's top-level window is enough.
class TGridWindowWatch : public QObject
{
public:
    void watch(QWidget *window)
    {
        if (m_window == window)
            return;
        if (m_window)
            m_window->removeEventFilter(this);
        m_window = window;
        if (window)
            window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window &&
            (event->type() == QEvent::Move || event->type() == QEvent::Resize))
            PlaceFocusWindow();
        return false; // always passed on
    }

private:
    QPointer<QWidget> m_window;
};

struct TGridLibrary
{
    bool started = false;
    bool themedHTML = false;
    bool comCtlOK = false;
    TDragDropFormats dragDrop;
    QEvent::Type dtpShiftFocus = QEvent::None;
    QEvent::Type gridEditDone = QEvent::None;
    QEvent::Type gridDtpShiftFocus = QEvent::None;
    int gridCellsFormat = 0;
    std::unique_ptr<TGridWindowWatch> watch;
    QPointer<plat::TPlatformStringGrid> focusGrid;
    QPointer<QWidget> focusWindow;
    bool postRoutineAdded = false;
};

TGridLibrary &lib()
{
    static TGridLibrary l;
    return l;
}

// The common-controls version as the machine reports it (the major version alone is known).
int commonControlsVersionMS()
{
    const uint32_t major = ThemeEnvironment().ComCtl32MajorVersion();
    if (major == 0xFFFFFFFFu || major > 0x7FFF)
        return -1;
    return static_cast<int>(major << 16);
}

uint16_t readU16(const uchar *p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t readU32(const uchar *p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

} // namespace

void QrlGridStartup()
{
    TGridLibrary &l = lib();
    if (l.started)
        return;
    l.started = true;
    QrlXPVS().LoadThemeFunctions();
    // The theme notifier is created on its first use (GetThemeNotifier).
    l.themedHTML = IsWindowsXPOrLater();
    l.dragDrop = TDragDropFormats{};
    l.dtpShiftFocus = plat::RegisterWindowMessage(kDTPShiftFocusName);
    ATXPVS().LoadThemeFunctions();
    // There is no OLE to initialise; the focus grid starts empty and the watch exists once.
    l.focusGrid = nullptr;
    l.focusWindow = nullptr;
    if (!l.watch)
        l.watch = std::make_unique<TGridWindowWatch>();
    l.comCtlOK = CommonControlsOKForVersion(commonControlsVersionMS());
    // Clipboard formats and window messages shared one name table, so one registry serves both.
    l.gridCellsFormat = static_cast<int>(plat::RegisterWindowMessage(kGridCellsFormatName));
    l.gridEditDone = plat::RegisterWindowMessage(kGridEditDoneName);
    l.gridDtpShiftFocus = plat::RegisterWindowMessage(kDTPShiftFocusName);
    if (!l.postRoutineAdded && QCoreApplication::instance()) {
        l.postRoutineAdded = true;
        qAddPostRoutine(QrlGridFinalize);
    }
}

void QrlGridFinalize()
{
    TGridLibrary &l = lib();
    if (!l.started)
        return;
    l.started = false;
    l.watch.reset();
    l.focusGrid = nullptr;
    l.focusWindow = nullptr;
    ATXPVS().FreeThemeFunctions();
    QrlXPVS().FreeThemeFunctions();
}

bool QrlGridStarted()
{
    return lib().started;
}

int CF_GRIDCELLS()
{
    QrlGridStartup();
    return lib().gridCellsFormat;
}

QString GridCellsMimeType()
{
    // The toolkit's notation for a clipboard format known by its registered name.
    return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"").arg(kGridCellsFormatName);
}

QEvent::Type WM_GRIDEDITDONE()
{
    QrlGridStartup();
    return lib().gridEditDone;
}

QEvent::Type WM_DTPSHIFTFOCUS()
{
    QrlGridStartup();
    return lib().gridDtpShiftFocus;
}

bool ThemedHTMLEnabled()
{
    QrlGridStartup();
    return lib().themedHTML;
}

bool CommonControlsOK()
{
    QrlGridStartup();
    return lib().comCtlOK;
}

bool CommonControlsOKForVersion(int VersionMS)
{
    return VersionMS >= kComCtlMinVersionMS;
}

TDragDropFormats &DragDropFormats()
{
    QrlGridStartup();
    return lib().dragDrop;
}

void SetFocusWindowGrid(plat::TPlatformStringGrid *Grid, QWidget *FocusWindow)
{
    QrlGridStartup();
    TGridLibrary &l = lib();
    l.focusGrid = Grid;
    l.focusWindow = Grid ? FocusWindow : nullptr;
    l.watch->watch(Grid ? Grid->window() : nullptr);
}

void ClearFocusWindowGrid(plat::TPlatformStringGrid *Grid)
{
    TGridLibrary &l = lib();
    if (!l.started || !Grid || l.focusGrid != Grid)
        return;
    l.focusGrid = nullptr;
    l.focusWindow = nullptr;
    l.watch->watch(nullptr);
}

plat::TPlatformStringGrid *FocusWindowGrid()
{
    return lib().focusGrid.data();
}

bool GridWindowWatchInstalled()
{
    return lib().watch != nullptr;
}

void PlaceFocusWindow()
{
    TGridLibrary &l = lib();
    plat::TPlatformStringGrid *grid = l.focusGrid.data();
    QWidget *frame = l.focusWindow.data();
    if (!grid || !frame)
        return;
    const TRect r = grid->CellRect(grid->Col(), grid->Row());
    QPoint topLeft = grid->mapToGlobal(QPoint(r.Left - 4, r.Top - 4));
    if (!frame->isWindow() && frame->parentWidget())
        topLeft = frame->parentWidget()->mapFromGlobal(topLeft);
    frame->setGeometry(topLeft.x(), topLeft.y(), r.Width() + 9, r.Height() + 9);
}

int FileVersionMSFromData(QByteArrayView Data)
{
    // The version block: length, value length and type words, then the key
    // "VS_VERSION_INFO" in UTF-16 with its terminator, padding to 32 bits, then the fixed
    // information (signature, structure version, file version most and least significant).
    static const QByteArray pattern = [] {
        QByteArray p;
        for (QChar ch : QStringLiteral("VS_VERSION_INFO")) {
            p.append(static_cast<char>(ch.unicode() & 0xFF));
            p.append('\0');
        }
        p.append(2, '\0');
        return p;
    }();
    constexpr qint64 kFixedInfoSize = 52;
    const qint64 size = Data.size();
    const auto *data = reinterpret_cast<const uchar *>(Data.data());
    const qsizetype k = Data.indexOf(pattern);
    if (k < 6)
        return -1;
    const qint64 valueLength = readU16(data + k - 4);
    const qint64 value = (k + pattern.size() + 3) & ~qint64(3);
    if (valueLength >= kFixedInfoSize && value + kFixedInfoSize <= size &&
        readU32(data + value) == 0xFEEF04BDu)
        return static_cast<int>(readU32(data + value + 8));
    return -1;
}

int FileVersionMS(const QString &FileName)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0)
        return -1;
    const qint64 size = file.size();
    uchar *data = file.map(0, size);
    if (!data)
        return -1;
    const int result =
        FileVersionMSFromData(QByteArrayView(reinterpret_cast<const char *>(data), size));
    file.unmap(data);
    return result;
}

void SetWindowTransparent(QWidget *Window)
{
    if (Window)
        Window->setAttribute(Qt::WA_TransparentForMouseEvents, true);
}

QChar GetTimeSeparator()
{
    return RegionalTimeSeparator();
}

QChar GetDateSeparator()
{
    return RegionalDateSeparator();
}

QChar GetThousandSeparator()
{
    return RegionalThousandSeparator();
}

QChar GetDecimalSeparator()
{
    return RegionalDecimalSeparator();
}

QString GetShortDateFormat()
{
    return RegionalShortDateFormat();
}

QString GetShortTimeFormat()
{
    return QLocale::system().timeFormat(QLocale::ShortFormat);
}

QString GetLongTimeFormat()
{
    return QLocale::system().timeFormat(QLocale::LongFormat);
}
