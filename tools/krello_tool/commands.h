// The subcommands of krello-tool, each group registered from its own file.
#pragma once

#include <CLI/CLI.hpp>

namespace krello::tool {

// Each adds its subcommands to the app. A subcommand's callback throws ToolError (below) to
// report a one-line failure; main prints it and exits with status 2.
void registerTextureCommands(CLI::App& app);
void registerLevelCommands(CLI::App& app);
void registerRenderCommands(CLI::App& app);
void registerRunCommands(CLI::App& app);
void registerSoundCommands(CLI::App& app);
void registerPlaytestCommands(CLI::App& app);
void registerHostStallCommands(CLI::App& app);

// A failure to report in one line, with exit status 2.
struct ToolError {
    std::string message;
};

// A finished command whose verdict is an exit status other than 0 (its report is already
// printed), such as a check that found faults.
struct ToolStatus {
    int status;
};

}  // namespace krello::tool
