#pragma once
// Paths below the installation root, written as the program joins them: the
// root ends with a separator, so a leading "\" gives a doubled separator at
// the junction (Windows reads it as one). They are joined by plain
// concatenation, never normalised, since some are passed on command lines as
// formed.
namespace vrk::tree {

inline constexpr const char* kProgramFile = "\\vrk.exe";
inline constexpr const char* kSettingsFile = "\\vrk\\config\\settings.ini";
inline constexpr const char* kSettingsFileFromDialog = "/vrk/config/settings.ini";
inline constexpr const char* kRunFile = "\\vrk\\tmp\\run.ini";
inline constexpr const char* kLanguagesFolder = "/vrk/langs/";
inline constexpr const char* kLanguageExtension = ".ini";
inline constexpr const char* kSkinsFolder = "\\vrk\\skins\\";
inline constexpr const char* kLoadingGif = "\\loading.gif";
inline constexpr const char* kPgSQLBin = "\\servers\\pgsql\\91\\bin";
inline constexpr const char* kPgSQLData = "\\data\\pgsql";
inline constexpr const char* kPhpTemp = "\\tmp\\php\\";

} // namespace vrk::tree
