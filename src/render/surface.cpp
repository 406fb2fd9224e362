#include "render/surface.h"

namespace casavo {

namespace {

constexpr Argb kLightGrey = ArgbColor(240, 240, 240);

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

Font Verdana(double size) {
  return Font{QStringLiteral("Verdana"), size};
}

}  // namespace

Argb HexToARGB(std::string_view text) {
  if (text.size() != 6) return kLightGrey;
  uint8_t channels[3];
  for (int i = 0; i < 3; ++i) {
    const int high = HexDigit(text[2 * i]);
    const int low = HexDigit(text[2 * i + 1]);
    if (high < 0 || low < 0) return kLightGrey;
    channels[i] = static_cast<uint8_t>(high * 16 + low);
  }
  return ArgbColor(channels[0], channels[1], channels[2]);
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
