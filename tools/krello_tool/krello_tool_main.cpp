// krello-tool: dumps, renders, runs and checks the game headless.
#include <cstdio>

#include "krello_tool/commands.h"

int main(int argc, char** argv) {
    CLI::App app{"krello-tool: the headless tool of Krello 32K"};
    app.require_subcommand(1);
    krello::tool::registerTextureCommands(app);
    krello::tool::registerLevelCommands(app);
    krello::tool::registerRenderCommands(app);
    krello::tool::registerRunCommands(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "krello-tool: %s\n", e.what());
        return 2;
    } catch (const krello::tool::ToolError& e) {
        std::fprintf(stderr, "krello-tool: %s\n", e.message.c_str());
        return 2;
    } catch (const krello::tool::ToolStatus& e) {
        return e.status;
    }
    return 0;
}
