// Reads the named areas of a level: one `area "NAME" SECTORS` line each.
#include "playtest/level_areas.h"

#include <set>

#include "cli/whole_number.h"

namespace krello::playtest {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The next blank-separated word of `rest`, taken off it.
std::string_view nextWord(std::string_view& rest) {
    rest = trimmed(rest);
    size_t end = 0;
    while (end < rest.size() && !isBlank(rest[end])) ++end;
    const std::string_view word = rest.substr(0, end);
    rest.remove_prefix(end);
    return word;
}

// A sector number as a word of the line; its range is checked against the level afterwards.
bool wholeNumber(std::string_view text, int& value) {
    int64_t read = 0;
    if (!cli::readWholeNumber(text, -999999, 999999, read)) return false;
    value = static_cast<int>(read);
    return true;
}

// One line's work: the name and the sectors, into `areas`; else the reason.
std::string readArea(std::string_view rest, const GameState& level, LevelAreas& areas,
                     std::set<std::string>& names) {
    rest = trimmed(rest);
    if (rest.empty() || rest.front() != '"') return "expected the area's name in quotes after 'area'";
    const size_t close = rest.find('"', 1);
    if (close == std::string_view::npos) return "the area's name has no closing quote";
    const std::string name(trimmed(rest.substr(1, close - 1)));
    if (name.empty()) return "the area's name is empty";
    if (!names.insert(name).second) return "area \"" + name + "\" is named twice";
    rest.remove_prefix(close + 1);
    const int16_t index = static_cast<int16_t>(areas.count());
    int sectors = 0;
    for (std::string_view word = nextWord(rest); !word.empty(); word = nextWord(rest)) {
        const size_t dash = word.find('-');
        int from = 0, to = 0;
        const bool range = dash != std::string_view::npos && dash > 0;
        const bool read = range ? wholeNumber(word.substr(0, dash), from) && wholeNumber(word.substr(dash + 1), to)
                                : wholeNumber(word, from);
        if (!range) to = from;
        if (!read || from > to) return "expected a sector number or a range FROM-TO, got '" + std::string(word) + "'";
        for (int s = from; s <= to; ++s) {
            if (s < 0 || s >= SECTOR_COUNT || !sectorInUse(level, s))
                return "sector " + std::to_string(s) + " is not a sector of the level";
            int16_t& slot = areas.areaOf[static_cast<size_t>(s)];
            if (slot != -1) {
                return "sector " + std::to_string(s) + " is already in area \"" +
                       areas.names[static_cast<size_t>(slot)] + "\"";
            }
            slot = index;
            ++sectors;
        }
    }
    if (sectors == 0) return "area \"" + name + "\" holds no sector";
    areas.names.push_back(name);
    return {};
}

}  // namespace

bool parseLevelAreas(std::string_view text, const std::string& file, const GameState& level, LevelAreas& areas,
                     std::string& error) {
    areas = LevelAreas{};
    areas.named = true;
    std::set<std::string> names;
    int lineNumber = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        line = trimmed(line);
        if (line.empty() || line.front() == '#') continue;
        std::string_view rest = line;
        const std::string_view keyword = nextWord(rest);
        std::string problem = keyword == "area" ? readArea(rest, level, areas, names)
                                                : "expected 'area \"NAME\" SECTORS', got '" + std::string(keyword) + "'";
        if (!problem.empty()) {
            error = file + ":" + std::to_string(lineNumber) + ": " + problem;
            return false;
        }
    }
    if (areas.names.empty()) {
        error = file + ": names no area";
        return false;
    }
    return true;
}

LevelAreas sectorAreas(const GameState& level) {
    LevelAreas areas;
    for (int s = 0; s < SECTOR_COUNT; ++s) {
        if (!sectorInUse(level, s)) continue;
        areas.areaOf[static_cast<size_t>(s)] = static_cast<int16_t>(areas.count());
        areas.names.push_back("sector " + std::to_string(s));
    }
    return areas;
}

}  // namespace krello::playtest
