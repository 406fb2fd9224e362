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
  // A band deflated, and the CRC of its chunk.
  struct Band {
    DeflatedRows rows;
    uint32_t crc = 0;
  };
  struct Slot {
    QImage image;
    std::vector<uint8_t> rows;  // the row before the band, then the band's, as PNG rows
    std::future<Band> job;
  };
  Band Deflate(Slot& slot, int32_t rows, const std::vector<uint8_t>& before) const;
  void Collect(Slot& slot);
  void Append(const char* type, const std::vector<uint8_t>& data);
  void Append(const char* type, const std::vector<uint8_t>& data, uint32_t crc);

  QByteArray& out_;
  int32_t width_, height_, margin_;
  size_t rowBytes_;
  std::vector<Slot> slots_;
  size_t next_ = 0;               // bands handed out
  std::vector<uint8_t> lastRow_;  // the last PNG row handed out
  std::vector<Band> bands_;       // deflated, in order
  ZlibJoiner zlib_;
};

}  // namespace casavo
