// Sheet and SheetOptions: what the paper shows.

#pragma once

#include <QDate>
#include <QImage>
#include <QString>
#include <vector>

#include "plan/casa_plan.h"
#include "render/room_schedule.h"
#include "render/sheet_layout.h"
#include "render/surface.h"

namespace casavo {

// What the paper shows of the plan and the texts of its title block.
struct SheetOptions {
  PaperChoice paper;
  bool rooms = true;
  bool dimensions = true;
  bool objects = false;
  bool objectNames = false;
  bool problems = false;
  // The picture the plan was traced over, under the drawing.
  bool tracing = false;
  QImage tracingPicture;
  QString title;
  QString author;  // empty: no author line
  QDate date = QDate::currentDate();
};

// The sheet's world unit: a tenth of a millimetre of paper, so that a pen of
// width 1 is a fine drafting line and positions land within 0.05 mm.
inline constexpr double kSheetDotsPerMm = 10;

// One plan laid out on paper: the drawing to scale, then a band with the room
// schedule and the title block with its scale bar. Built once, drawn on as
// many surfaces as needed (preview, file, printer).
class Sheet {
 public:
  // Raises SheetError when the plan is empty or does not fit.
  Sheet(TCasaPlan& plan, const SheetOptions& options);

  const SheetLayout& Layout() const { return layout_; }
  const std::vector<RoomRow>& Rooms() const { return rooms_; }
  const SheetOptions& Options() const { return options_; }

  // Draws the page in sheet dots from its top left corner. The plan's view,
  // display switches, selection and guides are set for the paint only.
  void Draw(Surface& surface) const;

 private:
  void DrawPlan(Surface& surface) const;
  void DrawSchedule(Surface& surface, const QRectF& box) const;
  void DrawTitleBlock(Surface& surface, const QRectF& box) const;
  void DrawScaleBar(Surface& surface, QPointF origin, double widthMm) const;

  TCasaPlan& plan_;
  SheetOptions options_;
  std::vector<RoomRow> rooms_;
  SheetLayout layout_;
};

}  // namespace casavo
