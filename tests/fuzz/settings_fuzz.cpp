// Fuzzes the settings file's reader (krello.ini; the page reads its settings panel's text with the
// same code): any text gives at most ten warnings and a count, each one line naming the file, short,
// with no control character; every setting ends within its range or at its default; and the
// settings written back read again to the same values without a warning.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "platform/common/setting_table.h"
#include "platform/common/settings.h"

namespace {

using namespace krello;

// A warning echoes the name, the value and a word of the file, each at most 80 characters (up to
// four bytes each), around a few words of its own.
constexpr size_t MAX_WARNING_BYTES = 3 * 80 * 4 + 200;

void requireShort(const std::string& line) {
    fuzz::require(line.size() <= MAX_WARNING_BYTES, "a warning is short");
    for (const char c : line)
        fuzz::require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F, "a warning holds no control character");
}

// Every setting's value as the file writes it, in the order of the table.
std::vector<std::string> shownValues(const Settings& s) {
    std::vector<std::string> values;
    for (const SettingEntry& e : settingEntries()) values.push_back(showSetting(e, s));
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Settings s;
    const std::vector<std::string> warnings = applySettingsText("fuzz.ini", text, s);
    fuzz::require(warnings.size() <= MAX_SETTINGS_WARNINGS + 1, "ten warnings and a count at most");
    fuzz::requireOneLineEach(warnings, "fuzz.ini");
    for (const std::string& w : warnings) requireShort(w);
    for (const SettingEntry& e : settingEntries()) {
        if (e.info->type != SettingType::Whole) continue;
        const long value = std::stol(showSetting(e, s));
        fuzz::require(value >= e.info->low && value <= e.info->high, "a whole number within its range");
    }
    fuzz::require(!s.shotDir.empty(), "a screenshot folder");

    // Written back as NAME=VALUE (never longer than the line it came from), a section each.
    std::string again;
    const std::vector<std::string> values = shownValues(s);
    const std::vector<SettingEntry> entries = settingEntries();
    for (size_t i = 0; i < entries.size(); ++i)
        again += "[" + std::string(entries[i].info->section) + "]\n" + std::string(entries[i].name) + "=" + values[i] + "\n";
    Settings read;
    fuzz::require(applySettingsText("again.ini", again, read).empty(), "the written settings read without a warning");
    fuzz::require(shownValues(read) == values, "the written settings read the same");
    return 0;
}
