// TCasaPlan: adding and deleting corners, walls, openings and objects.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <numeric>
#include <optional>
#include <vector>

#include "common/errors.h"
#include "plan/addition_index.h"
#include "plan/casa_plan.h"

namespace casavo {
namespace {

void RequireLive(int32_t index, int32_t count) {
  if (index < 1 || index > count) throw RangeError();
}

// A full table refuses the add before anything is written.
void RequireFreeSlot(int32_t count, int32_t capacity) {
  if (count >= capacity) throw RangeError();
}

// Slot `freed` of the table of `kind` has just received its last element,
// which was at `last`. A selection of the deleted element becomes
// (0, resetKind); one of the moved element follows it to its new slot.
void FixSelectionAfterDelete(TCasaPlan& plan, uint8_t kind, int32_t freed, int32_t last,
                             uint8_t resetKind) {
  const int32_t selected = plan.Selected(kind);
  if (selected == freed)
    plan.SetSelection(0, resetKind);
  else if (selected == last)
    plan.SetSelection(freed, kind);
}

__extension__ typedef __int128 Wide;  // a GCC and Clang type, not ISO C++

bool Parallel(const TCasaPlan& plan, int32_t i, int32_t j) {
  const TWall& u = plan.Walls[i];
  const TWall& v = plan.Walls[j];
  const int64_t ux = int64_t{plan.Corners[u.C2].x} - plan.Corners[u.C1].x;
  const int64_t uy = int64_t{plan.Corners[u.C2].y} - plan.Corners[u.C1].y;
  const int64_t vx = int64_t{plan.Corners[v.C2].x} - plan.Corners[v.C1].x;
  const int64_t vy = int64_t{plan.Corners[v.C2].y} - plan.Corners[v.C1].y;
  return Wide{ux} * vy == Wide{uy} * vx;
}

// Whether p lies on wall w's centre line, between its ends: closer than a
// millimetre, as a point rounded to the millimetre misses it by up to 0.71.
bool OnCentreLine(const TCasaPlan& plan, int32_t w, TPoint p) {
  const TPoint a = plan.Corners[plan.Walls[w].C1], b = plan.Corners[plan.Walls[w].C2];
  if (p == a || p == b) return false;
  // Most walls are far away: a box test first.
  if (p.x < int64_t{std::min(a.x, b.x)} - 1 || p.x > int64_t{std::max(a.x, b.x)} + 1 ||
      p.y < int64_t{std::min(a.y, b.y)} - 1 || p.y > int64_t{std::max(a.y, b.y)} + 1)
    return false;
  const long double dx = static_cast<long double>(b.x) - a.x;
  const long double dy = static_cast<long double>(b.y) - a.y;
  const long double length2 = dx * dx + dy * dy;
  const long double px = static_cast<long double>(p.x) - a.x;
  const long double py = static_cast<long double>(p.y) - a.y;
  const long double along = px * dx + py * dy;
  return along > 0 && along < length2 && std::abs(px * dy - py * dx) < std::sqrt(length2);
}

// An end a millimetre off the crossing x was joined to the other wall, or
// the crossing was rounded next to it: the first such end is the crossing,
// so that no sliver is cut off.
TPoint SnappedToEnd(TPoint x, std::initializer_list<TPoint> ends) {
  for (const TPoint end : ends)
    if (std::abs(int64_t{x.x} - end.x) <= 1 && std::abs(int64_t{x.y} - end.y) <= 1) return end;
  return x;
}

}  // namespace

// --- corners -----------------------------------------------------------------

int32_t TCasaPlan::FindOrAddCorner(TPoint p) {
  if (bulk_.index) {
    const int32_t k = bulk_.index->CornerAt(p);
    return k != 0 ? k : AddCorner(p);
  }
  for (int32_t k = 1; k <= CornerCount; ++k)
    if (Corners[k] == p) return k;
  return AddCorner(p);
}

int32_t TCasaPlan::AddCorner(TPoint p) {
  RequireFreeSlot(CornerCount, kMaxCorners);
  Corners[CornerCount + 1] = p;
  ++CornerCount;
  if (bulk_.index) bulk_.index->CornerAdded(p, CornerCount);
  return CornerCount;
}

void TCasaPlan::DeleteCorner(int32_t k) {
  RequireLive(k, CornerCount);
  bulk_.index.reset();
  // Walls still standing on the corner would be left pointing at another
  // corner or past the table: they go with it.
  for (int32_t w = 1; w <= WallCount;) {
    if (Walls[w].C1 == k || Walls[w].C2 == k)
      DeleteWall(w);
    else
      ++w;
  }
  const int32_t last = CornerCount;
  if (k != last) {
    for (int32_t w = 1; w <= WallCount; ++w) {
      if (Walls[w].C1 == last) Walls[w].C1 = k;
      if (Walls[w].C2 == last) Walls[w].C2 = k;
    }
    Corners[k] = Corners[last];
  }
  --CornerCount;
  FixSelectionAfterDelete(*this, kSelCorner, k, last, kSelCorner);
}

void TCasaPlan::MergeCorners(int32_t keep, int32_t remove) {
  RequireLive(keep, CornerCount);
  RequireLive(remove, CornerCount);
  if (keep == remove) return;
  bulk_.index.reset();
  for (int32_t w = 1; w <= WallCount; ++w) {
    if (Walls[w].C1 == remove) Walls[w].C1 = keep;
    if (Walls[w].C2 == remove) Walls[w].C2 = keep;
  }
  if (Selected(kSelCorner) == remove) SetSelection(keep, kSelCorner);
  DeleteCorner(remove);
}

TIntList TCasaPlan::CornersAround(int32_t k) const {
  TIntList around;
  for (int32_t w = 1; w <= WallCount; ++w) {
    if (Walls[w].C1 == k) around.Append(Walls[w].C2);
    if (Walls[w].C2 == k) around.Append(Walls[w].C1);
  }
  return around;
}

TIntList TCasaPlan::WallsAtCorner(int32_t k) const {
  TIntList walls;
  for (int32_t w = 1; w <= WallCount; ++w) {
    if (Walls[w].C1 == k) walls.Append(w);
    if (Walls[w].C2 == k) walls.Append(w);
  }
  return walls;
}

// --- walls ---------------------------------------------------------------------

int32_t TCasaPlan::AddWall(TPoint p1, TPoint p2) {
  return AddWallOfThickness(p1, p2, DefaultThickness);
}

template <class F>
int32_t TCasaPlan::Atomically(F&& add) {
  if (bulk_.journal != nullptr) return add();  // part of an add already journalled
  AddJournal journal{CornerCount, WallCount, {}, {}, {}};
  bulk_.journal = &journal;
  try {
    const int32_t result = add();
    bulk_.journal = nullptr;
    return result;
  } catch (...) {
    bulk_.journal = nullptr;
    TakeBack(journal);
    throw;
  }
}

void TCasaPlan::TakeBack(const AddJournal& journal) {
  for (auto it = journal.movedOpenings.rbegin(); it != journal.movedOpenings.rend(); ++it)
    Openings[it->first] = it->second;
  for (auto it = journal.movedStarts.rbegin(); it != journal.movedStarts.rend(); ++it)
    Walls[it->first].C1 = it->second;
  for (auto it = journal.movedCorners.rbegin(); it != journal.movedCorners.rend(); ++it) {
    const TPoint moved = Corners[it->first];
    Corners[it->first] = it->second;
    if (bulk_.index) bulk_.index->CornerMoved(*this, it->first, moved);
  }
  const int32_t corners = CornerCount;
  CornerCount = journal.corners;
  WallCount = journal.walls;
  // The index forgets the corners; the cells of walls taken back or put back
  // only give the crossing test a few more candidates.
  if (bulk_.index) bulk_.index->CornersDropped(*this, journal.corners, corners);
}

int32_t TCasaPlan::AddWallOfThickness(TPoint p1, TPoint p2, int32_t epais) {
  RequireFreeSlot(WallCount, kMaxWalls);
  // A wall drawn joins the walls its ends stop inside, and those whose ends
  // stop inside it; the pieces its cuts add are already joined.
  const bool drawn = bulk_.journal == nullptr;
  return Atomically([&] {
    const int32_t c1 = FindOrAddCorner(drawn ? JoinedEnd(p1, p2) : p1);
    const int32_t c2 = FindOrAddCorner(drawn ? JoinedEnd(p2, p1) : p2);
    const int32_t w = AppendWall(c1, c2, epais);
    const std::vector<int32_t> moved = drawn ? JoinCornersInside(w) : std::vector<int32_t>{};
    SplitAtCrossings(w);
    if (drawn) {
      CutWallsThrough(c1);
      CutWallsThrough(c2);
      for (const int32_t k : moved) CutWallsThrough(k);
    }
    return w;
  });
}

int32_t TCasaPlan::AppendWall(int32_t c1, int32_t c2, int32_t epais) {
  RequireFreeSlot(WallCount, kMaxWalls);
  RequireLive(c1, CornerCount);
  RequireLive(c2, CornerCount);
  TWall wall;
  wall.C1 = c1;
  wall.C2 = c2;
  wall.epais = epais;
  Walls[WallCount + 1] = wall;
  ++WallCount;
  if (bulk_.index) bulk_.index->WallMoved(*this, WallCount);
  return WallCount;
}

void TCasaPlan::SplitAtCrossings(int32_t a) {
  Atomically([&] {
    SplitAtCrossingsOf(a);
    return 0;
  });
}

void TCasaPlan::SplitAtCrossingsOf(int32_t a) {
  // Wall w now starts at corner g (at x); the piece it loses runs from x back
  // to its old start. The wall slot is checked first so that a full table
  // cannot leave the wall shortened without its piece.
  const auto cutAt = [this](int32_t w, int32_t g, TPoint x) {
    if (Walls[w].C1 == g) return;
    const int32_t oldStart = CutStartAt(w, g);
    AddWallOfThickness(x, Corners[oldStart], Walls[w].epais);
  };

  const TPoint a1 = Corners[Walls[a].C1];
  const TPoint a2 = Corners[Walls[a].C2];
  const auto examine = [&](int32_t i) {
    TPoint x = WallIntersection(i, a);
    if (x.x < 0 || x.y < 0) return;
    const TPoint c = Corners[Walls[i].C1];
    const TPoint d = Corners[Walls[i].C2];
    x = SnappedToEnd(x, {a1, a2, c, d});
    int32_t g = -1;
    if (x != a1 && x != a2) {
      g = FindOrAddCorner(x);
      cutAt(a, g, x);
    }
    if (x != c && x != d) {
      if (g == -1) g = FindOrAddCorner(x);
      cutAt(i, g, x);
    }
  };

  // Walls appended by the cuts split themselves in their own AddWall.
  const int32_t count = WallCount;
  // With an index, only the walls that may cross wall a (or make the test
  // overflow) are examined: the test skips all others. A cut changes walls,
  // so the walls after it are looked up again.
  int32_t examined = 0;
  while (bulk_.index) {
    const auto candidates = bulk_.index->CrossingCandidates(*this, a, examined, count);
    if (!candidates) break;
    const int32_t walls = WallCount;
    for (int32_t i : *candidates) {
      examine(i);
      examined = i;
      if (WallCount != walls) break;
    }
    if (WallCount == walls) return;
  }
  for (int32_t i = examined + 1; i <= count; ++i) examine(i);
}

int32_t TCasaPlan::CutStartAt(int32_t w, int32_t g) {
  RequireFreeSlot(WallCount, kMaxWalls);
  const int32_t oldStart = Walls[w].C1;
  bulk_.journal->movedStarts.emplace_back(w, oldStart);
  const long double cut = std::hypot(static_cast<long double>(Corners[g].x) - Corners[oldStart].x,
                                     static_cast<long double>(Corners[g].y) - Corners[oldStart].y);
  const int32_t piece = WallCount + 1;  // appended next, from g back to the old start
  for (int32_t n = 1; n <= OpeningCount; ++n) {
    TOpening& opening = Openings[n];
    if (opening.imur != w) continue;
    bulk_.journal->movedOpenings.emplace_back(n, opening);
    const long double along = opening.dcoin1 - cut;
    if (along >= 0) {
      opening.dcoin1 = static_cast<int32_t>(std::lround(along));
    } else {
      // The piece runs the other way: the same side is the other one.
      opening.imur = piece;
      opening.dcoin1 = static_cast<int32_t>(std::lround(-along));
      opening.cote = opening.cote == 0 ? 1 : 0;
    }
  }
  Walls[w].C1 = g;
  if (bulk_.index) bulk_.index->WallMoved(*this, w);
  return oldStart;
}

void TCasaPlan::CutWallsThrough(int32_t k) {
  Atomically([&] {
    CutWallsThroughOf(k);
    return 0;
  });
}

// An end joined to a wall lies on its centre line at a point rounded to the
// millimetre. Where the two walls are nearly parallel, the rounding moves
// their crossing far along, past the end, and the crossing test misses it:
// the wall is cut at the end here. A corner no wall ends at cuts nothing,
// and walls lying along the line are the overlap cut's.
void TCasaPlan::CutWallsThroughOf(int32_t k) {
  const TPoint p = Corners[k];
  std::vector<int32_t> candidates;
  if (const auto near = bulk_.index ? bulk_.index->WallsNear(p, 1, WallCount) : std::nullopt) {
    candidates = *near;
  } else {
    candidates.resize(static_cast<size_t>(WallCount));
    std::iota(candidates.begin(), candidates.end(), 1);
  }
  std::vector<int32_t> ending;
  for (const int32_t w : candidates)
    if (Walls[w].C1 == k || Walls[w].C2 == k) ending.push_back(w);
  if (ending.empty()) return;
  for (const int32_t w : candidates) {
    if (!OnCentreLine(*this, w, p) ||
        std::any_of(ending.begin(), ending.end(), [&](int32_t e) { return Parallel(*this, w, e); }))
      continue;
    const int32_t oldStart = CutStartAt(w, k);
    AppendWall(k, oldStart, Walls[w].epais);
  }
}

void TCasaPlan::DeleteWall(int32_t a) {
  RequireLive(a, WallCount);
  bulk_.index.reset();
  for (int32_t n = 1; n <= OpeningCount;) {
    if (Openings[n].imur == a)
      DeleteOpening(n);
    else
      ++n;
  }
  const int32_t last = WallCount;
  if (a != last) {
    Walls[a] = Walls[last];
    for (int32_t n = 1; n <= OpeningCount; ++n)
      if (Openings[n].imur == last) Openings[n].imur = a;
  }
  --WallCount;
  FixSelectionAfterDelete(*this, kSelWall, a, last, kSelWall);
}

// --- many walls at once --------------------------------------------------------

TCasaPlan::BulkAdding::BulkAdding(TCasaPlan& plan) : plan_(plan) {
  if (plan.bulk_.index) return;  // an outer scope keeps its own
  try {
    plan.bulk_.index = std::make_unique<AdditionIndex>(plan);
    owner_ = true;
  } catch (const RangeError&) {
    // A wall on a missing corner: the plain scans will meet it as before.
  }
}

TCasaPlan::BulkAdding::~BulkAdding() {
  if (owner_) plan_.bulk_.index.reset();
}

TCasaPlan::IndexHolder::IndexHolder() = default;
TCasaPlan::IndexHolder::IndexHolder(const IndexHolder&) {}
TCasaPlan::IndexHolder& TCasaPlan::IndexHolder::operator=(const IndexHolder& other) {
  if (this != &other) index.reset();
  return *this;
}
TCasaPlan::IndexHolder::~IndexHolder() = default;

// --- openings ----------------------------------------------------------------------

int32_t TCasaPlan::AddOpening(int32_t imur, int32_t large, int32_t dcoin1, int32_t sorte,
                              int32_t volet, int32_t cote) {
  if (imur < 1 || imur > WallCount) return OpeningCount;
  RequireFreeSlot(OpeningCount, kMaxOpenings);
  Openings[OpeningCount + 1] = TOpening{cote, sorte, volet, imur, dcoin1, large};
  return ++OpeningCount;
}

void TCasaPlan::DeleteOpening(int32_t n) {
  RequireLive(n, OpeningCount);
  const int32_t last = OpeningCount;
  Openings[n] = Openings[last];
  --OpeningCount;
  FixSelectionAfterDelete(*this, kSelOpening, n, last, kSelOpening);
}

// --- objects --------------------------------------------------------------------------

int32_t TCasaPlan::AddObjet(int32_t x, int32_t y, int32_t l, int32_t h, int32_t a, int32_t groupe,
                            const std::string& nom) {
  RequireFreeSlot(ObjectCount, kMaxObjects);
  TObjet& objet = Objects[ObjectCount + 1];
  // DragX and DragY belong to the editor's gesture in progress: left alone.
  objet.x = x;
  objet.y = y;
  objet.l = l;
  objet.h = h;
  objet.a = a;
  objet.groupe = groupe;
  objet.nom = nom;
  objet.modele.clear();
  return ++ObjectCount;
}

void TCasaPlan::DeleteObjet(int32_t n) {
  RequireLive(n, ObjectCount);
  const int32_t last = ObjectCount;
  if (n != last) Objects[n] = Objects[last];
  --ObjectCount;
  FixSelectionAfterDelete(*this, kSelObject, n, last, kSelNothing);
}

}  // namespace casavo
