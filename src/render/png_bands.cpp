// An 8-bit RGB PNG painted and deflated a band of rows at a time, on several threads at once.
#include "render/png_bands.h"

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "render/deflate_rows.h"

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

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  for (const int shift : {24, 16, 8, 0}) out.push_back(static_cast<uint8_t>(value >> shift));
}

// A band deflated, and the CRC of its IDAT chunk.
struct Band {
  DeflatedRows rows;
  uint32_t crc = 0;
};

// The bands, taken in turn by the threads that paint and deflate them.
class BandWork {
 public:
  BandWork(int32_t width, int32_t height, int32_t bandRows, int32_t margin, const PaintRows& paint)
      : width_(width),
        height_(height),
        bandRows_(bandRows),
        margin_(margin),
        rowBytes_(1 + kPixelBytes * static_cast<size_t>(width)),
        paint_(paint),
        bands_(static_cast<size_t>((height + bandRows - 1) / bandRows)) {}

  // Paints and deflates bands until none is left or one failed.
  void Run() {
    try {
      QImage image(width_, bandRows_ + 2 * margin_, QImage::Format_RGB32);
      if (image.isNull()) throw std::bad_alloc();
      std::vector<uint8_t> rows;
      for (size_t b = next_++; b < bands_.size() && !failed_; b = next_++) Do(b, image, rows);
    } catch (...) {
      const std::lock_guard<std::mutex> lock(mutex_);
      if (!error_) error_ = std::current_exception();
      failed_ = true;
    }
  }

  std::exception_ptr Error() const { return error_; }
  const std::vector<Band>& Bands() const { return bands_; }

 private:
  void Do(size_t b, QImage& image, std::vector<uint8_t>& rows) {
    const int32_t top = static_cast<int32_t>(b) * bandRows_;
    const int32_t count = std::min(bandRows_, height_ - top);
    paint_(image, top, count);
    // No match reaches above the band: a row painted again from another band
    // need not give the same pixels, and the stream must inflate to the
    // rows the file shows.
    rows.resize(rowBytes_ * static_cast<size_t>(count));
    ToPngRows(image, margin_, count, rows.data());
    Band& band = bands_[b];
    band.rows = DeflateRows(rows.data(), 0, rows.size(), rowBytes_, kPixelBytes);
    band.crc = static_cast<uint32_t>(
        crc32_z(crc32_z(0, kIdat, 4), band.rows.bytes.data(), band.rows.bytes.size()));
  }

  const int32_t width_, height_, bandRows_, margin_;
  const size_t rowBytes_;
  const PaintRows& paint_;
  std::vector<Band> bands_;
  std::atomic<size_t> next_ = 0;
  std::atomic<bool> failed_ = false;
  std::mutex mutex_;
  std::exception_ptr error_;
};

void Append(QByteArray& out, const char* type, const std::vector<uint8_t>& data, uint32_t crc) {
  std::vector<uint8_t> bytes;
  PutBigEndian(bytes, static_cast<uint32_t>(data.size()));
  bytes.insert(bytes.end(), type, type + 4);
  out.append(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  out.append(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
  bytes.clear();
  PutBigEndian(bytes, crc);
  out.append(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

void Append(QByteArray& out, const char* type, const std::vector<uint8_t>& data) {
  static constexpr uint8_t kNothing = 0;  // zlib's CRC of a null pointer is 0, not the CRC
  const auto* typeBytes = reinterpret_cast<const uint8_t*>(type);
  Append(out, type, data,
         static_cast<uint32_t>(crc32_z(crc32_z(0, typeBytes, 4),
                                       data.empty() ? &kNothing : data.data(), data.size())));
}

QByteArray Assemble(int32_t width, int32_t height, const std::vector<Band>& bands) {
  size_t size = 1024;
  for (const Band& band : bands) size += band.rows.bytes.size() + 12;
  QByteArray out;
  out.reserve(static_cast<qsizetype>(size));
  static constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  out.append(reinterpret_cast<const char*>(kSignature), sizeof kSignature);
  std::vector<uint8_t> header;
  PutBigEndian(header, static_cast<uint32_t>(width));
  PutBigEndian(header, static_cast<uint32_t>(height));
  // 8 bits, RGB, deflate, the five row filters, not interlaced.
  header.insert(header.end(), {8, 2, 0, 0, 0});
  Append(out, "IHDR", header);
  Append(out, "IDAT", ZlibJoiner::Header());
  ZlibJoiner zlib;
  for (const Band& band : bands) {
    zlib.Add(band.rows);
    Append(out, "IDAT", band.rows.bytes, band.crc);
  }
  Append(out, "IDAT", zlib.Trailer());
  Append(out, "IEND", {});
  return out;
}

}  // namespace

QByteArray PaintPngInBands(int32_t width, int32_t height, int32_t bandRows, int32_t margin,
                           const PaintRows& paint) {
  BandWork work(width, height, bandRows, margin, paint);
  const size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 3);
  std::vector<std::thread> others;
  try {
    for (size_t k = 1; k < threads; ++k) others.emplace_back([&work] { work.Run(); });
  } catch (const std::system_error&) {
    // Fewer threads than cores: the bands still all get done.
  }
  work.Run();
  for (std::thread& t : others) t.join();
  if (work.Error()) std::rethrow_exception(work.Error());
  return Assemble(width, height, work.Bands());
}

}  // namespace casavo
