// Input scripts: one text line per update, the clock step and the keys held during it.
#include "replay/input_script.h"

#include "io/file_bytes.h"
#include "io/shown_text.h"

namespace krello {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

bool parseDt(std::string_view word, uint16_t& dt) {
    if (word.empty() || word.size() > 5) return false;
    uint32_t v = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<uint32_t>(c - '0');
    }
    if (v > 65535) return false;
    dt = static_cast<uint16_t>(v);
    return true;
}

// Returns an empty string on success, else what is wrong with the keys word.
std::string parseKeys(std::string_view word, uint8_t& keys) {
    keys = 0;
    if (word == "-") return {};
    if (word.size() > 1 && word.find('-') != std::string_view::npos)
        return "keys \"" + io::shownText(word) + "\": '-' means no keys and stands alone";
    for (char c : word) {
        const size_t k = SCRIPT_KEY_LETTERS.find(c);
        if (k == std::string_view::npos) {
            return "bad key letter '" + io::shownText(std::string_view(&c, 1)) + "' (expected L R U D A S or -)";
        }
        const uint8_t bit = static_cast<uint8_t>(1u << k);
        if (keys & bit) return std::string("key '") + c + "' given twice";
        keys |= bit;
    }
    return {};
}

std::string lineError(const std::string& name, size_t line, const std::string& what) {
    return name + ":" + std::to_string(line) + ": " + what;
}

}  // namespace

bool parseInputScript(std::string_view text, const std::string& name, std::vector<ScriptStep>& steps,
                      std::string& error) {
    steps.clear();
    size_t lineNo = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNo;
        if (line.empty() || line.front() == '#') continue;
        const size_t gap = line.find_first_of(" \t");
        if (gap == std::string_view::npos) {
            error = lineError(name, lineNo, "expected \"DT KEYS\", got \"" + io::shownText(line) + "\"");
            return false;
        }
        const std::string_view dtWord = line.substr(0, gap);
        const std::string_view keysWord = trim(line.substr(gap));
        ScriptStep step;
        if (!parseDt(dtWord, step.dt)) {
            error = lineError(name, lineNo, "DT \"" + io::shownText(dtWord) + "\" is not a number from 0 to 65535");
            return false;
        }
        if (keysWord.find_first_of(" \t") != std::string_view::npos) {
            error = lineError(name, lineNo, "extra text after the keys");
            return false;
        }
        const std::string keyError = parseKeys(keysWord, step.keys);
        if (!keyError.empty()) {
            error = lineError(name, lineNo, keyError);
            return false;
        }
        steps.push_back(step);
    }
    return true;
}

bool readInputScriptFile(const std::string& path, std::vector<ScriptStep>& steps, std::string& error) {
    std::string text;
    if (!io::readFile(path, "the input script", text, error)) return false;
    return parseInputScript(text, path, steps, error);
}

std::string formatInputScript(const std::vector<ScriptStep>& steps) {
    std::string out;
    for (const ScriptStep& s : steps) {
        out += std::to_string(s.dt);
        out += ' ';
        if (s.keys == 0) out += '-';
        for (size_t k = 0; k < SCRIPT_KEY_LETTERS.size(); ++k) {
            if (s.keys & (1u << k)) out += SCRIPT_KEY_LETTERS[k];
        }
        out += '\n';
    }
    return out;
}

}  // namespace krello
