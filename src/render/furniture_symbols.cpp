// The furniture catalogue's models, their standard sizes and their plan symbols.
#include "render/furniture_symbols.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <unordered_map>

#include "common/numeric.h"

namespace casavo {
namespace {

// Pen widths in millimetres of the plan: on screen both stay one pixel at the
// usual zooms; on paper the outline reads a little heavier than the details.
constexpr double kOutlineMm = 8;
constexpr double kDetailMm = 4;
constexpr double kPi = 3.14159265358979323846;

double Clamp(double v, double lo, double hi) {
  return std::max(lo, std::min(hi, v));
}

int32_t Whole(double v) {
  return RoundToInt(static_cast<long double>(v));
}

// Draws in a frame of millimetres whose origin is the back-left corner of the
// rectangle: u from 0 to w to the right, v from 0 (the back) to d (the front).
class Sketch {
 public:
  Sketch(Surface& surface, double width, double depth, const SymbolInk& ink)
      : w(width),
        d(depth),
        m(std::min(width, depth)),
        outline{ink.outline, kOutlineMm},
        detail{ink.detail, kDetailMm},
        surface_(surface) {}

  const double w, d, m;  // width, depth, the smaller of both
  const Pen outline, detail;

  void Line(const Pen& pen, double u1, double v1, double u2, double v2) {
    surface_.DrawLine(pen, u1, v1, u2, v2);
  }
  // A line drawn in dashes (what stands above the floor, out of reach).
  void Dashed(const Pen& pen, double u1, double v1, double u2, double v2) {
    const double length = std::hypot(u2 - u1, v2 - v1);
    const double dash = Clamp(m * 0.12, 30, 80);
    for (double t = 0; t < length; t += 1.6 * dash) {
      const double a = t / length, b = std::min(t + dash, length) / length;
      Line(pen, u1 + (u2 - u1) * a, v1 + (v2 - v1) * a, u1 + (u2 - u1) * b, v1 + (v2 - v1) * b);
    }
  }
  void Box(const Pen& pen, double u1, double v1, double u2, double v2, bool filled = false) {
    if (filled) surface_.FillRectangle(Brush::Solid(kWhite), u1, v1, u2 - u1, v2 - v1);
    surface_.DrawRectangle(pen, u1, v1, u2 - u1, v2 - v1);
  }
  // A box with rounded corners of radius r.
  void Round(const Pen& pen, double u1, double v1, double u2, double v2, double r,
             bool filled = false) {
    r = std::min({r, (u2 - u1) / 2, (v2 - v1) / 2});
    std::vector<std::pair<double, double>> points;
    const double cu[] = {u2 - r, u2 - r, u1 + r, u1 + r};
    const double cv[] = {v1 + r, v2 - r, v2 - r, v1 + r};
    for (int corner = 0; corner < 4; ++corner) {
      for (int step = 0; step <= 4; ++step) {
        const double angle = (-90 + 90 * corner + 22.5 * step) * kPi / 180;
        points.emplace_back(cu[corner] + r * std::cos(angle), cv[corner] + r * std::sin(angle));
      }
    }
    Figure(pen, points, filled);
  }
  // The ellipse inscribed in the box.
  void Oval(const Pen& pen, double u1, double v1, double u2, double v2, bool filled = false) {
    if (filled) {
      std::vector<std::pair<double, double>> points;
      const double cu = (u1 + u2) / 2, cv = (v1 + v2) / 2, ru = (u2 - u1) / 2, rv = (v2 - v1) / 2;
      for (int step = 0; step < 32; ++step) {
        const double angle = step * kPi / 16;
        points.emplace_back(cu + ru * std::cos(angle), cv + rv * std::sin(angle));
      }
      Fill(points);
    }
    surface_.DrawArc(pen, u1, v1, u2 - u1, v2 - v1, 0, 360);
  }
  void Circle(const Pen& pen, double cu, double cv, double r, bool filled = false) {
    Oval(pen, cu - r, cv - r, cu + r, cv + r, filled);
  }
  // A closed figure through the points.
  void Figure(const Pen& pen, const std::vector<std::pair<double, double>>& points, bool filled) {
    if (filled) Fill(points);
    surface_.DrawPath(pen, PathOf(points, true));
  }

