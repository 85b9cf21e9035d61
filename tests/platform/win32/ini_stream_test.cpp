// The settings reader of the Windows builds: sections, both separators, comments, continued
// values, a byte-order mark, and the first line it could not read.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ini.h"

namespace {

struct Stream {
    std::string text;  // what is left to read
    std::string calls; // "section.name=value|" for every setting handed on
};

char* readLine(char* out, int size, void* stream) {
    std::string& text = static_cast<Stream*>(stream)->text;
    if (text.empty()) return nullptr;
    size_t end = std::min(text.find('\n'), text.size() - 1) + 1;
    end = std::min(end, static_cast<size_t>(size - 1));
    std::memcpy(out, text.data(), end);
    out[end] = '\0';
    text.erase(0, end);
    return out;
}

int onSetting(void* user, const char* section, const char* name, const char* value) {
    static_cast<Stream*>(user)->calls += std::string(section) + "." + name + "=" + value + "|";
    return std::strcmp(name, "refused") != 0;
}

TEST(IniStream, ReadsAsInihDoes) {
    struct Case {
        const char* text;
        const char* calls;
        int firstBadLine;
    };
    const Case cases[] = {
        {"[a]\nx = 1\ny: two words ; a comment\n", "a.x=1|a.y=two words|", 0},
        {"; note\n# note\n\n[b]\r\nz=3;kept\n", "b.z=3;kept|", 0},
        {"\xEF\xBB\xBF[a]\nx=1", "a.x=1|", 0},
        {"[a]\nx = 1\n  more\n", "a.x=1|a.x=more|", 0},
        {"x=1\n[c]\n  loose\n", ".x=1|", 3},
        {"[a\nx=1\n", ".x=1|", 1},
        {"[a]\njunk\nx=1\n", "a.x=1|", 2},
        {"[a] ; section\nrefused = 1\nname ; = 2\nk=\n", "a.refused=1|a.k=|", 2},
    };
    for (const Case& c : cases) {
        Stream s{c.text, ""};
        EXPECT_EQ(ini_parse_stream(readLine, &s, onSetting, &s), c.firstBadLine) << c.text;
        EXPECT_EQ(s.calls, c.calls) << c.text;
    }
}

}  // namespace
