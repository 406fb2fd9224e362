// TCasaPlan: Clear, the selection, the host calls, plan <-> screen.

#include "common/numeric.h"
#include "plan/addition_index.h"
#include "plan/casa_plan.h"

namespace casavo {

void TCasaPlan::Clear() {
  bulk_.index.reset();
  CornerCount = 0;
  WallCount = 0;
  OpeningCount = 0;
  RoomCount = 0;
  OpenWalkEnds.clear();
  ObjectCount = 0;
  RoomNames.Clear();
  RoomKinds.Clear();
  RoomColours.Clear();
  NextGroup = 0;
  WallHeight = kDefaultWallHeight;
  Trace = TTrace();
  SetSelection(0, kSelNothing);
}

void TCasaPlan::SetSelection(int32_t index, uint8_t kind) {
  SelIndex = index;
  SelKind = kind;
  SelectedRun = TIntList();
}

int32_t TCasaPlan::Selected(uint8_t kind) const {
  return SelKind == kind ? SelIndex : 0;
}

bool TCasaPlan::WallSelected(int32_t w) const {
  if (Selected(kSelWall) == 0) return false;
  if (SelIndex == w) return true;
  for (int32_t i = 1; i <= SelectedRun.Count; ++i)
    if (SelectedRun[i] == w) return true;
  return false;
}

void TCasaPlan::Message(const std::string& text) const {
  if (OnMessage) OnMessage(text);
}

void TCasaPlan::NotifySelectionChange() const {
  if (OnSelectionChange) OnSelectionChange(nullptr);
}

// The products are taken in long double so that a zoom such as 0.05, slightly
// above a twentieth as a double, keeps its excess and rounds once.
int32_t TCasaPlan::PlanToScreenX(int32_t x) const {
  return RoundToInt(static_cast<long double>(x) * zx + x0);
}

int32_t TCasaPlan::PlanToScreenY(int32_t y) const {
  return RoundToInt(static_cast<long double>(y) * zy + y0);
}

TPoint TCasaPlan::PlanToScreen(TPoint p) const {
  return {PlanToScreenX(p.x), PlanToScreenY(p.y)};
}

int32_t TCasaPlan::ScreenToPlanX(int32_t px) const {
  return RoundToInt((static_cast<long double>(px) - x0) / zx);
}

int32_t TCasaPlan::ScreenToPlanY(int32_t py) const {
  return RoundToInt((static_cast<long double>(py) - y0) / zy);
}

TPoint TCasaPlan::ScreenToPlan(TPoint p) const {
  return {ScreenToPlanX(p.x), ScreenToPlanY(p.y)};
}

}  // namespace casavo
