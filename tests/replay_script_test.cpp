// Input scripts: what a script line may say, and the one-line errors for what it may not.
#include <gtest/gtest.h>

#include <string>

#include "replay/input_script.h"

namespace krello {
namespace {

TEST(ReplayInputScript, ReadsStepsSkippingBlankAndCommentLines) {
    std::vector<ScriptStep> steps;
    std::string error;
    ASSERT_TRUE(parseInputScript("# a tour\n\n16 -\r\n  0 LRUDAS \n65535 SA\n\t# indented comment\n7\tU",
                                 "t.input", steps, error))
        << error;
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].dt, 16);
    EXPECT_EQ(steps[0].keys, 0);
    EXPECT_EQ(steps[1].dt, 0);
    EXPECT_EQ(steps[1].keys, 0x3F);
    EXPECT_EQ(steps[2].dt, 65535);
    EXPECT_EQ(steps[2].keys, keyBit(GameKey::Space) | keyBit(GameKey::A));
    EXPECT_EQ(steps[3].keys, keyBit(GameKey::Up));
    EXPECT_EQ(formatInputScript(steps), "16 -\n0 LRUDAS\n65535 AS\n7 U\n");
}

TEST(ReplayInputScript, RejectsBadLinesWithFileAndLine) {
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {"16 -\n65536 U\n", "t.input:2: DT \"65536\" is not a number from 0 to 65535"},
        {"-1 U\n", "t.input:1: DT \"-1\" is not a number from 0 to 65535"},
        {"16x U\n", "t.input:1: DT \"16x\" is not"},
        {"99999999999999999999 U\n", "t.input:1: DT"},
        {"16 Q\n", "t.input:1: bad key letter 'Q'"},
        {"16 u\n", "t.input:1: bad key letter 'u'"},
        {"16 UU\n", "t.input:1: key 'U' given twice"},
        {"16 U-\n", "t.input:1: keys \"U-\": '-' means no keys and stands alone"},
        {"16 -L\n", "t.input:1: keys \"-L\": '-' means no keys and stands alone"},
        {"\n\n16\n", "t.input:3: expected \"DT KEYS\""},
        {"16 U S\n", "t.input:1: extra text after the keys"},
        {"16 \x01\xff\n", "t.input:1: bad key letter '\\x01'"},
        {"\x1b[2J" + std::string(100, 'x') + "\n",
         "t.input:1: expected \"DT KEYS\", got \"\\x1B[2J" + std::string(76, 'x') + "\xE2\x80\xA6\""},
    };
    for (const auto& c : cases) {
        std::vector<ScriptStep> steps;
        std::string error;
        EXPECT_FALSE(parseInputScript(c.text, "t.input", steps, error)) << c.text;
        EXPECT_EQ(error.rfind(c.message, 0), 0u) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}

TEST(ReplayInputScript, MissingFileIsNamed) {
    std::vector<ScriptStep> steps;
    std::string error;
    EXPECT_FALSE(readInputScriptFile("/nonexistent/x.input", steps, error));
    EXPECT_EQ(error, "/nonexistent/x.input: cannot open the input script: No such file or directory");
}

}  // namespace
}  // namespace krello
