#include "service/png.h"

#include <zlib.h>

#include <cstdint>

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

}  // namespace

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
