// Scale, paper and page layout of a sheet.

#include "render/sheet_layout.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace casavo {

namespace {

constexpr double kPageMarginMm = 10;
constexpr double kTitleBlockHeightMm = 38;
constexpr double kMaxBandShare = 0.4;  // of the page height, for a long schedule
constexpr double kPlanMarginMm = 600;  // of plan around the corners, for the length texts

QSizeF Oriented(Paper paper, bool landscape) {
  const QSizeF upright = PaperSize(paper);
  return landscape ? upright.transposed() : upright;
}

// The schedule's columns and rooms a column on a page: a short list stays in
// one column as high as the title block; a long one spreads over the columns
// the width takes, within its share of the page height.
struct ScheduleShape {
  int32_t columns = 1;
  int32_t perColumn = 0;
  int32_t listed = 0;
};

// Lines of the band beside the rooms: the header, the total and the line
// counting the rooms left out.
constexpr int32_t kScheduleExtraLines = 3;

int32_t LinesIn(double heightMm) {
  return static_cast<int32_t>((heightMm - 2) / kScheduleRowMm);
}

ScheduleShape ShapeSchedule(int32_t roomCount, QSizeF page) {
  const double width = page.width() - 2 * kPageMarginMm - kTitleBlockWidthMm - kBandGapMm;
  const int32_t columns = std::max(1, static_cast<int32_t>(width / kScheduleColumnMm));
  const int32_t most = std::max(1, LinesIn(page.height() * kMaxBandShare) - kScheduleExtraLines);
  const int32_t beside = std::max(1, LinesIn(kTitleBlockHeightMm) - kScheduleExtraLines);
  ScheduleShape shape;
  shape.perColumn = std::max(1, std::min(most, std::max((roomCount + columns - 1) / columns,
                                                        std::min(roomCount, beside))));
  shape.listed = std::min(roomCount, shape.perColumn * columns);
  shape.columns = std::max(1, (shape.listed + shape.perColumn - 1) / shape.perColumn);
  return shape;
}

double BandHeight(const ScheduleShape& shape) {
  return std::max(kTitleBlockHeightMm,
                  (shape.perColumn + kScheduleExtraLines) * kScheduleRowMm + 2);
}

// The room left for the drawing on a page with this band.
QRectF DrawingArea(QSizeF page, double bandHeight) {
  const double bottom = page.height() - kPageMarginMm - bandHeight - kBandGapMm;
  return QRectF(kPageMarginMm, kPageMarginMm, page.width() - 2 * kPageMarginMm,
                bottom - kPageMarginMm);
}

// A page that could take the plan: its size and the area for the drawing.
struct Candidate {
  QSizeF page;
  QRectF area;
  QRectF band;
  ScheduleShape schedule;
};

Candidate SheetCandidate(Paper paper, bool landscape, int32_t roomCount) {
  Candidate c;
  c.page = Oriented(paper, landscape);
  c.schedule = ShapeSchedule(roomCount, c.page);
  const double band = BandHeight(c.schedule);
  c.area = DrawingArea(c.page, band);
  c.band = QRectF(kPageMarginMm, c.page.height() - kPageMarginMm - band,
                  c.page.width() - 2 * kPageMarginMm, band);
  return c;
}

bool Fits(const QRectF& extent, const QRectF& area, int32_t scale) {
  return extent.width() / scale <= area.width() && extent.height() / scale <= area.height();
}

// The smallest 1:N at which the extent fills the area.
int32_t FitScale(const QRectF& extent, const QRectF& area) {
  const double ratio = std::max(extent.width() / area.width(), extent.height() / area.height());
  return std::max<int32_t>(1, static_cast<int32_t>(std::ceil(ratio - 1e-9)));
}

SheetLayout Place(const Candidate& c, const QRectF& extent, int32_t scale) {
  SheetLayout layout;
  layout.page = c.page;
  layout.scale = scale;
  const QSizeF size(extent.width() / scale, extent.height() / scale);
  layout.drawing = QRectF(c.area.center().x() - size.width() / 2,
                          c.area.center().y() - size.height() / 2, size.width(), size.height());
  layout.band = c.band;
  layout.scheduleRows = c.schedule.listed;
  layout.scheduleRowsPerColumn = c.schedule.perColumn;
  layout.scheduleColumns = c.schedule.columns;
  return layout;
}

}  // namespace

QString PaperName(Paper paper) {
  switch (paper) {
    case Paper::kA3:
      return QStringLiteral("A3");
    case Paper::kLetter:
      return QStringLiteral("Letter");
    case Paper::kA4:
      break;
  }
  return QStringLiteral("A4");
}

QSizeF PaperSize(Paper paper) {
  switch (paper) {
    case Paper::kA3:
      return {297, 420};
    case Paper::kLetter:
      return {215.9, 279.4};
    case Paper::kA4:
      break;
  }
  return {210, 297};
}

QString ScaleText(int32_t scale) {
  return QStringLiteral("1:%1").arg(scale);
}

QRectF PlanExtent(const TCasaPlan& plan) {
  const TRect b = plan.GetBounds();
  return QRectF(QPointF(b.left - kPlanMarginMm, b.top - kPlanMarginMm),
                QPointF(b.right + kPlanMarginMm, b.bottom + kPlanMarginMm));
}

SheetLayout LayOutSheet(const TCasaPlan& plan, const PaperChoice& choice, int32_t roomCount) {
  if (plan.CornerCount <= 0) throw SheetError("Le plan est vide : il n'y a rien à imprimer.", 0);
  const QRectF extent = PlanExtent(plan);
  if (!choice.sheet) {
    const int32_t scale = choice.scale == kFitToPage ? 100 : choice.scale;
    Candidate bare;
    bare.page = QSizeF(extent.width() / scale, extent.height() / scale);
    bare.area = QRectF(QPointF(0, 0), bare.page);
    return Place(bare, extent, scale);
  }

  // The orientation that suits the plan's shape comes first.
  std::vector<Candidate> pages;
  const bool wide = extent.width() > extent.height();
  for (bool landscape : {wide, !wide}) {
    const bool allowed = choice.orientation == Orientation::kAuto ||
                         landscape == (choice.orientation == Orientation::kLandscape);
    if (allowed) pages.push_back(SheetCandidate(choice.paper, landscape, roomCount));
  }

  if (choice.scale == kFitToPage) {
    const auto best = std::min_element(pages.begin(), pages.end(), [&](auto& a, auto& b) {
      return FitScale(extent, a.area) < FitScale(extent, b.area);
    });
    return Place(*best, extent, FitScale(extent, best->area));
  }
  for (const Candidate& c : pages)
    if (Fits(extent, c.area, choice.scale)) return Place(c, extent, choice.scale);

  int32_t fitting = 0;
  for (int32_t s : kStandardScales) {
    if (s <= choice.scale) continue;
    for (const Candidate& c : pages)
      if (!fitting && Fits(extent, c.area, s)) fitting = s;
  }
  QString message = QStringLiteral("Le plan ne tient pas sur une feuille %1 à l'échelle %2.")
                        .arg(PaperName(choice.paper), ScaleText(choice.scale));
  message +=
      fitting
          ? QStringLiteral(" La plus grande échelle qui convient est %1.").arg(ScaleText(fitting))
          : QStringLiteral(" Choisissez « Ajuster à la page » ou un papier plus grand.");
  throw SheetError(message.toStdString(), fitting);
}

}  // namespace casavo
