// The INI reader and writer: profile-file rules, typed reads, atomic writes,
// the file's 8-bit code page (Windows-1252 here) or UTF-8 behind a byte-order
// mark.
#include <gtest/gtest.h>

#include <filesystem>

#include "IniFile.h"
#include "IniText.h"
#include "Error.h"
#include "ScriptedPlatform.h"

namespace vrk {
namespace {

const std::string kPath = "C:\\VORLAN\\vrk\\config\\settings.ini";

class IniFileTest : public ::testing::Test {
protected:
    ScriptedPlatform os;
    IniFile ini{os, kPath};
    void WriteIni(const std::string& text) { os.WriteFile(kPath, text); }
    std::string content() { return os.FileContent(kPath); }
};

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(ini.ReadString("vrk", "language", "English"), "English");
    EXPECT_EQ(ini.ReadInteger("latest", "php", 5), 5);
    WriteIni("[vrk]\r\nskin=blue\r\nbare\r\n");
    EXPECT_EQ(ini.ReadString("vrk", "language", "English"), "English");
    EXPECT_EQ(ini.ReadString("other", "skin", "d"), "d");
    EXPECT_EQ(ini.ReadString("vrk", "bare", "d"), "d") << "a line without = holds no value";
    std::vector<std::string> keys{"stale"};
    ini.ReadSection("missing", keys);
    EXPECT_TRUE(keys.empty());
}

// A hold reads the file once for many reads; its own writes stay in step,
// and once it ends every read reads the file again.
TEST_F(IniFileTest, AHoldReadsOneCopyAndKeepsItInStepWithItsWrites) {
    WriteIni("[vrk]\r\nlanguage=English\r\n");
    {
        const IniFile::Held held(ini);
        WriteIni("[vrk]\r\nlanguage=Deutsch\r\n"); // another program's edit
        EXPECT_EQ(ini.ReadString("vrk", "language", ""), "English");
        ini.WriteString("vrk", "skin", "blue");
        EXPECT_EQ(ini.ReadString("vrk", "skin", ""), "blue");
        EXPECT_EQ(ini.ReadString("vrk", "language", ""), "Deutsch") << "a write reads the file afresh";
    }
    WriteIni("[vrk]\r\nlanguage=Fran\xe7"
             "ais\r\n");
    EXPECT_EQ(ini.ReadString("vrk", "language", ""), "Français");
}

TEST_F(IniFileTest, PresentButEmptyValueIsEmptyNotTheDefault) {
    WriteIni("[vrk]\r\nlanguage=\r\nq=\"\"\r\n");
    EXPECT_EQ(ini.ReadString("vrk", "language", "English"), "");
    EXPECT_EQ(ini.ReadString("vrk", "q", "x"), "");
    EXPECT_EQ(ini.ReadInteger("vrk", "language", 3), 3) << "an empty value is not a number";
}

TEST_F(IniFileTest, TrimsBlanksAndOnePairOfMatchingQuotes) {
    WriteIni("  [ gui ]  \r\n"
             "  Start  =   Run it  \r\n"
             "tabbed=\tx\t\r\n"
             "dq=\"  spaced  \"\r\n"
             "sq='single'\r\n"
             "twice=\"\"inner\"\"\r\n"
             "lone=\"\r\n"
             "mixed=\"ab'\r\n"
             "inside=a \"b\" c\r\n");
    EXPECT_EQ(ini.ReadString("gui", "Start", ""), "Run it");
    EXPECT_EQ(ini.ReadString("gui", "tabbed", ""), "x");
    EXPECT_EQ(ini.ReadString("gui", "dq", ""), "  spaced  ");
    EXPECT_EQ(ini.ReadString("gui", "sq", ""), "single");
    EXPECT_EQ(ini.ReadString("gui", "twice", ""), "\"inner\"");
    EXPECT_EQ(ini.ReadString("gui", "lone", ""), "\"");
    EXPECT_EQ(ini.ReadString("gui", "mixed", ""), "\"ab'");
    EXPECT_EQ(ini.ReadString("gui", "inside", ""), "a \"b\" c");
}

TEST_F(IniFileTest, LongValuesAreCutTo2047Characters) {
    const std::string longValue(3000, 'w');
    WriteIni("[welcome]\r\nRow1=" + longValue + "\r\nquoted=\"" + longValue +
             "\"\r\naccented=" + std::string(3000, '\xE9') + "\r\n");
    EXPECT_EQ(ini.ReadString("welcome", "Row1", ""), longValue.substr(0, 2047));
    EXPECT_EQ(ini.ReadString("welcome", "quoted", ""), longValue.substr(0, 2047));
    std::string accented;
    for (int i = 0; i < 2047; ++i) accented += "é";
    EXPECT_EQ(ini.ReadString("welcome", "accented", ""), accented) << "characters, not the bytes of their UTF-8";
}

TEST_F(IniFileTest, NamesMatchWithoutCaseAndTheFirstOfDuplicatesCounts) {
    WriteIni("[VRK]\r\nLANGUAGE=Deutsch\r\nlanguage=Français\r\n[Fran\xe7"
             "ais]\r\nk=1\r\n[vrk]\r\nskin=later\r\n");
    EXPECT_EQ(ini.ReadString("vrk", "Language", ""), "Deutsch");
    EXPECT_EQ(ini.ReadString("vrk", "skin", "default"), "default") << "only the first section of a name is read";
    EXPECT_EQ(ini.ReadString("FRANÇAIS", "K", ""), "1") << "Windows-1252 letters fold too";
}

TEST_F(IniFileTest, SectionHeaderRunsToTheLastBracketAndLineEndsOfEveryKind) {
    WriteIni("[a]b]\nx=1\r[c]\r\ny=2");
    EXPECT_EQ(ini.ReadString("a]b", "x", ""), "1");
    EXPECT_EQ(ini.ReadString("c", "y", ""), "2");
    WriteIni("\xEF\xBB\xBF[vrk]\r\nlanguage=Deutsch\r\n");
    EXPECT_EQ(ini.ReadString("vrk", "language", ""), "Deutsch") << "a byte-order mark is not part of the name";
}

TEST_F(IniFileTest, IntegersAndBooleans) {
    WriteIni("[t]\r\nyes=yes\r\ntrue=true\r\ntwo=2\r\nminus=-1\r\nhex=0x2\r\nhexbig=0XfF\r\nshort=0x\r\n"
             "zero=0\r\nplus=+7\r\nbig=2147483648\r\nsmall=-2147483648\r\nallf=0xFFFFFFFF\r\ntrail=12a\r\n"
             "dollar=$10\r\n");
    EXPECT_EQ(ini.ReadInteger("t", "yes", 9), 9);
    EXPECT_EQ(ini.ReadInteger("t", "two", 9), 2);
    EXPECT_EQ(ini.ReadInteger("t", "minus", 9), -1);
    EXPECT_EQ(ini.ReadInteger("t", "hex", 9), 2);
    EXPECT_EQ(ini.ReadInteger("t", "hexbig", 9), 255);
    EXPECT_EQ(ini.ReadInteger("t", "short", 9), 9) << "0x alone is not a number";
    EXPECT_EQ(ini.ReadInteger("t", "plus", 9), 7);
    EXPECT_EQ(ini.ReadInteger("t", "big", 9), 9) << "out of range";
    EXPECT_EQ(ini.ReadInteger("t", "small", 9), -2147483647 - 1);
    EXPECT_EQ(ini.ReadInteger("t", "allf", 9), -1);
    EXPECT_EQ(ini.ReadInteger("t", "trail", 9), 9);
    EXPECT_EQ(ini.ReadInteger("t", "dollar", 9), 9) << "hexadecimal only after 0x";

    EXPECT_FALSE(ini.ReadBool("t", "yes", false)) << "a word reads as the default";
    EXPECT_TRUE(ini.ReadBool("t", "yes", true));
    EXPECT_FALSE(ini.ReadBool("t", "true", false));
    EXPECT_TRUE(ini.ReadBool("t", "two", false));
    EXPECT_TRUE(ini.ReadBool("t", "minus", false));
    EXPECT_TRUE(ini.ReadBool("t", "hex", false));
    EXPECT_FALSE(ini.ReadBool("t", "zero", true));
    EXPECT_TRUE(ini.ReadBool("t", "missing", true));
}

TEST_F(IniFileTest, ReadSectionListsKeyNamesInFileOrder) {
    WriteIni("[langs]\r\nEnglish=1\r\n;comment=x\r\nDeutsch=\r\nnovalue\r\n\r\nFran\xe7"
             "ais=1\r\nEnglish=2\r\n[skins]\r\ndefault=\r\n");
    std::vector<std::string> keys;
    ini.ReadSection("LANGS", keys);
    EXPECT_EQ(keys, (std::vector<std::string>{"English", "Deutsch", "Français", "English"}));
}

TEST_F(IniFileTest, WritesReplaceInPlaceAndKeepEveryOtherLine) {
    const std::string before = "; settings of the panel\r\n"
                               "[vrk]\r\n"
                               "  Language = Deutsch   \r\n"
                               "custom=  kept as is  \n"
                               "\r\n"
                               "[autorun]\r\n"
                               "auto=1\r\n";
    WriteIni(before);
    ini.WriteString("VRK", "language", "English");
    EXPECT_EQ(content(), "; settings of the panel\r\n"
                         "[vrk]\r\n"
                         "Language=English\r\n"
                         "custom=  kept as is  \n"
                         "\r\n"
                         "[autorun]\r\n"
                         "auto=1\r\n");
}

TEST_F(IniFileTest, NewKeysGoToTheEndOfTheirSectionAndNewSectionsToTheEnd) {
    WriteIni("[vrk]\r\nlanguage=English\r\n\r\n[autorun]\r\nauto=0");
    ini.WriteBool("vrk", "ssae", true);
    ini.WriteInteger("autorun", "php", -1);
    ini.WriteString("latest", "php", "2");
    EXPECT_EQ(content(),
              "[vrk]\r\nlanguage=English\r\nssae=1\r\n\r\n[autorun]\r\nauto=0\r\nphp=-1\r\n[latest]\r\nphp=2\r\n");
    EXPECT_EQ(ini.ReadInteger("autorun", "php", 0), -1);
}

TEST_F(IniFileTest, FirstWriteCreatesTheFileAndRepeatedWritesAddNothing) {
    os.MakeDirectory("C:\\VORLAN\\vrk\\config");
    for (int i = 0; i < 2; ++i) {
        ini.WriteString("gui", "version", "1.3.22");
        ini.WriteString("credit", "creator", "Malverin");
    }
    EXPECT_EQ(content(), "[gui]\r\nversion=1.3.22\r\n[credit]\r\ncreator=Malverin\r\n");
}

TEST_F(IniFileTest, AValueIsAlwaysWrittenOnOneLine) {
    os.MakeDirectory("C:\\VORLAN\\vrk\\config");
    ini.WriteString("vrk", "language", "Deutsch\r\n[evil]\r\nx=1");
    EXPECT_EQ(content(), "[vrk]\r\nlanguage=Deutsch\r\n");
}

TEST_F(IniFileTest, AFailedWriteRaisesWithThePathAndLeavesTheFileIntact) {
    const std::string before = "[vrk]\r\nlanguage=Deutsch\r\n";
    WriteIni(before);
    os.failingWrites = {kPath};
    try {
        ini.WriteString("vrk", "language", "English");
        FAIL() << "no error raised";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), ("Unable to write to " + kPath).c_str());
    }
    EXPECT_EQ(content(), before);

    os.failingWrites.clear();
    os.SetAttributes(kPath, kAttrReadOnly | kAttrArchive);
    EXPECT_THROW(ini.WriteBool("vrk", "ssae", true), Error);
    EXPECT_EQ(content(), before);

    IniFile nowhere(os, "C:\\missing\\dir\\run.ini");
    EXPECT_THROW(nowhere.WriteString("gui", "version", "1.3.22"), Error);
}

