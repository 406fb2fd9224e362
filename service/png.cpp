// PNG checks of the previews sent by the editor (libpng): size, whole decoding.

#include "service/png.h"

#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace casavo::service {
namespace {

constexpr std::string_view kSignature("\x89PNG\r\n\x1A\n", 8);
// Signature, length, "IHDR", 13 data bytes, CRC.
constexpr size_t kHeaderEnd = 8 + 4 + 4 + 13 + 4;

uint32_t BigEndian32(std::string_view bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

struct Source {
  std::string_view bytes;
  size_t at = 0;
};

void ReadFromSource(png_structp png, png_bytep out, size_t count) {
  auto* source = static_cast<Source*>(png_get_io_ptr(png));
  if (count > source->bytes.size() - source->at) png_error(png, "cut short");
  std::memcpy(out, source->bytes.data() + source->at, count);
  source->at += count;
}

void Fail(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}

void Ignore(png_structp, png_const_charp) {}

// The two steps below jump back on any libpng error; they hold nothing that
// a jump could skip the release of.
size_t ReadHeader(png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png))) return 0;
  png_read_info(png, info);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return png_get_rowbytes(png, info);
}

bool ReadRows(png_structp png, png_infop info, png_bytep row) {
  if (setjmp(png_jmpbuf(png))) return false;
  const int passes = png_set_interlace_handling(png);
  const png_uint_32 height = png_get_image_height(png, info);
  for (int pass = 0; pass < passes; ++pass)
    for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, row, nullptr);
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

bool DecodesWhole(std::string_view bytes) {
  struct Reader {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Ignore);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    ~Reader() { png_destroy_read_struct(&png, &info, nullptr); }
  } reader;
  if (!reader.info) return false;
  Source source{bytes};
  png_set_read_fn(reader.png, &source, ReadFromSource);
  const size_t rowBytes = ReadHeader(reader.png, reader.info);
  if (rowBytes == 0) return false;
  std::vector<png_byte> row(rowBytes);
  return ReadRows(reader.png, reader.info, row.data()) && source.at == bytes.size();
}

std::optional<PngSize> ReadPngSize(std::string_view bytes) {
  if (bytes.size() < kHeaderEnd || bytes.substr(0, 8) != kSignature) return std::nullopt;
  if (BigEndian32(bytes, 8) != 13 || bytes.substr(12, 4) != "IHDR") return std::nullopt;
  const auto* typeAndData = reinterpret_cast<const Bytef*>(bytes.data() + 12);
  if (crc32(0, typeAndData, 4 + 13) != BigEndian32(bytes, 29)) return std::nullopt;
  const uint32_t width = BigEndian32(bytes, 16);
  const uint32_t height = BigEndian32(bytes, 20);
  // The format limits both to 2^31 - 1 and forbids zero.
  if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return std::nullopt;
  return PngSize{static_cast<int>(width), static_cast<int>(height)};
}

}  // namespace casavo::service
