// The PNG preview of a plan sent with an online save: view, picture, bytes.

#include "render/preview.h"

#include <QString>
#include <QTransform>
#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "common/numeric.h"
#include "render/item_boxes.h"
#include "render/painter.h"
#include "render/png_bands.h"
#include "render/saved_view.h"
#include "render/surface_qpainter.h"

namespace casavo {

namespace {

constexpr int64_t kMarginMm = 1000;

// Pixels for a plan span, or -1 when the span is beyond any preview.
int32_t SideFor(int64_t spanMm, double zoom) {
  const long double pixels = static_cast<long double>(spanMm + 2 * kMarginMm) * zoom;
  return pixels > kMaxPreviewSide + 1 ? -1 : RoundToInt(pixels);
}

// Rows painted at a time: a band stays in the cache while it is painted and
// encoded, and a picture of up to 20000 pixels a side is never held whole.
// Each band's image has a few more rows on either side than it keeps, where
// nothing is painted: Qt's antialiasing of a shape cut by the edge of the
// image differs slightly in the last rows before the edge. Multiples of 8, so that the 8-pixel
// hatch of the walls runs on across bands as it does in one picture.
constexpr int32_t kBandRows = 64;
constexpr int32_t kBandMargin = 8;

void UseView(TCasaPlan& plan, const PreviewView& view) {
  plan.ViewWidth = view.width;
  plan.ViewHeight = view.height;
  plan.x0 = view.x0;
  plan.y0 = view.y0;
  plan.zx = view.zoom;
  plan.zy = view.zoom;
}

// The rows of the picture from top to top + rows - 1, into band whose row
// kBandMargin is the picture's row top.
void PaintBand(TCasaPlan& plan, const ItemBoxes& boxes,
               const std::vector<std::pair<int32_t, int32_t>>& closeCorners, QImage& band,
               int32_t top, int32_t rows) {
  QPainterSurface surface(band, QTransform::fromTranslate(0, kBandMargin - top));
  surface.ClipTo(QRect(0, kBandMargin, band.width(), rows));
  boxes.PaintRegion(plan, surface, closeCorners, QRect(0, top, band.width(), rows));
}

}  // namespace

PreviewView PreviewViewFor(const TCasaPlan& plan, int32_t k) {
  if (plan.CornerCount <= 0) throw PreviewError("Le plan est vide : il n'y a rien à dessiner.");
  if (k <= 0) throw PreviewError("L'échelle de l'aperçu doit être positive.");
  const TRect b = plan.GetBounds();
  PreviewView view;
  view.zoom = k / 1000.0;
  view.width = SideFor(int64_t{b.right} - b.left, view.zoom);
  view.height = SideFor(int64_t{b.bottom} - b.top, view.zoom);
  if (view.width < 0 || view.height < 0 || view.width > kMaxPreviewSide ||
      view.height > kMaxPreviewSide)
    throw PreviewError(QStringLiteral("L'aperçu serait trop grand : au plus %1 pixels de côté.")
                           .arg(kMaxPreviewSide)
                           .toStdString());
  view.x0 = RoundToInt((kMarginMm - b.left) * static_cast<long double>(view.zoom));
  view.y0 = RoundToInt((kMarginMm - b.top) * static_cast<long double>(view.zoom));
  return view;
}

QImage PaintPreview(TCasaPlan& plan, int32_t k) {
  const PreviewView view = PreviewViewFor(plan, k);
  QImage image(view.width, view.height, QImage::Format_RGB32);
  if (image.isNull()) throw PreviewError("Mémoire insuffisante pour l'aperçu du plan.");
  SavedView saved(plan);
  UseView(plan, view);
  DrawPlan(plan, image);
  return image;
}

// The picture of PaintPreview, painted a band of rows at a time, each band
// the plan painted through a shift of whole pixels, with only the items that
// reach into it; the bands are painted and encoded on several threads, which
// read the plan and change nothing in it.
QByteArray CreatePreview(TCasaPlan& plan, int32_t k) {
  const PreviewView view = PreviewViewFor(plan, k);
  SavedView saved(plan);
  UseView(plan, view);
  plan.RefreshGeometry();
  ItemBoxes boxes;
  boxes.MeasureAll(plan);
  const std::vector<std::pair<int32_t, int32_t>> closeCorners = CloseCornerPairs(plan);
  try {
    return PaintPngInBands(view.width, view.height, std::min(kBandRows, view.height), kBandMargin,
                           [&](QImage& band, int32_t top, int32_t rows) {
                             PaintBand(plan, boxes, closeCorners, band, top, rows);
                           });
  } catch (const std::bad_alloc&) {
    throw PreviewError("Mémoire insuffisante pour l'aperçu du plan.");
  }
}

}  // namespace casavo
