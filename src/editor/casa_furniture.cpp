// Furniture in the editor: placing a model, its magnetism against walls,
// turning, copying and pasting.
#include <algorithm>

#include "common/numeric.h"
#include "editor/casa.h"
#include "editor/messages.h"
#include "plan/furniture_fit.h"
#include "render/furniture_symbols.h"

namespace casavo {
namespace {

// A plain object, when no model is chosen.
constexpr int32_t kObjectSize = 600;
// How near a wall face an object's rectangle comes before it rests against it.
constexpr int32_t kWallReach = 150;
// Each paste lands this much further right and down than the last.
constexpr int32_t kPasteStep = 300;

constexpr char kNoRoomForObject[] = "Le plan est plein : impossible d'ajouter un objet.";

int32_t Normalised(int64_t degrees) {
  return static_cast<int32_t>(((degrees % 360) + 360) % 360);
}

}  // namespace

void TCasa::ArmFurniture(const std::string& model) {
  NextModel = model;
  // One placement, then back to selecting: the next click selects it.
  ArmTool(ModeSelect);
  Mode = ModeAddObject;
  setCursor(Qt::CrossCursor);
}

int32_t TCasa::PlaceFurniture(int32_t x, int32_t y) {
  if (Refuse(Plan->ObjectCount < TCasaPlan::kMaxObjects, kNoRoomForObject)) return 0;
  int32_t k = 0;
  Guarded([&] {
    const FurnitureModel* model = FindFurnitureModel(NextModel);
    const TPoint p = Plan->ScreenToPlan({x, y});
    k = model ? Plan->AddObjet(p.x, p.y, model->width, model->depth, 0, 0, model->name)
              : Plan->AddObjet(p.x, p.y, kObjectSize, kObjectSize, 0, 0, "Objet");
    if (model) Plan->Objects[k].modele = model->key;
    Plan->SetSelection(k, kSelObject);
    dragAngle_ = 0;
    if (!keyState_->AltHeld()) MagnetiseObject(k);
    // A drag in the same press carries the new object along.
    RecordObjectDrags(x, y);
    placing_ = true;
    Paint();
    PushUndo(Msg("CASA_UNDO_ADD_OBJET"));
  });
  return k;
}

void TCasa::MagnetiseObject(int32_t o) {
  TObjet& objet = Plan->Objects[o];
  objet.a = dragAngle_;
  const auto placed =
      PlaceAgainstWall(*Plan, {objet.x, objet.y}, objet.l, objet.h, objet.a, kWallReach);
  if (!placed) return;
  objet.x = placed->centre.x;
  objet.y = placed->centre.y;
  objet.a = placed->angle;
}

// A group turns as one, about the selected object's centre.
void TCasa::TurnSelection(int32_t degrees) {
  const int32_t o = Plan->Selected(kSelObject);
  if (o == 0 || !Plan->ShowObjects) return;
  const TObjet pivot = Plan->Objects[o];
  for (int32_t i = 1; i <= Plan->ObjectCount; ++i) {
    TObjet& objet = Plan->Objects[i];
    if (i != o && (pivot.groupe <= 0 || objet.groupe != pivot.groupe)) continue;
    const TPoint c = Rotate({objet.x, objet.y}, {pivot.x, pivot.y}, degrees);
    objet.x = c.x;
    objet.y = c.y;
    objet.a = Normalised(int64_t{objet.a} + degrees);
  }
  Paint();
  PushUndo("Tourner un objet");
  Plan->NotifySelectionChange();
}

void TCasa::CopySelection() {
  const int32_t o = Plan->Selected(kSelObject);
  if (o == 0 || !Plan->ShowObjects) return;
  const int32_t group = Plan->Objects[o].groupe;
  clipboard_.clear();
  for (int32_t i = 1; i <= Plan->ObjectCount; ++i)
    if (i == o || (group > 0 && Plan->Objects[i].groupe == group))
      clipboard_.push_back(Plan->Objects[i]);
  pastes_ = 0;
  Plan->Message(clipboard_.size() == 1 ? "Objet copié." : "Objets copiés.");
}

// The copies make a group of their own, beside the originals.
void TCasa::PasteSelection() {
  if (clipboard_.empty()) return;
  const auto count = static_cast<int32_t>(clipboard_.size());
  if (Plan->ObjectCount > TCasaPlan::kMaxObjects - count) {
    Plan->Message(kNoRoomForObject);
    return;
  }
  int32_t highest = Plan->NextGroup;
  for (int32_t i = 1; i <= Plan->ObjectCount; ++i)
    highest = std::max(highest, Plan->Objects[i].groupe);
  const int32_t g = Plan->NextGroup = CheckedAdd(highest, 1);
  ++pastes_;
  const int32_t shift = CheckedMul(kPasteStep, pastes_);
  int32_t first = 0;
  for (const TObjet& copy : clipboard_) {
    const int32_t k = Plan->AddObjet(CheckedAdd(copy.x, shift), CheckedAdd(copy.y, shift), copy.l,
                                     copy.h, copy.a, g, copy.nom);
    Plan->Objects[k].modele = copy.modele;
    if (first == 0) first = k;
  }
  Plan->SetSelection(first, kSelObject);
  Paint();
  Plan->Message(count == 1 ? "Objet collé." : "Objets collés.");
  PushUndo("Coller");
  Plan->NotifySelectionChange();
}

}  // namespace casavo
