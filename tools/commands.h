// The subcommands of casavo-tool.

#pragma once

#include <string>
#include <vector>

// The subcommands of casavo-tool. Each takes the arguments after its name and
// returns the exit status; it raises UsageError (tool_support.h) for
// arguments it cannot take and any other exception for a failure.

namespace casavo::tool {

int RunInfo(const std::vector<std::string>& args);
int RunXml(const std::vector<std::string>& args);
int RunEncipher(const std::vector<std::string>& args);
int RunDecipher(const std::vector<std::string>& args);
#ifdef CASAVO_TOOL_RENDER
int RunRender(const std::vector<std::string>& args);
int RunRooms(const std::vector<std::string>& args);
#endif

}  // namespace casavo::tool
