// Every language the bundle lists has its file, readable as the panel reads
// it, with every text the two windows read: the captions, pairs, titles and
// subjects of their definitions' rows, and the few the program reads besides.
// The keys come from the rows themselves, so a new control cannot be missed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <span>
#include <utility>

#include "IniText.h"
#include "Language.h"
#include "OptionsDlg.h"
#include "Settings.h"
#include "Text.h"
#include "vrk.h"

namespace vrk::testing {
namespace {

using Key = std::pair<std::string, std::string>;

template <class F> void AddKeysOfRows(std::span<const ui::ControlDef<F>> rows, std::set<Key>& keys) {
    auto add = [&](const ui::CaptionDef& text) {
        switch (text.kind) {
        case ui::CaptionDef::kLanguage:
        case ui::CaptionDef::kTitle: keys.insert({text.text, text.key}); break;
        case ui::CaptionDef::kLanguagePair:
            keys.insert({text.text, text.key});
            keys.insert({text.text, text.key2});
            break;
        case ui::CaptionDef::kNone:
        case ui::CaptionDef::kText:
        case ui::CaptionDef::kProgram: break;
        }
    };
    for (const ui::ControlDef<F>& row : rows) {
        add(row.caption);
        add(row.subject);
    }
}

std::set<Key> KeysTheProgramReads() {
    std::set<Key> keys;
    AddKeysOfRows(Tvrk_form::Definition(), keys);
    AddKeysOfRows(TOptionsDialog::Definition(), keys);
    for (const LanguageKey& key : language::kReadByProgram) keys.insert({key.section, key.key});
    return keys;
}

const std::filesystem::path kBundle = std::filesystem::path(VRK_SOURCE_DIR) / "bundle" / "vrk";

std::string Bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The text of a stored file as the panel reads it: UTF-8 after the UTF-8
// byte-order mark, Windows-1252 otherwise. Empty, with `problem` said, when
// it holds a byte that is no character of its encoding.
std::string Decoded(const std::string& bytes, std::string& problem) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kMark)) {
        const std::string_view text = std::string_view(bytes).substr(kMark.size());
        for (std::size_t at = 0; at < text.size();)
            if (const std::size_t was = at; !NextCodePoint(text, at)) {
                problem = "not UTF-8 at byte " + std::to_string(was + kMark.size());
                return {};
            }
        return std::string(text);
    }
    // The five bytes Windows-1252 leaves without a character.
    const auto undefined = bytes.find_first_of("\x81\x8D\x8F\x90\x9D");
    if (undefined != std::string::npos) {
        problem = "not Windows-1252 at byte " + std::to_string(undefined);
        return {};
    }
    return Utf8FromCp1252(bytes);
}

std::size_t Utf16Length(const std::string& text) { return Utf16FromUtf8(text).size(); }

TEST(LanguageFiles, EveryListedLanguageHoldsEveryTextTheWindowsRead) {
    const std::set<Key> keys = KeysTheProgramReads();
    ASSERT_GT(keys.size(), 70u) << "the rows name the keys of their captions";
    ASSERT_TRUE(keys.count({"gui", "VRKControlPanel"})) << "a title row";
    ASSERT_TRUE(keys.count({"translator", "TranslatorEmail"})) << "the second key of a pair";
    ASSERT_TRUE(keys.count({"gui", "MemcachedServer"})) << "a subject";

    std::string problem;
    const std::string settings = Decoded(Bytes(kBundle / "config" / "settings.ini"), problem);
    ASSERT_EQ(problem, "") << "settings.ini";
    const std::vector<std::string> languages = IniKeyNames(settings, setting::kLanguages.section);
    ASSERT_FALSE(languages.empty()) << "[langs] lists no language";
    EXPECT_NE(std::find_if(languages.begin(), languages.end(),
                           [](const std::string& name) { return IniNamesEqual(name, setting::kLanguage.fallback); }),
              languages.end())
        << "the default language is not listed";

    for (const std::string& name : languages) {
        // The panel opens the file under its name in the code page; this
        // machine's file system has it in UTF-8, as Wine maps it.
        const std::filesystem::path file = kBundle / "langs" / (name + ".ini");
        ASSERT_TRUE(std::filesystem::is_regular_file(file)) << name << " is listed but has no file";
        problem.clear();
        const std::string text = Decoded(Bytes(file), problem);
        ASSERT_EQ(problem, "") << file;
        for (const auto& [section, key] : keys) {
            const auto value = IniLookup(text, section, key);
            ASSERT_TRUE(value) << name << ": [" << section << "] " << key << " is missing";
            EXPECT_NE(*value, "") << name << ": [" << section << "] " << key << " is empty";
            EXPECT_LT(Utf16Length(*value), kIniValueLimit)
                << name << ": [" << section << "] " << key << " is cut where the panel reads it";
        }
    }
}

} // namespace
} // namespace vrk::testing
