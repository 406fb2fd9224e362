// Sheet: the plan on paper with its title block and schedule.

#include "render/sheet.h"

#include <algorithm>
#include <array>
#include <optional>

#include "common/numeric.h"
#include "render/painter.h"
#include "render/saved_view.h"
#include "render/tracing_layer.h"

namespace casavo {

namespace {

constexpr double kTextMm = 2.8;   // schedule and title block lines
constexpr double kTitleMm = 4.5;  // the plan's name
constexpr double kFramePen = 3;   // dots: 0.3 mm
constexpr double kScaleBarMaxMm = 60;
constexpr double kScaleBarHeightMm = 1.5;

double Dots(double mm) {
  return mm * kSheetDotsPerMm;
}

Font SheetFont(double sizeMm) {
  return Font{QStringLiteral("Verdana"), Dots(sizeMm)};
}

// A text with its top-left corner at (x, y), all in millimetres of paper.
void Text(Surface& surface, const QString& text, double sizeMm, double x, double y) {
  surface.DrawText(text, SheetFont(sizeMm), Dots(x), Dots(y), Brush::Solid(kBlack));
}

// The same text ending at x.
void TextRightAligned(Surface& surface, const QString& text, double sizeMm, double x, double y) {
  const double width = surface.MeasureText(text, SheetFont(sizeMm), 0, 0).width;
  surface.DrawText(text, SheetFont(sizeMm), Dots(x) - width, Dots(y), Brush::Solid(kBlack));
}

void Line(Surface& surface, double x1, double y1, double x2, double y2, double pen = 1) {
  surface.DrawLine(Pen{kBlack, pen}, Dots(x1), Dots(y1), Dots(x2), Dots(y2));
}

// The longest round length of plan, in metres, whose bar stays within the
// width, and the parts it is cut into.
std::pair<int32_t, int32_t> ScaleBarMetres(int32_t scale, double maxWidthMm) {
  constexpr std::array<std::pair<int32_t, int32_t>, 9> kBars = {
      {{1, 5}, {2, 4}, {5, 5}, {10, 5}, {20, 4}, {50, 5}, {100, 5}, {200, 4}, {500, 5}}};
  auto bar = kBars.front();
  for (const auto& candidate : kBars)
    if (candidate.first * 1000.0 / scale <= maxWidthMm) bar = candidate;
  return bar;
}

}  // namespace

Sheet::Sheet(TCasaPlan& plan, const SheetOptions& options)
    : plan_(plan),
      options_(options),
      rooms_(RoomSchedule(plan)),
      layout_(LayOutSheet(plan, options.paper, static_cast<int32_t>(rooms_.size()))) {}

void Sheet::Draw(Surface& surface) const {
  surface.SetSmoothing(true);
  surface.FillRectangle(Brush::Solid(kWhite), 0, 0, Dots(layout_.page.width()),
                        Dots(layout_.page.height()));
  DrawPlan(surface);
  if (layout_.band.isEmpty()) return;
  const QRectF& band = layout_.band;
  DrawTitleBlock(surface, QRectF(band.right() - kTitleBlockWidthMm, band.top(), kTitleBlockWidthMm,
                                 band.height()));
  DrawSchedule(surface, QRectF(band.left(), band.top(),
                               band.width() - kTitleBlockWidthMm - kBandGapMm, band.height()));
}

void Sheet::DrawPlan(Surface& surface) const {
  SavedView saved(plan_);
  plan_.ShowRooms = options_.rooms;
  plan_.ShowDimensions = options_.dimensions;
  plan_.ShowObjectNames = options_.objectNames;
  plan_.ShowObjects = options_.objects || options_.objectNames;
  plan_.ShowProblems = options_.problems;
  plan_.SelIndex = 0;
  plan_.SelKind = kSelNothing;
  plan_.GuideX = plan_.GuideY = -1;

  // Plan millimetres to sheet dots: the extent lands on the drawing's box.
  const QRectF extent = PlanExtent(plan_);
  const double zoom = kSheetDotsPerMm / layout_.scale;
  plan_.zx = plan_.zy = zoom;
  plan_.x0 = RoundToInt(static_cast<long double>(Dots(layout_.drawing.left())) -
                        static_cast<long double>(extent.left()) * zoom);
  plan_.y0 = RoundToInt(static_cast<long double>(Dots(layout_.drawing.top())) -
                        static_cast<long double>(extent.top()) * zoom);
  plan_.ViewWidth = RoundToInt(Dots(layout_.page.width()));
  plan_.ViewHeight = RoundToInt(Dots(layout_.page.height()));
  if (options_.tracing && plan_.Trace.Present() && !options_.tracingPicture.isNull())
    surface.DrawPicture(options_.tracingPicture, TraceTransform(plan_, plan_.Trace),
                        plan_.Trace.opacity);
  PlanPainter(plan_, surface).DrawOnSheet();
}

// One column of the schedule: a header, then one line at a time.
class ScheduleColumn {
 public:
  ScheduleColumn(Surface& surface, const QRectF& box) : surface_(surface), box_(box) {
    Row(QStringLiteral("Pièce"), QStringLiteral("Type"), QStringLiteral("Surface"));
    Rule();
  }

