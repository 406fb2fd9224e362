// UsageError and the helpers of the tool's subcommands.

#pragma once

#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "plan/casa_plan.h"

namespace casavo::tool {

// Arguments a subcommand cannot take: the tool prints its usage and exits 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Positional arguments and the "--" flags among them.
struct Arguments {
  std::vector<std::string> files;
  std::set<std::string> flags;
};

// Splits the arguments; a flag outside allowedFlags, or a number of files
// other than fileCount, is a UsageError.
Arguments ParseArguments(const std::vector<std::string>& args, size_t fileCount,
                         const std::set<std::string>& allowedFlags = {});

// Takes "name VALUE" out of the arguments and gives VALUE; a name without a
// value is a UsageError. The last one given counts.
std::optional<std::string> TakeOption(std::vector<std::string>& args, const std::string& name);

// Loads a plan file (plain or enciphered, XML or line form). A plan the reader
// rejects raises; items the plan could not hold are reported on standard error.
void LoadPlan(TCasaPlan& plan, const std::string& path);

// Writes the bytes to a file. Raises when the file cannot be written.
void WriteOutputFile(const std::string& path, std::string_view bytes);

}  // namespace casavo::tool
