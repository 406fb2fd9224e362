#include <algorithm>
#include <unordered_map>
#include <vector>

#include "common/errors.h"
#include "plan/cleanup.h"

namespace casavo {
namespace {

constexpr int32_t kShortestWall = 100;

// Ascending lists of table indices under a key, kept in step with the table
// while its last element moves into freed slots.
template <class Key, class Hash>
class IndicesByKey {
 public:
  void Add(const Key& key, int32_t index) {
    std::vector<int32_t>& list = lists_[key];
    list.insert(std::lower_bound(list.begin(), list.end(), index), index);
  }

  void Remove(const Key& key, int32_t index) {
    std::vector<int32_t>& list = lists_[key];
    list.erase(std::lower_bound(list.begin(), list.end(), index));
  }

  // The smallest index at least `from` under the key; 0 when there is none.
  int32_t FirstFrom(const Key& key, int32_t from) const {
    const auto found = lists_.find(key);
    if (found == lists_.end()) return 0;
    const auto it = std::lower_bound(found->second.begin(), found->second.end(), from);
    return it == found->second.end() ? 0 : *it;
  }

  // The element at `last` is about to move into the freed slot `freed`.
  void MoveLastInto(const Key& freedKey, int32_t freed, const Key& lastKey, int32_t last) {
    Remove(freedKey, freed);
    if (freed == last) return;
    Remove(lastKey, last);
    Add(lastKey, freed);
  }

 private:
  std::unordered_map<Key, std::vector<int32_t>, Hash> lists_;
};

struct PointHash {
  size_t operator()(TPoint p) const {
    return std::hash<uint64_t>()((uint64_t{static_cast<uint32_t>(p.x)} << 32) |
                                 static_cast<uint32_t>(p.y));
  }
};

// A wall's two end positions, in either direction.
struct Ends {
  TPoint low, high;
  friend bool operator==(const Ends&, const Ends&) = default;
};

struct EndsHash {
  size_t operator()(const Ends& e) const {
    return PointHash()(e.low) * 0x9E3779B97F4A7C15ull ^ PointHash()(e.high);
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

void RemoveShortWalls(TCasaPlan& plan) {
  for (int32_t i = 1; i <= plan.WallCount;) {
    const TWall& wall = plan.Walls[i];
    if (Distance(plan.Corners[wall.C1], plan.Corners[wall.C2]) < kShortestWall)
      plan.DeleteWall(i);
    else
      ++i;
  }
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
      if ((aj == ak && bj == bk) || (aj == bk && bj == ak) || aj == bj)
        plan.DeleteWall(j);  // slot j now holds the former last wall: test k again
      else
        ++k;
    }
  }
}

// The same walk, jumping straight to the next later wall with the same ends.
void RemoveDuplicateWallsIndexed(TCasaPlan& plan) {
  IndicesByKey<Ends, EndsHash> walls;
  for (int32_t w = 1; w <= plan.WallCount; ++w) walls.Add(EndsOf(plan, w), w);
  for (int32_t j = 1; j <= plan.WallCount; ++j) {
    for (int32_t k = j + 1; k <= plan.WallCount;) {
      const Ends ends = EndsOf(plan, j);
      if (ends.low != ends.high) {
        k = walls.FirstFrom(ends, k);
        if (k == 0) break;
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
  IndicesByKey<TPoint, PointHash> corners;
  for (int32_t k = 1; k <= plan.CornerCount; ++k) corners.Add(plan.Corners[k], k);
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
