// Writes the example plans of this folder: casavo-make-examples <folder>.
// The plans are drawn with the model's own editing operations, so walls are
// cut and joined as in the editor, and the rooms are named under the keys that
// room detection gives them.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "files/plan_file.h"
#include "plan/casa_plan.h"

namespace casavo {
namespace {

constexpr int32_t kOuter = 300;
constexpr int32_t kInner = 100;

enum : int32_t {
  kPlain = 0,
  kDoorLeft = 1001,
  kDoorRight = 1002,
  kDoorDouble = 1011,
  kWindowCentred = 2001,
  kWindowOffset = 2002,
};

struct RoomLabel {
  TPoint inside;
  const char* name;
  const char* kind;
  const char* colour;
};

int64_t Cross(TPoint a, TPoint b, TPoint p) {
  return int64_t{b.x - a.x} * (p.y - a.y) - int64_t{b.y - a.y} * (p.x - a.x);
}

bool StrictlyBetween(int32_t v, int32_t a, int32_t b) {
  return (a < v && v < b) || (b < v && v < a);
}

class PlanBuilder {
 public:
  explicit PlanBuilder(TCasaPlan& plan) : plan_(plan) {
    plan_.Clear();
    plan_.zx = plan_.zy = 0.05;
    plan_.x0 = plan_.y0 = -200;  // the plan starts 50 pixels from the view's corner
  }

  // Walls along a polyline, cut at every wall they cross or end on.
  void Walls(int32_t thickness, std::initializer_list<TPoint> points) {
    const TPoint* previous = nullptr;
    for (const TPoint& p : points) {
      if (previous) plan_.AddWallOfThickness(*previous, p, thickness);
      previous = &p;
    }
  }

  // A door centred on a wall's centre line, its leaves swinging towards `into`.
  void Door(TPoint centre, int32_t width, int32_t sorte, TPoint into, int32_t volet = 0) {
    const int32_t w = WallUnder(centre);
    Add(w, centre, width, sorte, volet, OnSideA(w, into) ? 0 : 1);
  }

  // A window whose shutters fold against the face towards `outside`.
  void Window(TPoint centre, int32_t width, int32_t sorte, int32_t volet, TPoint outside) {
    const int32_t w = WallUnder(centre);
    Add(w, centre, width, sorte, volet, OnSideA(w, outside) ? 1 : 0);
  }

  void Objet(TPoint centre, int32_t l, int32_t h, int32_t a, int32_t groupe, const char* nom) {
    plan_.AddObjet(centre.x, centre.y, l, h, a, groupe, nom);
    if (groupe > plan_.NextGroup) plan_.NextGroup = groupe;
  }

  // A piece of the furniture catalogue, drawn as its symbol.
  void Meuble(const char* modele, const char* nom, TPoint centre, int32_t l, int32_t h, int32_t a,
              int32_t groupe = 0) {
    Objet(centre, l, h, a, groupe, nom);
    plan_.Objects[plan_.ObjectCount].modele = modele;
  }

  // Detects the rooms and names each room that holds a label's point.
  void NameRooms(const std::vector<RoomLabel>& labels) {
    plan_.NormaliseOrigin();
    plan_.ClampAllOpenings();
    plan_.ShowRooms = true;
    plan_.RefreshGeometry();
    for (const RoomLabel& label : labels) {
      const std::string& hash = plan_.Rooms[RoomAt(label.inside)].hash;
      plan_.RoomNames.SetValue(hash, label.name);
      plan_.RoomKinds.SetValue(hash, label.kind);
      plan_.RoomColours.SetValue(hash, label.colour);
    }
  }

 private:
  int32_t WallUnder(TPoint p) const {
    for (int32_t w = 1; w <= plan_.WallCount; ++w) {
      const TPoint a = plan_.Corners[plan_.Walls[w].C1];
      const TPoint b = plan_.Corners[plan_.Walls[w].C2];
      if (Cross(a, b, p) == 0 && (StrictlyBetween(p.x, a.x, b.x) || StrictlyBetween(p.y, a.y, b.y)))
        return w;
    }
    throw std::runtime_error("no wall under an opening");
  }

  bool OnSideA(int32_t w, TPoint p) const {
    return Cross(plan_.Corners[plan_.Walls[w].C1], plan_.Corners[plan_.Walls[w].C2], p) < 0;
  }

