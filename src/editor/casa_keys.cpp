// TCasa: the keyboard commands and the confirmed deletion of the selection.

#include <algorithm>
#include <vector>

#include "editor/casa.h"
#include "editor/messages.h"

namespace casavo {

void TCasa::KeyDown(int key, Qt::KeyboardModifiers shift) {
  const bool ctrl = shift.testFlag(Qt::ControlModifier);
  // Letters arm a tool only on their own: Ctrl+O or Alt+M belong to the window.
  const bool plain = !ctrl && !shift.testFlag(Qt::AltModifier);
  switch (key) {
    case Qt::Key_Delete:
      Guarded([&] { DeleteSelection(); });
      break;
    case Qt::Key_M:
      if (!plain) break;
      ArmTool(ModeDrawWall);
      // Shows the crosshair and the guides at once, without a real move.
      MouseMove(MouseX, MouseY);
      break;
    case Qt::Key_O:
      if (!plain) break;
      ArmTool(ModeAddOpening);
      Paint();
      break;
    case Qt::Key_R:
      // A quarter turn; with Maj, 15°.
      if (plain) Guarded([&] { TurnSelection(shift.testFlag(Qt::ShiftModifier) ? 15 : 90); });
      break;
    case Qt::Key_C:
      if (ctrl) CopySelection();
      break;
    case Qt::Key_V:
      if (ctrl) Guarded([&] { PasteSelection(); });
      break;
    case Qt::Key_Escape:
      Disarm();
      break;
    case Qt::Key_F:
      if (plain) Guarded([&] { FitPlan(); });
      break;
    case Qt::Key_Plus:
    case Qt::Key_Minus:
      if (!ctrl)
        Guarded([&] { ZoomAt(width() / 2, height() / 2, key == Qt::Key_Plus ? 1.25 : 0.8); });
      break;
    case Qt::Key_Z:
      if (ctrl && shift.testFlag(Qt::ShiftModifier)) {
        Guarded([&] { Redo(); });
      } else if (ctrl) {
        Guarded([&] { Undo(); });
      }
      break;
    case Qt::Key_Y:
      if (ctrl) Guarded([&] { Redo(); });
      break;
    default:
      // A number typed while a wall is drawn is its length.
      if (plain && key >= Qt::Key_0 && key <= Qt::Key_9)
        OpenLengthEntry(QString(QChar('0' + (key - Qt::Key_0))));
      break;
  }
}

// At most one deletion per key press: each confirmed one clears the selection.
void TCasa::DeleteSelection() {
  if (const int32_t w = Plan->Selected(kSelWall); w > 0) {
    ConfirmDelete("CASA_MSG_SUPP_MUR", "CASA_UNDO_SUPP_MUR", [&] {
      // The whole run goes, the highest index first: a deletion moves the last wall.
      std::vector<int32_t> pieces{w};
      for (int32_t i = 1; i <= Plan->SelectedRun.Count; ++i) pieces.push_back(Plan->SelectedRun[i]);
      std::sort(pieces.rbegin(), pieces.rend());
      for (const int32_t piece : pieces) Plan->DeleteWall(piece);
      Plan->SetSelection(0, kSelNothing);
      Plan->RefreshGeometry();
    });
  }
  if (const int32_t n = Plan->Selected(kSelOpening); n > 0) {
    ConfirmDelete("CASA_MSG_SUPP_TROU", "CASA_UNDO_SUPP_TROU", [&] {
      Plan->DeleteOpening(n);
      Plan->SetSelection(0, kSelNothing);
    });
  }
  if (const int32_t o = Plan->Selected(kSelObject); o > 0) {
    ConfirmDelete("CASA_MSG_SUPP_OBJET", "CASA_UNDO_SUPP_OBJET", [&] {
      Plan->DeleteObjet(o);
      Plan->SetSelection(0, kSelNothing);
    });
  }
}

void TCasa::ConfirmDelete(std::string_view questionKey, std::string_view undoKey,
                          const std::function<void()>& remove) {
  if (!dialogs_->AskYesNo(QString::fromStdString(Msg(questionKey)))) return;
  remove();
  Paint();
  PushUndo(Msg(undoKey));
  Plan->NotifySelectionChange();
}

}  // namespace casavo
