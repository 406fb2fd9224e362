// Helpers shared by the tool's subcommands: arguments, plan files.

#include "tool_support.h"

#include <fstream>
#include <iostream>

#include "files/plan_file.h"

namespace casavo::tool {

Arguments ParseArguments(const std::vector<std::string>& args, size_t fileCount,
                         const std::set<std::string>& allowedFlags) {
  Arguments parsed;
  for (const std::string& arg : args) {
    if (!arg.starts_with("--")) {
      parsed.files.push_back(arg);
    } else if (allowedFlags.contains(arg)) {
      parsed.flags.insert(arg);
    } else {
      throw UsageError("option inconnue : " + arg);
    }
  }
  if (parsed.files.size() != fileCount) throw UsageError("nombre de fichiers incorrect");
  return parsed;
}

std::optional<std::string> TakeOption(std::vector<std::string>& args, const std::string& name) {
  std::optional<std::string> value;
  for (auto it = args.begin(); it != args.end();) {
    if (*it != name) {
      ++it;
      continue;
    }
    if (it + 1 == args.end()) throw UsageError(name + " attend une valeur");
    value = *(it + 1);
    it = args.erase(it, it + 2);
  }
  return value;
}

void LoadPlan(TCasaPlan& plan, const std::string& path) {
  const PlanReadResult result = LoadPlanFile(plan, path);
  if (!result) throw std::runtime_error(path + " : " + result.error);
  if (result.refused > 0)
    std::cerr << "casavo-tool: " << path << " : " << result.refused
              << " élément(s) refusé(s), le premier : " << result.refusal << '\n';
}

void WriteOutputFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("Impossible d'écrire " + path);
}

}  // namespace casavo::tool
