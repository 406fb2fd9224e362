// Surface helpers: the Verdana font, colour texts, placed and rotated text.

#include "render/surface.h"

#include "files/plan_xml.h"

namespace casavo {

namespace {

Font Verdana(double size) {
  return Font{QStringLiteral("Verdana"), size};
}

}  // namespace

Argb HexToARGB(std::string_view text) {
  // The plan file's colour text, made opaque; light grey when unreadable.
  return 0xFF000000u | TextToColour(text);
}

void DrawTextAt(Surface& surface, const QString& text, double size, double x, double y, Argb colour,
                Argb background) {
  const Font font = Verdana(size);
  const RectF box = surface.MeasureText(text, font, x, y);
  surface.FillRectangle(Brush::Solid(background), box.x, box.y, box.width, box.height);
  surface.DrawText(text, font, x, y, Brush::Solid(colour));
}

void DrawTextCentred(Surface& surface, const QString& text, double size, double x, double y,
                     Argb colour, Argb background) {
  const Font font = Verdana(size);
  const RectF box = surface.MeasureText(text, font, x, y);
  const double halfW = box.width / 2;
  const double halfH = box.height / 2;
  if (background != kNoBox)
    surface.FillRectangle(Brush::Solid(background), box.x - halfW, box.y - halfH, box.width,
                          box.height);
  surface.DrawText(text, font, x - halfW, y - halfH, Brush::Solid(colour));
}

void DrawTextRotated(Surface& surface, const QString& text, double size, double x, double y,
                     int32_t angle, Argb colour, Argb background) {
  const Font font = Verdana(size);
  const RectF box = surface.MeasureText(text, font, x, y);
  const double halfW = box.width / 2;
  const double halfH = box.height / 2;
  surface.Translate(x, y);
  surface.Rotate(angle);
  if (background != kNoBox)
    surface.FillRectangle(Brush::Solid(background), -halfW, -halfH, box.width, box.height);
  surface.DrawText(text, font, -halfW, -halfH, Brush::Solid(colour));
  surface.ResetTransform();
}

}  // namespace casavo
