// casavo-tool render FILE OUT.png [--scale K] [display flags]: the PNG preview
// of a plan, drawn without a window.

#ifdef CASAVO_TOOL_RENDER

#include <QGuiApplication>
#include <charconv>
#include <iostream>
#include <memory>

#include "commands.h"
#include "render/preview.h"
#include "tool_support.h"

namespace casavo::tool {

namespace {

constexpr int32_t kDefaultScale = 50;

// Takes "--scale K" out of the arguments; K must be a positive integer.
int32_t TakeScale(std::vector<std::string>& args) {
  int32_t scale = kDefaultScale;
  for (auto it = args.begin(); it != args.end();) {
    if (*it != "--scale") {
      ++it;
      continue;
    }
    if (it + 1 == args.end()) throw UsageError("--scale attend un nombre");
    const std::string& text = *(it + 1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), scale);
    if (error != std::errc() || end != text.data() + text.size() || scale <= 0)
      throw UsageError("échelle invalide : " + text);
    it = args.erase(it, it + 2);
  }
  return scale;
}

// Qt's own notes (a missing runtime folder and the like) would break the rule
// of one line on standard error per failure; only its errors get through.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::cerr << "casavo-tool: " << message.toStdString() << '\n';
}

// Fonts and images need a GUI application; the offscreen platform needs no display.
std::unique_ptr<QGuiApplication> StartOffscreenApplication() {
  if (QGuiApplication::instance()) return nullptr;
  qInstallMessageHandler(QuietQtMessages);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "casavo-tool";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int RunRender(const std::vector<std::string>& args) {
  std::vector<std::string> rest = args;
  const int32_t scale = TakeScale(rest);
  const Arguments parsed = ParseArguments(
      rest, 2, {"--rooms", "--dimensions", "--objects", "--object-names", "--no-problems"});

  auto plan = std::make_unique<TCasaPlan>();
  LoadPlan(*plan, parsed.files[0]);
  plan->ShowRooms = parsed.flags.contains("--rooms");
  plan->ShowDimensions = parsed.flags.contains("--dimensions");
  // Names are drawn with their objects only, so asking for names shows both.
  plan->ShowObjectNames = parsed.flags.contains("--object-names");
  plan->ShowObjects = plan->ShowObjectNames || parsed.flags.contains("--objects");
  plan->ShowProblems = !parsed.flags.contains("--no-problems");

  const auto application = StartOffscreenApplication();
  const QByteArray png = CreatePreview(*plan, scale);
  WriteOutputFile(parsed.files[1], std::string_view(png.constData(), png.size()));
  return 0;
}

}  // namespace casavo::tool

#endif  // CASAVO_TOOL_RENDER
