#include "shell/UAbout.h"

#include "common/UComon.h"
#include "common/UTitledForm.h"
#include "common/button/LbButton.h"
#include "platform/os/Shell.h"
#include "resources/MainWindowPictures.h"
#include "shell/UVersionCheck.h"

#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QUrl>

namespace {

constexpr int kClientWidth = 425;
constexpr int kClientHeight = 148;

constexpr char kManualCode[] = "QM40300";

QLabel *makeLabel(QWidget *parent, const char *name, int left, int top, const QString &text = {})
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

// The picture is drawn on a key colour (its lower-left pixel) that the buttons leave out; a
// plain label would show it, so it becomes transparent here.
QImage withoutKeyColour(const QImage &picture)
{
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull())
        return image;
    const QRgb key = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (line[x] == key)
                line[x] = qRgba(0, 0, 0, 0);
    }
    return image;
}

} // namespace

TFAbout::TFAbout(QWidget *parent) : TModalForm(parent)
{
    setObjectName(QStringLiteral("FAbout"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // Fixed English: this box does not follow the language.
    SetCaption(QStringLiteral("About..."));
    SetColor(Form_Color);

    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(32, 24, 81, 81);
    Image2->setScaledContents(true);
    Image2->setPixmap(QPixmap::fromImage(withoutKeyColour(res::Main_Picture_Info())));
    Image2->setCursor(Qt::PointingHandCursor);
    Image2->installEventFilter(this);

    Label1 = makeLabel(this, "Label1", 128, 24, QStringLiteral("Software Montavor "));
    Label2 = makeLabel(this, "Label2", 128, 39);
    Label6 = makeLabel(this, "Label6", 128, 62, QStringLiteral("Software Code : "));
    Label9 = makeLabel(this, "Label9", 240, 62);
    Label3 = makeLabel(this, "Label3", 128, 77, QStringLiteral("Version :"));
    Label10 = makeLabel(this, "Label10", 240, 77);
    Label8 = makeLabel(this, "Label8", 128, 93, QStringLiteral("Document Code :"));
    Label12 = makeLabel(this, "Label12", 240, 93);
    Label4 = makeLabel(this, "Label4", 316, 131, QUrl(QString::fromLatin1(Maker_Web_Site)).host());
    Label4->setCursor(Qt::PointingHandCursor);
    Label4->installEventFilter(this);

    LbButton1 = new TLbButton(this);
    LbButton1->setObjectName(QStringLiteral("LbButton1"));
    LbButton1->setGeometry(32, 115, 81, 22);
    LbButton1->SetCaption(QStringLiteral("OK"));
    LbButton1->SetModalResult(mrOk);
    // The common look (grey light edge, yellow highlight), but yellow rather than orange when down.
    Style_Push_Button(LbButton1);
    LbButton1->SetColorWhenDown(clYellow);
    LbButton1->SetGlyph(LbResourceBitmap(QStringLiteral("LBOK")));
    LbButton1->SetNumGlyphs(2);

    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);
}

TFAbout::~TFAbout() = default;

void TFAbout::FormShow()
{
    Label2->setText(QString::fromLatin1(Product_Description));
    Label9->setText(QString::fromLatin1(Software_Code));
    Label10->setText(QString::fromLatin1(Program_Version));
    Label12->setText(QString::fromLatin1(kManualCode));
    for (QLabel *label : {Label2, Label9, Label10, Label12})
        label->adjustSize();
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);
}

QString TFAbout::Home_Page_Link()
{
    return QString::fromLatin1(Maker_Web_Site) + QStringLiteral("/HOME/default.asp?frompg=") +
           QString::fromLatin1(Software_Code);
}

void TFAbout::Label4Click()
{
    // A link the desktop cannot open is not reported.
    plat::ShellOpen(Home_Page_Link());
}

bool TFAbout::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == Label4 || watched == Image2) && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const auto *widget = static_cast<QWidget *>(watched);
        if (mouse->button() == Qt::LeftButton &&
            widget->rect().contains(mouse->position().toPoint())) {
            Label4Click();
            return true;
        }
    }
    return TModalForm::eventFilter(watched, event);
}