  void Room(const QString& name, const RoomRow& room) {
    const double side = 2.5;
    const double x = Dots(box_.left() + 1), y = Dots(y_ + 0.4);
    surface_.FillRectangle(Brush::Solid(HexToARGB(room.colour.toStdString())), x, y, Dots(side),
                           Dots(side));
    surface_.DrawRectangle(Pen{kBlack, 1}, x, y, Dots(side), Dots(side));
    Row(name, room.kind, FormatSquareMetres(room.areaCents));
  }

  void Row(const QString& name, const QString& kind, const QString& area) {
    Text(surface_, name, kTextMm, box_.left() + 5, y_);
    Text(surface_, kind, kTextMm, box_.left() + box_.width() * 0.55, y_);
    TextRightAligned(surface_, area, kTextMm, box_.right() - 1, y_);
    y_ += kScheduleRowMm;
  }

  void Rule() { Line(surface_, box_.left(), y_ - 0.6, box_.right(), y_ - 0.6, 2); }

 private:
  Surface& surface_;
  QRectF box_;
  double y_ = box_.top() + 0.8;
};

void Sheet::DrawSchedule(Surface& surface, const QRectF& box) const {
  const int32_t columns = layout_.scheduleColumns;
  const int32_t perColumn = std::max(1, layout_.scheduleRowsPerColumn);
  const double gap = 4;
  const double width = (box.width() - (columns - 1) * gap) / columns;
  auto columnBox = [&](int32_t c) {
    return QRectF(box.left() + c * (width + gap), box.top(), width, box.height());
  };
  std::optional<ScheduleColumn> column(std::in_place, surface, columnBox(0));
  for (int32_t i = 0; i < layout_.scheduleRows; ++i) {
    if (i > 0 && i % perColumn == 0) column.emplace(surface, columnBox(i / perColumn));
    const RoomRow& room = rooms_[static_cast<size_t>(i)];
    column->Room(room.name.isEmpty() ? QStringLiteral("Pièce %1").arg(i + 1) : room.name, room);
  }
  const auto others = static_cast<int32_t>(rooms_.size()) - layout_.scheduleRows;
  if (others > 0)
    column->Row(QStringLiteral("… et %1 autres pièces").arg(others), QString(), QString());
  column->Rule();
  column->Row(QStringLiteral("Total"), QString(), FormatSquareMetres(TotalAreaCents(rooms_)));
}

void Sheet::DrawTitleBlock(Surface& surface, const QRectF& box) const {
  surface.DrawRectangle(Pen{kBlack, kFramePen}, Dots(box.left()), Dots(box.top()),
                        Dots(box.width()), Dots(box.height()));
  const double x = box.left() + 3;
  double y = box.top() + 2;
  const QString title =
      options_.title.isEmpty() ? QStringLiteral("Plan sans titre") : options_.title;
  Text(surface, title, kTitleMm, x, y);
  y += kTitleMm + 2.5;
  QStringList lines{QStringLiteral("Échelle %1").arg(ScaleText(layout_.scale)),
                    QStringLiteral("Date : %1").arg(options_.date.toString("dd/MM/yyyy"))};
  if (!options_.author.isEmpty()) lines << QStringLiteral("Auteur : %1").arg(options_.author);
  lines << QStringLiteral("Surface totale : %1").arg(FormatSquareMetres(TotalAreaCents(rooms_)));
  for (const QString& line : lines) {
    Text(surface, line, kTextMm, x, y);
    y += kScheduleRowMm;
  }
  DrawScaleBar(surface, QPointF(x, box.bottom() - 7), box.width() - 6);
}

// Alternate black and white parts of a round length of plan, "0" under its
// start and the length under its end.
void Sheet::DrawScaleBar(Surface& surface, QPointF origin, double widthMm) const {
  const auto [metres, parts] = ScaleBarMetres(layout_.scale, std::min(widthMm, kScaleBarMaxMm));
  const double length = metres * 1000.0 / layout_.scale;
  const double part = length / parts;
  for (int32_t i = 0; i < parts; ++i) {
    const double left = origin.x() + i * part;
    surface.FillRectangle(Brush::Solid(i % 2 ? kWhite : kBlack), Dots(left), Dots(origin.y()),
                          Dots(part), Dots(kScaleBarHeightMm));
  }
  surface.DrawRectangle(Pen{kBlack, 1}, Dots(origin.x()), Dots(origin.y()), Dots(length),
                        Dots(kScaleBarHeightMm));
  const double labelY = origin.y() + kScaleBarHeightMm + 0.8;
  Text(surface, QStringLiteral("0"), kTextMm, origin.x(), labelY);
  TextRightAligned(surface, QStringLiteral("%1 m").arg(metres), kTextMm, origin.x() + length,
                   labelY);
}

}  // namespace casavo