TEST_F(IniFileTest, AFileThatCannotBeReadIsNeverOverwritten) {
    const std::string before = "[vrk]\r\nlanguage=Deutsch\r\n";
    WriteIni(before);
    os.unreadable = {kPath};
    EXPECT_EQ(ini.ReadString("vrk", "language", "English"), "English");
    EXPECT_THROW(ini.WriteString("vrk", "ssae", "1"), Error);
    EXPECT_EQ(content(), before);
}

// A link, or a hard link, where the file should be: what it leads to is
// neither read into the file nor written; the write leaves a file of its own.
TEST_F(IniFileTest, ALinkInThePlaceOfTheFileIsReplacedNeverReadOrWritten) {
    const std::string secret = "[servers]\r\nftp=secret\r\n[private]\r\ntoken=42\r\n";
    os.WriteFile("C:\\Users\\admin\\private.ini", secret);
    os.MakeDirectory("C:\\VORLAN\\vrk\\config");
    std::filesystem::create_symlink(os.HostPath("C:\\Users\\admin\\private.ini"), os.HostPath(kPath));
    ini.WriteString("servers", "ftp", "1");
    EXPECT_EQ(os.FileContent("C:\\Users\\admin\\private.ini"), secret);
    EXPECT_FALSE(std::filesystem::is_symlink(os.HostPath(kPath)));
    EXPECT_EQ(content(), "[servers]\r\nftp=1\r\n");

    std::filesystem::remove(os.HostPath(kPath));
    std::filesystem::create_hard_link(os.HostPath("C:\\Users\\admin\\private.ini"), os.HostPath(kPath));
    ini.WriteString("servers", "ftp", "0");
    EXPECT_EQ(os.FileContent("C:\\Users\\admin\\private.ini"), secret);
    EXPECT_EQ(content(), "[servers]\r\nftp=0\r\n");
}

