// Random hexadecimal secrets (session ids, salts).

#pragma once

#include <string>
#include <string_view>

namespace casavo::service {

// Lower-case hexadecimal text of `bytes` bytes from the system's secure
// random source; throws when the source fails.
std::string RandomHex(size_t bytes);

// SHA-256 of the bytes as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

struct PasswordHash {
  std::string salt;  // raw bytes
  std::string hash;  // raw bytes
  int iterations = 0;
};

// PBKDF2-HMAC-SHA256 with a fresh random salt.
PasswordHash HashPassword(std::string_view password, int iterations);

// Recomputes the hash with the stored salt and count; constant-time compare.
bool VerifyPassword(std::string_view password, const PasswordHash& stored);

}  // namespace casavo::service
