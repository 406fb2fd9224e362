// The PNG preview of a plan sent with an online save: view, picture, bytes.

#include "render/preview.h"

#include <png.h>

#include <QString>
#include <QTransform>
#include <algorithm>
#include <csetjmp>
#include <string>
#include <vector>

#include "common/numeric.h"
#include "render/painter.h"
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
// Each band is painted with a few more rows on either side than it keeps:
// Qt's antialiasing of a shape cut by the edge of the image differs slightly
// in the last rows before the edge. Multiples of 8, so that the 8-pixel hatch
// of the walls runs on across bands as it does in one picture.
constexpr int32_t kBandRows = 256;
constexpr int32_t kBandMargin = 8;

// libpng writing 8-bit RGB rows into a byte array. The fastest zlib level and
// no row filter: a plan is mostly long runs of one colour, which deflate's
// fastest mode still packs well, and the save waits for the encoding.
class PngRows {
 public:
  PngRows(QByteArray& out, int32_t width, int32_t height) : out_(out) {
    png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, this, OnError, OnWarning);
    if (png_ != nullptr) info_ = png_create_info_struct(png_);
    if (info_ == nullptr) {
      error_ = "libpng";
      return;
    }
    if (setjmp(png_jmpbuf(png_))) return;
    png_set_write_fn(png_, this, OnWrite, nullptr);
    png_set_IHDR(png_, info_, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png_, 1);
    png_set_filter(png_, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png_, info_);
    // The rows come as the 32-bit pixels of an RGB32 image: the byte that is
    // not a colour goes.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    png_set_bgr(png_);
    png_set_filler(png_, 0, PNG_FILLER_AFTER);
#else
    png_set_filler(png_, 0, PNG_FILLER_BEFORE);
#endif
  }
  ~PngRows() {
    png_destroy_write_struct(&png_, &info_);
  }
  PngRows(const PngRows&) = delete;
  PngRows& operator=(const PngRows&) = delete;

  // Rows first..first + count - 1 of an RGB32 image.
  void Write(const QImage& band, int32_t first, int32_t count) {
    if (!error_.empty()) return;
    rows_.resize(static_cast<size_t>(count));
    for (int32_t y = 0; y < count; ++y)
      rows_[static_cast<size_t>(y)] = const_cast<png_bytep>(band.constScanLine(first + y));
    if (setjmp(png_jmpbuf(png_))) return;
    png_write_rows(png_, rows_.data(), static_cast<png_uint_32>(count));
  }

  void Finish() {
    if (error_.empty() && !setjmp(png_jmpbuf(png_))) png_write_end(png_, nullptr);
    if (!error_.empty())
      throw PreviewError("L'aperçu du plan n'a pas pu être encodé en PNG : " + error_);
  }

 private:
  static PngRows& Of(png_structp png) {
    return *static_cast<PngRows*>(png_get_error_ptr(png));
  }
  static void OnError(png_structp png, png_const_charp message) {
    Of(png).error_ = message;
    png_longjmp(png, 1);
  }
  static void OnWarning(png_structp, png_const_charp) {}
  static void OnWrite(png_structp png, png_bytep data, png_size_t size) {
    auto* self = static_cast<PngRows*>(png_get_io_ptr(png));
    self->out_.append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  }

  QByteArray& out_;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
  std::vector<png_bytep> rows_;
  std::string error_;
};

void UseView(TCasaPlan& plan, const PreviewView& view) {
  plan.ViewWidth = view.width;
  plan.ViewHeight = view.height;
  plan.x0 = view.x0;
  plan.y0 = view.y0;
  plan.zx = view.zoom;
  plan.zy = view.zoom;
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

// The picture of PaintPreview, painted and encoded a band of rows at a time:
// each band is the whole plan painted through a shift of whole pixels.
QByteArray CreatePreview(TCasaPlan& plan, int32_t k) {
  const PreviewView view = PreviewViewFor(plan, k);
  QImage band(view.width, std::min(kBandRows, view.height) + 2 * kBandMargin, QImage::Format_RGB32);
  if (band.isNull()) throw PreviewError("Mémoire insuffisante pour l'aperçu du plan.");
  SavedView saved(plan);
  UseView(plan, view);
  plan.RefreshGeometry();
  QByteArray png;
  PngRows writer(png, view.width, view.height);
  for (int32_t top = 0; top < view.height; top += kBandRows) {
    {
      QPainterSurface surface(band, QTransform::fromTranslate(0, kBandMargin - top));
      PlanPainter(plan, surface).DrawRefreshed();
    }
    writer.Write(band, kBandMargin, std::min(kBandRows, view.height - top));
  }
  writer.Finish();
  return png;
}

}  // namespace casavo
