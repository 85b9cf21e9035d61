// Fuzzes the game's command line (krello's options, as every desktop shell reads them) without a
// window or the settings file: help, the version and the manual page print and stop with 0; a bad
// argument stops with 2 and one short line; a command line that runs the game gives settings
// within their ranges, a thread count the renderer has, and at most one demo.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_arguments.h"
#include "fuzz_check.h"
#include "platform/common/shell_options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace krello;
    const fuzz::Arguments args("krello", data, size);
    // The option table is made once a process (making it was most of an input's time); each line
    // is read afresh with it, as the game reads its one line.
    static ShellCommandLineReader reader;
    const ShellCommandLine line = reader.read(args.argc(), args.argv.data());
    if (!line.run) {
        if (line.exitStatus == 0) {
            fuzz::require(line.error.empty() && !line.out.empty(), "help, the version or the manual page is printed");
        } else {
            fuzz::require(line.exitStatus == 2, "a bad argument stops with status 2");
            fuzz::require(line.out.empty(), "a bad argument prints nothing on stdout");
            fuzz::requireErrorLine(line.error, "krello");
        }
        return 0;
    }
    fuzz::require(line.error.empty() && line.out.empty(), "a game to run prints nothing");
    const ShellOptions o = shellOptionsOver(line, Settings{});
    for (const SettingEntry& e : settingEntries()) {
        if (e.info->type != SettingType::Whole) continue;
        const long value = std::stol(showSetting(e, o));
        fuzz::require(value >= e.info->low && value <= e.info->high, "a whole number within its range");
    }
    fuzz::require(o.threads >= 1 && o.threads <= MAX_RENDER_THREADS, "a thread count the renderer has");
    const int demos = !line.record.empty() + !line.play.empty() + !line.timedemo.empty();
    fuzz::require(demos <= 1, "one demo at most: recorded, played or timed");
    fuzz::require((o.demoMode == DemoMode::None) == (demos == 0), "a demo named is a demo run");
    return 0;
}
