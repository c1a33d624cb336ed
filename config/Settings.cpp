#include "Settings.h"

namespace vrk {

Settings::Settings(Platform& os, std::string path, ErrorSources* sources) : file_(os, std::move(path), sources) {}

std::string Settings::Read(const TextKey& key) const { return file_.ReadString(key.section, key.name, key.fallback); }

bool Settings::Read(const BoolKey& key) const { return file_.ReadBool(key.section, key.name, key.fallback); }

std::int32_t Settings::Read(const IntKey& key) const { return file_.ReadInteger(key.section, key.name, key.fallback); }

std::vector<std::string> Settings::Read(const ListKey& key) const {
    std::vector<std::string> names;
    file_.ReadSection(key.section, names);
    return names;
}

void Settings::Write(const TextKey& key, const std::string& value) { file_.WriteString(key.section, key.name, value); }

void Settings::Write(const BoolKey& key, bool value) { file_.WriteBool(key.section, key.name, value); }

void Settings::Write(const IntKey& key, std::int32_t value) { file_.WriteInteger(key.section, key.name, value); }

} // namespace vrk
