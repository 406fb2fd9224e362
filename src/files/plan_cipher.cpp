// The plan-file cipher: Blowfish from libcrypto, our chaining and tail.

#include <array>
#include <cstring>

#include "common/digest.h"
#include "common/text.h"
#include "files/plan_file.h"

// The plan-file format is fixed on Blowfish, which OpenSSL 3 keeps only as a
// deprecated low-level interface.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <openssl/blowfish.h>

namespace casavo {
namespace {

using Block = std::array<unsigned char, BF_BLOCK>;

const BF_KEY& PlanKey() {
  static const BF_KEY key = [] {
    BF_KEY k;
    const auto digest = Sha1(Utf8ToCp1252("Vu Tré"));
    BF_set_key(&k, static_cast<int>(digest.size()), digest.data());
    return k;
  }();
  return key;
}

Block Encipher(const Block& in) {
  Block out;
  BF_ecb_encrypt(in.data(), out.data(), &PlanKey(), BF_ENCRYPT);
  return out;
}

Block Decipher(const Block& in) {
  Block out;
  BF_ecb_encrypt(in.data(), out.data(), &PlanKey(), BF_DECRYPT);
  return out;
}

Block InitialChain() {
  Block ones;
  ones.fill(0xFF);
  return Encipher(ones);
}

Block Load(std::string_view text, size_t at) {
  Block b;
  std::memcpy(b.data(), text.data() + at, BF_BLOCK);
  return b;
}

void Store(std::string& text, size_t at, const Block& b) {
  std::memcpy(text.data() + at, b.data(), BF_BLOCK);
}

Block Xor(Block a, const Block& b) {
  for (size_t i = 0; i < a.size(); ++i) a[i] ^= b[i];
  return a;
}

// The last n mod 8 bytes: XORed with the encipherment of the chaining value,
// the same in both directions.
void XorTail(std::string& text, const Block& chain) {
  if (text.size() % BF_BLOCK == 0) return;
  const Block mask = Encipher(chain);
  const size_t start = text.size() - text.size() % BF_BLOCK;
  for (size_t i = start; i < text.size(); ++i)
    text[i] = static_cast<char>(static_cast<unsigned char>(text[i]) ^ mask[i - start]);
}

}  // namespace

std::string EncipherPlanText(std::string_view text) {
  std::string out(text);
  Block chain = InitialChain();
  for (size_t at = 0; at + BF_BLOCK <= out.size(); at += BF_BLOCK) {
    chain = Encipher(Xor(Load(out, at), chain));
    Store(out, at, chain);
  }
  XorTail(out, chain);
  return out;
}

std::string DecipherPlanText(std::string_view text) {
  std::string out(text);
  Block chain = InitialChain();
  for (size_t at = 0; at + BF_BLOCK <= out.size(); at += BF_BLOCK) {
    const Block cipher = Load(out, at);
    Store(out, at, Xor(Decipher(cipher), chain));
    chain = cipher;
  }
  XorTail(out, chain);
  return out;
}

}  // namespace casavo

#pragma GCC diagnostic pop
