// An 8-bit RGB PNG painted a band of rows at a time and deflated on other threads meanwhile.
#include "render/png_bands.h"

#include <zlib.h>

#include <algorithm>
#include <new>
#include <thread>

namespace casavo {

namespace {

constexpr size_t kPixelBytes = 3;

// Rows of an RGB32 image as PNG rows: the filter byte (none), then red,
// green and blue.
void ToPngRows(const QImage& image, int32_t first, int32_t count, uint8_t* out) {
  const int32_t width = image.width();
  for (int32_t y = first; y < first + count; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    *out++ = 0;
    for (int32_t x = 0; x < width; ++x) {
      *out++ = static_cast<uint8_t>(qRed(line[x]));
      *out++ = static_cast<uint8_t>(qGreen(line[x]));
      *out++ = static_cast<uint8_t>(qBlue(line[x]));
    }
  }
}

// Threads deflating while this one paints: one per core, since this one
// waits whenever it is ahead, and at most three, since each holds a band.
size_t Workers() {
  return std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 3);
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  for (const int shift : {24, 16, 8, 0}) out.push_back(static_cast<uint8_t>(value >> shift));
}

}  // namespace

PngBandEncoder::PngBandEncoder(QByteArray& out, int32_t width, int32_t height, int32_t bandRows,
                               int32_t margin)
    : out_(out),
      margin_(margin),
      rowBytes_(1 + kPixelBytes * static_cast<size_t>(width)),
      slots_(Workers() + 1) {
  for (Slot& slot : slots_) {
    slot.image = QImage(width, bandRows + 2 * margin, QImage::Format_RGB32);
    if (slot.image.isNull()) throw std::bad_alloc();
  }
  static constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  out_.append(reinterpret_cast<const char*>(kSignature), sizeof kSignature);
  std::vector<uint8_t> header;
  PutBigEndian(header, static_cast<uint32_t>(width));
  PutBigEndian(header, static_cast<uint32_t>(height));
  // 8 bits, RGB, deflate, the five row filters, not interlaced.
  header.insert(header.end(), {8, 2, 0, 0, 0});
  Chunk("IHDR", header);
  Chunk("IDAT", ZlibJoiner::Header());
}

PngBandEncoder::~PngBandEncoder() {
  for (Slot& slot : slots_)
    if (slot.job.valid()) slot.job.wait();
}

QImage& PngBandEncoder::NextBand() {
  Slot& slot = slots_[next_ % slots_.size()];
  Collect(slot);
  return slot.image;
}

void PngBandEncoder::BandPainted(int32_t rows) {
  Slot& slot = slots_[next_ % slots_.size()];
  ++next_;
  // The row before the band leads its rows, for the matches above.
  const size_t history = lastRow_.size();
  slot.rows.resize(history + rowBytes_ * static_cast<size_t>(rows));
  std::copy(lastRow_.begin(), lastRow_.end(), slot.rows.begin());
  lastRow_.resize(rowBytes_);
  ToPngRows(slot.image, margin_ + rows - 1, 1, lastRow_.data());
  slot.job = std::async(std::launch::async, [this, &slot, rows, history] {
    ToPngRows(slot.image, margin_, rows, slot.rows.data() + history);
    return DeflateRows(slot.rows.data(), history, slot.rows.size(), rowBytes_, kPixelBytes);
  });
}

void PngBandEncoder::Collect(Slot& slot) {
  if (!slot.job.valid()) return;
  const DeflatedRows rows = slot.job.get();
  zlib_.Add(rows);
  Chunk("IDAT", rows.bytes);
}

void PngBandEncoder::Finish() {
  // The bands still out, oldest first.
  for (size_t k = 0; k < slots_.size(); ++k) Collect(slots_[(next_ + k) % slots_.size()]);
  Chunk("IDAT", zlib_.Trailer());
  static constexpr uint8_t kNothing = 0;  // zlib's CRC of a null pointer is 0, not the CRC
  Chunk("IEND", &kNothing, 0);
}

void PngBandEncoder::Chunk(const char* type, const uint8_t* data, size_t size) {
  std::vector<uint8_t> head;
  PutBigEndian(head, static_cast<uint32_t>(size));
  const auto* typeBytes = reinterpret_cast<const uint8_t*>(type);
  head.insert(head.end(), typeBytes, typeBytes + 4);
  out_.append(reinterpret_cast<const char*>(head.data()), static_cast<qsizetype>(head.size()));
  out_.append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const uLong crc = crc32_z(crc32_z(0, typeBytes, 4), data, size);
  std::vector<uint8_t> tail;
  PutBigEndian(tail, static_cast<uint32_t>(crc));
  out_.append(reinterpret_cast<const char*>(tail.data()), static_cast<qsizetype>(tail.size()));
}

}  // namespace casavo
