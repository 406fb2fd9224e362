#include "files/plan_filler.h"

#include <cmath>
#include <exception>

namespace casavo {
namespace {

constexpr double kDefaultZoom = 0.05;

double UsableZoom(double zoom) {
  return std::isfinite(zoom) && zoom >= 0.001 && zoom <= 1000 ? zoom : kDefaultZoom;
}

std::string FullTable(const char* table, int32_t capacity) {
  return "la table des " + std::string(table) + " est pleine (" + std::to_string(capacity) +
         " au plus)";
}

}  // namespace

PlanFiller::PlanFiller(TCasaPlan& plan, PlanReadResult& result) : plan_(plan), result_(result) {
  plan_.CornerCount = 0;
  plan_.WallCount = 0;
  plan_.OpeningCount = 0;
  plan_.ObjectCount = 0;
}

void PlanFiller::SetView(int32_t x0, int32_t y0, double zx, double zy) {
  plan_.x0 = x0;
  plan_.y0 = y0;
  plan_.zx = UsableZoom(zx);
  plan_.zy = UsableZoom(zy);
}

void PlanFiller::AddWall(TPoint a, TPoint b, std::optional<int32_t> epais) {
  // Checked first so that a refused wall leaves no corners behind.
  if (plan_.WallCount >= TCasaPlan::kMaxWalls)
    return Refuse("mur refusé : " + FullTable("murs", TCasaPlan::kMaxWalls));
  // New walls take the default thickness, and so do the pieces cut from them.
  const int32_t saved = plan_.DefaultThickness;
  if (epais) plan_.DefaultThickness = *epais;
  try {
    plan_.AddWall(a, b);
  } catch (const std::exception& e) {
    Refuse(std::string("mur refusé : ") + e.what());
  }
  plan_.DefaultThickness = saved;
}

void PlanFiller::AddOpening(int32_t imur, int32_t large, int32_t dcoin1, int32_t sorte,
                            int32_t volet, int32_t cote) {
  if (plan_.OpeningCount >= TCasaPlan::kMaxOpenings)
    return Refuse("ouverture refusée : " + FullTable("ouvertures", TCasaPlan::kMaxOpenings));
  try {
    plan_.AddOpening(imur, large, dcoin1, sorte, volet, cote);
  } catch (const std::exception& e) {
    Refuse(std::string("ouverture refusée : ") + e.what());
  }
}

void PlanFiller::AddObjet(int32_t x, int32_t y, int32_t l, int32_t h, int32_t a, int32_t groupe,
                          const std::string& nom) {
  if (plan_.ObjectCount >= TCasaPlan::kMaxObjects)
    return Refuse("objet refusé : " + FullTable("objets", TCasaPlan::kMaxObjects));
  try {
    plan_.AddObjet(x, y, l, h, a, groupe, nom);
  } catch (const std::exception& e) {
    Refuse(std::string("objet refusé : ") + e.what());
  }
}

void PlanFiller::Refuse(const std::string& reason) {
  ++result_.refused;
  if (result_.refusal.empty()) result_.refusal = reason;
}

}  // namespace casavo
