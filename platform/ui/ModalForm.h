// Base of the program's modal dialogs: a modal result that closes the form when set, a show
// handler run before the form appears, fixed client size, caption, background colour and the
// system's dialog font.
#pragma once

#include "platform/ui/Colors.h"
#include "platform/ui/Font.h"
#include "platform/ui/MessageBox.h"

#include <QDialog>
#include <QString>

#include <functional>

class TModalForm : public QDialog
{
    Q_OBJECT

public:
    explicit TModalForm(QWidget *parent = nullptr);
    ~TModalForm() override;

    int ModalResult() const { return m_modalResult; }
    // A non-zero result closes a form that is showing modally; ShowModal then returns it.
    void SetModalResult(int result);

    // Runs FormShow(), shows the form modally (centred) and returns its modal result;
    // mrCancel when the form was closed by its close box. Escape closes no form: a form ends
    // through its buttons (a push button with Cancel set takes Escape for itself).
    virtual int ShowModal();
    bool IsShowingModal() const { return m_inModal; }

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString &caption) { setWindowTitle(caption); }

    int ClientWidth() const { return width(); }
    void SetClientWidth(int w);
    int ClientHeight() const { return height(); }
    void SetClientHeight(int h);

    TColor Color() const { return m_color; }
    void SetColor(TColor color);

    // The form font (children inherit it); Verdana 11 px by default.
    TFont Font() const { return m_font; }
    void SetFont(const TFont &font);

protected:
    // The original's OnShow: runs each time before the form is shown modally.
    virtual void FormShow() {}

    void done(int r) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_modalResult = mrNone;
    bool m_inModal = false;
    TColor m_color = clBtnFace;
    TFont m_font;
};

namespace plat {

// For tests: `action` runs once, on the event loop, right after the next form that is shown
// modally has appeared, so the test can work the form and close it. Queued actions are taken
// by successive modal forms in order.
void WhenModalShown(std::function<void(TModalForm *)> action);
// Drops queued actions that no form took.
void ClearModalShownActions();
int PendingModalShownActions();

} // namespace plat
