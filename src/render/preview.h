// The plan preview: its view and the picture.

#pragma once

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <stdexcept>

#include "plan/casa_plan.h"

namespace casavo {

// A preview that cannot be made; the text is for the user.
class PreviewError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Largest side of a preview image, in pixels.
inline constexpr int32_t kMaxPreviewSide = 20000;

// The view of a preview: the image size and the offsets and zoom that put
// every corner inside it with 1000 mm of margin.
struct PreviewView {
  int32_t width = 0;
  int32_t height = 0;
  int32_t x0 = 0;
  int32_t y0 = 0;
  double zoom = 0;
};

// The preview view at k thousandths of a pixel per millimetre. Raises
// PreviewError for a plan without corners, a scale of zero or less, or an
// image side above kMaxPreviewSide.
PreviewView PreviewViewFor(const TCasaPlan& plan, int32_t k);

// Paints the whole plan into a new image in the preview view, with the plan's
// display switches and selection. The plan's view is restored afterwards, also
// when painting fails.
QImage PaintPreview(TCasaPlan& plan, int32_t k);

// PaintPreview encoded as PNG (8-bit RGB, no alpha, not interlaced).
QByteArray CreatePreview(TCasaPlan& plan, int32_t k);

}  // namespace casavo
