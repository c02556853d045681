#include "common/UComon.h"
#include "common/ULanguage.h"
#include "resources/EnglishTexts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QChar kPilcrow(0x00B6);

QString fixture(const char *name)
{
    return QStringLiteral(TEST_FIXTURES_DIR "/lang/") + QString::fromLatin1(name);
}

class LanguageFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Load_English_Texts();
        english = Lang_Texts;
    }

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    // Numbers whose entry differs from the English table.
    QList<int> changedNumbers() const
    {
        QList<int> changed;
        for (int i = 0; i < english.size(); ++i) {
            if (Lang_Texts.value(i) != english[i])
                changed.append(i);
        }
        return changed;
    }

    QTemporaryDir dir;
    QStringList english;
};

struct LineCase
{
    const char *what;
    QString line;
    int number; // -1: the line must change nothing
    QString text;
};

TEST_F(LanguageFile, EachLineFormGivesItsEntry)
{
    const QString P(kPilcrow);
    const LineCase cases[] = {
        {"plain entry", "STR12 =Hello", 12, "Hello"},
        {"char before '=' is the dropped separator", "STR12=Hello", 1, "Hello"},
        {"same with a blank after STR", "STR 12=Hello", 1, "Hello"},
        {"one digit glued to '='", "STR5=Hello", -1, {}},
        {"blanks around number and text", "STR 12  =   Hello  ", 12, "Hello"},
        {"leading zeros", "STR0012 =Hello", 12, "Hello"},
        {"last number is stored", "STR4099 =Last", 4099, "Last"},
        {"4100 is outside the table", "STR4100 =Out", -1, {}},
        {"negative number", "STR-1 =Neg", -1, {}},
        {"number beyond 32 bits", "STR2147483648 =Big", -1, {}},
        {"not a number", "STRx2 =Hello", -1, {}},
        {"no '='", "STR12 Hello", -1, {}},
        {"empty text", "STR12 =   ", -1, {}},
        {"'=' inside the text stays", "STR12 =a=b", 12, "a=b"},
        {"comment cut and trimmed", "STR12 =Text /#/ remark", 12, "Text"},
        {"only a comment leaves the entry", "STR12 =/#/ remark", -1, {}},
        {"pilcrows keep blanks", "STR12 =" + P + " to " + P, 12, " to "},
        {"pilcrows keep a blank before a comment", "STR12 =" + P + "Text " + P + " /#/ x", 12,
         "Text "},
        {"a second pilcrow ends the text", "STR12 =Text" + P + "rest", 12, "Text"},
        {"a lone pilcrow stores an empty text", "STR12 =" + P, 12, ""},
        {"blanks and tabs before STR", " \t STR12 =Hello", 12, "Hello"},
        {"lower-case str is no entry", "str12 =Hello", -1, {}},
        {"other lines are free comments", "; STR12 =Hello", -1, {}},
    };
    for (const LineCase &c : cases) {
        SCOPED_TRACE(c.what);
        Load_English_Texts();
        Load_Language_File(writeFile("case.lng", c.line.toUtf8()));
        if (c.number < 0) {
            EXPECT_TRUE(changedNumbers().isEmpty()) << c.line.toStdString();
        } else {
            EXPECT_EQ(Lang_Texts[c.number], c.text) << c.line.toStdString();
            const QList<int> changed = changedNumbers();
            EXPECT_TRUE(changed.isEmpty() || changed == QList<int>{c.number});
        }
    }
}

TEST_F(LanguageFile, LaterLinesWinAndAllLineEndsSplit)
{
    Load_Language_File(
        writeFile("ends.lng", "STR1 =a\r\nSTR2 =b\rSTR3 =c\nSTR4 =d\r\nSTR1 =again"));
    EXPECT_EQ(Lang_Texts[1], "again");
    EXPECT_EQ(Lang_Texts[2], "b");
    EXPECT_EQ(Lang_Texts[3], "c");
    EXPECT_EQ(Lang_Texts[4], "d");
}

TEST_F(LanguageFile, EncodingsCarryThePilcrow)
{
    const QString expected = QStringLiteral("Caf\u00E9 ");
    const QString line = QStringLiteral("STR12 =\u00B6Caf\u00E9 \u00B6\r\n");

    struct Enc
    {
        const char *what;
        QByteArray bytes;
    };
    QByteArray utf16le("\xFF\xFE", 2), utf16be("\xFE\xFF", 2);
    for (QChar c : line) {
        utf16le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        utf16be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    }
    const Enc encodings[] = {
        {"UTF-8 with BOM", QByteArray("\xEF\xBB\xBF") + line.toUtf8()},
        {"UTF-8 without BOM", line.toUtf8()},
        {"UTF-16 LE", utf16le},
        {"UTF-16 BE", utf16be},
        {"Windows-1252", QByteArray("STR12 =\xB6"
                                    "Caf\xE9 \xB6\r\n")},
    };
    for (const Enc &e : encodings) {
        SCOPED_TRACE(e.what);
        Load_English_Texts();
        Load_Language_File(writeFile("enc.lng", e.bytes));
        EXPECT_EQ(Lang_Texts[12], expected);
    }
}

TEST_F(LanguageFile, NothingIsAcceptedBeforeTheEnglishFill)
{
    Lang_Texts.clear();
    Lang_Texts_Count = 0;
    Load_Language_File(writeFile("early.lng", "STR0 =zero\nSTR12 =twelve\n"));
    EXPECT_TRUE(Lang_Texts.isEmpty());
}

TEST_F(LanguageFile, UnreadableFileChangesNothing)
{
    Load_Language_File(dir.filePath("missing.lng"));
    Load_Language_File(dir.path()); // a folder
    EXPECT_TRUE(changedNumbers().isEmpty());
}

