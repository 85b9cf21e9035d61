// krello-tool's command line: its commands and options, and a command line read against them.
#include "krello_tool/tool_command_line.h"

#include <exception>
#include <new>
#include <sstream>

#include "cli/man_page.h"
#include "cli/option_words.h"
#include "io/shown_text.h"
#include "krello_tool/commands.h"

namespace krello::tool {
namespace {

// CLI11 reports a misspelt command as a missing one; name the word instead. Follows the
// command words of argv down the tree of subcommands and returns the first that is unknown.
std::string unknownCommand(CLI::App& app, int argc, const char* const* argv, std::string& where) {
    CLI::App* current = &app;
    where = "krello-tool";
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.empty() || word[0] == '-') return {};
        if (current->get_subcommands({}).empty()) return {};
        CLI::App* next = nullptr;
        for (CLI::App* sub : current->get_subcommands({}))
            if (sub->check_name(word)) next = sub;
        if (!next) return word;
        current = next;
        where += " " + word;
    }
    return {};
}

constexpr const char* VERSION_TEXT = "krello-tool " KRELLO_VERSION;

// The manual page, from the same commands and options that --help prints.
std::string manPageText(const CLI::App& app) {
    cli::ManPage page{"krello-tool", 1, "the headless tool of Krello 32K", VERSION_TEXT, {}};
    page.sections.push_back({"exit status", "0 when the command did what it was asked; 1 when a check found faults "
                                            "(level check); 2 for a bad argument or a bad input file, with one line "
                                            "on stderr saying which and why."});
    page.sections.push_back({"see also", "krello(6)"});
    return cli::writeManPage(app, page);
}

ToolOutcome failed(std::string line) { return ToolOutcome{2, {}, std::move(line)}; }

}  // namespace

void describeTool(CLI::App& app, bool& manPage) {
    app.description("krello-tool: the headless tool of Krello 32K. It draws, runs, times and checks the game\n"
                    "without a display: frames and textures as PNG, games from input scripts and demos,\n"
                    "and the level's checks, statistics and map.");
    app.name("krello-tool");
    cli::useOurHelp(app);
    app.set_version_flag("--version", VERSION_TEXT);
    app.add_flag("--manpage", manPage, "print the manual page")->group("");
    // CLI11 reads "/x" as an option on Windows; here it is a path (a rooted one), as everywhere.
    // Set before the commands are added: they take it over from the app.
    app.allow_windows_style_options(false);
    app.require_subcommand(0, 1);
    registerTextureCommands(app);
    registerLevelCommands(app);
    registerRenderCommands(app);
    registerRunCommands(app);
    registerSoundCommands(app);
    registerPlaytestCommands(app);
    registerHostStallCommands(app);
}

ToolOutcome runToolCommandLine(CLI::App& app, const bool& manPage, int argc, const char* const* argv) {
    std::string where;
    const std::string unknown = unknownCommand(app, argc, argv, where);
    if (!unknown.empty())
        return failed("krello-tool: unknown command '" + io::shownText(unknown) + "' for '" + where + "' (see --help)");
    std::ostringstream out, err;
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return ToolOutcome{app.exit(e, out, err), out.str(), {}};
    } catch (const CLI::CallForAllHelp& e) {
        return ToolOutcome{app.exit(e, out, err), out.str(), {}};
    } catch (const CLI::CallForVersion& e) {
        return ToolOutcome{app.exit(e, out, err), out.str(), {}};
    } catch (const CLI::ParseError& e) {
        return failed("krello-tool: " + cli::describeParseError(app, e));
    } catch (const ToolError& e) {
        return failed("krello-tool: " + e.message);
    } catch (const ToolStatus& e) {
        return ToolOutcome{e.status, {}, {}};
    } catch (const std::bad_alloc&) {
        // Nothing may reach std::terminate: whatever else is thrown is one line naming the command.
        return failed(where + ": out of memory");
    } catch (const std::exception& e) {
        return failed(where + ": failed: " + e.what());
    } catch (...) {
        return failed(where + ": failed");
    }
    if (manPage) return ToolOutcome{0, manPageText(app), {}};
    if (app.get_subcommands().empty()) return failed("krello-tool: a command is required (see --help)");
    return {};
}

}  // namespace krello::tool
