// IniFile against the system's own profile functions: what IniFile reads
// from a file must be what GetPrivateProfileString reads, and the same
// writes must leave the same bytes as WritePrivateProfileString. The files
// lie in a folder named in Cyrillic and Chinese, with a blank; they hold text
// in the system's code page (1252 on these machines), or UTF-8 after a
// byte-order mark, and both sides read and write it as text (the wide
// functions), so the code page is held against the system's too.
//
// Wine's profile writer rewrites the whole file in a canonical form (no blank
// lines, no leading blanks, no blanks around "=", CR LF line ends), while
// IniFile keeps every line it does not write byte for byte. So the write
// comparisons start from files already in that form; the read comparisons
// use files of any form.
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "IniFile.h"
#include "Text.h"
#include "helpers/TestSupport.h"
#include "Error.h"
#include "Win32Platform.h"
#include "WriteNames.h"

namespace vrk {
namespace {

using namespace vrk::testing;

// The buffer sizes the program's reads use: a value of at most 2047
// characters, a key list of at most 16 KiB.
constexpr DWORD kValueBuffer = 2048;
constexpr DWORD kSectionBuffer = 16384;

const char* const kDefault = "<default>";

std::string ProfileString(const std::string& path, const std::string& section, const std::string& key) {
    std::vector<wchar_t> buffer(kValueBuffer);
    const DWORD n = GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(kDefault).c_str(),
                                             buffer.data(), kValueBuffer, Wide(path).c_str());
    return Utf8(std::wstring_view(buffer.data(), n));
}

std::vector<std::string> ProfileKeys(const std::string& path, const std::string& section) {
    std::vector<wchar_t> buffer(kSectionBuffer);
    const DWORD n = GetPrivateProfileStringW(Wide(section).c_str(), nullptr, L"", buffer.data(), kSectionBuffer,
                                             Wide(path).c_str());
    std::vector<std::string> keys;
    for (DWORD at = 0; at < n && buffer[at];) {
        const std::wstring_view key(&buffer[at]);
        keys.push_back(Utf8(key));
        at += static_cast<DWORD>(key.size()) + 1;
    }
    return keys;
}

// The system caches profile files; each file is dropped from the cache before
// it is compared or removed.
void FlushProfileCache(const std::string& path) {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, Wide(path).c_str());
}

