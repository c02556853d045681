#include "common/UTitledForm.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "common/button/LbButton.h"

#include <QLabel>
#include <QPalette>
#include <QResizeEvent>

QString Lang_Text(int n)
{
    return Lang_Texts.value(n);
}

void Style_Push_Button(TLbButton *button, TLbButtonStyle style, TColor hotTrack)
{
    button->SetStyle(style);
    button->SetColor(Form_Color);
    button->SetLightColor(clGray);
    button->SetColorWhenDown(Button_Down_Color);
    button->SetHotTrackColor(hotTrack);
}

TButtonPanel Build_Button_Panel(QWidget *form, int clientWidth, int clientHeight)
{
    constexpr int buttonWidth = 110;
    constexpr int buttonHeight = 28;
    constexpr int gap = 6;

    TButtonPanel panel;
    panel.P_Button = new QWidget(form);
    panel.P_Button->setObjectName(QStringLiteral("P_Button"));
    panel.P_Button->setGeometry(0, clientHeight - Button_Panel_Height, clientWidth,
                                Button_Panel_Height);
    panel.Btn_OK = new TLbButton(panel.P_Button);
    panel.Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    panel.Btn_Cancel = new TLbButton(panel.P_Button);
    panel.Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    const int left = (clientWidth - 2 * buttonWidth - gap) / 2;
    const int top = (Button_Panel_Height - buttonHeight) / 2;
    panel.Btn_OK->setGeometry(left, top, buttonWidth, buttonHeight);
    panel.Btn_Cancel->setGeometry(left + buttonWidth + gap, top, buttonWidth, buttonHeight);
    panel.Btn_OK->SetGlyph(LbResourceBitmap(QStringLiteral("LBOK")));
    panel.Btn_Cancel->SetGlyph(LbResourceBitmap(QStringLiteral("LBCANCEL")));
    for (TLbButton *button : {panel.Btn_OK, panel.Btn_Cancel}) {
        button->SetNumGlyphs(2);
        Style_Push_Button(button);
    }
    panel.Btn_Cancel->SetModalResult(mrCancel);
    return panel;
}

TTitledForm::TTitledForm(const QString &name, QWidget *parent) : TModalForm(parent)
{
    setObjectName(name);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    SetColor(Form_Color);
    SetFont(TFont(QStringLiteral("Verdana"), -11));

    P_Title = new QWidget(this);
    P_Title->setObjectName(QStringLiteral("P_Title"));
    P_Title->setGeometry(0, 0, width(), Title_Panel_Height);

    L_SW_Code = new QLabel(P_Title);
    L_SW_Code->setObjectName(QStringLiteral("L_SW_Code"));
    L_SW_Code->setFont(TFont(QStringLiteral("Verdana"), -32).toQFont());
    L_SW_Desc = new QLabel(P_Title);
    L_SW_Desc->setObjectName(QStringLiteral("L_SW_Desc"));
    L_SW_Desc->setFont(TFont(QStringLiteral("Verdana"), -11, TFontStyle::fsBold).toQFont());
    for (QLabel *label : {L_SW_Code, L_SW_Desc}) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, ToQColor(clGray));
        label->setPalette(pal);
    }
    L_SW_Code->move(16, 8);
    L_SW_Desc->move(16, 42);
    L_SW_Code->setText(SW_Code);
    L_SW_Code->adjustSize();
}

TTitledForm::~TTitledForm() = default;

void TTitledForm::SetClientSize(int width, int height)
{
    SetClientWidth(width);
    SetClientHeight(height);
}

void TTitledForm::Set_Title_Texts(int captionText, int descText)
{
    SetCaption(Lang_Text(captionText));
    L_SW_Desc->setText(Lang_Text(descText));
    L_SW_Desc->adjustSize();
}

void TTitledForm::resizeEvent(QResizeEvent *event)
{
    TModalForm::resizeEvent(event);
    P_Title->resize(event->size().width(), Title_Panel_Height);
}
