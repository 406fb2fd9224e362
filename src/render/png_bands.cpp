// An 8-bit RGB PNG painted a band of rows at a time and deflated on other threads meanwhile.
#include "render/png_bands.h"

#include <zlib.h>

#include <algorithm>
#include <new>
#include <thread>

namespace casavo {

namespace {

constexpr size_t kPixelBytes = 3;
constexpr uint8_t kIdat[] = {'I', 'D', 'A', 'T'};

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
      width_(width),
      height_(height),
      margin_(margin),
      rowBytes_(1 + kPixelBytes * static_cast<size_t>(width)),
      slots_(Workers() + 1) {
  for (Slot& slot : slots_) {
    slot.image = QImage(width, bandRows + 2 * margin, QImage::Format_RGB32);
    if (slot.image.isNull()) throw std::bad_alloc();
  }
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
  std::vector<uint8_t> before(rowBytes_);
  ToPngRows(slot.image, margin_ + rows - 1, 1, before.data());
  before.swap(lastRow_);
  slot.job = std::async(std::launch::async, [this, &slot, rows, before = std::move(before)] {
    return Deflate(slot, rows, before);
  });
}

PngBandEncoder::Band PngBandEncoder::Deflate(Slot& slot, int32_t rows,
                                             const std::vector<uint8_t>& before) const {
  slot.rows.resize(before.size() + rowBytes_ * static_cast<size_t>(rows));
  std::copy(before.begin(), before.end(), slot.rows.begin());
  ToPngRows(slot.image, margin_, rows, slot.rows.data() + before.size());
  Band band;
  band.rows =
      DeflateRows(slot.rows.data(), before.size(), slot.rows.size(), rowBytes_, kPixelBytes);
  band.crc = static_cast<uint32_t>(
      crc32_z(crc32_z(0, kIdat, 4), band.rows.bytes.data(), band.rows.bytes.size()));
  return band;
}

void PngBandEncoder::Collect(Slot& slot) {
  if (!slot.job.valid()) return;
  bands_.push_back(slot.job.get());
  zlib_.Add(bands_.back().rows);
}

void PngBandEncoder::Finish() {
  // The bands still out, oldest first.
  for (size_t k = 0; k < slots_.size(); ++k) Collect(slots_[(next_ + k) % slots_.size()]);
  size_t size = 1024;
  for (const Band& band : bands_) size += band.rows.bytes.size() + 12;
  out_.reserve(static_cast<qsizetype>(size));
  static constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  out_.append(reinterpret_cast<const char*>(kSignature), sizeof kSignature);
  std::vector<uint8_t> header;
  PutBigEndian(header, static_cast<uint32_t>(width_));
  PutBigEndian(header, static_cast<uint32_t>(height_));
  // 8 bits, RGB, deflate, the five row filters, not interlaced.
  header.insert(header.end(), {8, 2, 0, 0, 0});
  Append("IHDR", header);
  Append("IDAT", ZlibJoiner::Header());
  for (const Band& band : bands_) Append("IDAT", band.rows.bytes, band.crc);
  Append("IDAT", zlib_.Trailer());
  Append("IEND", {});
}

void PngBandEncoder::Append(const char* type, const std::vector<uint8_t>& data) {
  static constexpr uint8_t kNothing = 0;  // zlib's CRC of a null pointer is 0, not the CRC
  const auto* typeBytes = reinterpret_cast<const uint8_t*>(type);
  Append(type, data,
         static_cast<uint32_t>(crc32_z(crc32_z(0, typeBytes, 4),
                                       data.empty() ? &kNothing : data.data(), data.size())));
}

void PngBandEncoder::Append(const char* type, const std::vector<uint8_t>& data, uint32_t crc) {
  std::vector<uint8_t> head;
  PutBigEndian(head, static_cast<uint32_t>(data.size()));
  head.insert(head.end(), type, type + 4);
  out_.append(reinterpret_cast<const char*>(head.data()), static_cast<qsizetype>(head.size()));
  out_.append(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
  std::vector<uint8_t> tail;
  PutBigEndian(tail, crc);
  out_.append(reinterpret_cast<const char*>(tail.data()), static_cast<qsizetype>(tail.size()));
}

}  // namespace casavo
