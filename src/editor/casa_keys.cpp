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
      Mode = ModeDrawWall;
      // Shows the crosshair and the guides at once, without a real move.
      MouseMove(MouseX, MouseY);
      break;
    case Qt::Key_O:
      if (!plain) break;
      Mode = ModeAddOpening;
      Paint();
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
      break;
  }
}

// At most one deletion per key press: each confirmed one clears the selection.
void TCasa::DeleteSelection() {
  if (const int32_t w = Plan->Selected(kSelWall); w > 0) {
    ConfirmDelete("CASA_MSG_SUPP_MUR", "CASA_UNDO_SUPP_MUR", [&] {
      Plan->DeleteWall(w);
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
