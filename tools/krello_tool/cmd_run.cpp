// krello-tool's run commands.
#include "krello_tool/commands.h"

namespace krello::tool {

void registerRunCommands(CLI::App& app) { (void)app; }

}  // namespace krello::tool
