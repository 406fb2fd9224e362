// PlanFiller: rebuilds a plan from read values, for both text forms.

#pragma once

#include <optional>
#include <string>

#include "files/plan_xml.h"

namespace casavo {

// Rebuilds a plan from read values through the plan's own adds, for both text
// forms. An add the plan refuses (a full table, a coordinate out of range) is
// counted in the result with its reason; the items that fit are kept. While
// the filler lives the plan indexes its corners and walls, so that reading
// stays linear in the number of walls.
class PlanFiller {
 public:
  PlanFiller(TCasaPlan& plan, PlanReadResult& result);

  // Zoom factors that are not finite or outside [0.001, 1000] become 0.05.
  void SetView(int32_t x0, int32_t y0, double zx, double zy);
  // Adds a wall; its thickness, when given, goes to the pieces it is cut into
  // where it crosses walls already read, and theirs stays theirs.
  void AddWall(TPoint a, TPoint b, std::optional<int32_t> epais);
  // Once every wall is in, before the openings: a free end poking into a
  // wall is joined to it, as the clean-up after a gesture would join it, so
  // that the rooms are those the walls' paint closes.
  void WallsRead();
  void AddOpening(int32_t imur, int32_t large, int32_t dcoin1, int32_t sorte, int32_t volet,
                  int32_t cote);
  void AddObjet(int32_t x, int32_t y, int32_t l, int32_t h, int32_t a, int32_t groupe,
                const std::string& nom, const std::string& modele = {});
  // An item that could not be read at all (an over-long number list).
  void Refuse(const std::string& reason);

 private:
  TCasaPlan& plan_;
  PlanReadResult& result_;
  std::optional<TCasaPlan::BulkAdding> adding_;
};

// The older key=value line form.
PlanReadResult ReadPlanLines(TCasaPlan& plan, std::string_view text);

}  // namespace casavo
