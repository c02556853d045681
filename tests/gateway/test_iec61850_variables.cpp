// The IEC 61850 variables dialog: its grid and the row check, whose Start Bit, Conversion and
// Molt. Factor faults each name their own reason.
#include "gateway/UIEC61850_Variables.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "grid/model/QrlColumnGrid.h"
#include "platform/os/Regional.h"
#include "platform/ui/MessageBox.h"
#include "support/GatewayTestUtil.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using gwtest::TTempConf;

namespace {

// Grid columns: 1 Enable ... 12 Mnemonic.
constexpr int Type = 3, Length = 4, Position = 6, Start_Bit = 7, Conversion = 8, Molt = 9;

class IEC61850Variables : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Load_English_Texts();
        SW_Code = QStringLiteral("QS40300");
        File_IEC61850_Variables = conf.File(QStringLiteral("IEC61850_Variables.xml"));
        dlg = std::make_unique<TFIEC61850_Variables>();
        dlg->FormShow();
    }
    void TearDown() override
    {
        dlg.reset();
        plat::OverrideDecimalSeparator(std::nullopt);
        File_IEC61850_Variables.clear();
    }

    // A row that passes the check.
    void validRow(int r, const QString &name)
    {
        const QStringList cells = {"Y", name,   "Int",  "2", "N", "10",
                                   "",  "None", "None", "N", "N", ""};
        for (int c = 1; c <= cells.size(); ++c)
            dlg->Set_Cell_Text(0, c, r, cells[c - 1]);
    }

    // The reason of the check's error box, or "" when the check passed without a box.
    QString checkReason()
    {
        const int before = boxes.Count();
        const bool ok = dlg->Controllo_dati();
        EXPECT_EQ(ok, boxes.Count() == before);
        if (ok)
            return QString();
        const QString prefix = Lang_Texts.value(929) + QStringLiteral("1");
        const QString shown = boxes.Last().text;
        EXPECT_TRUE(shown.startsWith(prefix)) << shown.toStdString();
        return shown.mid(prefix.size());
    }

    TTempConf conf;
    std::unique_ptr<TFIEC61850_Variables> dlg;
    plat::MessageBoxRecorder boxes;
};

TEST_F(IEC61850Variables, GridColumnsAsConfigured)
{
    TQrlColumnGrid *acg = dlg->ACG();
    ASSERT_NE(acg, nullptr);
    EXPECT_EQ(acg->objectName(), QStringLiteral("ACG"));
    EXPECT_EQ(acg->ColCount(), 13);
    EXPECT_EQ(acg->RowCount(), 51);
    EXPECT_TRUE(acg->HoverRow());

    struct Col
    {
        int width;
        TEditorType editor;
        TColor color;
        QStringList items;
        const char *header;
    };
    using E = TEditorType;
    const QStringList bits = {"0", "1", "2", "3", "4", "5", "6", "7"};
    const Col cols[] = {
        {50, E::edDataCheckBox, RGB(0xFF, 0xD8, 0xB0), {}, "Enable"},
        {250, E::edNormal, RGB(0xE0, 0xFA, 0xFE), {}, "Name"},
        {80, E::edComboList, RGB(0xA8, 0xFF, 0xA8), {"Int", "Float", "Digital (Bit)"}, "Type"},
        {65, E::edNormal, RGB(0xA8, 0xFF, 0xA8), {}, "Length"},
        {65, E::edDataCheckBox, RGB(0xFF, 0xFF, 0xA8), {}, "Read Only"},
        {80, E::edNormal, RGB(0xFC, 0xD6, 0xF4), {}, "Position"},
        {60, E::edComboList, RGB(0xFC, 0xD6, 0xF4), bits, "Start Bit"},
        {75,
         E::edComboList,
         RGB(0xD5, 0xD5, 0xFF),
         {"None", "Int to Float", "Float to Int"},
         "Conversion"},
        {75, E::edComboEdit, RGB(0xD5, 0xD5, 0xFF), {"None"}, "Molt. Factor"},
        {45, E::edDataCheckBox, RGB(0xD5, 0xD5, 0xFF), {}, "Swap"},
        {80, E::edDataCheckBox, RGB(0xD5, 0xD5, 0xFF), {}, "Swap Word"},
        {128, E::edNormal, clWhite, {}, "Mnemonic"},
    };
    for (int c = 1; c <= 12; ++c) {
        SCOPED_TRACE(c);
        const Col &want = cols[c - 1];
        const TGridColumnItem *item = acg->Columns()->Items(c);
        EXPECT_EQ(acg->ColWidths(c), want.width);
        EXPECT_EQ(item->Editor(), want.editor);
        EXPECT_EQ(item->Color(), want.color);
        EXPECT_EQ(item->ComboItems(), want.items);
        EXPECT_EQ(item->Header(), QString::fromLatin1(want.header));
        if (want.editor == E::edDataCheckBox) {
            EXPECT_EQ(item->Alignment(), TAlignment::taCenter);
        }
    }
    EXPECT_EQ(acg->Columns()->Items(0)->Header(), QStringLiteral("N"));
    EXPECT_EQ(
        dlg->Hint_Lists.value(0).value(Start_Bit - 1),
        QStringLiteral(
            "Select the bit to set in the Internal Data Array (Valid only for Digital (Bit))"));
}

