// casavo-tool encipher|decipher IN OUT: the plan-file cipher, byte for byte.

#include "commands.h"
#include "files/file_io.h"
#include "files/plan_file.h"
#include "tool_support.h"

namespace casavo::tool {
namespace {

int Transform(const std::vector<std::string>& args, std::string (*cipher)(std::string_view)) {
  const Arguments parsed = ParseArguments(args, 2);
  WriteOutputFile(parsed.files[1], cipher(ReadWholeFile(parsed.files[0])));
  return 0;
}

}  // namespace

int RunEncipher(const std::vector<std::string>& args) {
  return Transform(args, EncipherPlanText);
}

int RunDecipher(const std::vector<std::string>& args) {
  return Transform(args, DecipherPlanText);
}

}  // namespace casavo::tool