// Shows a file's bytes with line ends visible in failure messages.
std::string Visible(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

struct ReadCase {
    const char* name;
    std::string content;
    std::vector<std::pair<std::string, std::string>> lookups; // section, key
    std::vector<std::string> sections;                        // for ReadSection
};

class IniFileAgainstProfileTest : public ::testing::Test {
protected:
    Win32Platform os;
    TempFolder folder{"ini Сервер 测试"};
    std::vector<std::string> used;

    std::string NewPath(const std::string& tag) {
        used.push_back(folder / (UniqueName(tag) + ".ini"));
        return used.back();
    }
    void TearDown() override {
        for (const auto& path : used) FlushProfileCache(path);
    }

    void ExpectSameReads(const ReadCase& c) {
        SCOPED_TRACE(c.name);
        const std::string path = NewPath("read");
        ASSERT_TRUE(WriteBytes(path, c.content));
        IniFile ini(os, path);
        for (const auto& [section, key] : c.lookups)
            EXPECT_EQ(ini.ReadString(section, key, kDefault), ProfileString(path, section, key))
                << "[" << section << "] " << key << " in " << Visible(c.content);
        for (const auto& section : c.sections) {
            std::vector<std::string> keys{"stale"};
            ini.ReadSection(section, keys);
            EXPECT_EQ(keys, ProfileKeys(path, section)) << "keys of [" << section << "] in " << Visible(c.content);
        }
    }
};

TEST_F(IniFileAgainstProfileTest, QuotesAndEmptyValues) {
    ExpectSameReads({"quotes",
                     "[q]\r\n"
                     "dq=\"  spaced  \"\r\n"
                     "sq='single'\r\n"
                     "twice=\"\"inner\"\"\r\n"
                     "lone=\"\r\n"
                     "mixed=\"ab'\r\n"
                     "inside=a \"b\" c\r\n"
                     "emptydq=\"\"\r\n"
                     "emptysq=''\r\n"
                     "padded=  \" x \"  \r\n"
                     "empty=\r\n",
                     {{"q", "dq"},
                      {"q", "sq"},
                      {"q", "twice"},
                      {"q", "lone"},
                      {"q", "mixed"},
                      {"q", "inside"},
                      {"q", "emptydq"},
                      {"q", "emptysq"},
                      {"q", "padded"},
                      {"q", "empty"},
                      {"q", "absent"}},
                     {"q"}});
}

TEST_F(IniFileAgainstProfileTest, BlanksAroundNamesAndValues) {
    ExpectSameReads({"blanks",
                     "  [ gui ]  \r\n"
                     "  Start  =   Run it  \r\n"
                     "tabbed=\tx\t\r\n"
                     "my key = v  w \r\n"
                     "\r\n"
                     "   \r\n"
                     "after=blank lines\r\n"
                     "[plain]\r\n"
                     "k = v\r\n",
                     {{"gui", "Start"},
                      {"gui", " Start "},
                      {" gui ", "start"},
                      {"gui", "tabbed"},
                      {"gui", "my key"},
                      {"gui", "after"},
                      {"plain", "k"},
                      {"plain", " k"}},
                     {"gui", "plain"}});
}

// Only a-z are folded here: Wine folds no other letter in profile names
// (IniFile folds the other letters too; the native tests cover that).
TEST_F(IniFileAgainstProfileTest, NamesWithoutRegardToCaseAndFirstOfDuplicates) {
    ExpectSameReads({"case and duplicates",
                     "[VRK]\r\n"
                     "LANGUAGE=Deutsch\r\n"
                     "b=2\r\n"
                     "language=Francais\r\n"
                     "[Fran\xe7"
                     "ais]\r\n"
                     "K=1\r\n"
                     "[vrk]\r\n"
                     "skin=later\r\n"
                     "b=3\r\n",
                     {{"vrk", "language"},
                      {"Vrk", "LANGUAGE"},
                      {"vrk", "b"},
                      {"vrk", "skin"},
                      {"FRANçAIS", "k"},
                      {"français", "K"},
                      {"Français", "k"}},
                     {"vrk", "VRK", "fRANçAIS"}});
}

// Letters of the code page, its undefined bytes too, read as the system reads
// them; a file behind the UTF-8 mark reads as UTF-8.
TEST_F(IniFileAgainstProfileTest, TextInTheCodePageAndInUtf8) {
    ExpectSameReads({"code page",
                     "[Stra\xDF"
                     "e]\r\n"
                     "Caf\xE9=\x80 \x81\x8D\x8F\x90\x9D \x9F\xFF \x93quoted\x94\r\n"
                     "Fran\xE7"
                     "ais=1\r\n",
                     {{"Straße", "Café"}, {"Straße", "Français"}, {"Straße", "Cafe"}},
                     {"Straße"}});
    ExpectSameReads({"UTF-8",
                     "\xEF\xBB\xBF[Сервер]\r\n"
                     "Имя=测试 Ωμέγα\r\n"
                     "Café=\"x\"\r\n",
                     {{"Сервер", "Имя"}, {"Сервер", "Café"}, {"Сервер", "Cafe"}},
                     {"Сервер"}});
}

TEST_F(IniFileAgainstProfileTest, LongValuesAreCutToTheBuffer) {
    const std::string w(3000, 'w');
    ExpectSameReads({"long values",
                     "[welcome]\r\n"
                     "Row1=" +
                         w +
                         "\r\n"
                         "quoted=\"" +
                         w +
                         "\"\r\n"
                         "fits=" +
                         w.substr(0, 2047) +
                         "\r\n"
                         "onemore=" +
                         w.substr(0, 2048) +
                         "\r\n"
                         "quotedshort=\"" +
                         w.substr(0, 2046) +
                         "\"\r\n"
                         "quotedlong=\"" +
                         w.substr(0, 2048) + "\"\r\naccented=" + std::string(3000, '\xE9') + "\r\n",
                     {{"welcome", "Row1"},
                      {"welcome", "quoted"},
                      {"welcome", "fits"},
                      {"welcome", "onemore"},
                      {"welcome", "quotedshort"},
                      {"welcome", "quotedlong"},
                      {"welcome", "accented"}},
                     {"welcome"}});
}

TEST_F(IniFileAgainstProfileTest, LinesWithoutEqualsSignAndComments) {
    ExpectSameReads({"no equals sign",
                     "[s]\r\n"
                     "bare\r\n"
                     "a=1\r\n"
                     "  bare2  \r\n"
                     ";comment=1\r\n"
                     "; plain comment\r\n"
                     "b=2\r\n",
                     {{"s", "bare"}, {"s", "a"}, {"s", "bare2"}, {"s", ";comment"}, {"s", "b"}},
                     {"s"}});
}

TEST_F(IniFileAgainstProfileTest, SectionHeadersRunToTheLastBracket) {
    ExpectSameReads({"brackets",
                     "[a]b]\r\n"
                     "x=1\r\n"
                     "[c]d\r\n"
                     "y=2\r\n"
                     "[e\r\n"
                     "z=3\r\n",
                     {{"a]b", "x"}, {"a", "x"}, {"c", "y"}, {"c", "z"}, {"e", "z"}},
                     {"a]b", "c"}});
}

TEST_F(IniFileAgainstProfileTest, LineEndsOfEveryKind) {
    ExpectSameReads({"LF only", "[a]\nx=1\n[c]\ny=2\n", {{"a", "x"}, {"c", "y"}}, {"a", "c"}});
    ExpectSameReads({"CR only", "[a]\rx=1\r[c]\ry=2\r", {{"a", "x"}, {"c", "y"}}, {"a", "c"}});
    ExpectSameReads({"CR LF, no final line break", "[a]\r\nx=1\r\ny=2", {{"a", "x"}, {"a", "y"}}, {"a"}});
    ExpectSameReads({"byte-order mark", "\xEF\xBB\xBF[vrk]\r\nlanguage=Deutsch\r\n", {{"vrk", "language"}}, {"vrk"}});
    ExpectSameReads({"empty file", "", {{"vrk", "language"}}, {"vrk"}});
}

TEST_F(IniFileAgainstProfileTest, MixedLineEnds) {
    ExpectSameReads({"CR inside LF lines", "[a]b]\nx=1\r[c]\r\ny=2", {{"a]b", "x"}, {"c", "y"}}, {"a]b", "c"}});
}

// --- writes -----------------------------------------------------------------

struct Write {
    std::string section, key, value;
};

struct WriteCase {
    const char* name;
    std::optional<std::string> before; // nothing: no file yet
    std::vector<Write> writes;
};

class IniFileWritesLikeProfileTest : public IniFileAgainstProfileTest {
protected:
    void ExpectSameWrites(const WriteCase& c) {
        SCOPED_TRACE(c.name);
        const std::string ours = NewPath("ours"), theirs = NewPath("theirs");
        if (c.before) {
            ASSERT_TRUE(WriteBytes(ours, *c.before));
            ASSERT_TRUE(WriteBytes(theirs, *c.before));
        }
        IniFile ini(os, ours);
        for (const auto& w : c.writes) {
            ini.WriteString(w.section, w.key, w.value);
            ASSERT_TRUE(WritePrivateProfileStringW(Wide(w.section).c_str(), Wide(w.key).c_str(), Wide(w.value).c_str(),
                                                   Wide(theirs).c_str()));
        }
        FlushProfileCache(theirs);
        const std::string expected = ReadBytes(theirs);
        ASSERT_NE(expected, "<missing>");
        EXPECT_EQ(Visible(ReadBytes(ours)), Visible(expected));
    }
};

const std::string kSettings = "[vrk]\r\nlanguage=English\r\nskin=default\r\n[autorun]\r\nauto=0\r\n";

TEST_F(IniFileWritesLikeProfileTest, ReplacesAValueInPlace) {
    ExpectSameWrites(
        {"replace",
         kSettings,
         {{"vrk", "skin", "blue"}, {"VRK", "LANGUAGE", "Deutsch"}, {"autorun", "auto", "1"}, {"vrk", "skin", ""}}});
}

TEST_F(IniFileWritesLikeProfileTest, AppendsANewKeyAtTheEndOfItsSection) {
    ExpectSameWrites({"append", kSettings, {{"vrk", "ssae", "1"}, {"Vrk", "ctf", "0"}, {"autorun", "apache", "1"}}});
    ExpectSameWrites({"after a comment line", "[vrk]\r\na=1\r\n;note\r\n[x]\r\ny=2\r\n", {{"vrk", "b", "2"}}});
}

TEST_F(IniFileWritesLikeProfileTest, AddsANewSectionAtTheEndOfTheFile) {
    ExpectSameWrites({"new section", kSettings, {{"latest", "php", "2"}, {"latest", "other", "x"}}});
}

TEST_F(IniFileWritesLikeProfileTest, CreatesTheFileOnTheFirstWrite) {
    ExpectSameWrites({"no file",
                      std::nullopt,
                      {{"gui", "version", "1.3.22"},
                       {"credit", "creator", "Malverin"},
                       {"servers", "ftp", "0"},
                       {"servers", "mcache", "0"},
                       {"servers", "mysql", "1"},
                       {"gui", "version", "1.3.22"}}});
}

TEST_F(IniFileWritesLikeProfileTest, TextInTheCodePageAndInUtf8) {
    ExpectSameWrites({"code page",
                      "[vrk]\r\nlanguage=English\r\nnote=\x81\x9D\xFF\r\n",
                      {{"vrk", "language", "Français"}, {"Straße", "Café", "€ “5”"}, {"vrk", "language", "Deutsch"}}});
    ExpectSameWrites({"UTF-8 with its mark",
                      "\xEF\xBB\xBF[vrk]\r\nlanguage=English\r\n",
                      {{"vrk", "language", "Русский"}, {"Сервер", "测试", "Ωμέγα"}}});
}

TEST_F(IniFileWritesLikeProfileTest, AFileWithoutAFinalLineBreak) {
    const std::string unended = "[vrk]\r\nlanguage=English";
    ExpectSameWrites({"append to the last line", unended, {{"vrk", "skin", "blue"}}});
    ExpectSameWrites({"new section after the last line", unended, {{"latest", "php", "1"}}});
    ExpectSameWrites({"same value on the last line", unended, {{"vrk", "language", "English"}}});
}

// --- the system's code page ----------------------------------------------------

// These machines run code page 1252: the platform's conversions through the
// system agree with the table for every byte, and a character the code page
// lacks (or could only give as a look-alike) has no form.
TEST(AnsiCodePage, TheSystemsConversionsAgreeWithTheTableForEveryByte) {
    ASSERT_EQ(GetACP(), 1252u);
    Win32Platform os;
    std::string all;
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        all += byte;
        EXPECT_EQ(os.FromAnsi(byte), Utf8FromCp1252(byte)) << "byte 0x" << std::hex << b;
        EXPECT_EQ(os.ToAnsi(Utf8FromCp1252(byte)), byte) << "byte 0x" << std::hex << b;
    }
    EXPECT_EQ(os.FromAnsi(all), Utf8FromCp1252(all));
    EXPECT_EQ(os.ToAnsi(Utf8FromCp1252(all)), all);
    for (const char* text : {"Сервер", "测试", "Ā", "∞", "ﬁ", "\u0080"})
        EXPECT_EQ(os.ToAnsi(text), std::nullopt) << text;
    EXPECT_EQ(os.ToAnsi(""), "");
}

