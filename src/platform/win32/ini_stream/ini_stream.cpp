// The settings file's line reader for targets without an inih library (see ini.h).
#include "ini.h"

#include <cctype>
#include <cstring>
#include <string>

namespace {

constexpr int MAX_LINE = 200;  // inih's default; longer lines are cut by the reader

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string trim(const std::string& s) {
    size_t a = 0;
    size_t b = s.size();
    while (a < b && isSpace(s[a])) ++a;
    while (b > a && isSpace(s[b - 1])) --b;
    return s.substr(a, b - a);
}

// Where a comment starts in text: a ';' at the start or after white space; npos when none.
size_t commentAt(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == ';' && (i == 0 || isSpace(text[i - 1]))) return i;
    return std::string::npos;
}

std::string withoutComment(const std::string& text) { return trim(text.substr(0, commentAt(text))); }

// The state carried from line to line.
struct Parse {
    std::string section;   // the section in force
    std::string lastName;  // the name an indented line continues; empty after a section line
    int firstError = 0;    // the first line not understood
};

void fail(Parse& p, int line) {
    if (p.firstError == 0) p.firstError = line;
}

void parseLine(Parse& p, std::string raw, int line, ini_handler handler, void* user) {
    if (line == 1 && raw.rfind("\xEF\xBB\xBF", 0) == 0) raw.erase(0, 3);  // a UTF-8 byte-order mark
    const std::string text = trim(raw);
    if (text.empty() || text[0] == ';' || text[0] == '#') return;
    if (!p.lastName.empty() && isSpace(raw[0])) {
        if (!handler(user, p.section.c_str(), p.lastName.c_str(), withoutComment(text).c_str())) fail(p, line);
        return;
    }
    if (text[0] == '[') {
        const size_t close = text.find(']');
        if (close == std::string::npos || commentAt(text) < close) return fail(p, line);
        p.section = text.substr(1, close - 1);
        p.lastName.clear();
        return;
    }
    const size_t cut = std::min(text.find_first_of("=:"), commentAt(text));
    if (cut == std::string::npos || (text[cut] != '=' && text[cut] != ':')) return fail(p, line);
    p.lastName = trim(text.substr(0, cut));
    const std::string value = withoutComment(text.substr(cut + 1));
    if (!handler(user, p.section.c_str(), p.lastName.c_str(), value.c_str())) fail(p, line);
}

}  // namespace

int ini_parse_stream(ini_reader reader, void* stream, ini_handler handler, void* user) {
    Parse p;
    char buffer[MAX_LINE];
    for (int line = 1; reader(buffer, MAX_LINE, stream) != nullptr; ++line) parseLine(p, buffer, line, handler, user);
    return p.firstError;
}
