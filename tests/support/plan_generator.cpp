// GeneratePlan: seeded houses and blocks of flats.

#include "support/plan_generator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace casavo::gen {
namespace {

// Walls longer than this are drawn in pieces, as a user draws a long run.
constexpr int32_t kLongestRun = 10000;
constexpr int32_t kSiteLeft = 5000;
constexpr int32_t kGap = 3000;  // between buildings
constexpr int32_t kOuterThickness = 300;
constexpr int32_t kPartitionThickness = 120;
constexpr int32_t kPartyThickness = 200;  // between two flats

// splitmix64: small, and the same sequence on every platform.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int32_t Between(int32_t lo, int32_t hi) {
    return lo + static_cast<int32_t>(Next() % static_cast<uint64_t>(hi - lo + 1));
  }
  // Lengths in whole centimetres, as a user would type them.
  int32_t Length(int32_t lo, int32_t hi) { return Between(lo / 10, hi / 10) * 10; }
  bool Percent(int32_t p) { return Between(1, 100) <= p; }
  template <class T, size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[static_cast<size_t>(Between(0, static_cast<int32_t>(N) - 1))];
  }

 private:
  uint64_t state_;
};

// A building: grid lines, and which cell edges carry a wall.
struct Building {
  bool flats = false;
  int32_t corridorRow = -1;  // flats: the row left open along its length
  std::vector<int32_t> xs;   // column lines, left to right
  std::vector<int32_t> ys;   // row lines, top to bottom
  // vertical[i][j]: wall on column line i between row lines j and j + 1.
  std::vector<std::vector<bool>> vertical;
  // horizontal[j][i]: wall on row line j between column lines i and i + 1.
  std::vector<std::vector<bool>> horizontal;

  int32_t Width() const { return xs.back() - xs.front(); }
  int32_t Height() const { return ys.back() - ys.front(); }
  // Cells joined where a partition is missing, by union-find.
  int32_t EnclosedAreas() const {
    const size_t columns = xs.size() - 1, rows = ys.size() - 1;
    std::vector<size_t> parent(columns * rows);
    for (size_t c = 0; c < parent.size(); ++c) parent[c] = c;
    const auto root = [&parent](size_t c) {
      while (parent[c] != c) c = parent[c] = parent[parent[c]];
      return c;
    };
    int32_t areas = static_cast<int32_t>(parent.size());
    const auto join = [&](size_t a, size_t b) {
      if (root(a) != root(b)) {
        parent[root(a)] = root(b);
        --areas;
      }
    };
    for (size_t i = 0; i < columns; ++i) {
      for (size_t j = 0; j < rows; ++j) {
        if (i + 1 < columns && !vertical[i + 1][j]) join(j * columns + i, j * columns + i + 1);
        if (j + 1 < rows && !horizontal[j + 1][i]) join(j * columns + i, (j + 1) * columns + i);
      }
    }
    return areas;
  }

  int32_t Edges() const {
    int32_t n = 0;
    for (const auto& line : vertical)
      n += static_cast<int32_t>(std::count(line.begin(), line.end(), true));
    for (const auto& line : horizontal)
      n += static_cast<int32_t>(std::count(line.begin(), line.end(), true));
    return n;
  }
};

std::vector<int32_t> Lines(int32_t start, const std::vector<int32_t>& sizes) {
  std::vector<int32_t> lines{start};
  for (int32_t size : sizes) lines.push_back(lines.back() + size);
  return lines;
}

Building Design(Random& random, bool flats, int32_t columns, TPoint origin) {
  Building b;
  b.flats = flats;
  std::vector<int32_t> widths, heights;
  for (int32_t i = 0; i < columns; ++i) widths.push_back(random.Length(2400, 4200));
  if (flats) {
    heights = {random.Length(3000, 4200), random.Length(2400, 3400), random.Length(1400, 1800),
               random.Length(2400, 3400), random.Length(3000, 4200)};
    b.corridorRow = 2;
  } else {
    const int32_t rows = random.Between(2, 4);
    for (int32_t j = 0; j < rows; ++j) heights.push_back(random.Length(2400, 4200));
  }
  b.xs = Lines(origin.x, widths);
  b.ys = Lines(origin.y, heights);
  const size_t nx = b.xs.size(), ny = b.ys.size();
  b.vertical.assign(nx, std::vector<bool>(ny - 1, true));
  b.horizontal.assign(ny, std::vector<bool>(nx - 1, true));
  const int32_t skip = flats ? 8 : 15;
  for (size_t i = 1; i + 1 < nx; ++i)
    for (size_t j = 0; j + 1 < ny; ++j)
      b.vertical[i][j] = static_cast<int32_t>(j) != b.corridorRow && !random.Percent(skip);
  for (size_t j = 1; j + 1 < ny; ++j)
    for (size_t i = 0; i + 1 < nx; ++i) b.horizontal[j][i] = !random.Percent(skip);
  return b;
}