  void Add(int32_t w, TPoint centre, int32_t width, int32_t sorte, int32_t volet, int32_t cote) {
    const int32_t dcoin1 = Distance(plan_.Corners[plan_.Walls[w].C1], centre);
    plan_.AddOpening(w, width, dcoin1, sorte, volet, cote);
  }

  // The room whose border surrounds p (even-odd ray test on its outline points).
  int32_t RoomAt(TPoint p) const {
    for (int32_t r = 1; r <= plan_.RoomCount; ++r) {
      const TIntList& border = plan_.Rooms[r].Border;
      bool inside = false;
      for (int32_t i = 1; i < border.Count; ++i) {
        const TPoint a = plan_.Outline[border[i]];
        const TPoint b = plan_.Outline[border[i + 1]];
        if ((a.y > p.y) != (b.y > p.y) &&
            p.x < a.x + double(b.x - a.x) * (p.y - a.y) / double(b.y - a.y))
          inside = !inside;
      }
      if (inside) return r;
    }
    throw std::runtime_error("no room at a label");
  }

  TCasaPlan& plan_;
};

// One room with a shower corner: 6 m by 5 m.
void Studio(TCasaPlan& plan) {
  PlanBuilder b(plan);
  b.Walls(kOuter, {{5000, 5000}, {11000, 5000}, {11000, 10000}, {5000, 10000}, {5000, 5000}});
  b.Walls(kInner, {{9000, 5000}, {9000, 7500}, {11000, 7500}});

  b.Door({6200, 10000}, 900, kDoorLeft, {6200, 9000});
  b.Door({9000, 6700}, 700, kDoorRight, {10000, 6700});
  b.Window({7000, 5000}, 1800, kWindowCentred, 3, {7000, 4000});
  b.Window({11000, 8500}, 900, kWindowOffset, 1, {12000, 8500});
  b.Window({10000, 5000}, 600, kWindowCentred, 0, {10000, 4000});

  b.Objet({6400, 6400}, 1400, 1900, 0, 1, "Lit");
  b.Objet({7900, 9000}, 1200, 800, 0, 2, "Table");
  b.Objet({7050, 9000}, 450, 450, 90, 2, "Chaise");
  b.Objet({8750, 9000}, 450, 450, 270, 2, "Chaise");

  b.NameRooms({{{7000, 7500}, "Pièce à vivre", "Double séjour", "FFE4B5"},
               {{10000, 6200}, "Salle d'eau", "Salle de bain et  WC", "AFEEEE"}});
}

// A single-storey family house, 12 m by 9 m: living room, kitchen, hall,
// corridor, three rooms for sleeping or working, bathroom and WC.
void FamilyHouse(TCasaPlan& plan) {
  PlanBuilder b(plan);
  b.Walls(kOuter, {{5000, 5000}, {17000, 5000}, {17000, 14000}, {5000, 14000}, {5000, 5000}});
  b.Walls(150, {{11000, 5000}, {11000, 14000}});
  b.Walls(kInner, {{5000, 10000}, {17000, 10000}});
  b.Walls(kInner, {{8500, 10000}, {8500, 14000}});
  b.Walls(kInner, {{14000, 5000}, {14000, 10000}});
  b.Walls(kInner, {{11000, 11500}, {17000, 11500}});
  b.Walls(kInner, {{13500, 11500}, {13500, 14000}});
  b.Walls(kInner, {{15000, 11500}, {15000, 14000}});

  // Doors: every kind, swinging into the rooms they serve.
  b.Door({9750, 14000}, 900, kDoorLeft, {9750, 13000});      // front door
  b.Door({9750, 10000}, 1400, kDoorDouble, {9750, 9000});    // hall to living room
  b.Door({8500, 12000}, 800, kDoorRight, {7500, 12000});     // hall to kitchen
  b.Door({6700, 10000}, 1200, kPlain, {6700, 9000});         // kitchen to living room
  b.Door({11000, 10750}, 800, kDoorLeft, {12000, 10750});    // hall to corridor
  b.Door({12500, 10000}, 800, kDoorLeft, {12500, 9000});     // bedroom 1
  b.Door({15500, 10000}, 800, kDoorRight, {15500, 9000});    // bedroom 2
  b.Door({12250, 11500}, 700, kDoorRight, {12250, 12500});   // bathroom
  b.Door({14250, 11500}, 700, kDoorLeft, {14250, 12500});    // WC
  b.Door({16000, 11500}, 800, kDoorLeft, {16000, 12500});    // study
  b.Door({9200, 5000}, 1600, kDoorDouble, {9200, 6000}, 3);  // French window to the garden

  // Windows, shutters outside.
  b.Window({6300, 5000}, 1200, kWindowCentred, 3, {6300, 4000});
  b.Window({5000, 7500}, 1200, kWindowCentred, 2, {4000, 7500});
  b.Window({5000, 12000}, 1000, kWindowOffset, 3, {4000, 12000});
  b.Window({6750, 14000}, 1000, kWindowCentred, 1, {6750, 15000});
  b.Window({12500, 5000}, 1200, kWindowCentred, 3, {12500, 4000});
  b.Window({15500, 5000}, 1200, kWindowCentred, 3, {15500, 4000});
  b.Window({17000, 7500}, 1000, kWindowOffset, 1, {18000, 7500});
  b.Window({12250, 14000}, 600, kWindowCentred, 0, {12250, 15000});
  b.Window({14250, 14000}, 500, kWindowOffset, 0, {14250, 15000});
  b.Window({17000, 12750}, 1000, kWindowCentred, 2, {18000, 12750});

  // Furniture (hidden unless objects are shown); the dining set is one group.
  b.Objet({6500, 8600}, 2200, 900, 0, 0, "Canapé");
  b.Objet({9000, 7000}, 1600, 900, 0, 1, "Table");
  b.Objet({8500, 6350}, 450, 450, 0, 1, "Chaise");
  b.Objet({9500, 6350}, 450, 450, 0, 1, "Chaise");
  b.Objet({8500, 7650}, 450, 450, 180, 1, "Chaise");
  b.Objet({9500, 7650}, 450, 450, 180, 1, "Chaise");
  b.Objet({12500, 6600}, 1600, 2000, 0, 0, "Lit");
  b.Objet({15500, 6500}, 900, 1900, 0, 0, "Lit");
  b.Objet({16300, 13000}, 1200, 600, 90, 0, "Bureau");

  b.NameRooms({{{8000, 7500}, "Séjour", "Salon", "FFE4B5"},
               {{6700, 12000}, "Cuisine", "Cuisine", "FFFACD"},
               {{9750, 12000}, "Entrée", "Couloir", "E0E0E0"},
               {{14000, 10750}, "Dégagement", "Couloir", "EEEEEE"},
               {{12500, 7500}, "Chambre parents", "Chambre", "E6E6FA"},
               {{15500, 7500}, "Chambre enfant", "Chambre", "D8BFD8"},
               {{12250, 12750}, "Salle de bain", "Salle de bain", "AFEEEE"},
               {{14250, 12750}, "WC", "WC", "E0FFFF"},
               {{16000, 12750}, "Bureau", "Bureau", "F5DEB3"}});
}

// One floor of a block of flats: a corridor through the middle with eight
// flats on each side, each with a kitchen, hall, bathroom, living room and
// bedroom.
constexpr int32_t kFlatsPerSide = 8;
constexpr int32_t kFlatWidth = 7000;
constexpr int32_t kFlatDepth = 8000;
constexpr int32_t kCorridor = 2000;

// A flat whose corridor wall is at y = corridor and whose façade lies
// kFlatDepth away in direction dir (+1 south, -1 north).
void Flat(PlanBuilder& b, int32_t x, int32_t corridor, int32_t dir, int32_t number,
          const char* side, std::vector<RoomLabel>& labels, std::vector<std::string>& names) {
  auto y = [&](int32_t depth) { return corridor + dir * depth; };
  if (number > 1) b.Walls(200, {{x, y(0)}, {x, y(kFlatDepth)}});  // between two flats
  b.Walls(kInner, {{x, y(3000)}, {x + kFlatWidth, y(3000)}});
  b.Walls(kInner, {{x + 3000, y(0)}, {x + 3000, y(3000)}});
  b.Walls(kInner, {{x + 5000, y(0)}, {x + 5000, y(3000)}});
  b.Walls(kInner, {{x + 4500, y(3000)}, {x + 4500, y(kFlatDepth)}});

  b.Door({x + 4000, y(0)}, 900, kDoorLeft, {x + 4000, y(1000)});      // front door
  b.Door({x + 3700, y(3000)}, 800, kDoorRight, {x + 3700, y(4000)});  // to the living room
  b.Door({x + 1500, y(3000)}, 1200, kPlain, {x + 1500, y(4000)});     // kitchen
  b.Door({x + 5000, y(1500)}, 700, kDoorLeft, {x + 6000, y(1500)});   // bathroom
  b.Door({x + 4500, y(6000)}, 800, kDoorRight, {x + 5500, y(6000)});  // bedroom
  b.Window({x + 2250, y(kFlatDepth)}, 1800, kWindowCentred, 3, {x + 2250, y(kFlatDepth + 1000)});
  b.Window({x + 5750, y(kFlatDepth)}, 1200, kWindowOffset, 3, {x + 5750, y(kFlatDepth + 1000)});

  const std::string flat = std::string(side) + std::to_string(number);
  const struct {
    int32_t u, v;
    const char* name;
    const char* kind;
    const char* colour;
  } rooms[] = {{1500, 1500, "Cuisine ", "Cuisine", "FFFACD"},
               {4000, 1500, "Entrée ", "Couloir", "E0E0E0"},
               {6000, 1500, "Bains ", "Salle de bain et  WC", "AFEEEE"},
               {2250, 5500, "Séjour ", "Salon", "FFE4B5"},
               {5750, 5500, "Chambre ", "Chambre", "E6E6FA"}};
  for (const auto& room : rooms) {
    names.push_back(room.name + flat);
    labels.push_back({{x + room.u, y(room.v)}, nullptr, room.kind, room.colour});
  }
}

void BlockOfFlats(TCasaPlan& plan) {
  PlanBuilder b(plan);
  const int32_t left = 5000, right = left + kFlatsPerSide * kFlatWidth;
  const int32_t top = 5000, north = top + kFlatDepth, south = north + kCorridor;
  const int32_t bottom = south + kFlatDepth;
  b.Walls(kOuter, {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}});
  b.Walls(200, {{left, north}, {right, north}});
  b.Walls(200, {{left, south}, {right, south}});

