// Random secrets from the system's secure source.

#include "service/secrets.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <stdexcept>

namespace casavo::service {
namespace {

constexpr size_t kSaltBytes = 16;
constexpr size_t kHashBytes = 32;

std::string Hex(const unsigned char* data, size_t size) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(2 * size);
  for (size_t i = 0; i < size; ++i) {
    out += kDigits[data[i] >> 4];
    out += kDigits[data[i] & 15];
  }
  return out;
}

std::string RandomBytes(size_t size) {
  std::string bytes(size, '\0');
  if (RAND_bytes(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<int>(size)) != 1)
    throw std::runtime_error("no secure random bytes available");
  return bytes;
}

std::string Pbkdf2(std::string_view password, std::string_view salt, int iterations) {
  std::string out(kHashBytes, '\0');
  if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()),
                        reinterpret_cast<const unsigned char*>(salt.data()),
                        static_cast<int>(salt.size()), iterations, EVP_sha256(),
                        static_cast<int>(out.size()),
                        reinterpret_cast<unsigned char*>(out.data())) != 1)
    throw std::runtime_error("password hashing failed");
  return out;
}

}  // namespace

std::string RandomHex(size_t bytes) {
  const std::string raw = RandomBytes(bytes);
  return Hex(reinterpret_cast<const unsigned char*>(raw.data()), raw.size());
}

std::string Sha256Hex(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned size = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr) != 1)
    throw std::runtime_error("digest failed");
  return Hex(digest, size);
}

PasswordHash HashPassword(std::string_view password, int iterations) {
  PasswordHash result;
  result.salt = RandomBytes(kSaltBytes);
  result.iterations = iterations;
  result.hash = Pbkdf2(password, result.salt, iterations);
  return result;
}

bool VerifyPassword(std::string_view password, const PasswordHash& stored) {
  if (stored.iterations <= 0 || stored.hash.size() != kHashBytes) return false;
  const std::string computed = Pbkdf2(password, stored.salt, stored.iterations);
  return CRYPTO_memcmp(computed.data(), stored.hash.data(), kHashBytes) == 0;
}

}  // namespace casavo::service
