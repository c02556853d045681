// Hint windows and the hint manager.
#include "grid/display/QrlHintWindow.h"

#include <QEvent>
#include <QPainter>

THTMLHintWindow::THTMLHintWindow(QWidget *AOwner)
    : QWidget(AOwner, Qt::ToolTip | Qt::FramelessWindowHint)
{
}

void THTMLHintWindow::ActivateHint(const TRect &Rect, const QString &AHint)
{
    FCaption = AHint;
    move(Rect.Left, Rect.Top);
    show();
}

void THTMLHintWindow::ActivateHintData(const TRect &Rect, const QString &AHint, QObject *)
{
    ActivateHint(Rect, AHint);
}

TRect THTMLHintWindow::CalcHintRect(int, const QString &, QObject *)
{
    return TRect{0, 0, 0, 0};
}

void THTMLHintWindow::ReleaseHandle()
{
    hide();
}

void THTMLHintWindow::SetColor(TColor Value)
{
    FColor = Value;
    update();
}

void THTMLHintWindow::paintEvent(QPaintEvent *)
{
}

THintManager::THintManager(QObject *AParent) : QObject(AParent) {}

THintManager::~THintManager() = default;

void THintManager::Attach(QWidget *, TBuildHint) {}

void THintManager::Detach(QWidget *) {}

void THintManager::ShowHint(const THintInfo &Info)
{
    FShownText = Info.Text;
}

void THintManager::CancelHint()
{
    FShownText.clear();
}

bool THintManager::HintShowing() const
{
    return !FShownText.isEmpty();
}

QString THintManager::ShownText() const
{
    return FShownText;
}

THTMLHintWindow *THintManager::Window()
{
    if (!FWindow)
        FWindow = new THTMLHintWindow(nullptr);
    return FWindow;
}

bool THintManager::eventFilter(QObject *watched, QEvent *event)
{
    return QObject::eventFilter(watched, event);
}
