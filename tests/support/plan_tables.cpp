// Table comparisons of two plans.

#include "support/plan_tables.h"

#include <sstream>

namespace casavo::gen {
namespace {

std::ostream& operator<<(std::ostream& out, TPoint p) {
  return out << '(' << p.x << ',' << p.y << ')';
}

std::ostream& operator<<(std::ostream& out, const TWall& w) {
  return out << w.C1 << '-' << w.C2 << " thickness " << w.epais;
}

std::ostream& operator<<(std::ostream& out, const TOpening& o) {
  return out << "wall " << o.imur << " at " << o.dcoin1 << " width " << o.large << " kind "
             << o.sorte << '/' << o.volet << '/' << o.cote;
}

std::ostream& operator<<(std::ostream& out, const TObjet& o) {
  return out << o.nom << " (" << o.x << ',' << o.y << ") " << o.l << 'x' << o.h << " turned " << o.a
             << " group " << o.groupe;
}

bool Same(TPoint a, TPoint b) {
  return a == b;
}
bool Same(const TWall& a, const TWall& b) {
  return a.C1 == b.C1 && a.C2 == b.C2 && a.epais == b.epais;
}
bool Same(const TOpening& a, const TOpening& b) {
  return a.cote == b.cote && a.sorte == b.sorte && a.volet == b.volet && a.imur == b.imur &&
         a.dcoin1 == b.dcoin1 && a.large == b.large;
}
bool Same(const TObjet& a, const TObjet& b) {
  return a.x == b.x && a.y == b.y && a.l == b.l && a.h == b.h && a.a == b.a &&
         a.groupe == b.groupe && a.nom == b.nom;
}

// Writes the first differing element of two tables; false when none differs.
template <class Table>
bool Differs(std::ostream& out, const char* name, int32_t countA, const Table& a, int32_t countB,
             const Table& b) {
  if (countA != countB) {
    out << name << " count " << countA << " vs " << countB;
    return true;
  }
  for (int32_t i = 1; i <= countA; ++i) {
    if (!Same(a[i], b[i])) {
      out << name << ' ' << i << ": " << a[i] << " vs " << b[i];
      return true;
    }
  }
  return false;
}

}  // namespace

std::string FirstDifference(const TCasaPlan& a, const TCasaPlan& b) {
  std::ostringstream out;
  if (Differs(out, "corner", a.CornerCount, a.Corners, b.CornerCount, b.Corners) ||
      Differs(out, "wall", a.WallCount, a.Walls, b.WallCount, b.Walls) ||
      Differs(out, "opening", a.OpeningCount, a.Openings, b.OpeningCount, b.Openings) ||
      Differs(out, "object", a.ObjectCount, a.Objects, b.ObjectCount, b.Objects))
    return out.str();
  if (a.SelIndex != b.SelIndex || a.SelKind != b.SelKind)
    out << "selection " << a.SelIndex << '/' << int{a.SelKind} << " vs " << b.SelIndex << '/'
        << int{b.SelKind};
  return out.str();
}

}  // namespace casavo::gen
