// The settings a player can change, in one table: each one's place in the settings file, its
// command-line flags, its range, its default and its help.
#include "platform/common/setting_table.h"

#include "platform/common/bindings.h"

namespace krello {
namespace {

const char* typeName(SettingType type) {
    switch (type) {
        case SettingType::YesNo: return "yesno";
        case SettingType::Choice: return "choice";
        case SettingType::Whole: return "whole";
        case SettingType::Folder: return "folder";
        case SettingType::Keys: return "keys";
        case SettingType::Buttons: return "buttons";
    }
    return "";
}

// The default as the settings file writes it.
std::string fallbackText(const SettingEntry& e) {
    const SettingInfo& s = *e.info;
    const Bindings defaults = defaultBindings();
    switch (s.type) {
        case SettingType::YesNo:
        case SettingType::Choice: return s.fallback != 0 ? s.yes : s.no;
        case SettingType::Whole: return std::to_string(s.fallback);
        case SettingType::Folder: return s.fallbackText;
        case SettingType::Keys: return formatKeyList(defaults.keys[static_cast<size_t>(e.action)]);
        case SettingType::Buttons: return formatPadList(defaults.pad[static_cast<size_t>(e.action)]);
    }
    return {};
}

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

}  // namespace

std::vector<SettingEntry> settingEntries() {
    std::vector<SettingEntry> entries;
    for (const SettingInfo& s : SETTINGS) {
        if (s.type != SettingType::Keys && s.type != SettingType::Buttons) {
            entries.push_back({&s, -1, s.name});
            continue;
        }
        for (int a = 0; a < ACTION_COUNT; ++a) {
            const auto action = static_cast<Action>(a);
            // A gamepad has no window to resize.
            if (s.type == SettingType::Buttons && action == Action::Fullscreen) continue;
            entries.push_back({&s, a, actionName(action)});
        }
    }
    return entries;
}

std::string settingRangeText(const SettingInfo& s) {
    const std::string fallback = "default " + fallbackText(SettingEntry{&s, 0, s.name});
    if (s.type == SettingType::Whole) return std::to_string(s.low) + " to " + std::to_string(s.high) + "; " + fallback;
    return fallback;
}

std::string settingsJson() {
    std::string json = "[";
    for (const SettingEntry& e : settingEntries()) {
        const SettingInfo& s = *e.info;
        if (json.size() > 1) json += ",";
        json += "{\"section\":" + jsonString(s.section) + ",\"name\":" + jsonString(e.name) +
                ",\"type\":" + jsonString(typeName(s.type));
        if (s.type == SettingType::Whole)
            json += ",\"low\":" + std::to_string(s.low) + ",\"high\":" + std::to_string(s.high);
        if (s.type == SettingType::YesNo || s.type == SettingType::Choice)
            json += ",\"words\":[" + jsonString(s.yes) + "," + jsonString(s.no) + "]";
        json += ",\"default\":" + jsonString(fallbackText(e)) + ",\"help\":" + jsonString(s.help) + "}";
    }
    return json + "]";
}

}  // namespace krello