// --- write failures -------------------------------------------------------------

class IniFileWriteFailureTest : public ::testing::Test {
protected:
    Win32Platform os;
    TempFolder folder{"inifail"};

    // Every writer raises "Unable to write to <path>".
    void ExpectEveryWriteFails(const std::string& path) {
        IniFile ini(os, path);
        const std::string expected = "Unable to write to " + path;
        auto check = [&](const char* what, auto write) {
            try {
                write();
                ADD_FAILURE() << what << " did not raise";
            } catch (const Error& e) {
                EXPECT_EQ(std::string(e.what()), expected) << what;
            }
        };
        check("WriteString", [&] { ini.WriteString("vrk", "language", "Deutsch"); });
        check("WriteInteger", [&] { ini.WriteInteger("autorun", "php", -1); });
        check("WriteBool", [&] { ini.WriteBool("vrk", "ssae", true); });
    }
};

TEST_F(IniFileWriteFailureTest, AReadOnlyFileRaisesAndStaysAsItWas) {
    const std::string path = folder / "settings.ini";
    const std::string content = "[vrk]\r\nlanguage=English\r\n\r\n; kept\r\n";
    ASSERT_TRUE(WriteBytes(path, content));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));

    ExpectEveryWriteFails(path);

    EXPECT_EQ(ReadBytes(path), content);
    EXPECT_EQ(FolderNames(folder.path()), std::vector<std::string>{"settings.ini"}) << "no scratch file is left";
}

