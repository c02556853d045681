// The about box: names the software, its code, version and manual code and links to the
// maker's home page. Its texts are fixed English and do not follow the language.
#pragma once

#include "platform/ui/ModalForm.h"

#include <QString>

class QLabel;
class TLbButton;

class TFAbout : public TModalForm
{
    Q_OBJECT

public:
    explicit TFAbout(QWidget *parent = nullptr);
    ~TFAbout() override;

    void FormShow() override;
    // Also the click of Image2: opens the maker's home page.
    void Label4Click();

    // The maker's home page with the software code as the referring page.
    static QString Home_Page_Link();

    QLabel *Image2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label10 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label12 = nullptr;
    QLabel *Label4 = nullptr;
    TLbButton *LbButton1 = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
