// casavo-tool render FILE OUT [OPTIONS]: the plan drawn without a window, as
// the PNG preview at a zoom or on paper to scale (PDF, SVG or PNG).

#ifdef CASAVO_TOOL_RENDER

#include <QFileInfo>
#include <QGuiApplication>
#include <charconv>
#include <iostream>
#include <memory>
#include <optional>

#include "commands.h"
#include "render/preview.h"
#include "render/sheet_output.h"
#include "tool_support.h"

namespace casavo::tool {

namespace {

constexpr int32_t kDefaultZoom = 50;  // thousandths of a pixel per millimetre

int32_t PositiveNumber(const std::string& text, const std::string& what) {
  int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value <= 0)
    throw UsageError(what + " invalide : " + text);
  return value;
}

// "--scale 1:N" asks for paper at 1:N; "--scale K" for the preview's zoom.
struct ScaleOption {
  int32_t paperScale = 0;
  int32_t zoom = 0;
};

ScaleOption ParseScale(const std::optional<std::string>& text) {
  ScaleOption scale;
  if (!text) return scale;
  if (text->starts_with("1:"))
    scale.paperScale = PositiveNumber(text->substr(2), "échelle");
  else
    scale.zoom = PositiveNumber(*text, "échelle");
  return scale;
}

Paper ParsePaper(const std::string& name) {
  if (name == "A4") return Paper::kA4;
  if (name == "A3") return Paper::kA3;
  if (name == "Letter") return Paper::kLetter;
  throw UsageError("papier inconnu : " + name + " (A4, A3 ou Letter)");
}

SheetOptions SheetOptionsFrom(const Arguments& parsed, const ScaleOption& scale,
                              const std::optional<std::string>& paper) {
  SheetOptions options;
  if (paper) options.paper.paper = ParsePaper(*paper);
  if (parsed.flags.contains("--landscape") && parsed.flags.contains("--portrait"))
    throw UsageError("--landscape et --portrait s'excluent");
  if (parsed.flags.contains("--landscape")) options.paper.orientation = Orientation::kLandscape;
  if (parsed.flags.contains("--portrait")) options.paper.orientation = Orientation::kPortrait;
  options.paper.scale = scale.paperScale ? scale.paperScale : 100;
  options.paper.sheet = !parsed.flags.contains("--no-sheet");
  options.rooms = parsed.flags.contains("--rooms");
  options.dimensions = parsed.flags.contains("--dimensions");
  options.objectNames = parsed.flags.contains("--object-names");
  options.objects = options.objectNames || parsed.flags.contains("--objects");
  options.problems = !parsed.flags.contains("--no-problems");
  options.title = QFileInfo(QString::fromStdString(parsed.files[0])).completeBaseName();
  return options;
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

void ApplyDisplayFlags(TCasaPlan& plan, const SheetOptions& options) {
  plan.ShowRooms = options.rooms;
  plan.ShowDimensions = options.dimensions;
  plan.ShowObjectNames = options.objectNames;
  plan.ShowObjects = options.objects;
  plan.ShowProblems = options.problems;
}

}  // namespace

int RunRender(const std::vector<std::string>& args) {
  std::vector<std::string> rest = args;
  const ScaleOption scale = ParseScale(TakeOption(rest, "--scale"));
  const auto paper = TakeOption(rest, "--paper");
  const auto dpiText = TakeOption(rest, "--dpi");
  const Arguments parsed =
      ParseArguments(rest, 2,
                     {"--rooms", "--dimensions", "--objects", "--object-names", "--no-problems",
                      "--landscape", "--portrait", "--no-sheet"});
  SheetFormat format;
  if (!FormatOfFileName(QString::fromStdString(parsed.files[1]), format))
    throw UsageError("format de sortie inconnu : " + parsed.files[1] + " (.png, .pdf, .svg)");
  const int32_t dpi = dpiText ? PositiveNumber(*dpiText, "résolution") : kDefaultPngDpi;
  const SheetOptions options = SheetOptionsFrom(parsed, scale, paper);

  // A PNG without a paper scale stays the preview at a zoom it always was.
  const bool preview = format == SheetFormat::kPng && !scale.paperScale;
  if (preview && (paper || dpiText || parsed.flags.contains("--landscape") ||
                  parsed.flags.contains("--portrait") || parsed.flags.contains("--no-sheet")))
    throw UsageError("le papier, la résolution et --no-sheet demandent --scale 1:N");
  if (!preview && scale.zoom)
    throw UsageError("--scale K ne vaut que pour une image PNG ; sur papier : --scale 1:N");

  auto plan = std::make_unique<TCasaPlan>();
  LoadPlan(*plan, parsed.files[0]);
  ApplyDisplayFlags(*plan, options);
  const auto application = StartOffscreenApplication();
  const QByteArray bytes = preview ? CreatePreview(*plan, scale.zoom ? scale.zoom : kDefaultZoom)
                                   : SheetBytes(Sheet(*plan, options), format, dpi);
  WriteOutputFile(parsed.files[1], std::string_view(bytes.constData(), bytes.size()));
  return 0;
}

}  // namespace casavo::tool

#endif  // CASAVO_TOOL_RENDER