TEST_F(IniFileWriteFailureTest, AMissingFolderRaisesAndIsNotCreated) {
    const std::string missing = folder / "missing";
    const std::string path = missing + "\\settings.ini";

    ExpectEveryWriteFails(path);

    EXPECT_FALSE(Exists(missing));
    EXPECT_TRUE(FolderNames(folder.path()).empty());
}

// --- other programs reading the file while it is written ----------------------------

// Programs that read run.ini while the panel writes it: two through the
// profile functions flat out, and one that keeps the file open 300 ms at a
// time. None shares delete access, so the rename of a new file over the
// held one is refused: every write must still reach the file, and no reader
// may ever find a key missing.
class IniFileWithReadersTest : public ::testing::Test {
protected:
    // Counts how the writes were made.
    struct CountingPlatform : Win32Platform {
        int replaced = 0, inPlace = 0;
        WriteResult ReplaceContent(const std::string& path, const std::string& content,
                                   Durability durability) override {
            const WriteResult result = Win32Platform::ReplaceContent(path, content, durability);
            if (result == WriteResult::kReplaced) ++replaced;
            if (result == WriteResult::kWrittenInPlace) ++inPlace;
            return result;
        }
    };
    struct Reader {
        HANDLE process;
        std::string report;
    };

    CountingPlatform os;
    TempFolder folder{"inireaders"};
    const std::string path = folder / "run.ini";
    const std::string stop = folder / "stop";
    const char* const keys = " gui/version credit/creator servers/ftp servers/mcache servers/mysql servers/apache"
                             " servers/pgsql servers/mongo";
    std::vector<Reader> readers;

