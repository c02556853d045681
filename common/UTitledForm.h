// The frame shared by the program's dialogs: the program's background colour and font, a border
// with the system menu only, and the title panel with the software code and the dialog's title
// line. Also the look every dialog gives its push buttons.
#pragma once

#include "common/button/LbButtons.h"
#include "platform/ui/ModalForm.h"

#include <QString>

class QLabel;
class QWidget;
class TLbButton;

// Background of every window.
inline constexpr TColor Form_Color = 0xEDF7F8;
// Face of a push button while it is held down.
inline constexpr TColor Button_Down_Color = 0x0080FF;
// Height of the title panel.
inline constexpr int Title_Panel_Height = 69;
// Height of the OK/Cancel panel along the bottom of a dialog.
inline constexpr int Button_Panel_Height = 40;

// Text n of the text table; empty for a number the table does not hold.
QString Lang_Text(int n);

// The common button look: the form colour, grey light colour, orange when down, the given
// hot-track colour and style.
void Style_Push_Button(TLbButton *button,
                       TLbButtonStyle style = TLbButtonStyle::bsEncarta,
                       TColor hotTrack = clYellow);

// The OK/Cancel panel of a dialog: the panel P_Button across the bottom of the client area and
// the buttons Btn_OK and Btn_Cancel of the common look with their glyphs, side by side in the
// middle. Cancel closes with mrCancel; what OK does (a modal result or an OnClick handler) and
// the captions and hints from the text table are the dialog's own. The panel keeps its place
// when the dialog is resized later; a resizable dialog moves it itself.
struct TButtonPanel
{
    QWidget *P_Button = nullptr;
    TLbButton *Btn_OK = nullptr;
    TLbButton *Btn_Cancel = nullptr;
};
TButtonPanel Build_Button_Panel(QWidget *form, int clientWidth, int clientHeight);

class TTitledForm : public TModalForm
{
    Q_OBJECT

public:
    // name becomes the object name (the instance name, e.g. "FNew_Project").
    explicit TTitledForm(const QString &name, QWidget *parent = nullptr);
    ~TTitledForm() override;

    // A client area of fixed size.
    void SetClientSize(int width, int height);

    QWidget *P_Title = nullptr;
    QLabel *L_SW_Code = nullptr;
    QLabel *L_SW_Desc = nullptr;

protected:
    // Window caption and title line from two numbers of the text table.
    void Set_Title_Texts(int captionText, int descText);

    void resizeEvent(QResizeEvent *event) override;
};