 private:
  void Fill(const std::vector<std::pair<double, double>>& points) {
    surface_.FillPath(Brush::Solid(kWhite), PathOf(points, false));
  }
  static Path PathOf(const std::vector<std::pair<double, double>>& points, bool closed) {
    Path path;
    const size_t n = points.size();
    for (size_t i = 0; i + 1 < n + (closed ? 1 : 0); ++i) {
      const auto& a = points[i];
      const auto& b = points[(i + 1) % n];
      path.AddLine(Whole(a.first), Whole(a.second), Whole(b.first), Whole(b.second));
    }
    return path;
  }

  Surface& surface_;
};

// --- living room ----------------------------------------------------------------

// Arms on both sides, the back cushion against the back, seat cushions between.
void Sofa(Sketch& s, int seats) {
  const double arm = Clamp(s.w * 0.1, 60, 220), back = Clamp(s.d * 0.22, 60, 250);
  const double r = Clamp(s.m * 0.06, 10, 80);
  s.Round(s.outline, 0, 0, s.w, s.d, r, true);
  s.Round(s.detail, 0, 0, arm, s.d, r);
  s.Round(s.detail, s.w - arm, 0, s.w, s.d, r);
  s.Line(s.detail, arm, back, s.w - arm, back);
  const double gap = Clamp(s.m * 0.02, 5, 20);
  const double seat = (s.w - 2 * arm - (seats + 1) * gap) / seats;
  for (int i = 0; i < seats; ++i) {
    const double u = arm + gap + i * (seat + gap);
    s.Round(s.detail, u, back + gap, u + seat, s.d - gap, r);
  }
}

void CoffeeTable(Sketch& s) {
  const double inset = Clamp(s.m * 0.08, 10, 50);
  s.Round(s.outline, 0, 0, s.w, s.d, Clamp(s.m * 0.05, 5, 40), true);
  s.Round(s.detail, inset, inset, s.w - inset, s.d - inset, Clamp(s.m * 0.03, 3, 25));
}

// A flat screen on its foot near the back.
void TvUnit(Sketch& s) {
  s.Box(s.outline, 0, 0, s.w, s.d, true);
  const double top = s.d * 0.15, screen = Clamp(s.d * 0.1, 10, 50);
  s.Box(s.detail, s.w * 0.15, top, s.w * 0.85, top + screen);
  s.Box(s.detail, s.w * 0.4, top + screen, s.w * 0.6, top + screen + s.d * 0.2);
}

// Bays of shelves with books standing in them.
void Bookcase(Sketch& s) {
  s.Box(s.outline, 0, 0, s.w, s.d, true);
  const int bays = std::max(1, static_cast<int>(std::lround(s.w / 450)));
  const double bay = s.w / bays;
  for (int i = 1; i < bays; ++i) s.Line(s.detail, i * bay, 0, i * bay, s.d);
  for (int i = 0; i < bays; ++i) {
    for (int book = 1; book <= 5; ++book) {
      const double u = i * bay + book * bay / 6;
      s.Line(s.detail, u, s.d * 0.1, u, s.d * (book % 2 ? 0.8 : 0.7));
    }
  }
}

// --- dining room -----------------------------------------------------------------

void Table(Sketch& s) {
  const double inset = Clamp(s.m * 0.05, 10, 40);
  s.Box(s.outline, 0, 0, s.w, s.d, true);
  s.Box(s.detail, inset, inset, s.w - inset, s.d - inset);
}

void RoundTable(Sketch& s) {
  const double inset = Clamp(s.m * 0.05, 10, 40);
  s.Oval(s.outline, 0, 0, s.w, s.d, true);
  s.Oval(s.detail, inset, inset, s.w - inset, s.d - inset);
}

// The seat, and the back rest along the back.
void Chair(Sketch& s) {
  const double back = Clamp(s.d * 0.14, 20, 90);
  const double r = Clamp(s.m * 0.12, 5, 60);
  s.Round(s.outline, 0, back * 1.3, s.w, s.d, r, true);
  s.Round(s.outline, s.w * 0.04, 0, s.w * 0.96, back, back / 2, true);
  s.Line(s.detail, s.w * 0.2, back, s.w * 0.2, back * 1.3);
  s.Line(s.detail, s.w * 0.8, back, s.w * 0.8, back * 1.3);
}

// --- bedroom ---------------------------------------------------------------------

// The head board, one or two pillows, the edge of the blanket and its
// turned-down corner.
void Bed(Sketch& s) {
  s.Box(s.outline, 0, 0, s.w, s.d, true);
  const double head = Clamp(s.d * 0.03, 10, 60);
  s.Line(s.outline, 0, head, s.w, head);
  const double gap = Clamp(s.d * 0.03, 10, 60), pillow = Clamp(s.d * 0.14, 30, 320);
  const int pillows = s.w >= 1200 ? 2 : 1;
  const double width = (s.w - (pillows + 1) * gap) / pillows;
  for (int i = 0; i < pillows; ++i) {
    const double u = gap + i * (width + gap);
    s.Round(s.detail, u, head + gap, u + width, head + gap + pillow, pillow * 0.3);
  }
  // The top of the blanket, its corner turned down on the right.
  const double blanket = head + 2 * gap + pillow;
  const double fold = std::min(s.w * 0.35, (s.d - blanket) * 0.4);
  s.Line(s.detail, 0, blanket, s.w, blanket);
  s.Line(s.detail, s.w - fold, blanket, s.w, blanket + fold);
}

// The hanging rail and the hangers on it.
void Wardrobe(Sketch& s) {
  s.Box(s.outline, 0, 0, s.w, s.d, true);
  s.Line(s.detail, s.w * 0.03, s.d / 2, s.w * 0.97, s.d / 2);
  const int hangers = std::max(3, static_cast<int>(s.w / 120));
  const double step = s.w * 0.8 / (hangers - 1), tilt = Clamp(s.w * 0.02, 5, 30);
  for (int i = 0; i < hangers; ++i) {
    const double u = s.w * 0.1 + i * step;
    s.Line(s.detail, u - tilt, s.d * 0.15, u + tilt, s.d * 0.85);
  }
}

// Storage below the waist: crossed.
void Chest(Sketch& s, bool frontLine) {
  s.Box(s.outline, 0, 0, s.w, s.d, true);
  const double front = frontLine ? s.d * 0.88 : s.d;
  if (frontLine) s.Line(s.detail, 0, front, s.w, front);
  s.Line(s.detail, 0, 0, s.w, front);
  s.Line(s.detail, s.w, 0, 0, front);
}

// Storage on the wall, above the floor: dashed.
void WallCupboard(Sketch& s) {
  s.Dashed(s.outline, 0, 0, s.w, 0);
  s.Dashed(s.outline, s.w, 0, s.w, s.d);
  s.Dashed(s.outline, s.w, s.d, 0, s.d);
  s.Dashed(s.outline, 0, s.d, 0, 0);
  s.Dashed(s.detail, 0, 0, s.w, s.d);
  s.Dashed(s.detail, s.w, 0, 0, s.d);
}

// A lamp on it.
void BedsideTable(Sketch& s) {
  s.Box(s.outline, 0, 0, s.w, s.d, true);
  s.Circle(s.detail, s.w / 2, s.d / 2, s.m * 0.3);
  s.Circle(s.detail, s.w / 2, s.d / 2, s.m * 0.08);
}

// A pedestal of drawers on one side and a screen near the back.
void Desk(Sketch& s) {
  s.Box(s.outline, 0, 0, s.w, s.d, true);
  const double inset = Clamp(s.m * 0.05, 5, 30);
  s.Box(s.detail, s.w * 0.7, inset, s.w - inset, s.d - inset);
  for (int i = 1; i <= 2; ++i) {
    const double v = inset + i * (s.d - 2 * inset) / 3;
    s.Line(s.detail, s.w * 0.7, v, s.w - inset, v);
  }
  s.Box(s.detail, s.w * 0.2, s.d * 0.12, s.w * 0.5, s.d * 0.2);
}

// --- kitchen ------------------------------------------------------------------------

// A tap behind a basin with its drain; beside it a draining board when the
// unit is wide enough.
void Sink(Sketch& s) {
  s.Box(s.outline, 0, 0, s.w, s.d, true);
  const bool board = s.w >= 900;
  const double u1 = s.w * (board ? 0.06 : 0.15), u2 = s.w * (board ? 0.5 : 0.85);
  const double v1 = s.d * 0.25, v2 = s.d * 0.9;
  s.Round(s.detail, u1, v1, u2, v2, s.m * 0.08);
  const double cu = (u1 + u2) / 2;
  s.Circle(s.detail, cu, (v1 + v2) / 2, s.m * 0.05);
  s.Circle(s.outline, cu, s.d * 0.12, s.m * 0.05, true);
  s.Line(s.outline, cu, s.d * 0.12 + s.m * 0.05, cu, v1 + s.d * 0.1);
  if (!board) return;
  s.Round(s.detail, s.w * 0.55, v1, s.w * 0.94, v2, s.m * 0.04);
  for (int i = 1; i <= 5; ++i) {
    const double u = s.w * 0.55 + i * s.w * 0.39 / 6;
    s.Line(s.detail, u, v1 + s.d * 0.08, u, v2 - s.d * 0.08);
  }
}

// Four burners, two large and two small.
void Hob(Sketch& s) {
  s.Round(s.outline, 0, 0, s.w, s.d, s.m * 0.04, true);
  const double us[] = {0.28, 0.72}, vs[] = {0.3, 0.7};
  for (int i = 0; i < 2; ++i) {
    for (int j = 0; j < 2; ++j) {
      const double r = s.m * ((i + j) % 2 ? 0.13 : 0.17);
      s.Circle(s.detail, s.w * us[i], s.d * vs[j], r);
      s.Circle(s.detail, s.w * us[i], s.d * vs[j], r * 0.45);
    }
  }
}

// The door's window and its handle at the front.
void Oven(Sketch& s) {
  s.Box(s.outline, 0, 0, s.w, s.d, true);
  s.Round(s.detail, s.w * 0.12, s.d * 0.15, s.w * 0.88, s.d * 0.78, s.m * 0.06);
  s.Line(s.outline, s.w * 0.2, s.d * 0.88, s.w * 0.8, s.d * 0.88);
}

// The door at the front and a snowflake.
void Fridge(Sketch& s) {
  s.Box(s.outline, 0, 0, s.w, s.d, true);
  s.Line(s.detail, 0, s.d * 0.88, s.w, s.d * 0.88);
  const double cu = s.w / 2, cv = s.d * 0.44, r = std::min(s.w, s.d * 0.88) * 0.3;
  for (int i = 0; i < 3; ++i) {
    const double angle = (90 + 60 * i) * kPi / 180;
    const double du = r * std::cos(angle), dv = r * std::sin(angle);
    s.Line(s.detail, cu - du, cv - dv, cu + du, cv + dv);
  }
}

// The door at the front and the spray arm inside.
void Dishwasher(Sketch& s) {
  s.Box(s.outline, 0, 0, s.w, s.d, true);
  s.Line(s.detail, 0, s.d * 0.88, s.w, s.d * 0.88);
  const double cu = s.w / 2, cv = s.d * 0.44, r = std::min(s.w, s.d * 0.88) * 0.3;
  s.Circle(s.detail, cu, cv, r);
  s.Line(s.detail, cu - r * 0.8, cv, cu + r * 0.8, cv);
  s.Circle(s.detail, cu, cv, r * 0.12, true);
}

// --- bathroom ----------------------------------------------------------------------

// The tub inside its rim, the taps and drain at the left end.
void Bath(Sketch& s) {
  s.Box(s.outline, 0, 0, s.w, s.d, true);
  const double rim = Clamp(s.m * 0.08, 10, 80);
  s.Round(s.detail, rim, rim, s.w - rim, s.d - rim, (s.d - 2 * rim) * 0.4);
  s.Circle(s.detail, rim + s.w * 0.08, s.d / 2, s.m * 0.04);
  s.Circle(s.outline, rim / 2, s.d / 2, std::min(rim * 0.4, s.m * 0.04), true);
}

// A tray with its crossed slopes to the drain.
void Shower(Sketch& s) {
  s.Box(s.outline, 0, 0, s.w, s.d, true);
  const double rim = Clamp(s.m * 0.05, 5, 40);
  s.Box(s.detail, rim, rim, s.w - rim, s.d - rim);
  s.Line(s.detail, rim, rim, s.w - rim, s.d - rim);
  s.Line(s.detail, s.w - rim, rim, rim, s.d - rim);
  s.Circle(s.outline, s.w / 2, s.d / 2, s.m * 0.06, true);
}

// A straight back against the wall, a rounded front, the bowl and the tap.
void Basin(Sketch& s) {
  std::vector<std::pair<double, double>> points{{0, 0}, {s.w, 0}};
  const double straight = s.d * 0.3;
  for (int step = 0; step <= 16; ++step) {
    const double angle = step * kPi / 16;
    points.emplace_back(s.w / 2 + s.w / 2 * std::cos(angle),
                        straight + (s.d - straight) * std::sin(angle));
  }
  s.Figure(s.outline, points, true);
  s.Oval(s.detail, s.w * 0.15, s.d * 0.25, s.w * 0.85, s.d * 0.88);
  s.Circle(s.detail, s.w / 2, s.d * 0.56, s.m * 0.05);
  s.Circle(s.outline, s.w / 2, s.d * 0.12, s.m * 0.05, true);
}

// The cistern against the wall and the bowl in front of it.
void Toilet(Sketch& s) {
  s.Oval(s.outline, s.w * 0.08, s.d * 0.2, s.w * 0.92, s.d, true);
  s.Oval(s.detail, s.w * 0.25, s.d * 0.36, s.w * 0.75, s.d * 0.9);
  s.Round(s.outline, 0, 0, s.w, s.d * 0.27, s.m * 0.06, true);
}

// The porthole of the drum and the control strip along the back.
void WashingMachine(Sketch& s) {
  s.Box(s.outline, 0, 0, s.w, s.d, true);
  s.Line(s.detail, 0, s.d * 0.15, s.w, s.d * 0.15);
  const double cv = s.d * 0.575, r = std::min(s.w, s.d * 0.85) * 0.38;
  s.Circle(s.detail, s.w / 2, cv, r);
  s.Circle(s.detail, s.w / 2, cv, r * 0.75);
}

using Drawer = std::function<void(Sketch&)>;

const std::unordered_map<std::string, Drawer>& Drawers() {
  static const std::unordered_map<std::string, Drawer> drawers{
      {"canape2", [](Sketch& s) { Sofa(s, 2); }},
      {"canape3", [](Sketch& s) { Sofa(s, 3); }},
      {"fauteuil", [](Sketch& s) { Sofa(s, 1); }},
      {"table-basse", CoffeeTable},
      {"meuble-tv", TvUnit},
      {"bibliotheque", Bookcase},
      {"table", Table},
      {"table-ronde", RoundTable},
      {"chaise", Chair},
      {"lit90", Bed},
      {"lit140", Bed},
      {"lit160", Bed},
      {"armoire", Wardrobe},
      {"commode", [](Sketch& s) { Chest(s, false); }},
      {"chevet", BedsideTable},
      {"bureau", Desk},
      {"evier", Sink},
      {"plaque", Hob},
      {"four", Oven},
      {"refrigerateur", Fridge},
      {"lave-vaisselle", Dishwasher},
      {"meuble-bas", [](Sketch& s) { Chest(s, true); }},
      {"meuble-haut", WallCupboard},
      {"baignoire", Bath},
      {"douche", Shower},
      {"lavabo", Basin},
      {"wc", Toilet},
      {"lave-linge", WashingMachine},
  };
  return drawers;
}

}  // namespace

const std::vector<FurnitureModel>& FurnitureModels() {
  static const std::vector<FurnitureModel> catalogue{
      {"canape2", "Canapé 2 places", "Séjour", 1600, 900},
      {"canape3", "Canapé 3 places", "Séjour", 2100, 900},
      {"fauteuil", "Fauteuil", "Séjour", 850, 850},
      {"table-basse", "Table basse", "Séjour", 1100, 600},
      {"meuble-tv", "Meuble TV", "Séjour", 1600, 450},
      {"bibliotheque", "Bibliothèque", "Séjour", 1200, 350},
      {"table", "Table rectangulaire", "Salle à manger", 1600, 900},
      {"table-ronde", "Table ronde", "Salle à manger", 1100, 1100},
      {"chaise", "Chaise", "Salle à manger", 450, 500},
      {"lit90", "Lit 90", "Chambre", 900, 1900},
      {"lit140", "Lit 140", "Chambre", 1400, 1900},
      {"lit160", "Lit 160", "Chambre", 1600, 2000},
      {"armoire", "Armoire", "Chambre", 1200, 600},
      {"commode", "Commode", "Chambre", 1000, 500},
      {"chevet", "Chevet", "Chambre", 450, 400},
      {"bureau", "Bureau", "Chambre", 1200, 600},
      {"evier", "Évier", "Cuisine", 1200, 600},
      {"plaque", "Plaque de cuisson", "Cuisine", 600, 600},
      {"four", "Four", "Cuisine", 600, 600},
      {"refrigerateur", "Réfrigérateur", "Cuisine", 600, 650},
      {"lave-vaisselle", "Lave-vaisselle", "Cuisine", 600, 600},
      {"meuble-bas", "Meuble bas", "Cuisine", 600, 600},
      {"meuble-haut", "Meuble haut", "Cuisine", 600, 350},
      {"baignoire", "Baignoire", "Salle de bain", 1700, 700},
      {"douche", "Douche", "Salle de bain", 900, 900},
      {"lavabo", "Lavabo", "Salle de bain", 600, 450},
      {"wc", "WC", "Salle de bain", 400, 650},
      {"lave-linge", "Lave-linge", "Salle de bain", 600, 600},
  };
  return catalogue;
}

const FurnitureModel* FindFurnitureModel(std::string_view key) {
  for (const FurnitureModel& model : FurnitureModels())
    if (key == model.key) return &model;
  return nullptr;
}

bool DrawFurnitureSymbol(Surface& surface, std::string_view key, double width, double depth,
                         const SymbolInk& ink) {
  const auto found = Drawers().find(std::string(key));
  if (found == Drawers().end() || width <= 0 || depth <= 0) return false;
  surface.Translate(-width / 2, -depth / 2);
  Sketch sketch(surface, width, depth, ink);
  found->second(sketch);
  surface.Translate(width / 2, depth / 2);
  return true;
}

}  // namespace casavo
