// PlanPainter: draws the whole plan through a surface.

#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "plan/casa_plan.h"
#include "render/surface.h"

namespace casavo {

// Draws the whole plan through a surface: rooms, hatched walls with their
// lengths, openings, objects, then the editor's feedback (selection, guides,
// problems) and the scale bar. The plan's derived geometry is refreshed first;
// nothing else in the plan changes.
class PlanPainter {
 public:
  PlanPainter(TCasaPlan& plan, Surface& surface) : plan_(plan), surface_(surface) {}

  void Draw();
  // Draw on geometry that is already refreshed.
  void DrawRefreshed();

  // The parts of Draw, for a painter that repaints a region of a picture it
  // painted before: the background, each item of the drawing alone (in Draw's
  // order: rooms, walls, openings, objects), then the editor's feedback over
  // them (the selected wall's labels, guides, the selected corner, problems
  // and the scale bar). None refreshes the geometry.
  // kRoomLabel draws a room's name and area where they go after the
  // furniture, and nothing where kRoom draws them with the room.
  enum class Item { kRoom, kWall, kOpening, kObjet, kRoomLabel };
  void DrawBackground();
  void DrawItem(Item kind, int32_t index);
  void DrawFeedback();
  // The close corner pairs DrawProblems marks, when the caller knows them
  // (CloseCornerPairs of the plan as it is); the painter finds them itself
  // otherwise.
  void UseCloseCorners(const std::vector<std::pair<int32_t, int32_t>>* pairs) {
    closeCorners_ = pairs;
  }
  // The drawing alone, for paper: no background, no editor feedback, no
  // scale bar (the sheet has its own).
  void DrawOnSheet();

 private:
  TPoint P(TPoint p) const { return plan_.PlanToScreen(p); }
  // A plan length in pixels at the current zoom, for text sizes and offsets.
  int32_t Pixels(int32_t millimetres) const;

  void DrawDrawing();
  // Each room's floor, and its name and area when labels.
  bool LabelsLast() const;
  void DrawRooms(bool labels);
  void DrawRoom(int32_t k);
  void DrawRoomLabel(int32_t k);
  void DrawWall(int32_t w);
  bool ShowsLengths(int32_t w) const;
  void DrawFaceLength(TPoint from, TPoint to, int32_t angle);
  // FormatLength, worked out once per length in a paint: walls of a plan
  // share few lengths.
  const QString& LengthText(int32_t millimetres);
  void DrawObjet(int32_t k);
  void DrawGuides();
  void DrawSelectedCorner();
  void DrawProblems();
  void DrawMarker(TPoint planPoint);

  TCasaPlan& plan_;
  Surface& surface_;
  std::unordered_map<int32_t, QString> lengthTexts_;
  const std::vector<std::pair<int32_t, int32_t>>* closeCorners_ = nullptr;
};

// The angle of a text turned by degrees, or by half a turn more when it would
// read upside down: in (-90, 90], readable from the bottom or the right.
int32_t UprightAngle(int32_t degrees);

// Paints the plan into an image of ViewWidth x ViewHeight pixels.
void DrawPlan(TCasaPlan& plan, QImage& image);

// The pairs of corners i < j closer than 250 mm but not at the same place, in
// the order of a loop over i, then j. Corners are bucketed in 250 mm cells so
// that only neighbouring cells are compared.
std::vector<std::pair<int32_t, int32_t>> CloseCornerPairs(const TCasaPlan& plan);

// A length in millimetres as shown to the user: "2,50 m", "10,10 cm", "100 mm"
// (with the user's decimal separator).
QString FormatLength(int32_t millimetres);
// An area in square millimetres as square metres: "12,35m2".
QString FormatArea(double squareMillimetres);

}  // namespace casavo
