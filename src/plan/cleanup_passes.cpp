// The clean-up passes: duplicate walls, coincident corners, short walls.

#include <algorithm>
#include <bit>
#include <vector>

#include "common/errors.h"
#include "plan/cleanup.h"

namespace casavo {
namespace {

constexpr int32_t kShortestWall = 100;

// Ascending chains of table indices under a key, kept in step with the table
// while its last element moves into freed slots. The keys live in one open
// hash table and the chains in one array: a pass over a large plan allocates
// twice instead of once per key.
template <class Key, class Hash>
class IndicesByKey {
 public:
  // Indexes keyOf(i) for i = 1..count.
  template <class KeyOf>
  IndicesByKey(int32_t count, KeyOf keyOf)
      : slots_(std::bit_ceil(2 * static_cast<size_t>(std::max(count, 8)))),
        next_(static_cast<size_t>(std::max(count, 0)) + 1, 0) {
    // From the highest index down, so that every chain runs upwards.
    for (int32_t i = count; i >= 1; --i) Link(keyOf(i), i, false);
  }

  // The smallest index at least `from` under the key; 0 when there is none.
  int32_t FirstFrom(const Key& key, int32_t from) const {
    int32_t i = slots_[SlotOf(key)].head;
    while (i != 0 && i < from) i = next_[static_cast<size_t>(i)];
    return i;
  }

  // The element at `last` is about to move into the freed slot `freed`.
  void MoveLastInto(const Key& freedKey, int32_t freed, const Key& lastKey, int32_t last) {
    Unlink(SlotOf(freedKey), freed);
    if (freed == last) return;
    Unlink(SlotOf(lastKey), last);
    Link(lastKey, freed, true);
  }

 private:
  // A key stays in its slot once placed, chain empty or not, so that probes
  // for other keys go on past it.
  struct Slot {
    Key key{};
    bool used = false;
    int32_t head = 0;
  };

  // The slot holding the key, or the free one it takes.
  size_t SlotOf(const Key& key) const {
    const size_t mask = slots_.size() - 1;
    size_t slot = Hash()(key) & mask;
    while (slots_[slot].used && !(slots_[slot].key == key)) slot = (slot + 1) & mask;
    return slot;
  }

  // Puts the index into the key's chain: at its head while building from the
  // top down, else at its place.
  void Link(const Key& key, int32_t index, bool sorted) {
    Slot& slot = slots_[SlotOf(key)];
    if (!slot.used) slot = Slot{key, true, 0};
    int32_t* link = &slot.head;
    while (sorted && *link != 0 && *link < index) link = &next_[static_cast<size_t>(*link)];
    next_[static_cast<size_t>(index)] = *link;
    *link = index;
  }

  void Unlink(size_t slot, int32_t index) {
    int32_t* link = &slots_[slot].head;
    while (*link != index) link = &next_[static_cast<size_t>(*link)];
    *link = next_[static_cast<size_t>(index)];
  }

