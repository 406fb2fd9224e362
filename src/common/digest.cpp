// MD5, SHA-1 and Base64 through OpenSSL's libcrypto.

#include "common/digest.h"

#include <openssl/evp.h>

#include <stdexcept>

namespace casavo {
namespace {

template <size_t N>
std::array<uint8_t, N> Digest(const EVP_MD* md, std::string_view bytes) {
  std::array<uint8_t, N> out{};
  unsigned len = 0;
  if (!EVP_Digest(bytes.data(), bytes.size(), out.data(), &len, md, nullptr) || len != N)
    throw std::runtime_error("digest failed");
  return out;
}

bool IsBase64Char(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
         c == '/';
}

}  // namespace

// Fetched once for the process: looking MD5 up in the providers on every call
// cost twice the hashing of a room's walk, and rooms are hashed at every paint.
std::array<uint8_t, 16> Md5(std::string_view bytes) {
  static EVP_MD* const md5 = EVP_MD_fetch(nullptr, "MD5", nullptr);
  return Digest<16>(md5, bytes);
}

std::array<uint8_t, 20> Sha1(std::string_view bytes) {
  return Digest<20>(EVP_sha1(), bytes);
}

std::string Md5Hex(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (uint8_t b : Md5(bytes)) {
    out += kHex[b >> 4];
    out += kHex[b & 15];
  }
  return out;
}

std::string Base64Encode(std::string_view bytes) {
  std::string out(4 * ((bytes.size() + 2) / 3), '\0');
  const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                reinterpret_cast<const unsigned char*>(bytes.data()),
                                static_cast<int>(bytes.size()));
  out.resize(n);
  return out;
}

std::optional<std::string> Base64Decode(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  size_t padding = 0;
  if (!text.empty() && text.back() == '=') padding = text[text.size() - 2] == '=' ? 2 : 1;
  for (size_t i = 0; i < text.size() - padding; ++i)
    if (!IsBase64Char(text[i])) return std::nullopt;
  std::string out(3 * (text.size() / 4), '\0');
  const int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                reinterpret_cast<const unsigned char*>(text.data()),
                                static_cast<int>(text.size()));
  if (n < 0) return std::nullopt;
  out.resize(n - padding);
  return out;
}

}  // namespace casavo
