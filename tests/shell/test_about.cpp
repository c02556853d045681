// The about box: fixed English texts naming the software, and the link to the maker's home page.
#include "common/UComon.h"
#include "common/ULanguage.h"
#include "common/button/LbButton.h"
#include "platform/ui/Colors.h"
#include "platform/ui/ModalForm.h"
#include "shell/UAbout.h"
#include "shell/UVersionCheck.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QUrl>
#include <QUrlQuery>
#include <gtest/gtest.h>

#include <map>

namespace {

TEST(About, NamesTheSoftwareInEnglishWhateverTheLanguage)
{
    // A language whose texts replace the English ones must not reach this box.
    Load_English_Texts();
    Load_Language_File(QStringLiteral(TEST_FIXTURES_DIR "/options/Deutsch.lng"));

    TFAbout about;
    std::map<std::string, QString> shown;
    plat::WhenModalShown([&](TModalForm *) {
        for (QLabel *label : about.findChildren<QLabel *>())
            shown[label->objectName().toStdString()] = label->text();
        about.LbButton1->Click();
    });
    EXPECT_EQ(about.ShowModal(), mrOk);
    Load_English_Texts();

    EXPECT_EQ(about.Caption(), QStringLiteral("About..."));
    EXPECT_EQ(about.width(), 425);
    EXPECT_EQ(about.height(), 148);
    const std::map<std::string, QString> expected = {
        {"Label1", "Software Montavor "}, {"Label2", "IEC61850 Server / Modbus Master - Converter"},
        {"Label6", "Software Code : "},   {"Label9", "QS40300"},
        {"Label3", "Version :"},          {"Label10", "1.005"},
        {"Label8", "Document Code :"},    {"Label12", "QM40300"},
    };
    for (const auto &[name, text] : expected)
        EXPECT_EQ(shown[name], text) << name;
    // The web address shown is the one the link opens.
    EXPECT_EQ(shown["Label4"], QUrl(TFAbout::Home_Page_Link()).host());
    EXPECT_FALSE(shown["Label4"].isEmpty());
}

TEST(About, OkButtonHasTheCommonLookButTurnsYellowWhenDown)
{
    TFAbout about;
    const TLbButton *ok = about.LbButton1;
    EXPECT_EQ(ok->geometry(), QRect(32, 115, 81, 22));
    EXPECT_EQ(ok->Caption(), QStringLiteral("OK"));
    EXPECT_EQ(ok->ModalResult(), mrOk);
    EXPECT_EQ(ok->Style(), TLbButtonStyle::bsEncarta);
    EXPECT_EQ(ok->NumGlyphs(), 2);
    EXPECT_EQ(ok->Color(), TColor(0xEDF7F8));
    EXPECT_EQ(ok->LightColor(), TColor(0x808080));
    EXPECT_EQ(ok->HotTrackColor(), clYellow);
    EXPECT_EQ(ok->ColorWhenDown(), clYellow);
}

TEST(About, PictureKeyColourDoesNotShow)
{
    // The picture is drawn on a key colour; its corners must show the window behind it.
    TFAbout about;
    about.FormShow();
    const QImage shot = about.grab().toImage();
    const QRect pic = about.Image2->geometry();
    const QPoint corners[] = {pic.topLeft() + QPoint(1, 1), pic.topRight() + QPoint(-1, 1),
                              pic.bottomLeft() + QPoint(1, -1), pic.bottomRight() - QPoint(1, 1)};
    for (const QPoint &p : corners)
        EXPECT_EQ(FromQColor(shot.pixelColor(p)), TColor(0xEDF7F8))
            << "at " << p.x() << "," << p.y();
}

TEST(About, LinkOpensTheHomePageWithTheSoftwareCode)
{
    const QUrl link(TFAbout::Home_Page_Link());
    const QUrl site(QString::fromLatin1(Maker_Web_Site));
    EXPECT_EQ(link.scheme(), site.scheme());
    EXPECT_EQ(link.host(), site.host());
    EXPECT_EQ(link.path(), QStringLiteral("/HOME/default.asp"));
    EXPECT_EQ(QUrlQuery(link).queryItemValue(QStringLiteral("frompg")), QStringLiteral("QS40300"));
}

} // namespace