    void SetUp() override {
        IniFile ini(os, path);
        ini.WriteString("gui", "version", "1.3.22");
        ini.WriteString("credit", "creator", "Malverin");
        for (const char* key : {"ftp", "mcache", "mysql", "apache", "pgsql", "mongo"})
            ini.WriteString("servers", key, "0");
    }
    void TearDown() override {
        WriteBytes(stop, "");
        for (const Reader& r : readers) {
            WaitForSingleObject(r.process, 10000);
            CloseHandle(r.process);
        }
    }
    void StartReader(const std::string& arguments) {
        const std::string report = folder / ("report" + std::to_string(readers.size()));
        const std::string line = "inireader.exe " + arguments.substr(0, arguments.find(' ')) + " \"" + path + "\" \"" +
                                 stop + "\" \"" + report + "\"" + arguments.substr(arguments.find(' ')) + keys;
        HANDLE process = Start(HelperPath("inireader.exe"), line);
        ASSERT_NE(process, nullptr);
        readers.push_back({process, report});
        ASSERT_TRUE(WaitUntil([&] { return ReadBytes(report) == "running"; }));
    }
    // Stops the readers; what each reported.
    std::vector<std::string> StopReaders() {
        WriteBytes(stop, "");
        std::vector<std::string> reports;
        for (const Reader& r : readers) {
            EXPECT_EQ(WaitForSingleObject(r.process, 10000), WAIT_OBJECT_0);
            CloseHandle(r.process);
            reports.push_back(ReadBytes(r.report));
        }
        readers.clear();
        return reports;
    }
};