// What other programs wrote stays as they wrote it, to the last byte (the
// code page's undefined ones too); a value the code page has no letters for
// is a write error, never question marks.
TEST_F(IniFileTest, TheFileKeepsItsBytesAndAValueWithoutAnAnsiFormIsAWriteError) {
    const std::string before = "; \x81\x8D\x8F\x90\x9D \x80\r\n[vrk]\r\nlanguage=Deutsch\r\n[Stra\xDF"
                               "e]\r\nk=\xE9\r\n";
    WriteIni(before);
    EXPECT_EQ(ini.ReadString("STRASSE", "k", ""), "") << "no letter becomes two";
    EXPECT_EQ(ini.ReadString("straße", "K", ""), "é");
    try {
        ini.WriteString("vrk", "language", "Русский");
        FAIL() << "no error raised";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), ("Unable to write to " + kPath).c_str());
        EXPECT_EQ(e.source(), kPath) << "reported once until the file is written again";
    }
    EXPECT_EQ(content(), before);
    ini.WriteString("vrk", "language", "Français");
    EXPECT_EQ(content(), "; \x81\x8D\x8F\x90\x9D \x80\r\n[vrk]\r\nlanguage=Fran\xE7"
                         "ais\r\n[Stra\xDF"
                         "e]\r\nk=\xE9\r\n");
}