struct RuleCase
{
    const char *what;
    int col;
    const char *value;
    int reasonText; // 0: the row passes
    const char *suffix = "";
};

TEST_F(IEC61850Variables, RowCheckRules)
{
    plat::OverrideDecimalSeparator(QStringLiteral(","));
    const RuleCase cases[] = {
        {"length 1", Length, "1", 0},
        {"length 4", Length, "4", 0},
        {"length 0", Length, "0", 941},
        {"length 5", Length, "5", 941},
        {"length empty", Length, "", 941},
        {"position 0", Position, "0", 0},
        {"position last byte", Position, "1437", 0},
        {"position past the image", Position, "1438", 930, "1437"},
        {"position negative", Position, "-1", 930, "1437"},
        {"position not a number", Position, "a", 930, "1437"},
        {"conversion missing", Conversion, " ", 939},
        {"molt none any case", Molt, " none ", 0},
        {"molt comma", Molt, "2,5", 0},
        {"molt point", Molt, "2.5", 0},
        {"molt not a number", Molt, "x2", 940},
        {"molt empty", Molt, "", 940},
    };
    for (const RuleCase &c : cases) {
        SCOPED_TRACE(c.what);
        validRow(1, QStringLiteral("v1"));
        dlg->Set_Cell_Text(0, c.col, 1, QString::fromLatin1(c.value));
        const QString want = c.reasonText
                                 ? Lang_Texts.value(c.reasonText) + QString::fromLatin1(c.suffix)
                                 : QString();
        EXPECT_EQ(checkReason(), want);
    }
}

TEST_F(IEC61850Variables, StartBitIsNeededOnlyForBits)
{
    validRow(1, QStringLiteral("v1"));
    dlg->Set_Cell_Text(0, Type, 1, QStringLiteral("Float"));
    EXPECT_EQ(checkReason(), QString());
    dlg->Set_Cell_Text(0, Type, 1, QStringLiteral("Digital (Bit)"));
    EXPECT_EQ(checkReason(), Lang_Texts.value(938));
    dlg->Set_Cell_Text(0, Start_Bit, 1, QStringLiteral("7"));
    EXPECT_EQ(checkReason(), QString());
}

TEST_F(IEC61850Variables, MoltReadsEitherSeparatorWhateverTheRegion)
{
    validRow(1, QStringLiteral("v1"));
    for (const char *region : {",", "."}) {
        plat::OverrideDecimalSeparator(QString::fromLatin1(region));
        for (const char *molt : {"2,5", "2.5"}) {
            SCOPED_TRACE(std::string(region) + " " + molt);
            dlg->Set_Cell_Text(0, Molt, 1, QString::fromLatin1(molt));
            EXPECT_EQ(checkReason(), QString());
        }
    }
}

TEST_F(IEC61850Variables, FirstFaultInRowOrderIsReported)
{
    // Length comes first, then Position, then the bit, the conversion and the factor.
    validRow(1, QStringLiteral("v1"));
    dlg->Set_Cell_Text(0, Type, 1, QStringLiteral("Digital (Bit)"));
    dlg->Set_Cell_Text(0, Conversion, 1, QString());
    dlg->Set_Cell_Text(0, Molt, 1, QStringLiteral("x"));
    EXPECT_EQ(checkReason(), Lang_Texts.value(938));
    dlg->Set_Cell_Text(0, Position, 1, QStringLiteral("2000"));
    EXPECT_EQ(checkReason(), Lang_Texts.value(930) + QStringLiteral("1437"));
    dlg->Set_Cell_Text(0, Length, 1, QStringLiteral("9"));
    EXPECT_EQ(checkReason(), Lang_Texts.value(941));
}

} // namespace
