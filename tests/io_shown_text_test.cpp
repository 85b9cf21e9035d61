// Echoed text: control characters escaped, and the echo bounded in characters and in bytes.
#include <gtest/gtest.h>

#include <string>

#include "io/shown_text.h"

namespace {

TEST(ShownText, EscapesAndStaysBounded) {
    using krello::io::shownText;
    const std::string cut = "\xE2\x80\xA6";
    const struct {
        std::string in, out;
    } cases[] = {
        {"plain", "plain"},
        {"a\x1b[2J\x7f", "a\\x1B[2J\\x7F"},
        {std::string(81, 'x'), std::string(80, 'x') + cut},
        // Stray continuation bytes count one by one, so no run of them passes uncut.
        {std::string(1000, '\xA0'), std::string(80, '\xA0') + cut},
        {"\xC3\xA9\xA9", "\xC3\xA9\xA9"},
    };
    for (const auto& c : cases) EXPECT_EQ(shownText(c.in), c.out);
    // A character's continuation bytes go with it: 81 two-byte letters keep 80 whole.
    std::string letters;
    for (int i = 0; i < 81; ++i) letters += "\xC3\xA9";
    EXPECT_EQ(shownText(letters), letters.substr(0, 160) + cut);
    EXPECT_EQ(krello::io::escapedText(std::string(100, '\x01')).size(), 400u);
}

}  // namespace
