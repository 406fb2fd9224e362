// Sheet output to PDF, SVG, PNG and the printer.

#include "render/sheet_output.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>
#include <cmath>

#include "common/numeric.h"
#include "render/preview.h"
#include "render/surface_qpainter.h"

namespace casavo {

namespace {

constexpr double kMmPerInch = 25.4;
// SVG device units: a tenth of a millimetre, so that the size in whole units
// is the paper's to the tenth.
constexpr int32_t kSvgDpi = 254;

// Sheet dots to the device's own units at dpi.
QTransform ToDevice(double dpi) {
  const double k = dpi / kMmPerInch / kSheetDotsPerMm;
  return QTransform::fromScale(k, k);
}

QPageLayout PageLayoutOf(const Sheet& sheet) {
  const QSizeF page = sheet.Layout().page;
  const bool landscape = page.width() > page.height();
  const QSizeF upright = landscape ? page.transposed() : page;
  return QPageLayout(QPageSize(upright, QPageSize::Millimeter),
                     landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

void Draw(const Sheet& sheet, QPaintDevice& device, const QTransform& toDevice) {
  QPainterSurface surface(device, toDevice);
  sheet.Draw(surface);
}

}  // namespace

bool FormatOfFileName(const QString& fileName, SheetFormat& format) {
  const QString lower = fileName.toLower();
  if (lower.endsWith(".pdf"))
    format = SheetFormat::kPdf;
  else if (lower.endsWith(".svg"))
    format = SheetFormat::kSvg;
  else if (lower.endsWith(".png"))
    format = SheetFormat::kPng;
  else
    return false;
  return true;
}

QString FormatExtension(SheetFormat format) {
  switch (format) {
    case SheetFormat::kSvg:
      return QStringLiteral("svg");
    case SheetFormat::kPng:
      return QStringLiteral("png");
    case SheetFormat::kPdf:
      break;
  }
  return QStringLiteral("pdf");
}

QByteArray SheetPdf(const Sheet& sheet) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setPageLayout(PageLayoutOf(sheet));
    writer.setTitle(sheet.Options().title);
    writer.setCreator(QStringLiteral("Casavo"));
    Draw(sheet, writer, ToDevice(writer.resolution()));
  }
  return bytes;
}

QByteArray SheetSvg(const Sheet& sheet) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const QSizeF page = sheet.Layout().page;
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setResolution(kSvgDpi);
  generator.setSize(QSize(static_cast<int>(std::lround(page.width() * kSvgDpi / kMmPerInch)),
                          static_cast<int>(std::lround(page.height() * kSvgDpi / kMmPerInch))));
  generator.setViewBox(QRectF(QPointF(0, 0), page));
  generator.setTitle(sheet.Options().title);
  generator.setDescription(QStringLiteral("Casavo, %1").arg(ScaleText(sheet.Layout().scale)));
  Draw(sheet, generator, QTransform::fromScale(1 / kSheetDotsPerMm, 1 / kSheetDotsPerMm));
  return bytes;
}

QImage SheetImage(const Sheet& sheet, int32_t dpi) {
  const QSizeF page = sheet.Layout().page;
  const long double pixelsPerMm = dpi / static_cast<long double>(kMmPerInch);
  const int32_t width = RoundToInt(page.width() * pixelsPerMm);
  const int32_t height = RoundToInt(page.height() * pixelsPerMm);
  if (dpi <= 0 || width > kMaxPreviewSide || height > kMaxPreviewSide)
    throw PreviewError(QStringLiteral("L'image serait trop grande : au plus %1 pixels de côté.")
                           .arg(kMaxPreviewSide)
                           .toStdString());
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) throw PreviewError("Mémoire insuffisante pour l'image du plan.");
  const int dotsPerMetre = static_cast<int>(std::lround(dpi / kMmPerInch * 1000));
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  image.fill(Qt::white);
  Draw(sheet, image, ToDevice(dpi));
  return image;
}

QByteArray SheetPng(const Sheet& sheet, int32_t dpi) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "PNG");
  if (!writer.write(SheetImage(sheet, dpi)))
    throw PreviewError("L'image n'a pas pu être encodée en PNG : " +
                       writer.errorString().toStdString());
  return png;
}

QByteArray SheetBytes(const Sheet& sheet, SheetFormat format, int32_t dpi) {
  switch (format) {
    case SheetFormat::kSvg:
      return SheetSvg(sheet);
    case SheetFormat::kPng:
      return SheetPng(sheet, dpi);
    case SheetFormat::kPdf:
      break;
  }
  return SheetPdf(sheet);
}

void SetUpPrinter(const Sheet& sheet, QPrinter& printer) {
  printer.setPageLayout(PageLayoutOf(sheet));
  printer.setFullPage(true);
  printer.setDocName(sheet.Options().title);
}

void PrintSheet(const Sheet& sheet, QPrinter& printer) {
  // Full page: the device's origin is the paper's corner, as on the sheet.
  printer.setFullPage(true);
  Draw(sheet, printer, ToDevice(printer.resolution()));
}

}  // namespace casavo