// Draws the walls present on one grid line as runs of consecutive edges,
// each run in pieces of at most kLongestRun, or edge by edge.
void DrawLine(TCasaPlan& plan, Random& random, const std::vector<bool>& present,
              const std::vector<int32_t>& stops, bool verticalLine, int32_t at) {
  const auto point = [&](int32_t along) {
    return verticalLine ? TPoint{at, along} : TPoint{along, at};
  };
  const bool edgeByEdge = random.Percent(30);
  size_t i = 0;
  while (i < present.size()) {
    if (!present[i]) {
      ++i;
      continue;
    }
    size_t end = i + 1;
    while (end < present.size() && present[end] && !edgeByEdge &&
           stops[end + 1] - stops[i] <= kLongestRun)
      ++end;
    // Some runs are drawn backwards, as users do.
    if (random.Percent(50))
      plan.AddWall(point(stops[i]), point(stops[end]));
    else
      plan.AddWall(point(stops[end]), point(stops[i]));
    i = end;
  }
}

int32_t PartitionThickness(const Building& b, size_t columnLine) {
  // In a block of flats every other column line separates two flats.
  return b.flats && columnLine % 2 == 0 ? kPartyThickness : kPartitionThickness;
}

void DrawBuilding(TCasaPlan& plan, Random& random, const Building& b) {
  const size_t nx = b.xs.size(), ny = b.ys.size();
  plan.DefaultThickness = kOuterThickness;
  DrawLine(plan, random, b.horizontal[0], b.xs, false, b.ys.front());
  DrawLine(plan, random, b.vertical[nx - 1], b.ys, true, b.xs.back());
  DrawLine(plan, random, b.horizontal[ny - 1], b.xs, false, b.ys.back());
  DrawLine(plan, random, b.vertical[0], b.ys, true, b.xs.front());
  for (size_t i = 1; i + 1 < nx; ++i) {
    plan.DefaultThickness = PartitionThickness(b, i);
    DrawLine(plan, random, b.vertical[i], b.ys, true, b.xs[i]);
  }
  plan.DefaultThickness = kPartitionThickness;
  for (size_t j = 1; j + 1 < ny; ++j) DrawLine(plan, random, b.horizontal[j], b.xs, false, b.ys[j]);
}

void AddOpenings(TCasaPlan& plan, Random& random, int32_t firstWall) {
  static constexpr std::array<int32_t, 3> kDoors = {1001, 1002, 1011};
  static constexpr std::array<int32_t, 2> kWindows = {2001, 2002};
  for (int32_t w = firstWall; w <= plan.WallCount; ++w) {
    const int32_t length = plan.WallLength(w);
    if (length < 1400) continue;
    const bool outer = plan.Walls[w].epais == kOuterThickness;
    if (outer && random.Percent(60)) {
      const int32_t width = random.Percent(50) ? 1200 : 900;
      plan.AddOpening(w, width, length / 2, random.Pick(kWindows), random.Between(0, 3),
                      random.Between(0, 1));
    } else if (!outer && random.Percent(45)) {
      const int32_t sorte = random.Pick(kDoors);
      const int32_t width = sorte == 1011 ? 1400 : (random.Percent(80) ? 830 : 930);
      const int32_t dcoin1 = random.Percent(50) ? length / 2 : width / 2 + 150;
      plan.AddOpening(w, width, dcoin1, random.Percent(10) ? 0 : sorte, 0, random.Between(0, 1));
    }
  }
}

