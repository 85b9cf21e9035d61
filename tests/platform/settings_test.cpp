// The settings file: where it lives, its defaults read back unchanged, and each bad line warned
// about with its file, line and the default kept.
#include "platform/common/settings.h"

#include <gtest/gtest.h>

#include "platform/common/setting_table.h"

namespace krello {
namespace {

TEST(Settings, ThePathFollowsXdgThenHome) {
    EXPECT_EQ(settingsPath("/x", "/home/p"), "/x/krello/krello.ini");
    EXPECT_EQ(settingsPath("relative", "/home/p"), "/home/p/.config/krello/krello.ini");  // XDG wants absolute paths
    EXPECT_EQ(settingsPath(nullptr, nullptr), "");
}

TEST(Settings, TheFirstRunFileReadsBackAsTheDefaultsWithoutWarnings) {
    Settings read;
    read.scale = 9;
    read.bindings.keys.fill({});
    EXPECT_TRUE(applySettingsText("k.ini", defaultSettingsText(), read).empty());
    const Settings defaults;
    EXPECT_EQ(read.scale, defaults.scale);
    for (int a = 0; a < ACTION_COUNT; ++a) {
        EXPECT_EQ(formatKeyList(read.bindings.keys[static_cast<size_t>(a)]),
                  formatKeyList(defaults.bindings.keys[static_cast<size_t>(a)]));
        EXPECT_EQ(formatPadList(read.bindings.pad[static_cast<size_t>(a)]),
                  formatPadList(defaults.bindings.pad[static_cast<size_t>(a)]));
    }
}

// Each setting's default is stated once, in the table: the settings as they start, the file
// written on the first run and the page's table all say the same.
TEST(Settings, TheTableGivesEveryDefault) {
    const Settings defaults;
    const std::string json = settingsJson();
    const std::vector<SettingEntry> entries = settingEntries();
    EXPECT_EQ(entries.size(), 13u + 16u + 15u + 1u);  // every setting, each action's keys, all but one's buttons
    size_t at = 0;
    for (const SettingEntry& e : entries) {
        const std::string shown = showSetting(e, defaults);
        const std::string line = std::string(e.name) + " = " + shown + "\n";
        EXPECT_NE(defaultSettingsText().find(line), std::string::npos) << line;
        const std::string named = "\"name\":\"" + std::string(e.name) + "\"";
        at = json.find(named, at);  // in the file's order
        ASSERT_NE(at, std::string::npos) << named;
        EXPECT_EQ(json.find("\"default\":\"" + shown + "\"", at), json.find("\"default\":", at)) << named;
    }
    EXPECT_NE(json.find(R"({"section":"display","name":"scale","type":"whole","low":1,"high":16,"default":"3",)"),
              std::string::npos);
    EXPECT_NE(json.find(R"("name":"aspect","type":"choice","words":["4:3","square"],"default":"4:3")"),
              std::string::npos);
}

TEST(Settings, GoodLinesTakeEffect) {
    Settings s;
    const std::string text = "[display]\nfullscreen = off ; a comment\naspect = square\nfps = 0\n"
                             "[files]\nshot_dir = /tmp\n[play]\npause_on_focus_loss = yes\n"
                             "[keys]\nforward = W, Up\nfullscreen = Ctrl+F\n[gamepad]\nfire = RightTrigger\n"
                             "stick_dead_zone = 12000\n";
    EXPECT_TRUE(applySettingsText("k.ini", text, s).empty());
    EXPECT_FALSE(s.fullscreen);
    EXPECT_FALSE(s.fourByThree);
    EXPECT_EQ(s.fps, 0);
    EXPECT_EQ(s.shotDir, "/tmp");
    EXPECT_TRUE(s.pauseOnFocusLoss);
    EXPECT_EQ(formatKeyList(s.bindings.keys[static_cast<size_t>(Action::Forward)]), "W, Up");
    EXPECT_EQ(formatKeyList(s.bindings.keys[static_cast<size_t>(Action::Fullscreen)]), "Ctrl+F");
    EXPECT_EQ(formatPadList(s.bindings.pad[static_cast<size_t>(Action::Fire)]), "RightTrigger");
    EXPECT_EQ(s.bindings.stickDeadZone, 12000);
}

TEST(Settings, EachBadLineIsOneWarningAndTheDefaultStays) {
    const struct {
        std::string text;
        std::string warning;
    } cases[] = {
        {"[display]\nscale = abc\n", "k.ini:2: scale = abc: expected a whole number from 1 to 16; using 3"},
        {"[display]\n\nfps = 5000\n", "k.ini:3: fps = 5000: expected a whole number from 0 to 1000; using 70"},
        {"[display]\naspect = wide\n", "k.ini:2: aspect = wide: expected 4:3 or square; using 4:3"},
        {"[play]\nconfirm_quit = maybe\n", "k.ini:2: confirm_quit = maybe: expected yes or no; using no"},
        {"[keys]\nturn_left = Lfet\n", "k.ini:2: turn_left = Lfet: unknown key 'Lfet'; using Left, Keypad4"},
        {"[keys]\nquit = Hyper+Q\n", "k.ini:2: quit = Hyper+Q: unknown modifier 'Hyper' (Shift, Ctrl or Alt); using Escape"},
        {"[keys]\nfire = A, B, C, D, E\n", "k.ini:2: fire = A, B, C, D, E: more than 4 in one list; using Space"},
        {"[gamepad]\njump = Z\n", "k.ini:2: jump = Z: unknown gamepad button 'Z'; using A"},
        {"[display]\nwidth = 3\n", "k.ini:2: unknown setting 'width' in [display]; ignored"},
        {"; fine\njust words\n", "k.ini:2: 'just words' is not a setting (expected NAME = VALUE); ignored"},
        // A stale folder falls back to the default instead of stopping the game.
        {"[files]\nshot_dir = /nonexistent/shots\n", "k.ini:2: shot_dir = /nonexistent/shots: no such folder; using ."},
        {"[files]\nshot_dir = /etc/hostname\n", "k.ini:2: shot_dir = /etc/hostname: not a folder; using ."},
        // What the file holds reaches the terminal escaped and cut short.
        {"[display]\nscale = \x1b[2J\x07\n", "k.ini:2: scale = \\x1B[2J\\x07: expected a whole number from 1 to 16; using 3"},
        {"[display]\nscale = " + std::string(100, '9') + "\n",
         "k.ini:2: scale = " + std::string(80, '9') + "\xE2\x80\xA6: expected a whole number from 1 to 16; using 3"},
        // The byte-order mark Notepad writes is not part of the first line; the bad line after it is.
        {"\xEF\xBB\xBF[display]\nscale = 0\n", "k.ini:2: scale = 0: expected a whole number from 1 to 16; using 3"},
    };
    const Settings defaults;
    for (const auto& c : cases) {
        Settings s;
        const std::vector<std::string> warnings = applySettingsText("k.ini", c.text, s);
        ASSERT_EQ(warnings.size(), 1u) << c.text;
        EXPECT_EQ(warnings[0], c.warning);
        EXPECT_EQ(s.scale, defaults.scale);
        EXPECT_EQ(s.fps, defaults.fps);
        EXPECT_EQ(formatKeyList(s.bindings.keys[0]), "Left, Keypad4");
        EXPECT_EQ(s.shotDir, defaults.shotDir);
    }
}

// A file of nothing but bad lines (a README given to --config) still plays, and says so briefly.
TEST(Settings, ManyBadLinesGiveTenWarningsAndACount) {
    std::string text = "\xEF\xBB\xBF[display]\nscale = 2\n";
    for (int i = 0; i < 200; ++i) text += "line " + std::to_string(i) + " of prose\n";
    Settings s;
    const std::vector<std::string> warnings = applySettingsText("README.md", text, s);
    ASSERT_EQ(warnings.size(), MAX_SETTINGS_WARNINGS + 1);
    EXPECT_EQ(warnings[0], "README.md:3: 'line 0 of prose' is not a setting (expected NAME = VALUE); ignored");
    EXPECT_EQ(warnings.back(), "README.md: and 190 more bad lines, ignored as well");
    EXPECT_EQ(s.scale, 2);
}

}  // namespace
}  // namespace krello
