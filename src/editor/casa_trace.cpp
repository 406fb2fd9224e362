// The picture traced over: importing it, its scale and turn from clicks on
// it, moving it with Maj, and wall ends pulled onto its lines.
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "common/numeric.h"
#include "editor/casa.h"
#include "files/plan_xml.h"
#include "render/view.h"

namespace casavo {
namespace {

// Wall ends move onto a line of the picture within this many screen pixels.
constexpr double kTraceSnapPixels = 5;
// Beyond this many picture pixels the search would cost more than a move may.
constexpr double kMaxSnapRadius = 40;
// A plan drawn at 1:100 and scanned: what the picture's scale is taken to be
// until the user sets it.
constexpr double kPaperScale = 100;
constexpr double kMillimetresPerInch = 25.4;
// The view of a new picture: all of it with a margin, within the zooms the slider offers.
constexpr double kFitMargin = 0.95;
constexpr double kMinFitZoom = 0.01;
constexpr double kMaxFitZoom = 0.5;

constexpr char kLocked[] =
    "Le calque est verrouillé : décochez « Verrouiller » dans « Calque » pour le déplacer.";

// Millimetres of plan per pixel of a picture scanned from a plan at 1:100.
double ScanScale(const QImage& image) {
  const double dotsPerMm = image.dotsPerMeterX() / 1000.0;
  // Pictures without a resolution say 96 dpi or nothing: take 100.
  const double dpi = dotsPerMm > 1 ? dotsPerMm * kMillimetresPerInch : 100;
  return kMillimetresPerInch * kPaperScale / dpi;
}

// How a plan written to toFile names the picture now named path from
// fromFile: relative when the plan has a file, absolute otherwise.
std::string TracePathFor(const std::string& path, const std::string& fromFile,
                         const std::string& toFile) {
  QString file = QString::fromStdString(path);
  if (QFileInfo(file).isRelative() && !fromFile.empty())
    file = QFileInfo(QString::fromStdString(fromFile)).dir().filePath(file);
  file = QFileInfo(file).absoluteFilePath();
  if (!toFile.empty())
    file = QFileInfo(QString::fromStdString(toFile)).dir().relativeFilePath(file);
  return file.toStdString();
}

}  // namespace

TracePoint TCasa::ScreenToPlanExact(int32_t x, int32_t y) const {
  return {(x - static_cast<double>(Plan->x0)) / Plan->zx,
          (y - static_cast<double>(Plan->y0)) / Plan->zy};
}

QString TCasa::TraceFile() const {
  const QString path = QString::fromStdString(Plan->Trace.path);
  if (path.isEmpty() || QFileInfo(path).isAbsolute() || FilePath.empty()) return path;
  return QFileInfo(QString::fromStdString(FilePath)).dir().filePath(path);
}

std::optional<QString> TCasa::ImportTrace(const QString& path, int32_t page) {
  TracingPicture picture;
  if (auto why = picture.Load(path, page)) return why;
  TTrace trace;
  // A plan with a file keeps the picture beside it by a relative path.
  trace.path = TracePathFor(path.toStdString(), {}, FilePath);
  trace.page = page;
  trace.scale = ScanScale(picture.Image());
  const TracePoint corner = ScreenToPlanExact(0, 0);
  trace.x = corner.x;
  trace.y = corner.y;
  Plan->Trace = trace;
  tracing_ = std::move(picture);
  PushUndo("Importer un plan à décalquer");
  FitTrace();
  StartTraceScale();
  return std::nullopt;
}

// The whole picture in view, where the two clicks of its scale will be.
void TCasa::FitTrace() {
  const QImage& image = tracing_.Image();
  const double s = Plan->Trace.EffectiveScale();
  if (image.isNull() || width() <= 0 || height() <= 0) return Paint();
  const double zoom =
      kFitMargin * std::min(width() / (image.width() * s), height() / (image.height() * s));
  SetZoom(*Plan, std::clamp(zoom, kMinFitZoom, kMaxFitZoom));
  const TracePoint middle = Plan->Trace.PictureToPlan({image.width() / 2.0, image.height() / 2.0});
  Plan->x0 = RoundToInt(width() / 2.0L - middle.x * Plan->zx);
  Plan->y0 = RoundToInt(height() / 2.0L - middle.y * Plan->zy);
  Paint();
  emit ZoomChanged(Plan->zx);
}

void TCasa::StartTraceScale() {
  if (!Plan->Trace.Present()) return;
  ArmTool(ModeSelect);
  Mode = ModeTraceScale;
  traceClick_.reset();
  setCursor(Qt::CrossCursor);
  Plan->Message(
      "Mise à l'échelle : cliquez sur deux points du calque dont vous connaissez la distance "
      "(les deux bouts d'un mur par exemple).");
}

void TCasa::StartTraceLevel() {
  if (!Plan->Trace.Present()) return;
  ArmTool(ModeSelect);
  Mode = ModeTraceLevel;
  traceClick_.reset();
  setCursor(Qt::CrossCursor);
  Plan->Message(
      "Redresser : cliquez sur deux points d'une ligne du calque qui doit être horizontale.");
}

void TCasa::TracePress(int32_t x, int32_t y) {
  // The release that follows must not finish a move of something selected before.
  if (Plan->SelKind != kSelNothing) ClearSelection();
  const TracePoint click = Plan->Trace.PlanToPicture(ScreenToPlanExact(x, y));
  if (!traceClick_) {
    traceClick_ = click;
    Plan->Message("Cliquez sur le second point.");
    return;
  }
  FinishTraceClicks(click);
}

void TCasa::FinishTraceClicks(TracePoint second) {
  const TracePoint first = *traceClick_;
  const bool scaling = Mode == ModeTraceScale;
  traceClick_.reset();
  Mode = ModeSelect;
  setCursor(Qt::ArrowCursor);
  if (!scaling) {
    Plan->Trace.Level(first, second);
    Paint();
    PushUndo("Redresser le calque");
    Plan->Message("Le calque est redressé.");
    return;
  }
  const auto typed = AskTraceDistance
                         ? AskTraceDistance(QStringLiteral(
                               "Distance réelle entre les deux points (par exemple 5,20 m) :"))
                         : std::nullopt;
  if (!typed) {
    Plan->Message("Mise à l'échelle annulée.");
    return;
  }
  const auto length = ReadTypedLength(*typed);
  if (!length || !Plan->Trace.ScaleBetween(first, second, length->first)) {
    Plan->Message(length ? "Les deux points sont confondus : mise à l'échelle annulée."
                         : "Tapez une distance, par exemple 5,20 m : mise à l'échelle annulée.");
    return;
  }
  // Scaled by hand, the picture should not move by a stray drag.
  Plan->Trace.locked = true;
  Paint();
  PushUndo("Mettre le calque à l'échelle");
  Plan->Message(
      ("Le calque est à l'échelle (" + length->second + ") et verrouillé.").toStdString());
}

bool TCasa::GrabTrace(int32_t x, int32_t y) {
  if (!keyState_->ShiftHeld() || !tracing_.Loaded() || !Plan->Trace.visible) return false;
  if (CornerAt(x, y) > 0 || WallAt(x, y) > 0) return false;
  if (Plan->Trace.locked) {
    Plan->Message(kLocked);
    return false;
  }
  traceDrag_ = true;
  traceStart_ = {Plan->Trace.x, Plan->Trace.y};
  setCursor(Qt::SizeAllCursor);
  return true;
}

void TCasa::DragTrace(int32_t x, int32_t y) {
  Plan->Trace.x = traceStart_.x + (x - DownX) / Plan->zx;
  Plan->Trace.y = traceStart_.y + (y - DownY) / Plan->zy;
  Paint();
}

void TCasa::TurnTrace(double degrees) {
  if (!Plan->Trace.Present() || !std::isfinite(degrees) || degrees == 0) return;
  Plan->Trace.TurnAbout(ScreenToPlanExact(width() / 2, height() / 2), degrees);
  Paint();
  PushUndo("Tourner le calque");
}

void TCasa::SetTraceOpacity(double opacity) {
  if (!Plan->Trace.Present()) return;
  Plan->Trace.opacity = std::clamp(opacity, 0.0, 1.0);
  PendingUndoLabel = "Régler le calque";
  Paint();
}

void TCasa::SetTraceVisible(bool visible) {
  if (!Plan->Trace.Present() || Plan->Trace.visible == visible) return;
  Plan->Trace.visible = visible;
  PendingUndoLabel = "Régler le calque";
  Paint();
}

void TCasa::SetTraceLocked(bool locked) {
  if (!Plan->Trace.Present() || Plan->Trace.locked == locked) return;
  Plan->Trace.locked = locked;
  PendingUndoLabel = "Régler le calque";
}

void TCasa::RemoveTrace() {
  if (!Plan->Trace.Present()) return;
  CommitPendingUndo();
  Plan->Trace = TTrace();
  if (Mode == ModeTraceScale || Mode == ModeTraceLevel) Disarm();
  Paint();
  PushUndo("Retirer le calque");
}

std::optional<QString> TCasa::OpenPlanTrace() {
  if (!Plan->Trace.Present()) {
    tracing_.Clear();
    return std::nullopt;
  }
  const QString file = TraceFile();
  const auto why = tracing_.Load(file, Plan->Trace.page);
  if (!why) return std::nullopt;
  tracing_.Clear();
  Plan->Trace = TTrace();
  return QStringLiteral(
             "Le plan à décalquer « %1 » ne peut pas être ouvert (%2) : le plan "
             "s'ouvre sans lui.")
      .arg(QDir::toNativeSeparators(file), *why);
}

void TCasa::RebaseTrace(const std::string& fromFile, const std::string& toFile) {
  if (!Plan->Trace.Present()) return;
  const std::string path = TracePathFor(Plan->Trace.path, fromFile, toFile);
  if (path == Plan->Trace.path) return;
  Plan->Trace.path = path;
  // The state shown is the same; only how its text names the picture changed.
  if (!UndoSnapshots.empty()) UndoSnapshots.back() = WritePlanXml(*Plan);
}

bool TCasa::SnapToTracing(TPoint& p) const {
  const TTrace& trace = Plan->Trace;
  if (!tracing_.Loaded() || !trace.visible) return false;
  const double radius =
      std::min(kMaxSnapRadius, kTraceSnapPixels / (Plan->zx * trace.EffectiveScale()));
  const auto on = tracing_.SnapToLines(
      trace.PlanToPicture({static_cast<double>(p.x), static_cast<double>(p.y)}), radius,
      trace.angle);
  if (!on) return false;
  const TracePoint q = trace.PictureToPlan(*on);
  p = {RoundToInt(q.x), RoundToInt(q.y)};
  return true;
}

}  // namespace casavo
