// TCasa: what a press, a drag and a release do to the plan, per tool.

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "common/numeric.h"
#include "editor/casa.h"
#include "editor/messages.h"

namespace casavo {
namespace {

// Wall ends within this many pixels of a neighbour's axis, or of each
// other's, line up.
constexpr int32_t kAlignPixels = 5;
constexpr int32_t kOpeningWidth = 900;

constexpr char kNoRoomForWall[] = "Le plan est plein : impossible d'ajouter un mur.";
constexpr char kNoRoomForCopy[] = "Le plan est plein : impossible de dupliquer le mur.";
constexpr char kNoRoomForOpening[] = "Le plan est plein : impossible d'ajouter une ouverture.";

bool HasRoom(int32_t count, int32_t capacity, int32_t more) {
  return count <= capacity - more;
}

// The corners of both lists, ascending and once each. Corner indices run up
// to 4000, beyond the range the plan's flag-table union accepts.
TIntList UnionOf(const TIntList& a, const TIntList& b) {
  std::vector<int32_t> all;
  for (int32_t i = 1; i <= a.Count; ++i) all.push_back(a[i]);
  for (int32_t i = 1; i <= b.Count; ++i) all.push_back(b[i]);
  std::sort(all.begin(), all.end());
  all.erase(std::unique(all.begin(), all.end()), all.end());
  TIntList result;
  for (int32_t v : all) result.Append(v);
  return result;
}

// Pulls a coordinate onto the target when it is near enough.
void AlignTo(int32_t& value, int32_t target) {
  if (std::llabs(int64_t{value} - target) < kAlignPixels) value = target;
}

TPoint Offset(int32_t x, int32_t y, int32_t dx, int32_t dy) {
  return {CheckedAdd(x, dx), CheckedAdd(y, dy)};
}

}  // namespace

// --- select press -----------------------------------------------------------

void TCasa::SelectPress(int32_t x, int32_t y) {
  const int32_t indexBefore = Plan->SelIndex;
  const uint8_t kindBefore = Plan->SelKind;
  const int32_t previousObject = Plan->Selected(kSelObject);
  Plan->SetSelection(0, kSelNothing);
  const int32_t o = ObjetAt(x, y);
  const int32_t w = WallAt(x, y);
  if (o > 0 && Plan->ShowObjects) {
    ObjectPress(o, previousObject, x, y);
  } else if (const int32_t n = OpeningAt(x, y, w); n > 0) {
    Plan->SetSelection(n, kSelOpening);
  } else if (const int32_t c = CornerAt(x, y); c > 0) {
    GrabCorner(c, x, y);
    Status("CASA_DEPLACER_COIN_MUR");
  } else if (w > 0) {
    GrabWall(w, x, y);
    Status("CASA_DEPLACER_MUR");
  } else if (const int32_t r = RoomAt(x, y); r > 0) {
    Plan->SetSelection(r, kSelRoom);
  }
  Paint();
  if (Plan->SelIndex != indexBefore || Plan->SelKind != kindBefore) Plan->NotifySelectionChange();
}

// Ctrl takes the object out of its group; Shift joins it, with everything
// grouped with it, to the object selected before.
void TCasa::ObjectPress(int32_t o, int32_t previous, int32_t x, int32_t y) {
  TCasaPlan& plan = *Plan;
  if (keyState_->CtrlHeld()) {
    plan.Objects[o].groupe = -1;
  } else if (keyState_->ShiftHeld() && previous > 0) {
    // A loaded plan does not carry NextGroup: start above every group in use
    // so that the new group never merges with an existing one.
    int32_t highest = plan.NextGroup;
    for (int32_t i = 1; i <= plan.ObjectCount; ++i)
      highest = std::max(highest, plan.Objects[i].groupe);
    const int32_t g = plan.NextGroup = CheckedAdd(highest, 1);
    const int32_t previousGroup = plan.Objects[previous].groupe;
    const int32_t objectGroup = plan.Objects[o].groupe;
    for (int32_t i = 1; i <= plan.ObjectCount; ++i) {
      int32_t& groupe = plan.Objects[i].groupe;
      if ((previousGroup > 0 && groupe == previousGroup) ||
          (objectGroup > 0 && groupe == objectGroup))
        groupe = g;
    }
    plan.Objects[previous].groupe = g;
    plan.Objects[o].groupe = g;
  }
  plan.SetSelection(o, kSelObject);
  RecordObjectDrags(x, y);
}

void TCasa::RecordObjectDrags(int32_t x, int32_t y) {
  for (int32_t i = 1; i <= Plan->ObjectCount; ++i) {
    TObjet& objet = Plan->Objects[i];
    objet.DragX = CheckedSub(Plan->PlanToScreenX(objet.x), x);
    objet.DragY = CheckedSub(Plan->PlanToScreenY(objet.y), y);
  }
}

void TCasa::GrabCorner(int32_t c, int32_t x, int32_t y) {
  Plan->SetSelection(c, kSelCorner);
  grabStart_ = Plan->Corners[c];
  const TPoint s = Plan->PlanToScreen(grabStart_);
  GrabDX = CheckedSub(s.x, x);
  GrabDY = CheckedSub(s.y, y);
  Neighbours = Plan->CornersAround(c);
}

// A press selects the whole straight run the piece belongs to; Ctrl keeps to
// the piece.
void TCasa::GrabWall(int32_t w, int32_t x, int32_t y) {
  Plan->SetSelection(w, kSelWall);
  run_ = keyState_->CtrlHeld() ? WallRun{{w}, {Plan->Walls[w].C1, Plan->Walls[w].C2}}
                               : FindWallRun(*Plan, w);
  runGrab_.clear();
  for (const int32_t c : run_.corners) {
    const TPoint s = Plan->PlanToScreen(Plan->Corners[c]);
    runGrab_.emplace_back(CheckedSub(s.x, x), CheckedSub(s.y, y));
  }
  for (const int32_t piece : run_.walls)
    if (piece != w) Plan->SelectedRun.Append(piece);
  const TWall& wall = Plan->Walls[w];
  const TPoint s1 = Plan->PlanToScreen(Plan->Corners[wall.C1]);
  const TPoint s2 = Plan->PlanToScreen(Plan->Corners[wall.C2]);
  GrabC1DX = CheckedSub(s1.x, x);
  GrabC1DY = CheckedSub(s1.y, y);
  GrabC2DX = CheckedSub(s2.x, x);
  GrabC2DY = CheckedSub(s2.y, y);
  Neighbours = UnionOf(Plan->CornersAround(wall.C1), Plan->CornersAround(wall.C2));
}

// --- select drag -------------------------------------------------------------

void TCasa::SelectDrag(int32_t x, int32_t y) {
  if (refused_) return;
  Plan->GuideX = -1;
  Plan->GuideY = -1;
  const int32_t n = Plan->SelIndex;
  switch (static_cast<SelectionKind>(Plan->SelKind)) {
    case kSelCorner:
      if (n > 0) return DragCorner(n, x, y);
      break;
    case kSelWall:
      if (n > 0) return DragWall(n, x, y);
      break;
    case kSelObject:
      if (n > 0 && Plan->ShowObjects) return DragObject(n, x, y);
      break;
    case kSelNothing:
    case kSelOpening:
    case kSelRoom:
      break;
  }
  Pan(x, y);
}

void TCasa::DragCorner(int32_t c, int32_t x, int32_t y) {
  const TPoint raw = Plan->ScreenToPlan(Offset(x, y, GrabDX, GrabDY));
  magnetTurned_ = false;
  // Alt puts the corner exactly under the pointer: no snapping, no magnetism.
  TPoint q = keyState_->AltHeld() ? raw : Snap(raw, true);
  if (keyState_->AltHeld()) {
    Plan->GuideX = -1;
    Plan->GuideY = -1;
  } else if (keyState_->ShiftHeld()) {
    // The corner slides along the axis the pointer mostly followed since the
    // press, through where the corner was.
    const bool horizontal = std::llabs(int64_t{x} - DownX) >= std::llabs(int64_t{y} - DownY);
    if (horizontal) {
      q.y = grabStart_.y;
      if (Plan->GuideY != q.y) Plan->GuideY = -1;
    } else {
      q.x = grabStart_.x;
      if (Plan->GuideX != q.x) Plan->GuideX = -1;
    }
  } else if (Plan->GuideX == -1 && Plan->GuideY == -1) {
    // The traced picture's lines come before round lengths and angles.
    if (!SnapToTracing(q)) q = Magnetise(c, q);
  }
  PrepareMove();
  Plan->Corners[c] = q;
  PaintMoved({c});
  Status("CASA_DEPLACE_COIN");
}

void TCasa::DragWall(int32_t w, int32_t x, int32_t y) {
  if (keyState_->ShiftHeld() && !Moved) {
    const bool room = HasRoom(Plan->CornerCount, TCasaPlan::kMaxCorners, 2) &&
                      HasRoom(Plan->WallCount, TCasaPlan::kMaxWalls, 3);
    if (Refuse(room, kNoRoomForCopy)) return;
    w = DuplicateWall(w);
  }
  if (run_.walls.size() > 1 && Plan->SelectedRun.Count > 0) return DragRun(x, y);
  TPoint p1 = Offset(x, y, GrabC1DX, GrabC1DY);
  TPoint p2 = Offset(x, y, GrabC2DX, GrabC2DY);
  const TWall& wall = Plan->Walls[w];
  for (int32_t i = 1; i <= Neighbours.Count; ++i) {
    const int32_t n = Neighbours[i];
    if (n == wall.C1 || n == wall.C2 || n > Plan->CornerCount) continue;
    const TPoint s = Plan->PlanToScreen(Plan->Corners[n]);
    AlignTo(p1.x, s.x);
    AlignTo(p1.y, s.y);
    AlignTo(p2.x, s.x);
    AlignTo(p2.y, s.y);
  }
  // Nearly upright or level walls become exactly so.
  AlignTo(p1.x, p2.x);
  AlignTo(p2.y, p1.y);
  const TPoint q1 = Plan->ScreenToPlan(p1), q2 = Plan->ScreenToPlan(p2);
  const int32_t c1 = wall.C1, c2 = wall.C2;
  PrepareMove();
  Plan->Corners[c1] = q1;
  Plan->Corners[c2] = q2;
  PaintMoved({c1, c2});
  Status("CASA_DEP_MUR");
}

// Every corner of the run keeps its offset from the pointer; the run's ends
// line up with the corners around them as a single wall's do.
void TCasa::DragRun(int32_t x, int32_t y) {
  const size_t last = run_.corners.size() - 1;
  TPoint a = Offset(x, y, runGrab_[0].x(), runGrab_[0].y());
  const TPoint a0 = a;
  for (int32_t i = 1; i <= Neighbours.Count; ++i) {
    const int32_t n = Neighbours[i];
    if (n > Plan->CornerCount ||
        std::find(run_.corners.begin(), run_.corners.end(), n) != run_.corners.end())
      continue;
    const TPoint s = Plan->PlanToScreen(Plan->Corners[n]);
    AlignTo(a.x, s.x);
    AlignTo(a.y, s.y);
  }
  // The pull on the first end moves the whole run.
  const int32_t dx = CheckedSub(a.x, a0.x), dy = CheckedSub(a.y, a0.y);
  std::vector<TPoint> to;
  for (size_t i = 0; i <= last; ++i) {
    const TPoint p = Offset(CheckedAdd(x, dx), CheckedAdd(y, dy), runGrab_[i].x(), runGrab_[i].y());
    to.push_back(Plan->ScreenToPlan(p));
  }
  PrepareMove();
  for (size_t i = 0; i <= last; ++i) Plan->Corners[run_.corners[i]] = to[i];
  PaintMoved(run_.corners);
  Status("CASA_DEP_MUR");
}

// The copy is joined to the original by two end walls and carries on the drag.
int32_t TCasa::DuplicateWall(int32_t w) {
  TCasaPlan& plan = *Plan;
  const TWall wall = plan.Walls[w];
  const int32_t a1 = plan.AddCorner(plan.Corners[wall.C1]);
  const int32_t b1 = plan.AddCorner(plan.Corners[wall.C2]);
  plan.AppendWall(wall.C1, a1, wall.epais);
  plan.AppendWall(wall.C2, b1, wall.epais);
  const int32_t copy = plan.AppendWall(a1, b1, wall.epais);
  plan.SetSelection(copy, kSelWall);
  plan.NotifySelectionChange();
  Status("CASA_MUR_DUPLIQUE");
  return copy;
}

void TCasa::DragObject(int32_t o, int32_t x, int32_t y) {
  const int32_t group = Plan->Objects[o].groupe;
  if (!Moved) dragAngle_ = Plan->Objects[o].a;
  for (int32_t i = 1; i <= Plan->ObjectCount; ++i) {
    TObjet& objet = Plan->Objects[i];
    if (i != o && (group <= 0 || objet.groupe != group)) continue;
    const TPoint p = Plan->ScreenToPlan(Offset(x, y, objet.DragX, objet.DragY));
    objet.x = p.x;
    objet.y = p.y;
  }
  // A lone object comes to rest against a wall it nears; Alt keeps it free.
  if (group <= 0 && !keyState_->AltHeld()) MagnetiseObject(o);
  Paint();
  Status("CASA_DEP_OBJET");
}

void TCasa::Pan(int32_t x, int32_t y) {
  Plan->x0 = CheckedAdd(DownX0, CheckedSub(x, DownX));
  Plan->y0 = CheckedAdd(DownY0, CheckedSub(y, DownY));
  Paint();
  Status("CASA_DEP_PLAN");
}

// --- release -------------------------------------------------------------------

void TCasa::Release() {
  magnetTurned_ = false;
  if (const int32_t c = Plan->Selected(kSelCorner); c > 0) {
    const TPoint endBefore = Plan->Corners[c];
    FinishMove([&] { Plan->CleanUpAfterCornerMove(c); }, "CASA_UNDO_COIN");
    Guarded([&] { Plan->NormaliseOrigin(); });
    if (drawingWall_) RememberDrawnWall(endBefore);
  } else if (const int32_t w = Plan->Selected(kSelWall); w > 0) {
    const bool wholeRun = Plan->SelectedRun.Count > 0;
    const std::vector<int32_t> corners = run_.corners;
    FinishMove(
        [&] {
          if (!wholeRun) return Plan->CleanUpAfterWallMove(w);
          // Walls joined along the run stretched with it: each corner is checked.
          for (const int32_t k : corners)
            if (k <= Plan->CornerCount) Plan->CleanUpAfterCornerMove(k);
        },
        "CASA_UNDO_MUR");
  } else if (Plan->ShowObjects && Plan->Selected(kSelObject) > 0) {
    if (placing_) {
      // Dragged on from where it was placed: still the one placement step.
      Guarded([&] {
        Plan->NormaliseOrigin();
        Paint();
        if (Moved) AmendUndo(Msg("CASA_UNDO_ADD_OBJET"));
      });
      Plan->NotifySelectionChange();
    } else {
      FinishMove([&] { Plan->NormaliseOrigin(); }, "CASA_UNDO_OBJET");
    }
  }
  placing_ = false;
}

// The panels hear of the release even when the clean-up was interrupted.
void TCasa::FinishMove(const std::function<void()>& cleanUp, std::string_view undoKey) {
  Guarded([&] {
    cleanUp();
    Paint();
    if (Moved) PushUndo(Msg(undoKey));
  });
  Plan->NotifySelectionChange();
}

// The wall just drawn stays open to a typed length until the next press. The
// clean-up may have shifted every point: the end corner tells by how much.
void TCasa::RememberDrawnWall(TPoint endBefore) {
  drawingWall_ = false;
  const int32_t end = Plan->Selected(kSelCorner);
  if (end == 0) return;
  const TPoint endAfter = Plan->Corners[end];
  drawnStart_ = {CheckedAdd(drawnStart_.x, CheckedSub(endAfter.x, endBefore.x)),
                 CheckedAdd(drawnStart_.y, CheckedSub(endAfter.y, endBefore.y))};
  drawnEnd_ = endAfter;
  drawn_ = drawnStart_ != drawnEnd_;
}

// --- the tools ---------------------------------------------------------------------

void TCasa::DrawWallPress(int32_t x, int32_t y) {
  // The gesture goes on as a corner drag; an armed tool comes back at the release.
  Mode = ModeSelect;
  const bool room = HasRoom(Plan->CornerCount, TCasaPlan::kMaxCorners, 2) &&
                    HasRoom(Plan->WallCount, TCasaPlan::kMaxWalls, 1);
  if (Refuse(room, kNoRoomForWall)) return;
  TPoint p = Snap(Plan->ScreenToPlan({x, y}), false);
  if (!keyState_->AltHeld() && Plan->GuideX == -1 && Plan->GuideY == -1) SnapToTracing(p);
  const int32_t start = Plan->FindOrAddCorner(p);
  const int32_t end = Plan->AddCorner(p);
  Plan->AppendWall(start, end, Plan->DefaultThickness);
  drawingWall_ = true;
  drawnStart_ = Plan->Corners[start];
  // The drag that follows moves the far end; the release cleans up.
  GrabCorner(end, x, y);
  Paint();
}

void TCasa::AddOpeningPress(int32_t x, int32_t y) {
  Mode = ModeSelect;
  if (const int32_t w = WallAt(x, y); w > 0) {
    if (Refuse(HasRoom(Plan->OpeningCount, TCasaPlan::kMaxOpenings, 1), kNoRoomForOpening)) return;
    const TPoint c1 = Plan->Corners[Plan->Walls[w].C1];
    const int32_t d = Distance(Plan->ScreenToPlan({x, y}), c1);
    const int32_t k = Plan->AddOpening(w, kOpeningWidth, d, NextOpeningSorte, 0, 0);
    Plan->ClampOpening(k);
    Plan->SetSelection(k, kSelOpening);
    Paint();
    PushUndo(Msg("CASA_UNDO_ADD_TROU"));
    Plan->NotifySelectionChange();
  }
  // Off the walls, a corner still selected from before can be dragged.
  if (const int32_t c = Plan->Selected(kSelCorner); c > 0) {
    GrabCorner(c, x, y);
    Paint();
    Status("CASA_DEPLACER_COIN_MUR");
  }
}

void TCasa::AddObjectPress(int32_t x, int32_t y) {
  Mode = ModeSelect;
  setCursor(Qt::ArrowCursor);
  if (WallAt(x, y) > 0) return;
  PlaceFurniture(x, y);
}

}  // namespace casavo