// A translator's editor may save UTF-8 with a byte-order mark: such a file
// reads as UTF-8, and a write keeps it UTF-8, with its mark.
TEST_F(IniFileTest, AFileWithAByteOrderMarkIsUtf8) {
    WriteIni("\xEF\xBB\xBF[Русский]\r\nName=Сервер 测试\r\n");
    EXPECT_EQ(ini.ReadString("русский", "NAME", ""), "Сервер 测试");
    ini.WriteString("русский", "Ω", "Ωμέγα");
    EXPECT_EQ(content(), "\xEF\xBB\xBF[Русский]\r\nName=Сервер 测试\r\nΩ=Ωμέγα\r\n");
}

TEST(IniText, NamesFoldLetterByLetterNeverByte) {
    EXPECT_TRUE(IniNamesEqual("Сервер Ωμέγα Łódź šœžÿ", "сЕРВЕР ΩΜΈΓΑ łÓDŹ ŠŒŽŸ"));
    EXPECT_FALSE(IniNamesEqual("Ś", "Ŋ")) << "their second bytes differ by what a byte fold would fold";
    EXPECT_FALSE(IniNamesEqual("测试", "测"));
    EXPECT_FALSE(IniNamesEqual("ß", "SS"));
    EXPECT_TRUE(IniNamesEqual("a\xFF", "A\xFF")) << "a byte that is no letter equals itself";
    EXPECT_FALSE(IniNamesEqual("a\xFF", "a\xFE"));
    EXPECT_FALSE(IniNamesEqual("a\xFF", "a\uFFFD"));
}

TEST(IniText, WriteThenReadGivesTheValueBackWhateverTheFileHolds) {
    const std::string files[] = {"",
                                 "garbage without structure",
                                 "[s]",
                                 "[s]\r\nk",
                                 "\n\n[S]\n\n",
                                 "[s]\r\nk=old\r\n[s]\r\nk=second\r\n",
                                 "k=before any section\r\n"};
    for (const auto& text : files) {
        const std::string written = IniWithValue(text, "s", "k", "value");
        EXPECT_EQ(IniLookup(written, "s", "k"), "value") << "in: " << text;
        EXPECT_EQ(IniWithValue(written, "s", "k", "value"), written) << "a second write changes nothing";
    }
}

} // namespace
} // namespace vrk
