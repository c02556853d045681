#include "platform/ui/ModalForm.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <deque>

namespace {

std::deque<std::function<void(TModalForm *)>> &modalShownActions()
{
    static std::deque<std::function<void(TModalForm *)>> actions;
    return actions;
}

} // namespace

TModalForm::TModalForm(QWidget *parent) : QDialog(parent)
{
    setModal(true);
    QDialog::setFont(m_font.toQFont());
    SetColor(m_color);
}

TModalForm::~TModalForm() = default;

void TModalForm::SetModalResult(int result)
{
    m_modalResult = result;
    if (result != mrNone && m_inModal)
        QDialog::done(result);
}

void TModalForm::done(int r)
{
    // Qt's accept/reject/close end here with 1 or 0; 0 without an own result means cancelled.
    if (m_modalResult == mrNone)
        m_modalResult = (r == QDialog::Rejected) ? mrCancel : r;
    QDialog::done(m_modalResult);
}

void TModalForm::keyPressEvent(QKeyEvent *event)
{
    // QDialog would reject the form and throw away whatever the user entered in it; Escape
    // that no control took ends here.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

int TModalForm::ShowModal()
{
    m_modalResult = mrNone;
    FormShow();
    // A result set while showing ends the form before it is ever on screen.
    if (m_modalResult != mrNone)
        return m_modalResult;

    if (!parentWidget()) {
        if (QScreen *screen = QGuiApplication::primaryScreen()) {
            const QRect avail = screen->availableGeometry();
            move(avail.center() - QPoint(width() / 2, height() / 2));
        }
    }

    auto &actions = modalShownActions();
    if (!actions.empty()) {
        auto action = std::move(actions.front());
        actions.pop_front();
        QPointer<TModalForm> self(this);
        QTimer::singleShot(0, this, [self, action = std::move(action)] {
            if (self)
                action(self.data());
        });
    }

    m_inModal = true;
    exec();
    m_inModal = false;
    if (m_modalResult == mrNone)
        m_modalResult = mrCancel;
    return m_modalResult;
}

void TModalForm::SetClientWidth(int w)
{
    setFixedWidth(w);
}

void TModalForm::SetClientHeight(int h)
{
    setFixedHeight(h);
}

void TModalForm::SetColor(TColor color)
{
    m_color = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(color));
    setPalette(pal);
    setAutoFillBackground(true);
}

void TModalForm::SetFont(const TFont &font)
{
    m_font = font;
    QDialog::setFont(m_font.toQFont());
}

namespace plat {

void WhenModalShown(std::function<void(TModalForm *)> action)
{
    modalShownActions().push_back(std::move(action));
}

void ClearModalShownActions()
{
    modalShownActions().clear();
}

int PendingModalShownActions()
{
    return static_cast<int>(modalShownActions().size());
}

} // namespace plat
