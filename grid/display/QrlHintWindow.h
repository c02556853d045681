// Hint windows: THTMLHintWindow shows a hint text (plain, mini-HTML or wide-encoded) in a
// borderless top-level window; THintManager decides when a widget's hint shows and goes away
// (the delay, the area the hint belongs to, one window at a time), so the grid's cell hints,
// the footer panel and the scroll hints behave alike.
#pragma once

#include "platform/ui/Colors.h"
#include "platform/ui/Geometry.h"

#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class QTimer;
class TCanvas;
class TCustomImageList;

// The font name wide-encoded hint texts are measured and drawn in: the grid that built the last
// cell hint leaves its font name here.
void SetHintFontName(const QString &Name);
QString HintFontName();

class THTMLHintWindow : public QWidget
{
    Q_OBJECT
public:
    explicit THTMLHintWindow(QWidget *AOwner);

    // Shows AHint with its top-left corner at Rect's (screen coordinates), sized to the text and
    // kept 2 pixels inside the nearest screen.
    void ActivateHint(const TRect &Rect, const QString &AHint);
    // As ActivateHint; a grid as AData lends its image list and picture container.
    void ActivateHintData(const TRect &Rect, const QString &AHint, QObject *AData);
    // The text's size measured in MaxWidth, without margins: (0, 0, width, height).
    TRect CalcHintRect(int MaxWidth, const QString &AHint, QObject *AData);
    // Hides the window.
    void ReleaseHandle();

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    QString Caption() const { return FCaption; }
    int TextWidth() const { return FTextWidth; }
    int TextHeight() const { return FTextHeight; }
    // Plain mode: the text is shown as written (no markup, no wide decoding), word-wrapped in
    // the width of the Rect given to ActivateHint when it has one.
    bool PlainText() const { return FPlainText; }
    void SetPlainText(bool Value) { FPlainText = Value; }
    TCustomImageList *Images() const { return FImages; }

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    enum class TextKind { Plain, Markup, Wide };
    TextKind kindOf(const QString &AHint) const;
    // Measures AHint in a rectangle MaxWidth wide into FTextWidth / FTextHeight; returns the
    // horizontal margin the window adds for this kind of text.
    int measure(const QString &AHint, int MaxWidth);

    TCustomImageList *FImages = nullptr;
    QObject *FPictureContainer = nullptr;
    int FTextHeight = 0;
    int FTextWidth = 0;
    QString FWideCaption;
    QString FCaption;
    TColor FColor = 0xFF000018;
    bool FPlainText = false;
};

// What a hint source answers for the point under the mouse.
struct THintInfo
{
    QString Text;     // empty: no hint
    QPoint Pos;       // top-left corner of the hint, screen coordinates
    int MaxWidth = 0; // 0: no limit
    TColor Color = 0xFF000018;
    // Show with THTMLHintWindow (markup, wide-encoded text); otherwise the plain hint look.
    bool UseHTMLWindow = false;
    QObject *Data = nullptr;
    // While the mouse stays inside this area (widget coordinates) the hint stays; leaving it
    // cancels the hint and starts the delay again. Empty: the whole widget.
    QRect Area;
};

class THintManager : public QObject
{
    Q_OBJECT
public:
    using TBuildHint = std::function<bool(const QPoint &Cursor, THintInfo &Info)>;

    explicit THintManager(QObject *AParent = nullptr);
    ~THintManager() override;

    // Watches Widget's mouse: after HintPause ms at rest Build is asked for the hint at the
    // cursor (widget coordinates); a press, a key, leaving the widget or leaving the hint's
    // area cancels it.
    void Attach(QWidget *Widget, TBuildHint Build);
    void Detach(QWidget *Widget);
    // Shows a hint at once (scroll hints); replaces any shown hint.
    void ShowHint(const THintInfo &Info);
    // Hides the shown hint and stops a pending one.
    void CancelHint();
    bool HintShowing() const;
    // The hint the manager last showed (empty when none is shown).
    QString ShownText() const;
    int HintPause() const { return FHintPause; }
    void SetHintPause(int Value) { FHintPause = Value; }
    // The markup window (also lent to the scroll hints).
    THTMLHintWindow *Window();
    // The window the shown hint is in: Window() or the plain one; null when none is shown.
    THTMLHintWindow *ShownWindow() const;
    // A hint is waiting for its delay.
    bool HintPending() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TBuildHint *builderOf(QObject *Widget);
    THTMLHintWindow *plainWindow();
    void show(const THintInfo &Info);
    void hideWindows();
    void arm(QWidget *Widget, const QPoint &Pos);
    void timeout();
    // A press, a key or leaving the widget: the hint goes and waits for the next move.
    void stop();
    // Presses and keys anywhere end a hint: watched application-wide while one is up or due.
    void watchApplication(bool On);

    int FHintPause = 500;
    QPointer<THTMLHintWindow> FWindow;
    QPointer<THTMLHintWindow> FPlainWindow;
    QPointer<THTMLHintWindow> FShown;
    QString FShownText;
    QTimer *FTimer = nullptr;
    struct TWatched
    {
        QObject *raw; // still comparable while the widget is being destroyed
        QPointer<QWidget> widget;
        TBuildHint build;
    };
    std::vector<TWatched> FWatched;
    QPointer<QWidget> FPendingWidget;
    QPointer<QWidget> FMoveWidget; // where the mouse last moved without a button
    QPoint FMovePos;
    bool FArmQueued = false;
    QPoint FPendingPos;
    QPointer<QWidget> FHintWidget; // the widget the shown hint belongs to
    QRect FHintArea;
    bool FWatchingApp = false;
};