  std::vector<Slot> slots_;
  std::vector<int32_t> next_;
};

// Spreads the bits of a key over the whole word: plan coordinates are mostly
// multiples of ten, and the table takes the low bits.
uint64_t Mix(uint64_t v) {
  v = (v ^ (v >> 30)) * 0xBF58476D1CE4E5B9ull;
  v = (v ^ (v >> 27)) * 0x94D049BB133111EBull;
  return v ^ (v >> 31);
}

struct PointHash {
  size_t operator()(TPoint p) const {
    return Mix((uint64_t{static_cast<uint32_t>(p.x)} << 32) | static_cast<uint32_t>(p.y));
  }
};

// A wall's two end positions, in either direction.
struct Ends {
  TPoint low, high;
  friend bool operator==(const Ends&, const Ends&) = default;
};

struct EndsHash {
  size_t operator()(const Ends& e) const {
    return Mix(PointHash()(e.low) ^ (PointHash()(e.high) * 0x9E3779B97F4A7C15ull));
  }
};

bool Before(TPoint a, TPoint b) {
  return a.x < b.x || (a.x == b.x && a.y < b.y);
}

Ends EndsOf(const TCasaPlan& plan, int32_t w) {
  const TPoint a = plan.Corners[plan.Walls[w].C1];
  const TPoint b = plan.Corners[plan.Walls[w].C2];
  return Before(b, a) ? Ends{b, a} : Ends{a, b};
}

// Whether another wall at the corner goes on in wall w's line beyond it.
bool RunGoesOn(const TCasaPlan& plan, int32_t w, int32_t corner) {
  const TWall& wall = plan.Walls[w];
  const TPoint k = plan.Corners[corner];
  const TPoint back = plan.Corners[wall.C1 == corner ? wall.C2 : wall.C1];
  for (int32_t i = 1; i <= plan.WallCount; ++i) {
    const TWall& other = plan.Walls[i];
    if (i == w || (other.C1 != corner && other.C2 != corner)) continue;
    const TPoint on = plan.Corners[other.C1 == corner ? other.C2 : other.C1];
    const int64_t ax = int64_t{back.x} - k.x, ay = int64_t{back.y} - k.y;
    const int64_t bx = int64_t{on.x} - k.x, by = int64_t{on.y} - k.y;
    if (ax * by == ay * bx && ax * bx + ay * by < 0) return true;
  }
  return false;
}

// A short piece of a wall between two walls that go on in its line (the
// wall between two staggered partitions) holds the run together: it stays.
bool HoldsARun(const TCasaPlan& plan, int32_t w) {
  return RunGoesOn(plan, w, plan.Walls[w].C1) && RunGoesOn(plan, w, plan.Walls[w].C2);
}

// A wall shorter than half its thickness between two junctions (corners a
// rounded crossing left a millimetre or two apart) is all paint: the walls
// at its two ends touch. Deleted alone, it would part them; its corners
// become one, the one with fewer walls moving onto the other, and the merge
// of coincident corners joins them.
void CloseUpBeforeDeleting(TCasaPlan& plan, int32_t w) {
  const TWall& wall = plan.Walls[w];
  if (2 * Distance(plan.Corners[wall.C1], plan.Corners[wall.C2]) >= wall.epais) return;
  const int32_t atC1 = plan.WallsAtCorner(wall.C1).Count;
  const int32_t atC2 = plan.WallsAtCorner(wall.C2).Count;
  if (atC1 < 2 || atC2 < 2) return;
  if (atC2 <= atC1)
    plan.Corners[wall.C2] = plan.Corners[wall.C1];
  else
    plan.Corners[wall.C1] = plan.Corners[wall.C2];
}

void RemoveShortWalls(TCasaPlan& plan) {
  for (int32_t i = 1; i <= plan.WallCount;) {
    const TWall& wall = plan.Walls[i];
    if (Distance(plan.Corners[wall.C1], plan.Corners[wall.C2]) < kShortestWall &&
        !HoldsARun(plan, i)) {
      CloseUpBeforeDeleting(plan, i);
      plan.DeleteWall(i);
    } else {
      ++i;
    }
  }
}

// Of two walls with the same ends, the later takes the thickness of the
// earlier when that is thicker: the paint of the two stays.
void KeepThicker(TCasaPlan& plan, int32_t earlier, int32_t later) {
  plan.Walls[later].epais = std::max(plan.Walls[later].epais, plan.Walls[earlier].epais);
}

// Wall j is tested against every later wall k; when they have the same ends
// (or j has none), j goes, the last wall takes its slot and is tested
// against the same k and on. The earlier of two duplicates is deleted.
void RemoveDuplicateWallsByScan(TCasaPlan& plan) {
  for (int32_t j = 1; j <= plan.WallCount; ++j) {
    for (int32_t k = j; k <= plan.WallCount;) {
      if (k == j) {
        ++k;
        continue;
      }
      const TPoint aj = plan.Corners[plan.Walls[j].C1], bj = plan.Corners[plan.Walls[j].C2];
      const TPoint ak = plan.Corners[plan.Walls[k].C1], bk = plan.Corners[plan.Walls[k].C2];
      if ((aj == ak && bj == bk) || (aj == bk && bj == ak) || aj == bj) {
        if (aj != bj) KeepThicker(plan, j, k);
        plan.DeleteWall(j);  // slot j now holds the former last wall: test k again
      } else {
        ++k;
      }
    }
  }
}

// The same walk, jumping straight to the next later wall with the same ends.
void RemoveDuplicateWallsIndexed(TCasaPlan& plan) {
  IndicesByKey<Ends, EndsHash> walls(plan.WallCount,
                                     [&plan](int32_t w) { return EndsOf(plan, w); });
  for (int32_t j = 1; j <= plan.WallCount; ++j) {
    for (int32_t k = j + 1; k <= plan.WallCount;) {
      const Ends ends = EndsOf(plan, j);
      if (ends.low != ends.high) {
        k = walls.FirstFrom(ends, k);
        if (k == 0) break;
        KeepThicker(plan, j, k);
      }
      walls.MoveLastInto(ends, j, EndsOf(plan, plan.WallCount), plan.WallCount);
      plan.DeleteWall(j);
    }
  }
}

// Corner i absorbs every later corner at its position; the lower index
// survives.
void MergeSamePositionsByScan(TCasaPlan& plan) {
  for (int32_t i = 1; i <= plan.CornerCount; ++i) {
    for (int32_t j = i; j <= plan.CornerCount;) {
      if (j != i && plan.Corners[i] == plan.Corners[j])
        plan.MergeCorners(i, j);  // slot j now holds the former last corner
      else
        ++j;
    }
  }
}

void MergeSamePositionsIndexed(TCasaPlan& plan) {
  IndicesByKey<TPoint, PointHash> corners(plan.CornerCount,
                                          [&plan](int32_t k) { return plan.Corners[k]; });
  for (int32_t i = 1; i <= plan.CornerCount; ++i) {
    const TPoint at = plan.Corners[i];
    for (int32_t j = corners.FirstFrom(at, i + 1); j != 0; j = corners.FirstFrom(at, j)) {
      corners.MoveLastInto(at, j, plan.Corners[plan.CornerCount], plan.CornerCount);
      plan.MergeCorners(i, j);
    }
  }
}

void DeleteUnusedCornersByScan(TCasaPlan& plan) {
  for (int32_t j = 1; j <= plan.CornerCount;) {
    if (plan.WallsAtCorner(j).Count == 0)
      plan.DeleteCorner(j);  // slot j now holds the former last corner
    else
      ++j;
  }
}

void DeleteUnusedCornersIndexed(TCasaPlan& plan) {
  std::vector<int32_t> ends(static_cast<size_t>(plan.CornerCount) + 1, 0);
  for (int32_t w = 1; w <= plan.WallCount; ++w) {
    ++ends.at(static_cast<size_t>(plan.Walls[w].C1));
    ++ends.at(static_cast<size_t>(plan.Walls[w].C2));
  }
  for (int32_t j = 1; j <= plan.CornerCount;) {
    const int32_t here = ends[static_cast<size_t>(j)];
    // The scan lists a corner's walls in a TIntList, which more wall ends overflow.
    if (here > TIntList::kCapacity) throw RangeError();
    if (here != 0) {
      ++j;
      continue;
    }
    ends[static_cast<size_t>(j)] = ends[static_cast<size_t>(plan.CornerCount)];
    plan.DeleteCorner(j);
  }
}

}  // namespace

void RemoveShortAndDuplicateWallsWith(TCasaPlan& plan, CleanUpSearch search) {
  RemoveShortWalls(plan);
  if (search == CleanUpSearch::kScan)
    RemoveDuplicateWallsByScan(plan);
  else
    RemoveDuplicateWallsIndexed(plan);
}

void MergeCoincidentCornersWith(TCasaPlan& plan, CleanUpSearch search) {
  if (search == CleanUpSearch::kScan) {
    MergeSamePositionsByScan(plan);
    DeleteUnusedCornersByScan(plan);
  } else {
    MergeSamePositionsIndexed(plan);
    DeleteUnusedCornersIndexed(plan);
  }
}

}  // namespace casavo
