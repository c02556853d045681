#include "platform/ui/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <mutex>

namespace plat {

namespace {

std::mutex g_mutex;
MessageBoxHandler g_handler;
QString g_title;
bool g_titleSet = false;

QString buttonText(int result)
{
    switch (result) {
    case mrOk:
        return QStringLiteral("OK");
    case mrCancel:
        return QStringLiteral("Cancel");
    case mrAbort:
        return QStringLiteral("&Abort");
    case mrRetry:
        return QStringLiteral("&Retry");
    case mrIgnore:
        return QStringLiteral("&Ignore");
    case mrYes:
        return QStringLiteral("&Yes");
    case mrNo:
        return QStringLiteral("&No");
    default:
        return QString();
    }
}

// The answer when the box is closed without pressing a button.
int escapeResult(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::OK:
        return mrOk;
    case MsgButtons::YesNo:
        return mrNo;
    case MsgButtons::AbortRetryIgnore:
        return mrAbort;
    default:
        return mrCancel;
    }
}

} // namespace

std::vector<int> ButtonResults(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::OK:
        return {mrOk};
    case MsgButtons::OKCancel:
        return {mrOk, mrCancel};
    case MsgButtons::AbortRetryIgnore:
        return {mrAbort, mrRetry, mrIgnore};
    case MsgButtons::YesNoCancel:
        return {mrYes, mrNo, mrCancel};
    case MsgButtons::YesNo:
        return {mrYes, mrNo};
    case MsgButtons::RetryCancel:
        return {mrRetry, mrCancel};
    }
    return {mrOk};
}

QString StandardCaption(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Error:
        return QStringLiteral("Error");
    case MsgIcon::Warning:
        return QStringLiteral("Warning");
    case MsgIcon::Information:
        return QStringLiteral("Information");
    case MsgIcon::Question:
        return QStringLiteral("Confirm");
    case MsgIcon::None:
        break;
    }
    return ApplicationTitle();
}

QString ApplicationTitle()
{
    {
        std::lock_guard lock(g_mutex);
        if (g_titleSet)
            return g_title;
    }
    return QGuiApplication::applicationDisplayName();
}

void SetApplicationTitle(const QString &title)
{
    std::lock_guard lock(g_mutex);
    g_title = title;
    g_titleSet = true;
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    std::lock_guard lock(g_mutex);
    MessageBoxHandler previous = std::move(g_handler);
    g_handler = std::move(handler);
    return previous;
}

int MessageBox(const QString &text, MsgIcon icon, MsgButtons buttons, const QString &caption)
{
    MessageBoxRequest request{text, icon, buttons,
                              caption.isEmpty() ? StandardCaption(icon) : caption};
    MessageBoxHandler handler;
    {
        std::lock_guard lock(g_mutex);
        handler = g_handler;
    }
    if (handler)
        return handler(request);

    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(request.caption);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
    case MsgIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    const std::vector<int> results = ButtonResults(buttons);
    const int escape = escapeResult(buttons);
    std::vector<std::pair<QAbstractButton *, int>> map;
    for (int r : results) {
        QPushButton *b = box.addButton(buttonText(r), QMessageBox::ActionRole);
        map.emplace_back(b, r);
        if (r == escape)
            box.setEscapeButton(b);
    }
    box.setDefaultButton(static_cast<QPushButton *>(map.front().first));
    box.exec();
    for (const auto &[button, result] : map)
        if (box.clickedButton() == button)
            return result;
    return escape;
}

MessageBoxRecorder::MessageBoxRecorder()
{
    m_previous =
        SetMessageBoxHandler([this](const MessageBoxRequest &request) { return answer(request); });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    SetMessageBoxHandler(std::move(m_previous));
}

MessageBoxRequest MessageBoxRecorder::Last() const
{
    return m_requests.empty() ? MessageBoxRequest{} : m_requests.back();
}

int MessageBoxRecorder::answer(const MessageBoxRequest &request)
{
    m_requests.push_back(request);
    if (!m_answers.empty()) {
        const int r = m_answers.front();
        m_answers.pop_front();
        return r;
    }
    if (m_defaultAnswer != mrNone)
        return m_defaultAnswer;
    return ButtonResults(request.buttons).front();
}

} // namespace plat
