// The PNG written a band at a time with rows deflated on other threads: valid streams, exact
// pixels.
#include <gtest/gtest.h>
#include <zlib.h>

#include <QImage>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <random>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "render/deflate_rows.h"
#include "render/png_bands.h"

namespace casavo {
namespace {

// Rows whose bytes follow a pattern, for DeflateRows.
std::vector<uint8_t> Rows(size_t rowBytes, size_t rows, int pattern, uint64_t seed) {
  std::mt19937_64 random(seed);
  std::vector<uint8_t> data(rowBytes * rows);
  if (pattern == 1) {
    // Byte k as often as the kth Fibonacci number, shuffled: Huffman's codes
    // for the rarest run past the 15 bits deflate allows.
    size_t i = 0;
    for (size_t k = 0, a = 1, b = 1; i < data.size(); ++k, b = a + b, a = b - a)
      for (size_t n = 0; n < a && i < data.size(); ++n) data[i++] = static_cast<uint8_t>(k);
    std::shuffle(data.begin(), data.end(), random);
    return data;
  }
  for (size_t i = 0; i < data.size(); ++i) {
    const size_t x = i % rowBytes, y = i / rowBytes;
    switch (pattern) {
      case 0:  // noise
        data[i] = static_cast<uint8_t>(random());
        break;
      case 2:  // hatching over a flat colour
        data[i] = static_cast<uint8_t>(((x / 3 + y) % 8 == 0) ? 0 : 200 + x % 3);
        break;
      default:  // white rows, and a few of small noise
        data[i] = static_cast<uint8_t>(y % 7 == 0 ? random() % 4 : 255);
        break;
    }
  }
  return data;
}

// Runs deflated apart, in bands of some rows each, join into one zlib stream
// that gives the rows back, whatever the bytes and row length, also past the
// 32 KB window, where no match reaches the row above.
TEST(DeflateRows, BandsJoinIntoAStreamThatInflatesToTheRows) {
  struct Case {
    size_t rowBytes, rows, bandRows;
    int pattern;
  };
  const Case cases[] = {{301, 90, 16, 0},   {301, 400, 64, 1},  {3001, 200, 7, 2},
                        {4, 1000, 1000, 2}, {33004, 4, 4, 1},   {33004, 6, 2, 2},
                        {33004, 9, 4, 3},   {1201, 300, 300, 3}};
  for (const Case& c : cases) {
    const std::vector<uint8_t> data = Rows(c.rowBytes, c.rows, c.pattern, c.rows);
    std::vector<uint8_t> stream = ZlibJoiner::Header();
    ZlibJoiner joiner;
    for (size_t top = 0; top < c.rows; top += c.bandRows) {
      const size_t history = top == 0 ? 0 : c.rowBytes;
      const size_t end = std::min(c.rows, top + c.bandRows) * c.rowBytes;
      const DeflatedRows band = DeflateRows(data.data() + top * c.rowBytes - history, history,
                                            history + end - top * c.rowBytes, c.rowBytes, 3);
      joiner.Add(band);
      stream.insert(stream.end(), band.bytes.begin(), band.bytes.end());
    }
    const std::vector<uint8_t> trailer = joiner.Trailer();
    stream.insert(stream.end(), trailer.begin(), trailer.end());

    std::vector<uint8_t> back(data.size() + 1);
    uLongf size = back.size();
    ASSERT_EQ(uncompress(back.data(), &size, stream.data(), stream.size()), Z_OK)
        << c.rowBytes << " x " << c.rows << ", pattern " << c.pattern;
    back.resize(size);
    EXPECT_TRUE(back == data) << c.rowBytes << " x " << c.rows << ", pattern " << c.pattern;
    if (c.pattern == 2) {
      EXPECT_LT(stream.size(), data.size() / 10) << "repeats not found";
    }
  }
}

// The zlib stream of a PNG's IDAT chunks, inflated with its checksum checked;
// empty when it does not inflate.
std::vector<uint8_t> Inflated(const QByteArray& png, size_t size) {
  std::vector<uint8_t> stream;
  for (qsizetype at = 8; at + 12 <= png.size();) {
    const auto* p = reinterpret_cast<const uint8_t*>(png.constData() + at);
    const size_t length = size_t{p[0]} << 24 | size_t{p[1]} << 16 | size_t{p[2]} << 8 | p[3];
    if (std::memcmp(p + 4, "IDAT", 4) == 0) stream.insert(stream.end(), p + 8, p + 8 + length);
    at += static_cast<qsizetype>(length + 12);
  }
  std::vector<uint8_t> rows(size);
  uLongf got = size;
  if (uncompress(rows.data(), &got, stream.data(), stream.size()) != Z_OK || got != size) return {};
  return rows;
}

// The file decodes to the painted pixels, bands of any height, the last one
// short, painted on several threads, with a stream whose checksum holds.
// Each band is painted alone: what it leaves in its margins, here the rows
// above it painted again otherwise, is not the picture.
TEST(PngInBands, DecodesToThePaintedPixels) {
  for (const auto& [width, height, bandRows] : {std::tuple{37, 100, 16}, {260, 521, 256}}) {
    std::mt19937 random(static_cast<unsigned>(width));
    QImage whole(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        whole.setPixel(x, y, (x + y) % 5 == 0 ? random() : qRgb(240, y % 256, x % 256));
    const size_t line = static_cast<size_t>(width) * 4;
    const QByteArray png =
        PaintPngInBands(width, height, bandRows, 2, [&](QImage& band, int top, int rows) {
          band.fill(Qt::magenta);  // only the rows asked for are written
          for (int y = top; y < top + rows; ++y)
            std::memcpy(band.scanLine(y - top + 2), whole.constScanLine(y), line);
          std::memcpy(band.scanLine(1), whole.constScanLine(top), line);
        });
    const QImage decoded = QImage::fromData(png, "PNG");
    ASSERT_FALSE(decoded.isNull()) << width << " x " << height;
    EXPECT_TRUE(decoded.convertToFormat(QImage::Format_RGB32) == whole) << width << " x " << height;
    EXPECT_FALSE(Inflated(png, static_cast<size_t>(height) * (1 + 3 * width)).empty())
        << width << " x " << height;
  }
}

// A band that cannot be painted fails the whole picture, once the threads stop.
TEST(PngInBands, APaintThatThrowsIsThrownBack) {
  std::atomic<int> painted = 0;
  EXPECT_THROW(PaintPngInBands(10, 100, 4, 1,
                               [&](QImage&, int top, int) {
                                 ++painted;
                                 if (top == 40) throw std::range_error("band 10");
                               }),
               std::range_error);
  EXPECT_GE(painted, 11);
}

}  // namespace
}  // namespace casavo
