// krello-tool's texture commands.
#include "krello_tool/commands.h"

namespace krello::tool {

void registerTextureCommands(CLI::App& app) { (void)app; }

}  // namespace krello::tool
