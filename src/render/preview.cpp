// The PNG preview of a plan sent with an online save: view, picture, bytes.

#include "render/preview.h"

#include <QBuffer>
#include <QImageWriter>
#include <QString>

#include "common/numeric.h"
#include "render/painter.h"
#include "render/saved_view.h"

namespace casavo {

namespace {

constexpr int64_t kMarginMm = 1000;

// Pixels for a plan span, or -1 when the span is beyond any preview.
int32_t SideFor(int64_t spanMm, double zoom) {
  const long double pixels = static_cast<long double>(spanMm + 2 * kMarginMm) * zoom;
  return pixels > kMaxPreviewSide + 1 ? -1 : RoundToInt(pixels);
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
  plan.ViewWidth = view.width;
  plan.ViewHeight = view.height;
  plan.x0 = view.x0;
  plan.y0 = view.y0;
  plan.zx = view.zoom;
  plan.zy = view.zoom;
  DrawPlan(plan, image);
  return image;
}

QByteArray CreatePreview(TCasaPlan& plan, int32_t k) {
  const QImage image = PaintPreview(plan, k);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "PNG");
  if (!writer.write(image))
    throw PreviewError("L'aperçu du plan n'a pas pu être encodé en PNG : " +
                       writer.errorString().toStdString());
  return png;
}

}  // namespace casavo
