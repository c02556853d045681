// Modal message boxes with the standard English captions, and the process-wide hook that lets
// tests answer them instead of a person.
#pragma once

#include <QString>

#include <deque>
#include <functional>
#include <vector>

// Modal results (of message boxes and modal forms).
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;
inline constexpr int mrAbort = 3;
inline constexpr int mrRetry = 4;
inline constexpr int mrIgnore = 5;
inline constexpr int mrYes = 6;
inline constexpr int mrNo = 7;

namespace plat {

enum class MsgIcon { None, Error, Warning, Information, Question };
enum class MsgButtons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };

struct MessageBoxRequest
{
    QString text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::OK;
    QString caption; // as shown (the standard caption when none was given)
};

// The modal results of a button set in the order the buttons appear.
std::vector<int> ButtonResults(MsgButtons buttons);

// "Error", "Warning", "Information", "Confirm" for a question, else the application title.
QString StandardCaption(MsgIcon icon);

// Title used for boxes without icon; the application's display name until set.
QString ApplicationTitle();
void SetApplicationTitle(const QString &title);

// Shows a modal box and returns the modal result of the pressed button. Closing the box without
// a button gives mrCancel when the set has Cancel, mrNo for Yes/No, mrOk for OK alone.
int MessageBox(const QString &text,
               MsgIcon icon = MsgIcon::None,
               MsgButtons buttons = MsgButtons::OK,
               const QString &caption = QString());

using MessageBoxHandler = std::function<int(const MessageBoxRequest &)>;

// While a handler is set, every box goes to it instead of the screen and its return value is
// the box's result. Returns the handler that was set before; an empty handler restores boxes.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// For tests: records every box while alive and answers from a queue, then with the default
// answer (mrNone means "the first button of the set", as pressing Enter would).
class MessageBoxRecorder
{
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder &) = delete;
    MessageBoxRecorder &operator=(const MessageBoxRecorder &) = delete;

    void QueueAnswer(int result) { m_answers.push_back(result); }
    void SetDefaultAnswer(int result) { m_defaultAnswer = result; }

    const std::vector<MessageBoxRequest> &Requests() const { return m_requests; }
    int Count() const { return static_cast<int>(m_requests.size()); }
    // The last box shown; a default request when none was.
    MessageBoxRequest Last() const;
    void Clear() { m_requests.clear(); }

private:
    int answer(const MessageBoxRequest &request);

    MessageBoxHandler m_previous;
    std::vector<MessageBoxRequest> m_requests;
    std::deque<int> m_answers;
    int m_defaultAnswer = mrNone;
};

} // namespace plat
