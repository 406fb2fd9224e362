// PlanPainter: rooms, walls, openings, objects, dimensions, problems.

#include "render/painter.h"

#include <QLocale>
#include <algorithm>

#include "common/numeric.h"
#include "plan/furniture_fit.h"
#include "render/furniture_symbols.h"
#include "render/surface_qpainter.h"
#include "render/symbols.h"
#include "render/view.h"

namespace casavo {

namespace {

// Corners closer than this are marked, and walls shorter than this many
// pixels' worth are drawn red.
constexpr int32_t kProblemDistance = 250;
constexpr int32_t kLengthOffset = 120;    // from the face to its length text
constexpr int32_t kRoomNameLift = 120;    // from the room centre up to its name
constexpr int32_t kRoomNameToArea = 240;  // from the name down to the area
constexpr int32_t kSmallTextMm = 200;     // lengths, areas, object names
constexpr int32_t kRoomNameMm = 250;

QString FixedTwo(double value) {
  QLocale locale;
  locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
  return locale.toString(value, 'f', 2);
}

QString FromUtf8(const std::string& text) {
  return QString::fromStdString(text);
}

// Floor division, so that cells do not fold around zero.
int64_t Cell(int32_t v) {
  return v >= 0 ? v / kProblemDistance : -((-int64_t{v} + kProblemDistance - 1) / kProblemDistance);
}

int64_t CellKey(int64_t cx, int64_t cy) {
  return (cx << 32) + (cy + (int64_t{1} << 31));
}

}  // namespace

QString FormatLength(int32_t millimetres) {
  if (millimetres > 1000) return FixedTwo(millimetres / 1000.0) + QStringLiteral(" m");
  if (millimetres > 100) return FixedTwo(millimetres / 10.0) + QStringLiteral(" cm");
  return QString::number(millimetres) + QStringLiteral(" mm");
}

QString FormatArea(double squareMillimetres) {
  return FixedTwo(squareMillimetres / 1000 / 1000) + QStringLiteral("m2");
}

std::vector<std::pair<int32_t, int32_t>> CloseCornerPairs(const TCasaPlan& plan) {
  // A rounded distance below 250 means both |dx| and |dy| are below 250, so
  // the partner lies in the same cell or one of the eight around it.
  const int32_t count = plan.CornerCount;
  std::vector<std::pair<int64_t, int32_t>> cells;
  cells.reserve(count);
  for (int32_t i = 1; i <= count; ++i)
    cells.emplace_back(CellKey(Cell(plan.Corners[i].x), Cell(plan.Corners[i].y)), i);
  std::sort(cells.begin(), cells.end());

  std::vector<std::pair<int32_t, int32_t>> pairs;
  std::vector<int32_t> partners;
  for (int32_t i = 1; i <= count; ++i) {
    const TPoint a = plan.Corners[i];
    partners.clear();
    for (int64_t dx = -1; dx <= 1; ++dx) {
      for (int64_t dy = -1; dy <= 1; ++dy) {
        const int64_t key = CellKey(Cell(a.x) + dx, Cell(a.y) + dy);
        auto it = std::lower_bound(cells.begin(), cells.end(), std::make_pair(key, int32_t{0}));
        for (; it != cells.end() && it->first == key; ++it) {
          const int32_t j = it->second;
          if (j <= i) continue;
          const int32_t d = Distance(a, plan.Corners[j]);
          if (d > 0 && d < kProblemDistance) partners.push_back(j);
        }
      }
    }
    std::sort(partners.begin(), partners.end());
    for (int32_t j : partners) pairs.emplace_back(i, j);
  }
  return pairs;
}

int32_t PlanPainter::Pixels(int32_t millimetres) const {
  return RoundToInt(static_cast<long double>(millimetres) * plan_.zx);
}

int32_t UprightAngle(int32_t degrees) {
  int32_t a = degrees % 360;  // (-360, 360)
  if (a > 180) a -= 360;
  if (a <= -180) a += 360;  // (-180, 180]
  if (a > 90) return a - 180;
  if (a <= -90) return a + 180;
  return a;
}

void PlanPainter::Draw() {
  plan_.RefreshGeometry();
  DrawRefreshed();
}

void PlanPainter::DrawRefreshed() {
  DrawBackground();
  DrawDrawing();
  DrawFeedback();
}

void PlanPainter::DrawBackground() {
  surface_.SetSmoothing(true);
  surface_.FillRectangle(Brush::Solid(kWhite), 0, 0, plan_.ViewWidth, plan_.ViewHeight);
}

void PlanPainter::DrawItem(Item kind, int32_t index) {
  switch (kind) {
    case Item::kRoom:
      DrawRoom(index);
      if (!LabelsLast()) DrawRoomLabel(index);
      return;
    case Item::kRoomLabel:
      if (LabelsLast()) DrawRoomLabel(index);
      return;
    case Item::kWall:
      return DrawWall(index);
    case Item::kOpening:
      return DrawOpening(plan_, surface_, index);
    case Item::kObjet:
      return DrawObjet(index);
  }
}

void PlanPainter::DrawFeedback() {
  if (const int32_t w = plan_.Selected(kSelWall); w > 0) DrawWallLabels(plan_, surface_, w);
  DrawGuides();
  DrawSelectedCorner();
  if (plan_.ShowProblems) DrawProblems();
  DrawScaleBar(plan_, surface_);
}

void PlanPainter::DrawOnSheet() {
  plan_.RefreshGeometry();
  surface_.SetSmoothing(true);
  DrawDrawing();
  if (plan_.ShowProblems) DrawProblems();
}

void PlanPainter::DrawDrawing() {
  const bool furnished = LabelsLast();
  if (plan_.ShowRooms) DrawRooms(!furnished);
  for (int32_t w = 1, n = plan_.WallCount; w <= n; ++w) DrawWall(w);
  for (int32_t k = 1, n = plan_.OpeningCount; k <= n; ++k) DrawOpening(plan_, surface_, k);
  if (plan_.ShowObjects)
    for (int32_t k = 1, n = plan_.ObjectCount; k <= n; ++k) DrawObjet(k);
  if (plan_.ShowRooms && furnished)
    for (int32_t k = 1, n = plan_.RoomCount; k <= n; ++k) DrawRoomLabel(k);
}

bool PlanPainter::LabelsLast() const {
  // Furniture covers the floor, not the rooms' names and areas: those come last.
  return plan_.ShowObjects && plan_.ObjectCount > 0;
}

void PlanPainter::DrawRooms(bool labels) {
  for (int32_t k = 1, n = plan_.RoomCount; k <= n; ++k) {
    DrawRoom(k);
    if (labels) DrawRoomLabel(k);
  }
}

void PlanPainter::DrawRoom(int32_t k) {
  const TPiece& room = plan_.Rooms[k];
  const bool selected = plan_.Selected(kSelRoom) == k;

  Path border;
  if (room.Border.Count >= 2) {
    // Each point converted once: it ends one segment and starts the next.
    TPoint a = P(plan_.Outline[room.Border[1]]);
    for (int32_t i = 2; i <= room.Border.Count; ++i) {
      const TPoint b = P(plan_.Outline[room.Border[i]]);
      border.AddLine(a.x, a.y, b.x, b.y);
      a = b;
    }
  }
  surface_.FillPath(Brush::Solid(HexToARGB(plan_.RoomColour(k))), border);
  if (selected) surface_.DrawPath(Pen{kGreen, 3}, border);
}

void PlanPainter::DrawRoomLabel(int32_t k) {
  const TPiece& room = plan_.Rooms[k];
  const Argb textColour = plan_.Selected(kSelRoom) == k ? kGreen : kBlack;
  TPoint label = P(room.Centre);
  const std::string name = plan_.RoomName(k);
  if (!name.empty()) {
    label.y = CheckedSub(label.y, Pixels(kRoomNameLift));
    DrawTextCentred(surface_, FromUtf8(name), Pixels(kRoomNameMm), label.x, label.y, textColour,
                    kNoBox);
    label.y = CheckedAdd(label.y, Pixels(kRoomNameToArea));
  }
  DrawTextCentred(surface_, FormatArea(room.surface), Pixels(kSmallTextMm), label.x, label.y,
                  textColour, kNoBox);
}

void PlanPainter::DrawWall(int32_t w) {
  const TWall& wall = plan_.Walls[w];
  const auto& s = wall.Shape;  // S1..S6 of the hexagon
  Pen pen{kBlack, 1};
  Brush hatch = Brush::Hatch(kBlack, kWhite);
  if (plan_.WallSelected(w)) {
    pen = Pen{kGreen, 2};
    hatch = Brush::Hatch(kGreen, kWhite);
  } else if (plan_.ShowProblems && Distance(s[0], s[3]) / plan_.zx < kProblemDistance) {
    // Too short to see or to grab at this zoom.
    pen.colour = kRed;
  }

  TPoint screen[6];
  for (int i = 0; i < 6; ++i) screen[i] = P(s[i]);
  Path hexagon;
  for (int i = 0; i < 5; ++i)
    hexagon.AddLine(screen[i].x, screen[i].y, screen[i + 1].x, screen[i + 1].y);
  surface_.FillPath(hatch, hexagon);

  auto line = [&](int a, int b) {
    surface_.DrawLine(pen, screen[a].x, screen[a].y, screen[b].x, screen[b].y);
  };
  line(1, 2);
  line(4, 5);
  if (!wall.JoinedAtC1) line(1, 5);
  if (!wall.JoinedAtC2) line(2, 4);

  if (!ShowsLengths(w)) return;
  // Both texts read along the wall, each outside its face, and upright: one
  // that would read upside down is turned about its own centre.
  const int32_t wallAngle = RoundToInt(Angle(s[2], s[1]));
  DrawFaceLength(s[1], s[2], UprightAngle(wallAngle));
  DrawFaceLength(s[4], s[5], UprightAngle(wallAngle + 180));
}

bool PlanPainter::ShowsLengths(int32_t w) const {
  if (plan_.ShowDimensions || plan_.WallSelected(w)) return true;
  const int32_t corner = plan_.Selected(kSelCorner);
  const TWall& wall = plan_.Walls[w];
  return corner > 0 && (wall.C1 == corner || wall.C2 == corner);
}

// The length of the face from..to, written 120 mm outside the face's middle.
void PlanPainter::DrawFaceLength(TPoint from, TPoint to, int32_t angle) {
  const int32_t len = Distance(from, to);
  const TPoint outside{CheckedAdd(from.x, len / 2), CheckedSub(from.y, kLengthOffset)};
  const TPoint anchor = P(Rotate(outside, from, Angle(from, to)));
  DrawTextRotated(surface_, LengthText(len), Pixels(kSmallTextMm), anchor.x, anchor.y, angle,
                  kBlack, kNoBox);
}

const QString& PlanPainter::LengthText(int32_t millimetres) {
  auto found = lengthTexts_.find(millimetres);
  if (found == lengthTexts_.end())
    found = lengthTexts_.emplace(millimetres, FormatLength(millimetres)).first;
  return found->second;
}

void PlanPainter::DrawObjet(int32_t k) {
  const TObjet& objet = plan_.Objects[k];
  const int32_t s = plan_.Selected(kSelObject);
  Pen pen{kBlack, 1};
  if (s == k)
    pen = Pen{kGreen, 2};
  else if (s > 0 && plan_.Objects[s].groupe > 0 && plan_.Objects[s].groupe == objet.groupe)
    pen = Pen{kGreen, 1};
  const bool crossing = plan_.ShowProblems && ObjetCrossesWall(plan_, k);
  if (crossing && pen.colour == kBlack) pen.colour = kRed;

  const TPoint centre = P({objet.x, objet.y});
  surface_.Translate(centre.x, centre.y);
  surface_.Rotate(objet.a);
  // A furniture model is drawn as its symbol; the outline then only marks the
  // selection.
  const bool symbol = FindFurnitureModel(objet.modele) != nullptr;
  if (symbol) {
    surface_.Scale(plan_.zx, plan_.zy);
    DrawFurnitureSymbol(surface_, objet.modele, objet.l, objet.h,
                        crossing ? SymbolInk{kRed, kRed} : kFurnitureInk);
  } else {
    surface_.Scale(objet.l * plan_.zx, objet.h * plan_.zy);
    surface_.FillRectangle(Brush::Solid(kWhite), -0.5, -0.5, 1, 1);
  }
  surface_.ResetTransform();

  if (plan_.ShowObjectNames)
    DrawTextCentred(surface_, FromUtf8(objet.nom), Pixels(kSmallTextMm), centre.x, centre.y, kBlack,
                    kNoBox);

  if (symbol && pen.colour != kGreen) return;
  const TQuad q = plan_.ObjetPolygon(k);
  for (int i = 0; i < 4; ++i) {
    const TPoint a = P(q[i]);
    const TPoint b = P(q[(i + 1) % 4]);
    surface_.DrawLine(pen, a.x, a.y, b.x, b.y);
  }
}

void PlanPainter::DrawGuides() {
  const Pen pen{kBrightGreen, 1};
  if (plan_.GuideX >= 0) {
    const int32_t x = plan_.PlanToScreenX(plan_.GuideX);
    surface_.DrawLine(pen, x, 0, x, plan_.ViewHeight);
  }
  if (plan_.GuideY >= 0) {
    const int32_t y = plan_.PlanToScreenY(plan_.GuideY);
    surface_.DrawLine(pen, 0, y, plan_.ViewWidth, y);
  }
}

void PlanPainter::DrawSelectedCorner() {
  const int32_t m = plan_.Selected(kSelCorner);
  if (m <= 0) return;
  const TPoint p = P(plan_.Corners[m]);
  const int32_t size = plan_.MarkerSize;
  surface_.FillRectangle(Brush::Solid(kGreen), p.x - size, p.y - size, 2 * size, 2 * size);
}

void PlanPainter::DrawMarker(TPoint planPoint) {
  const TPoint p = P(planPoint);
  surface_.FillRectangle(Brush::Solid(kRed), p.x - 2, p.y - 2, 4, 4);
}

void PlanPainter::DrawProblems() {
  const auto markPairs = [this](const std::vector<std::pair<int32_t, int32_t>>& pairs) {
    for (const auto& [i, j] : pairs) {
      DrawMarker(plan_.Corners[i]);
      DrawMarker(plan_.Corners[j]);
    }
  };
  if (closeCorners_ != nullptr)
    markPairs(*closeCorners_);
  else
    markPairs(CloseCornerPairs(plan_));
  // Wall faces that do not close into a room where the walk around them stopped.
  if (plan_.ShowRooms)
    for (const TPoint p : plan_.OpenWalkEnds) DrawMarker(p);
  // The selected corner almost touching a wall that does not end at it.
  const int32_t m = plan_.Selected(kSelCorner);
  if (m <= 0) return;
  const TPoint corner = plan_.Corners[m];
  for (int32_t w = 1, n = plan_.WallCount; w <= n; ++w) {
    const TPoint a = plan_.Corners[plan_.Walls[w].C1];
    const TPoint b = plan_.Corners[plan_.Walls[w].C2];
    const int32_t e = DistanceToSegment(corner, a, b);
    if (e > 0 && e < kProblemDistance) DrawMarker(ProjectOnSegment(corner, a, b));
  }
}

void DrawPlan(TCasaPlan& plan, QImage& image) {
  QPainterSurface surface(image);
  PlanPainter(plan, surface).Draw();
}

}  // namespace casavo
