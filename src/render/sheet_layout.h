// SheetLayout: the scales and papers offered and the chosen layout.

#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <array>
#include <cstdint>
#include <stdexcept>

#include "plan/casa_plan.h"

namespace casavo {

enum class Paper { kA4, kA3, kLetter };
enum class Orientation { kAuto, kPortrait, kLandscape };

// The scales offered, largest first (1:20 is the largest).
inline constexpr std::array<int32_t, 4> kStandardScales = {20, 50, 100, 200};
// A scale of 0 asks for the largest scale at which the plan fills the page.
inline constexpr int32_t kFitToPage = 0;

// How the plan goes on paper. Without a sheet the page is the plan alone,
// cropped to it, at the scale asked (fit to page then means 1:100).
struct PaperChoice {
  Paper paper = Paper::kA4;
  Orientation orientation = Orientation::kAuto;
  int32_t scale = 100;  // 1:scale, or kFitToPage
  bool sheet = true;
};

// A plan that cannot go on the paper asked. fittingScale is the largest
// standard scale at which it would fit, 0 when none does.
class SheetError : public std::runtime_error {
 public:
  SheetError(const std::string& message, int32_t fitting)
      : std::runtime_error(message), fittingScale(fitting) {}
  int32_t fittingScale;
};

// The band under the drawing: the title block at its right, the room
// schedule in the rest, one room a line, in as many columns as the width
// takes when the rooms are many.
inline constexpr double kTitleBlockWidthMm = 80;
inline constexpr double kBandGapMm = 5;
inline constexpr double kScheduleRowMm = 4.5;
inline constexpr double kScheduleColumnMm = 90;  // at least

// Where everything goes on the page, in millimetres of paper from its top
// left corner.
struct SheetLayout {
  QSizeF page;
  int32_t scale = 100;
  QRectF drawing;  // the plan's extent at the scale, centred in the space left
  QRectF band;     // title block, scale bar and room schedule; empty without a sheet
  // The schedule: rooms listed, rooms a column, columns. Rooms beyond those
  // listed are counted on one line.
  int32_t scheduleRows = 0;
  int32_t scheduleRowsPerColumn = 0;
  int32_t scheduleColumns = 1;
};

QString PaperName(Paper paper);
// Width x height in millimetres, upright.
QSizeF PaperSize(Paper paper);
// "1:100"
QString ScaleText(int32_t scale);

// What the page must hold of the plan, in plan millimetres: every corner and
// room for the texts written around the walls.
QRectF PlanExtent(const TCasaPlan& plan);

// Lays the plan and a schedule of roomCount rooms out on the paper chosen.
// Raises SheetError for an empty plan or a plan that does not fit.
SheetLayout LayOutSheet(const TCasaPlan& plan, const PaperChoice& choice, int32_t roomCount);

}  // namespace casavo
