// An 8-bit RGB PNG painted and deflated a band of rows at a time, on several threads at once.
#pragma once

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <functional>

namespace casavo {

// Paints the picture's rows from top to top + rows - 1 into image, whose
// row margin is the picture's row top; the image has margin rows more above
// and below the band for the painter's own use.
using PaintRows = std::function<void(QImage& image, int32_t top, int32_t rows)>;

// A PNG (8-bit RGB, not interlaced) of width x height pixels, painted by
// paint a band of bandRows rows at a time into RGB32 images of bandRows + 2 *
// margin rows (margin at least 1). The bands are painted and deflated on as
// many threads as there are cores, at most three, each band on its own: its
// matches stay within its rows. paint runs on those threads, at
// the same time for different bands. An exception from paint, or
// std::bad_alloc when the images cannot be had, is thrown here once every
// thread has stopped.
QByteArray PaintPngInBands(int32_t width, int32_t height, int32_t bandRows, int32_t margin,
                           const PaintRows& paint);

}  // namespace casavo
