// PlanFiller: read values into a plan through the plan's own adds.

#include "files/plan_filler.h"

#include <cmath>
#include <exception>

#include "common/errors.h"

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

// Says which table is full rather than the bare range error.
std::string Reason(const std::exception& e, int32_t count, int32_t capacity, const char* table) {
  const bool full = dynamic_cast<const RangeError*>(&e) && count >= capacity;
  return full ? FullTable(table, capacity) : e.what();
}

// A wall may also need one or two new corners, and a wall and a corner for
// each wall it cuts: a refused wall is taken back whole, so the table that
// filled is the one the wall and its cuts would have overfilled.
std::string WallReason(const std::exception& e, const TCasaPlan& plan) {
  if (!dynamic_cast<const RangeError*>(&e)) return e.what();
  if (plan.CornerCount >= TCasaPlan::kMaxCorners - 1 && plan.WallCount < TCasaPlan::kMaxWalls)
    return FullTable("coins", TCasaPlan::kMaxCorners);
  return FullTable("murs", TCasaPlan::kMaxWalls);
}

}  // namespace

PlanFiller::PlanFiller(TCasaPlan& plan, PlanReadResult& result) : plan_(plan), result_(result) {
  plan_.CornerCount = 0;
  plan_.WallCount = 0;
  plan_.OpeningCount = 0;
  plan_.ObjectCount = 0;
  adding_.emplace(plan_);
}

void PlanFiller::SetView(int32_t x0, int32_t y0, double zx, double zy) {
  plan_.x0 = x0;
  plan_.y0 = y0;
  plan_.zx = UsableZoom(zx);
  plan_.zy = UsableZoom(zy);
}

void PlanFiller::AddWall(TPoint a, TPoint b, std::optional<int32_t> epais) {
  try {
    plan_.AddWallOfThickness(a, b, epais.value_or(plan_.DefaultThickness));
  } catch (const std::exception& e) {
    Refuse("mur refusé : " + WallReason(e, plan_));
  }
}

void PlanFiller::WallsRead() {
  try {
    plan_.JoinPokingEndsEverywhere();
  } catch (const std::exception&) {
    // Left as drawn: the plan is whole, only those rooms stay merged.
  }
}

void PlanFiller::AddOpening(int32_t imur, int32_t large, int32_t dcoin1, int32_t sorte,
                            int32_t volet, int32_t cote) {
  try {
    plan_.AddOpening(imur, large, dcoin1, sorte, volet, cote);
  } catch (const std::exception& e) {
    Refuse("ouverture refusée : " +
           Reason(e, plan_.OpeningCount, TCasaPlan::kMaxOpenings, "ouvertures"));
  }
}

void PlanFiller::AddObjet(int32_t x, int32_t y, int32_t l, int32_t h, int32_t a, int32_t groupe,
                          const std::string& nom, const std::string& modele) {
  try {
    plan_.Objects[plan_.AddObjet(x, y, l, h, a, groupe, nom)].modele = modele;
  } catch (const std::exception& e) {
    Refuse("objet refusé : " + Reason(e, plan_.ObjectCount, TCasaPlan::kMaxObjects, "objets"));
  }
}

void PlanFiller::Refuse(const std::string& reason) {
  ++result_.refused;
  if (result_.refusal.empty()) result_.refusal = reason;
}

}  // namespace casavo
