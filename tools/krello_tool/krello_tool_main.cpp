// krello-tool: dumps, renders, runs and checks the game headless.
#include <cstdio>
#include <exception>
#include <new>
#include <string>

#include "cli/man_page.h"
#include "cli/option_words.h"
#include "io/shown_text.h"
#include "io/temporary_names.h"
#include "krello_tool/commands.h"

namespace {

// CLI11 reports a misspelt command as a missing one; name the word instead. Follows the
// command words of argv down the tree of subcommands and returns the first that is unknown.
std::string unknownCommand(CLI::App& app, int argc, char** argv, std::string& where) {
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
void printManPage(const CLI::App& app) {
    krello::cli::ManPage page{"krello-tool", 1, "the headless tool of Krello 32K", VERSION_TEXT, {}};
    page.sections.push_back({"exit status", "0 when the command did what it was asked; 1 when a check found faults "
                                            "(level check); 2 for a bad argument or a bad input file, with one line "
                                            "on stderr saying which and why."});
    page.sections.push_back({"see also", "krello(6)"});
    std::fputs(krello::cli::writeManPage(app, page).c_str(), stdout);
}

}  // namespace

int main(int argc, char** argv) {
    // An interrupted command (Ctrl+C, a closed terminal, a reader of its output that went away)
    // leaves its targets as they were and none of its hidden temporary files.
    krello::io::removeTemporariesOnStop();
    CLI::App app{"krello-tool: the headless tool of Krello 32K. It draws, runs, times and checks the game\n"
                 "without a display: frames and textures as PNG, games from input scripts and demos,\n"
                 "and the level's checks, statistics and map."};
    app.name("krello-tool");
    krello::cli::useOurHelp(app);
    app.set_version_flag("--version", VERSION_TEXT);
    bool manPage = false;
    app.add_flag("--manpage", manPage, "print the manual page")->group("");
    // CLI11 reads "/x" as an option on Windows; here it is a path (a rooted one), as everywhere.
    // Set before the commands are added: they take it over from the app.
    app.allow_windows_style_options(false);
    app.require_subcommand(0, 1);
    krello::tool::registerTextureCommands(app);
    krello::tool::registerLevelCommands(app);
    krello::tool::registerRenderCommands(app);
    krello::tool::registerRunCommands(app);
    krello::tool::registerSoundCommands(app);
    krello::tool::registerPlaytestCommands(app);
    std::string where;
    const std::string unknown = unknownCommand(app, argc, argv, where);
    if (!unknown.empty()) {
        std::fprintf(stderr, "krello-tool: unknown command '%s' for '%s' (see --help)\n",
                     krello::io::shownText(unknown).c_str(), where.c_str());
        return 2;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "krello-tool: %s\n", krello::cli::describeParseError(app, e).c_str());
        return 2;
    } catch (const krello::tool::ToolError& e) {
        std::fprintf(stderr, "krello-tool: %s\n", e.message.c_str());
        return 2;
    } catch (const krello::tool::ToolStatus& e) {
        return e.status;
    } catch (const std::bad_alloc&) {
        // Nothing may reach std::terminate: whatever else is thrown is one line naming the command.
        std::fprintf(stderr, "%s: out of memory\n", where.c_str());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: failed: %s\n", where.c_str(), e.what());
        return 2;
    } catch (...) {
        std::fprintf(stderr, "%s: failed\n", where.c_str());
        return 2;
    }
    if (manPage) {
        printManPage(app);
        return 0;
    }
    if (app.get_subcommands().empty()) {
        std::fprintf(stderr, "krello-tool: a command is required (see --help)\n");
        return 2;
    }
    return 0;
}