TEST_F(IniFileWithReadersTest, EveryWriteReachesTheFileAndEveryReadFindsEveryKey) {
    StartReader("profile ");
    StartReader("profile ");
    StartReader("hold 300 rw");
    IniFile ini(os, path);
    const char* const servers[] = {"ftp", "mcache", "mysql", "apache", "pgsql", "mongo"};
    for (int round = 1; round <= 60; ++round) {
        const char* key = servers[round % 6];
        const std::string value = round % 2 ? "1" : "0";
        ASSERT_NO_THROW(ini.WriteString("servers", key, value)) << "write " << round;
        ASSERT_EQ(ini.ReadString("servers", key, "?"), value) << "write " << round << " reached the file";
    }
    // A new key makes the file longer, a shorter value shorter.
    ASSERT_NO_THROW(ini.WriteString("servers", "memcache", "0"));
    ASSERT_NO_THROW(ini.WriteString("gui", "version", "1.3"));
    ASSERT_NO_THROW(ini.WriteString("gui", "version", "1.3.22"));
    EXPECT_GT(os.inPlace, 0) << "the held file was written in place";
    for (const std::string& report : StopReaders()) {
        unsigned long reads = 0, incomplete = 1, failed = 1;
        ASSERT_EQ(std::sscanf(report.c_str(), "reads=%lu incomplete=%lu failed=%lu", &reads, &incomplete, &failed), 3)
            << report;
        EXPECT_GT(reads, 0u) << report;
        EXPECT_EQ(incomplete, 0u) << report;
        EXPECT_EQ(failed, 0u) << report;
    }
    for (const std::string& name : FolderNames(folder.path()))
        EXPECT_FALSE(IsTemporaryWriteName(name)) << "scratch file left: " << name;
}

// A program that holds the file without sharing write access leaves no way
// to write it: the write raises, and the file keeps its bytes.
TEST_F(IniFileWithReadersTest, AFileHeldWithoutWriteSharingRaisesAndKeepsItsBytes) {
    const std::string before = ReadBytes(path);
    StartReader("hold 5000 r");
    IniFile ini(os, path);
    EXPECT_THROW(ini.WriteString("servers", "mysql", "1"), Error);
    StopReaders();
    EXPECT_EQ(ReadBytes(path), before);
}

// --- a tree others may write -------------------------------------------------------

// run.ini replaced by a link to another file, or made one of two hard links
// of it: what it leads to is never written, nor read into the file. Held open
// by a reader, so that the rename is refused, the write fails (Wine refuses
// the rename over a link whose target is held; Windows would replace the link
// itself); not held, the rename replaces the entry.
TEST_F(IniFileWithReadersTest, WhatALinkLeadsToIsNeverWrittenAndTheLinkIsReplaced) {
    TempFolder outside{"outside"};
    const std::string secret = "[servers]\r\nftp=secret\r\n[private]\r\ntoken=42\r\n";
    ASSERT_TRUE(WriteBytes(outside / "secret.ini", secret));
    ASSERT_TRUE(WriteBytes(outside / "shared.ini", secret));
    IniFile ini(os, path);
    // Whether the reader holds the file now (an open that shares nothing is
    // refused).
    auto held = [&] {
        HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        return file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
    };
    auto writeOnce = [&](const char* what) {
        try {
            ini.WriteString("servers", "mysql", "1");
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + path) << what;
        }
        EXPECT_EQ(ReadBytes(outside / "secret.ini"), secret) << what;
        EXPECT_EQ(ReadBytes(outside / "shared.ini"), secret) << what;
    };

    ASSERT_TRUE(DeleteFileW(Wide(path).c_str()));
    {
        SymbolicLink link(path, outside / "secret.ini", SymbolicLink::kToFile);
        ASSERT_TRUE(link.IsLink()) << "no link could be made";
        StartReader("hold 3000 rw");
        ASSERT_TRUE(WaitUntil(held));
        writeOnce("a link held open");
        StopReaders();
        ASSERT_TRUE(DeleteFileW(Wide(stop).c_str()));
        if (link.IsLink()) writeOnce("a link");
        EXPECT_FALSE(link.IsLink()) << "the rename replaced the link";
        EXPECT_EQ(ReadBytes(path), "[servers]\r\nmysql=1\r\n") << "nothing of the other file was taken in";
    } // (which removes what stands at the link's place)

    ASSERT_TRUE(CreateHardLinkW(Wide(path).c_str(), Wide(outside / "shared.ini").c_str(), nullptr));
    StartReader("hold 3000 rw");
    ASSERT_TRUE(WaitUntil(held));
    EXPECT_THROW(ini.WriteString("servers", "mysql", "1"), Error)
        << "a file with two hard links is not written in place";
    EXPECT_EQ(ReadBytes(outside / "shared.ini"), secret);
    StopReaders();
    writeOnce("a hard link");
    EXPECT_EQ(ReadBytes(path), "[servers]\r\nmysql=1\r\n");
}