void AddFurniture(TCasaPlan& plan, Random& random, const Building& b) {
  static constexpr std::array<const char*, 6> kNames = {"Table",   "Lit",    "Canapé",
                                                        "Armoire", "Bureau", "Buffet"};
  for (int n = 0; n < 2 && plan.ObjectCount + 2 <= TCasaPlan::kMaxObjects; ++n) {
    const size_t i = static_cast<size_t>(random.Between(0, static_cast<int32_t>(b.xs.size()) - 2));
    const size_t j = static_cast<size_t>(random.Between(0, static_cast<int32_t>(b.ys.size()) - 2));
    const int32_t x = (b.xs[i] + b.xs[i + 1]) / 2, y = (b.ys[j] + b.ys[j + 1]) / 2;
    const int32_t group = random.Percent(30) ? ++plan.NextGroup : 0;
    plan.AddObjet(x, y, random.Length(600, 2000), random.Length(500, 1600),
                  random.Pick(std::array{0, 90, 45, 180}), group, random.Pick(kNames));
    if (group > 0) plan.AddObjet(x + 900, y, 450, 450, 0, group, "Chaise");
  }
}

std::string ColourText(Random& random) {
  char text[7];
  std::snprintf(text, sizeof text, "%02X%02X%02X", random.Between(190, 255),
                random.Between(190, 255), random.Between(190, 255));
  return text;
}

void NameRooms(TCasaPlan& plan, Random& random) {
  struct Kind {
    const char* name;
    const char* kind;
  };
  static constexpr std::array<Kind, 6> kLiving = {
      Kind{"Séjour", "Salon"},  Kind{"Chambre", "Chambre"}, Kind{"Cuisine", "Cuisine"},
      Kind{"Bureau", "Bureau"}, Kind{"Chambre", "Chambre"}, Kind{"Salle de bain", "Salle de bain"}};
  plan.ShowRooms = true;
  plan.RefreshGeometry();
  for (int32_t r = 1; r <= plan.RoomCount; ++r) {
    const TPiece& room = plan.Rooms[r];
    Kind kind = random.Pick(kLiving);
    if (room.surface < 5e6) kind = {"WC", "WC"};
    if (room.surface > 2e7 && random.Percent(70)) kind = {"Couloir", "Couloir"};
    plan.RoomNames.SetValue(room.hash, std::string(kind.name) + " " + std::to_string(r));
    plan.RoomKinds.SetValue(room.hash, kind.kind);
    plan.RoomColours.SetValue(room.hash, ColourText(random));
  }
}

}  // namespace

int32_t GeneratePlan(TCasaPlan& plan, const PlanRecipe& recipe) {
  Random random(recipe.seed);
  int32_t enclosedAreas = 0;
  plan.Clear();
  const int32_t savedThickness = plan.DefaultThickness;
  // A roughly square site, as plots of land are.
  const int32_t siteWidth =
      std::max(40000, static_cast<int32_t>(1000 * std::sqrt(10.0 * recipe.targetWalls)));
  TPoint cursor{kSiteLeft, 5000};
  int32_t rowHeight = 0;
  while (plan.WallCount < recipe.targetWalls) {
    const bool flats = recipe.targetWalls - plan.WallCount > 120 && random.Percent(45);
    int32_t columns = flats ? random.Between(6, 14) : random.Between(2, 5);
    Building b = Design(random, flats, columns, cursor);
    // The last building is narrowed to land near the requested count.
    while (columns > 1 && plan.WallCount + b.Edges() > recipe.targetWalls + 8) {
      b = Design(random, flats, --columns, cursor);
    }
    if (cursor.x + b.Width() > kSiteLeft + siteWidth && cursor.x > kSiteLeft) {
      cursor = {kSiteLeft, cursor.y + rowHeight + kGap};
      rowHeight = 0;
      b = Design(random, flats, columns, cursor);
    }
    if (plan.WallCount + b.Edges() > TCasaPlan::kMaxWalls) break;
    const int32_t firstWall = plan.WallCount + 1;
    DrawBuilding(plan, random, b);
    enclosedAreas += b.EnclosedAreas();
    AddOpenings(plan, random, firstWall);
    if (recipe.withObjects) AddFurniture(plan, random, b);
    cursor.x += b.Width() + kGap;
    rowHeight = std::max(rowHeight, b.Height());
  }
  plan.ClampAllOpenings();
  plan.DefaultThickness = savedThickness;
  NameRooms(plan, random);
  return enclosedAreas;
}

}  // namespace casavo::gen
