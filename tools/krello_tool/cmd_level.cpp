// krello-tool's level commands.
#include "krello_tool/commands.h"

namespace krello::tool {

void registerLevelCommands(CLI::App& app) { (void)app; }

}  // namespace krello::tool
