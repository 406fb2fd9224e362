// An 8-bit RGB PNG painted a band of rows at a time and deflated on other threads meanwhile.
#pragma once

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <future>
#include <vector>

#include "render/deflate_rows.h"

namespace casavo {

// Writes a PNG (8-bit RGB, not interlaced) whose rows come a band at a time
// as RGB32 images: while the caller paints a band, the bands before are
// turned into PNG rows and deflated on other threads, and their bytes join
// the file in order.
class PngBandEncoder {
 public:
  // Bands of bandRows rows, painted into images with margin rows more above
  // and below. Throws std::bad_alloc when the images cannot be had.
  PngBandEncoder(QByteArray& out, int32_t width, int32_t height, int32_t bandRows, int32_t margin);
  ~PngBandEncoder();
  PngBandEncoder(const PngBandEncoder&) = delete;
  PngBandEncoder& operator=(const PngBandEncoder&) = delete;

  // The image to paint the next band into, once the band that used it last
  // is deflated; the band's first row is row margin of it.
  QImage& NextBand();
  // The band painted into NextBand's image: its first rows rows go out.
  void BandPainted(int32_t rows);
  // Waits for the last bands and ends the file.
  void Finish();

 private:
  struct Slot {
    QImage image;
    std::vector<uint8_t> rows;  // the row before the band, then the band's, as PNG rows
    std::future<DeflatedRows> job;
  };
  void Collect(Slot& slot);
  void Chunk(const char* type, const uint8_t* data, size_t size);
  void Chunk(const char* type, const std::vector<uint8_t>& data) {
    Chunk(type, data.data(), data.size());
  }

  QByteArray& out_;
  int32_t margin_;
  size_t rowBytes_;
  std::vector<Slot> slots_;
  size_t next_ = 0;               // bands handed out
  std::vector<uint8_t> lastRow_;  // the last PNG row handed out
  ZlibJoiner zlib_;
};

}  // namespace casavo