TEST_F(LanguageFile, SampleFileSkipsCommentsAndKeepsProtectedBlanks)
{
    Load_Language_File(fixture("Italiano.lng"));
    EXPECT_EQ(Lang_Texts[0], "Inizio");
    EXPECT_EQ(Lang_Texts[12], "Informazioni");
    EXPECT_EQ(Lang_Texts[13], "Impostazioni");
    EXPECT_EQ(Lang_Texts[18], "Errore! Progetto non valido");
    EXPECT_EQ(Lang_Texts[304], "Lingua selezionata : ");
    EXPECT_EQ(changedNumbers(), (QList<int>{0, 12, 13, 18, 304}));
}

// --- Load order --------------------------------------------------------------------------

class LanguageLoad : public LanguageFile
{
protected:
    void SetUp() override
    {
        LanguageFile::SetUp();
        ASSERT_TRUE(QFile::copy(fixture("Italiano.lng"), dir.filePath("Italiano.lng")));
        ASSERT_TRUE(QFile::copy(fixture("Deutsch.lng"), dir.filePath("Deutsch.lng")));
    }
};

TEST_F(LanguageLoad, ChosenFileOverEnglish)
{
    QString name = "Italiano";
    Load_Language(dir.path(), name);
    EXPECT_EQ(name, "Italiano");
    EXPECT_EQ(Lang_Texts[18], "Errore! Progetto non valido");
    EXPECT_EQ(Lang_Texts[19], english[19]);
}

TEST_F(LanguageLoad, FileNameCaseDoesNotMatter)
{
    // Language files are often named on a case-blind system: ITALIANO.LNG is Italiano's file.
    ASSERT_TRUE(QFile::rename(dir.filePath("Italiano.lng"), dir.filePath("ITALIANO.LNG")));
    QString name = "Italiano";
    Load_Language(dir.path(), name);
    EXPECT_EQ(name, "Italiano");
    EXPECT_EQ(Lang_Texts[18], "Errore! Progetto non valido");
}

TEST_F(LanguageLoad, MissingFileFallsBackToEnglish)
{
    QString name = "Klingon";
    Load_Language(dir.path(), name);
    EXPECT_EQ(name, "English");
    EXPECT_EQ(Lang_Texts, english);

    // An English.lng beside them is loaded in the fallback.
    writeFile("English.lng", "STR18 =Project not valid (file)\n");
    name = "Klingon";
    Load_Language(dir.path(), name);
    EXPECT_EQ(name, "English");
    EXPECT_EQ(Lang_Texts[18], "Project not valid (file)");
}

TEST_F(LanguageLoad, TextsMissingFromTheNewLanguageShowEnglish)
{
    QString name = "Italiano";
    Load_Language(dir.path(), name);
    ASSERT_EQ(Lang_Texts[18], "Errore! Progetto non valido");
    name = "Deutsch";
    Load_Language(dir.path(), name);
    EXPECT_EQ(Lang_Texts[12], "Information (DE)");
    EXPECT_EQ(Lang_Texts[18], "Error! Project not Valid");
    EXPECT_EQ(Lang_Texts[13], "Options");
}

TEST_F(LanguageLoad, SharedStateOverloadUsesLanguagePathAndName)
{
    const QString savedPath = Language_Path, savedName = Language_Name;
    Language_Path = dir.path();
    Language_Name = "Deutsch";
    Load_Language();
    EXPECT_EQ(Lang_Texts[0], "Anfang");
    Language_Name = "Missing";
    Load_Language();
    EXPECT_EQ(Language_Name, "English");
    EXPECT_EQ(Lang_Texts[0], "Begin");
    Language_Path = savedPath;
    Language_Name = savedName;
}

// --- Built-in English ------------------------------------------------------------------------

TEST(EnglishTexts, TableIsAscendingWithinRangeAndNonEmpty)
{
    int previous = -1;
    for (const res::EnglishText &t : res::englishTexts()) {
        EXPECT_GT(t.number, previous);
        EXPECT_LT(t.number, Lang_Texts_Size);
        ASSERT_NE(t.text, nullptr) << t.number;
        EXPECT_FALSE(QString::fromUtf16(t.text).isEmpty()) << t.number;
        previous = t.number;
    }
}

TEST(EnglishTexts, FillGives4100EntriesWithBlanksBetween)
{
    Load_English_Texts();
    EXPECT_EQ(Lang_Texts_Count, 4100);
    ASSERT_EQ(Lang_Texts.size(), 4100);
    for (int i = 0; i < Lang_Texts.size(); ++i)
        ASSERT_FALSE(Lang_Texts[i].isEmpty()) << "entry " << i << " must hold at least a blank";

    struct Known
    {
        int number;
        const char *text;
    };
    const Known known[] = {
        {0, "Begin"},
        {9, "None Configuration Opened "},
        {18, "Error! Project not Valid"},
        {70, " "},
        {306, " / "},
        {1100, "Row Already used. Do you want to overwrite the values?"},
        {1801, " "},
        {1961, "Error IEC61850 Server!! Name of Server cannot be empty"},
        {2000, " "},
        {4099, " "},
    };
    for (const Known &k : known)
        EXPECT_EQ(Lang_Texts[k.number], QString::fromUtf8(k.text)) << k.number;

    // A second fill starts from scratch.
    Lang_Texts[18] = "changed";
    Load_English_Texts();
    EXPECT_EQ(Lang_Texts.size(), 4100);
    EXPECT_EQ(Lang_Texts[18], "Error! Project not Valid");
}

} // namespace
