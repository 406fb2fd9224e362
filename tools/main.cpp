// casavo-tool: inspect, convert and encipher plan files without a window.

#include <algorithm>
#include <array>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"
#include "tool_support.h"

namespace {

using namespace casavo::tool;

struct Command {
  std::string_view name;
  std::string_view arguments;
  std::string_view purpose;
  int (*run)(const std::vector<std::string>& args);
};

constexpr std::array kCommands = {
    Command{"info", "FICHIER [--clean]", "décrit le plan en JSON", RunInfo},
    Command{"xml", "FICHIER", "écrit le texte XML du plan", RunXml},
    Command{"encipher", "ENTRÉE SORTIE", "chiffre un fichier de plan", RunEncipher},
    Command{"decipher", "ENTRÉE SORTIE", "déchiffre un fichier de plan", RunDecipher},
#ifdef CASAVO_TOOL_RENDER
    Command{"render", "FICHIER SORTIE [OPTIONS]",
            "dessine le plan en .png, .pdf ou .svg ; options : --scale 1:N (sur papier, "
            "1:100 pour .pdf et .svg) ou --scale K (aperçu PNG, 50), --paper A4|A3|Letter, "
            "--landscape, --portrait, --dpi N (150), --no-sheet, --rooms, --dimensions, "
            "--objects, --object-names, --no-problems",
            RunRender},
    Command{"rooms", "FICHIER [--csv]", "liste les pièces et leurs surfaces (JSON ou CSV)",
            RunRooms},
#endif
};

// Characters, not bytes, so that accented arguments line up.
size_t Width(std::string_view utf8) {
  return static_cast<size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

void PrintUsage(std::ostream& out) {
  constexpr size_t kColumn = 32;
  out << "usage : casavo-tool COMMANDE ARGUMENTS\n";
  for (const Command& c : kCommands) {
    const std::string call = std::string(c.name) + " " + std::string(c.arguments);
    const size_t width = Width(call);
    out << "  " << call << std::string(width < kColumn ? kColumn - width : 1, ' ') << c.purpose
        << '\n';
  }
}

int Usage(const std::string& problem) {
  std::cerr << "casavo-tool: " << problem << '\n';
  PrintUsage(std::cerr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + std::min(argc, 2), argv + argc);
  const std::string name = argc >= 2 ? argv[1] : "";
  if (name == "--help" || name == "-h") {
    PrintUsage(std::cout);
    return 0;
  }
  for (const Command& command : kCommands) {
    if (command.name != name) continue;
    try {
      return command.run(args);
    } catch (const UsageError& e) {
      return Usage(e.what());
    } catch (const std::exception& e) {
      std::cerr << "casavo-tool: " << e.what() << '\n';
      return 1;
    }
  }
  return Usage(name.empty() ? "commande manquante" : "commande inconnue : " + name);
}
