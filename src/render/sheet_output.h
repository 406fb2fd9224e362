// Writes a sheet to a PDF, SVG or PNG file or to a printer.

#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>

#include "render/sheet.h"

class QPrinter;

namespace casavo {

enum class SheetFormat { kPdf, kSvg, kPng };

inline constexpr int32_t kDefaultPngDpi = 150;

// The format named by a file's extension (.pdf, .svg, .png, any case);
// false for another one.
bool FormatOfFileName(const QString& fileName, SheetFormat& format);
QString FormatExtension(SheetFormat format);

// One vector page with its texts as text.
QByteArray SheetPdf(const Sheet& sheet);
// Width and height in millimetres; the view box counts millimetres of paper.
QByteArray SheetSvg(const Sheet& sheet);
// The page on white at the resolution given, which the file records.
QImage SheetImage(const Sheet& sheet, int32_t dpi);
QByteArray SheetPng(const Sheet& sheet, int32_t dpi = kDefaultPngDpi);
QByteArray SheetBytes(const Sheet& sheet, SheetFormat format, int32_t dpi = kDefaultPngDpi);

// Sets the printer's paper to the sheet's and prints it at the printer's
// resolution, to the same scale.
void SetUpPrinter(const Sheet& sheet, QPrinter& printer);
void PrintSheet(const Sheet& sheet, QPrinter& printer);

}  // namespace casavo
