#pragma once
// The language files (tree::LanguageFile): every text a window shows, by
// section and key. The window definitions name the keys of their captions in
// their rows; the few texts the program reads besides are these.
#include <string>

#include "IniFile.h"

namespace vrk {

struct LanguageKey {
    const char* section;
    const char* key;
};

// The text of a key in a language file, "" when it has none.
inline std::string LanguageText(const IniFile& languageFile, const LanguageKey& key) {
    return languageFile.ReadString(key.section, key.key, "");
}

namespace language {
// The two words of every start/stop label.
inline constexpr LanguageKey kStart{"gui", "Start"};
inline constexpr LanguageKey kStop{"gui", "Stop"};
// Why the end of the session waits for the panel's close.
inline constexpr LanguageKey kStoppingServers{"gui", "StoppingServers"};
// What a start says when the panel runs in another user's session.
inline constexpr LanguageKey kPanelInOtherSession{"gui", "PanelInOtherSession"};
// The options dialog's title.
inline constexpr LanguageKey kOptionsTitle{"options", "OptionsTitle"};

// All of the above: every language must have each.
inline constexpr LanguageKey kReadByProgram[] = {kStart, kStop, kStoppingServers, kPanelInOtherSession, kOptionsTitle};
} // namespace language

} // namespace vrk