  std::vector<RoomLabel> labels;
  std::vector<std::string> names;
  for (int32_t i = 0; i < kFlatsPerSide; ++i) {
    Flat(b, left + i * kFlatWidth, north, -1, i + 1, "N", labels, names);
    Flat(b, left + i * kFlatWidth, south, +1, i + 1, "S", labels, names);
  }
  b.Door({left, north + kCorridor / 2}, 1400, kDoorDouble, {left + 1000, north + kCorridor / 2});
  b.Door({right, north + kCorridor / 2}, 900, kDoorLeft, {right - 1000, north + kCorridor / 2});
  for (size_t i = 0; i < labels.size(); ++i) labels[i].name = names[i].c_str();
  labels.push_back({{left + 3000, north + kCorridor / 2}, "Couloir", "Couloir", "EEEEEE"});
  b.NameRooms(labels);
}

// A furnished flat, 9 m by 7 m: a living room with its kitchen and dining
// table, a bedroom and a bathroom. Angles turn each piece's back to its wall:
// 0 north, 90 east, 180 south, 270 west.
void FurnishedFlat(TCasaPlan& plan) {
  PlanBuilder b(plan);
  b.Walls(kOuter, {{5000, 5000}, {14000, 5000}, {14000, 12000}, {5000, 12000}, {5000, 5000}});
  b.Walls(kInner, {{10000, 5000}, {10000, 12000}});
  b.Walls(kInner, {{10000, 9000}, {14000, 9000}});

  b.Door({9400, 5000}, 900, kDoorLeft, {9400, 6000});      // front door
  b.Door({10000, 7000}, 800, kDoorRight, {11000, 7000});   // bedroom
  b.Door({10000, 10500}, 800, kDoorLeft, {11000, 10500});  // bathroom
  b.Window({6800, 5000}, 1800, kWindowCentred, 3, {6800, 4000});
  b.Window({8400, 12000}, 1200, kWindowCentred, 3, {8400, 13000});
  b.Window({12000, 5000}, 1200, kWindowCentred, 3, {12000, 4000});
  b.Window({14000, 10400}, 600, kWindowOffset, 0, {15000, 10400});

  // Living room: the sofa faces the television across the coffee table.
  b.Meuble("meuble-tv", "Meuble TV", {5375, 6800}, 1600, 450, 270);
  b.Meuble("canape3", "Canapé 3 places", {7900, 6800}, 2100, 900, 90);
  b.Meuble("table-basse", "Table basse", {6650, 6800}, 1100, 600, 90);
  b.Meuble("fauteuil", "Fauteuil", {6650, 5575}, 850, 850, 0);
  b.Meuble("bibliotheque", "Bibliothèque", {9775, 8300}, 1200, 350, 90);
  // The dining set moves as one group.
  b.Meuble("table", "Table rectangulaire", {8000, 9700}, 1600, 900, 0, 1);
  b.Meuble("chaise", "Chaise", {7600, 9100}, 450, 500, 0, 1);
  b.Meuble("chaise", "Chaise", {8400, 9100}, 450, 500, 0, 1);
  b.Meuble("chaise", "Chaise", {7600, 10300}, 450, 500, 180, 1);
  b.Meuble("chaise", "Chaise", {8400, 10300}, 450, 500, 180, 1);
  // Kitchen along the west and south walls.
  b.Meuble("refrigerateur", "Réfrigérateur", {5475, 9750}, 600, 650, 270);
  b.Meuble("evier", "Évier", {5450, 10650}, 1200, 600, 270);
  b.Meuble("meuble-bas", "Meuble bas", {5450, 11550}, 600, 600, 270);
  b.Meuble("plaque", "Plaque de cuisson", {6050, 11550}, 600, 600, 180);
  b.Meuble("four", "Four", {6650, 11550}, 600, 600, 180);
  b.Meuble("lave-vaisselle", "Lave-vaisselle", {7250, 11550}, 600, 600, 180);

  // Bedroom: the bed's head against the east wall, between its bedside tables.
  b.Meuble("lit160", "Lit 160", {12850, 7050}, 1600, 2000, 90);
  b.Meuble("chevet", "Chevet", {13650, 6000}, 450, 400, 90);
  b.Meuble("chevet", "Chevet", {13650, 8100}, 450, 400, 90);
  b.Meuble("armoire", "Armoire", {10350, 8200}, 1200, 600, 270);
  b.Meuble("bureau", "Bureau", {11300, 5450}, 1200, 600, 0);

  // Bathroom.
  b.Meuble("baignoire", "Baignoire", {13000, 11500}, 1700, 700, 180);
  b.Meuble("douche", "Douche", {10500, 11400}, 900, 900, 180);
  b.Meuble("lavabo", "Lavabo", {11500, 9275}, 600, 450, 0);
  b.Meuble("lave-linge", "Lave-linge", {12300, 9350}, 600, 600, 0);
  b.Meuble("wc", "WC", {13525, 9700}, 400, 650, 90);

  b.NameRooms({{{7000, 9000}, "Séjour", "Salon", "FFE4C4"},
               {{12000, 7000}, "Chambre", "Chambre", "DAD4F0"},
               {{12000, 10500}, "Salle de bain", "Salle de bain", "C8E8DE"}});
}

void Write(void (*build)(TCasaPlan&), const std::string& path) {
  auto plan = std::make_unique<TCasaPlan>();
  build(*plan);
  SavePlanFile(*plan, path);
  std::printf("%s: %d walls, %d openings, %d rooms\n", path.c_str(), plan->WallCount,
              plan->OpeningCount, plan->RoomCount);
}

}  // namespace
}  // namespace casavo

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: casavo-make-examples FOLDER\n");
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  try {
    casavo::Write(casavo::Studio, folder + "studio.plan");
    casavo::Write(casavo::FamilyHouse, folder + "maison_familiale.plan");
    casavo::Write(casavo::BlockOfFlats, folder + "immeuble.plan");
    casavo::Write(casavo::FurnishedFlat, folder + "appartement_meuble.plan");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "casavo-make-examples: %s\n", e.what());
    return 1;
  }
  return 0;
}
