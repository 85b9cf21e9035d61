// krello-tool's render commands.
#include "krello_tool/commands.h"

namespace krello::tool {

void registerRenderCommands(CLI::App& app) { (void)app; }

}  // namespace krello::tool
