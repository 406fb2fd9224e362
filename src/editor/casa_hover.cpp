// TCasa: hover feedback of each tool (pointer shape, status text, guides).

#include "editor/casa.h"
#include "editor/messages.h"

namespace casavo {

void TCasa::SelectHover(int32_t x, int32_t y) {
  // The guides belong to a drag that has ended; the next paint drops them.
  Plan->GuideX = -1;
  Plan->GuideY = -1;
  if (Plan->ShowObjects && ObjetAt(x, y) > 0) {
    setCursor(Qt::SizeAllCursor);
    Status("CASA_CLIC_SEL_OBJET");
  } else if (CornerAt(x, y) > 0) {
    setCursor(Qt::SizeAllCursor);
    Status("CASA_CLIC_SEL_COIN");
  } else if (const int32_t w = WallAt(x, y); w > 0) {
    setCursor(Qt::SizeAllCursor);
    Status(OpeningAt(x, y, w) > 0 ? "CASA_CLIC_SEL_TROU" : "CASA_CLIC_SEL_MUR");
  } else if (RoomAt(x, y) > 0) {
    setCursor(Qt::IBeamCursor);
  } else {
    setCursor(Qt::ArrowCursor);
    Status("CASA_CLIC_DEP_PLAN");
  }
}

void TCasa::DrawWallHover(int32_t x, int32_t y) {
  setCursor(Qt::CrossCursor);
  const int32_t guideX = Plan->GuideX, guideY = Plan->GuideY;
  Snap(Plan->ScreenToPlan({x, y}), false);
  if (Plan->GuideX != guideX || Plan->GuideY != guideY) Paint();
}

// The wall under the pointer is highlighted as the selection, without telling
// the panels: it is only a preview of where the opening would go.
void TCasa::AddOpeningHover(int32_t x, int32_t y) {
  const int32_t w = WallAt(x, y);
  if (w == Plan->Selected(kSelWall)) return;
  Plan->SetSelection(w, kSelWall);
  Paint();
  if (w == 0) {
    setCursor(Qt::ArrowCursor);
    Status("CASA_SEL_MUR_POUR_TROU");
  } else {
    setCursor(Qt::CrossCursor);
    Status("CASA_CLIC_ADD_TROU");
  }
}

void TCasa::AddObjectHover(int32_t x, int32_t y) {
  if (WallAt(x, y) > 0) {
    setCursor(Qt::ArrowCursor);
    Plan->Message("");
  } else {
    setCursor(Qt::CrossCursor);
    Status("CASA_CLIC_ADD_OBJET");
  }
}

}  // namespace casavo