// The temporary file takes the old one's attributes and permissions before
// it replaces it: a hidden run.ini stays hidden, and permissions set on it
// stay. (Wine keeps permissions as the Linux file's mode, which follows.)
TEST(IniFileReplace, ARewrittenFileKeepsItsAttributesAndPermissions) {
    Win32Platform os;
    TempFolder folder{"kept"};
    const std::string path = folder / "run.ini";
    ASSERT_TRUE(WriteBytes(path, "[gui]\r\nversion=1.3.22\r\n"));
    ASSERT_TRUE(SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    PSECURITY_DESCRIPTOR wanted = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;FA;;;WD)(A;;FA;;;SY)", SDDL_REVISION_1,
                                                                     &wanted, nullptr));
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    GetSecurityDescriptorDacl(wanted, &present, &dacl, &defaulted);
    ASSERT_EQ(SetNamedSecurityInfoW(Wide(path).data(), SE_FILE_OBJECT,
                                    DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                    dacl, nullptr),
              static_cast<DWORD>(ERROR_SUCCESS));
    LocalFree(wanted);
    auto permissions = [&] {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (GetNamedSecurityInfoW(Wide(path).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                  nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
            return std::string("<none>");
        LPWSTR text = nullptr;
        ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                             &text, nullptr);
        const std::string result = text ? Utf8(text) : "<none>";
        LocalFree(text);
        LocalFree(descriptor);
        return result;
    };
    const std::string before = permissions();

    ASSERT_EQ(os.ReplaceContent(path, "[gui]\r\nversion=1.3.23\r\n"), Platform::WriteResult::kReplaced);

    EXPECT_EQ(ReadBytes(path), "[gui]\r\nversion=1.3.23\r\n");
    EXPECT_EQ(Attributes(path) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(permissions(), before);
    EXPECT_EQ(FolderNames(folder.path()), std::vector<std::string>{"run.ini"}) << "no temporary file is left";
}

// A folder that refuses a new file while the file itself may be written: the
// file is written in place, as the profile functions would; a new file
// there cannot be made at all. (The folder is made immutable on the Linux
// side, which refuses new entries to root too.)
TEST(IniFileReplace, AFolderThatRefusesANewFileHasTheFileWrittenInPlace) {
    Win32Platform os;
    TempFolder folder{"sealed"};
    const std::string path = folder / "run.ini";
    ASSERT_TRUE(WriteBytes(path, "[gui]\r\nversion=1.3.22\r\n"));
    if (!RunUnix("chattr +i '" + UnixPath(folder.path()) + "'", folder.path() + ".done") ||
        WriteBytes(folder / "probe", ""))
        GTEST_SKIP() << "this system cannot make a folder that refuses new files (chattr +i)";

    const auto replaced = os.ReplaceContent(path, "[gui]\r\nversion=1.3.23\r\n");
    const auto created = os.ReplaceContent(folder / "new.ini", "[gui]\r\n");
    const std::string content = ReadBytes(path);
    const auto names = FolderNames(folder.path());
    RunUnix("chattr -i '" + UnixPath(folder.path()) + "'", folder.path() + ".done");

    EXPECT_EQ(replaced, Platform::WriteResult::kWrittenInPlace);
    EXPECT_EQ(content, "[gui]\r\nversion=1.3.23\r\n");
    EXPECT_EQ(created, Platform::WriteResult::kFailed);
    EXPECT_EQ(names, std::vector<std::string>{"run.ini"});
}

} // namespace
} // namespace vrk
