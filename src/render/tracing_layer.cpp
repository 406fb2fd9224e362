// The picture to trace: read from PNG, JPEG or a PDF page, its dark lines found, drawn under the
// plan.
#include "render/tracing_layer.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QtPdf/QPdfDocument>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace casavo {
namespace {

// A PDF page is read at this many pixels per inch: enough for a plan's
// thin lines without a picture that slows every paint.
constexpr double kPdfDpi = 150;
// A scan or a photo larger than this is shrunk when read: bigger pictures
// make every paint slow and help nobody trace walls.
constexpr int kMaxSide = 6000;
// Darker than this is ink.
constexpr int kInk = 110;
// Ink is a line when it runs on at least this many pixels along one axis.
constexpr int kMinRun = 12;

QImage ReadPdfPage(const QString& path, int32_t page, QString& why) {
  QPdfDocument document;
  if (document.load(path) != QPdfDocument::Error::None) {
    why = QStringLiteral("le PDF ne peut pas être lu");
    return {};
  }
  if (page < 0 || page >= document.pageCount()) {
    why = QStringLiteral("le PDF n'a pas de page %1").arg(page + 1);
    return {};
  }
  const QSizeF points = document.pagePointSize(page);
  const QSize size = (points * kPdfDpi / 72).toSize().boundedTo(QSize(kMaxSide, kMaxSide));
  QImage rendered = document.render(page, size);
  // A PDF page is transparent where nothing is printed: paper is white.
  QImage paper(rendered.size(), QImage::Format_RGB32);
  paper.fill(Qt::white);
  QPainter(&paper).drawImage(0, 0, rendered);
  return paper;
}

// One spelling per file, so that a path written another way reads nothing twice.
QString Cleaned(const QString& path) {
  return path.isEmpty() ? path : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool Ink(const QImage& grey, int x, int y) {
  if (x < 0 || y < 0 || x >= grey.width() || y >= grey.height()) return false;
  return grey.constScanLine(y)[x] < kInk;
}

// How far ink runs through (x, y) along the direction (dx, dy), both ways.
int Run(const QImage& grey, int x, int y, double dx, double dy, int limit) {
  int run = 1;
  for (const int sign : {1, -1}) {
    for (int step = 1; step <= limit; ++step) {
      const int px = static_cast<int>(std::lround(x + sign * step * dx));
      const int py = static_cast<int>(std::lround(y + sign * step * dy));
      if (!Ink(grey, px, py)) break;
      ++run;
    }
  }
  return run;
}

// Where a line through the ink at (x, y), running along (dx, dy), has its
// middle across: for a thin line its middle, for a broad band its edge.
TracePoint LineCentre(const QImage& grey, int x, int y, double dx, double dy, int widest) {
  const double nx = -dy, ny = dx;
  int reach[2] = {0, 0};
  for (int side = 0; side < 2; ++side) {
    const int sign = side == 0 ? 1 : -1;
    while (reach[side] < widest &&
           Ink(grey, static_cast<int>(std::lround(x + sign * (reach[side] + 1) * nx)),
               static_cast<int>(std::lround(y + sign * (reach[side] + 1) * ny))))
      ++reach[side];
  }
  if (reach[0] >= widest || reach[1] >= widest) return {x + 0.5, y + 0.5};
  const double across = (reach[0] - reach[1]) / 2.0;
  return {x + 0.5 + across * nx, y + 0.5 + across * ny};
}

// The nearest ink line along (dx, dy) within radius: where `at` lands when
// moved straight across onto it.
std::optional<TracePoint> NearestLine(const QImage& grey, TracePoint at, double radius, double dx,
                                      double dy) {
  const int r = static_cast<int>(std::ceil(radius));
  const int cx = static_cast<int>(std::floor(at.x)), cy = static_cast<int>(std::floor(at.y));
  const double nx = -dy, ny = dx;
  double best = radius;
  std::optional<TracePoint> found;
  for (int y = cy - r; y <= cy + r; ++y) {
    for (int x = cx - r; x <= cx + r; ++x) {
      if (!Ink(grey, x, y)) continue;
      const TracePoint centre = LineCentre(grey, x, y, dx, dy, 2 * r + 2);
      // Only the distance across the line counts: along it the end stays put.
      const double off = (at.x - centre.x) * nx + (at.y - centre.y) * ny;
      if (std::fabs(off) > best) continue;
      if (Run(grey, x, y, dx, dy, kMinRun) < kMinRun) continue;
      best = std::fabs(off);
      found = TracePoint{at.x - off * nx, at.y - off * ny};
    }
  }
  return found;
}

}  // namespace

std::optional<QString> TracingPicture::Load(const QString& path, int32_t page) {
  Clear();
  QString why;
  QImage image;
  if (!QFileInfo::exists(path)) {
    why = QStringLiteral("le fichier n'existe pas");
  } else if (path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
    image = ReadPdfPage(path, page, why);
  } else if (!image.load(path)) {
    why = QStringLiteral("ce n'est pas une image PNG ou JPEG lisible");
  }
  path_ = Cleaned(path);
  page_ = page;
  if (image.isNull()) return why;
  if (image.width() > kMaxSide || image.height() > kMaxSide)
    image = image.scaled(kMaxSide, kMaxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  image_ = image.convertToFormat(QImage::Format_RGB32);
  grey_ = image_.convertToFormat(QImage::Format_Grayscale8);
  return std::nullopt;
}

void TracingPicture::Clear() {
  image_ = QImage();
  grey_ = QImage();
  path_.clear();
  page_ = 0;
}

void TracingPicture::Follow(const QString& path, int32_t page) {
  if (Cleaned(path) == path_ && page == page_) return;
  if (path.isEmpty()) {
    Clear();
    return;
  }
  Load(path, page);
}

std::optional<TracePoint> TracingPicture::SnapToLines(TracePoint at, double radius,
                                                      double angle) const {
  if (grey_.isNull() || !(radius > 0)) return std::nullopt;
  const double a = angle * std::numbers::pi / 180;
  // The plan's x and y axes as seen on the picture.
  const double ux = std::cos(a), uy = -std::sin(a);
  const auto alongX = NearestLine(grey_, at, radius, ux, uy);
  const auto alongY = NearestLine(grey_, at, radius, -uy, ux);
  if (!alongX && !alongY) return std::nullopt;
  // The two moves are square to each other, so at a corner both add up.
  TracePoint p = at;
  if (alongX) p = {p.x + alongX->x - at.x, p.y + alongX->y - at.y};
  if (alongY) p = {p.x + alongY->x - at.x, p.y + alongY->y - at.y};
  return p;
}

int32_t PdfPageCount(const QString& path) {
  QPdfDocument document;
  if (document.load(path) != QPdfDocument::Error::None) return 0;
  return document.pageCount();
}

QTransform TraceTransform(const TCasaPlan& plan, const TTrace& trace) {
  const double s = trace.EffectiveScale();
  QTransform t;
  t.translate(plan.x0, plan.y0);
  t.scale(plan.zx, plan.zy);
  t.translate(trace.x, trace.y);
  t.rotate(trace.angle);
  t.scale(s, s);
  return t;
}

void DrawTracingOver(QPainter& painter, const TCasaPlan& plan, const TTrace& trace,
                     const QImage& picture) {
  if (picture.isNull() || !trace.visible || trace.opacity <= 0) return;
  painter.save();
  painter.setCompositionMode(QPainter::CompositionMode_Multiply);
  painter.setOpacity(std::clamp(trace.opacity, 0.0, 1.0));
  painter.setTransform(TraceTransform(plan, trace));
  // Smoothing only where a picture pixel is smaller than a screen pixel.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, plan.zx * trace.EffectiveScale() < 1);
  painter.drawImage(0, 0, picture);
  painter.restore();
}

}  // namespace casavo
