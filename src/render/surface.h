// Surface: the drawing interface the painter draws through.

#pragma once

#include <QImage>
#include <QString>
#include <QTransform>
#include <cstdint>
#include <string_view>
#include <vector>

namespace casavo {

// A 32-bit colour: alpha in bits 24-31, then red, green, blue.
using Argb = uint32_t;

constexpr Argb ArgbColor(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
  return (Argb{a} << 24) | (Argb{r} << 16) | (Argb{g} << 8) | Argb{b};
}
constexpr Argb ArgbColor(uint8_t r, uint8_t g, uint8_t b) {
  return ArgbColor(255, r, g, b);
}

// The colours the painter uses.
inline constexpr Argb kBlack = ArgbColor(0, 0, 0);
inline constexpr Argb kWhite = ArgbColor(255, 255, 255);
inline constexpr Argb kGreen = ArgbColor(0, 128, 0);
inline constexpr Argb kBrightGreen = ArgbColor(0, 255, 0);
inline constexpr Argb kRed = ArgbColor(255, 0, 0);
inline constexpr Argb kTransparentWhite = ArgbColor(0, 255, 255, 255);
// Opaque white doubles as "no box" for the text routines: it is -1 as a signed value.
inline constexpr Argb kNoBox = 0xFFFFFFFFu;

// The opaque colour of a room colour text "RRGGBB"; light grey (F0F0F0) for a
// text that is not six hexadecimal digits.
Argb HexToARGB(std::string_view text);

struct Pen {
  Argb colour = kBlack;
  double width = 1;  // world units
};

struct Brush {
  enum class Style { kSolid, kBackwardDiagonal };

  Style style = Style::kSolid;
  Argb colour = kBlack;      // the fill, or the hatch lines
  Argb background = kWhite;  // between the hatch lines

  static Brush Solid(Argb colour) { return {Style::kSolid, colour, colour}; }
  static Brush Hatch(Argb lines, Argb background) {
    return {Style::kBackwardDiagonal, lines, background};
  }
};

struct Segment {
  int32_t x1, y1, x2, y2;
  friend bool operator==(const Segment&, const Segment&) = default;
};

// Straight segments forming one figure, filled with the even-odd rule. A
// segment that does not start where the previous one ended is joined to it.
class Path {
 public:
  void AddLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    segments_.push_back({x1, y1, x2, y2});
  }
  const std::vector<Segment>& Segments() const { return segments_; }

 private:
  std::vector<Segment> segments_;
};

// A regular font of one family, sized in pixels (em size).
struct Font {
  QString family;
  double emSize = 12;
};

struct RectF {
  double x = 0, y = 0, width = 0, height = 0;
};

// The drawing operations the plan painter needs. Coordinates are world units:
// pixels while no transform is set. Angles are degrees from +x towards +y
// (clockwise on screen).
class Surface {
 public:
  virtual ~Surface() = default;

  virtual void SetSmoothing(bool antialias) = 0;

  // Fills the figure as if closed from its last point back to its first.
  virtual void FillPath(const Brush& brush, const Path& path) = 0;
  // Outlines the figure without closing it.
  virtual void DrawPath(const Pen& pen, const Path& path) = 0;
  virtual void DrawLine(const Pen& pen, double x1, double y1, double x2, double y2) = 0;
  virtual void DrawRectangle(const Pen& pen, double x, double y, double width, double height) = 0;
  virtual void FillRectangle(const Brush& brush, double x, double y, double width,
                             double height) = 0;
  // The arc of the ellipse inscribed in the rectangle; a negative sweep runs
  // from +y towards +x.
  virtual void DrawArc(const Pen& pen, double x, double y, double width, double height,
                       double startAngle, double sweepAngle) = 0;

  // Each transform applies before those already set: after Translate(t),
  // Rotate(r), Scale(s) a world point p lands at t + r(s(p)).
  virtual void Translate(double dx, double dy) = 0;
  virtual void Rotate(double degrees) = 0;
  virtual void Scale(double sx, double sy) = 0;
  virtual void ResetTransform() = 0;

  // The box of the text laid out on one line with its top-left corner at (x, y).
  virtual RectF MeasureText(const QString& text, const Font& font, double x, double y) = 0;
  virtual void DrawText(const QString& text, const Font& font, double x, double y,
                        const Brush& brush) = 0;
  // A raster picture laid under what follows, its pixels placed in world
  // units by toWorld. Surfaces that cannot show pictures leave it out.
  virtual void DrawPicture(const QImage& picture, const QTransform& toWorld, double opacity) {
    (void)picture, (void)toWorld, (void)opacity;
  }
};

// The three text routines of the painter, in "Verdana" at a pixel size. A
// background of kNoBox means no box behind the text (except for DrawTextAt,
// which always fills its box).
void DrawTextAt(Surface& surface, const QString& text, double size, double x, double y, Argb colour,
                Argb background);
// Centred on (x, y).
void DrawTextCentred(Surface& surface, const QString& text, double size, double x, double y,
                     Argb colour, Argb background);
// Centred on (x, y) and turned by the angle about it.
void DrawTextRotated(Surface& surface, const QString& text, double size, double x, double y,
                     int32_t angle, Argb colour, Argb background);

}  // namespace casavo
