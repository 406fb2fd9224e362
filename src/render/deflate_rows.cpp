// Deflate for picture rows: a match finder that looks only where pictures repeat, and dynamic
// Huffman blocks.

#include "render/deflate_rows.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <numeric>

namespace casavo {

namespace {

constexpr size_t kMinMatch = 3;
constexpr size_t kMaxMatch = 258;
constexpr size_t kWindow = 32768;
constexpr int kEndOfBlock = 256;
constexpr int kLiteralSymbols = 286;
constexpr int kDistanceSymbols = 30;
constexpr int kMaxBits = 15;
constexpr int kMaxLengthBits = 7;  // of the code that codes the code lengths

// The length codes 257..285: the first length of each and its extra bits.
constexpr std::array<uint16_t, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                  15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                  67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<uint16_t, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<uint8_t, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                    4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                    9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which the code lengths' code lengths are sent.
constexpr std::array<uint8_t, 19> kLengthOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                  11, 4,  12, 3, 13, 2, 14, 1, 15};

// The code of each match length, 0..258 (below 3 unused).
const std::array<uint8_t, kMaxMatch + 1>& LengthCodes() {
  static const auto codes = [] {
    std::array<uint8_t, kMaxMatch + 1> c{};
    for (size_t length = kMinMatch; length <= kMaxMatch; ++length) {
      uint8_t code = 0;
      while (code + 1u < kLengthBase.size() && kLengthBase[code + 1u] <= length) ++code;
      c[length] = code;
    }
    return c;
  }();
  return codes;
}

int DistanceCode(size_t distance) {
  int code = 0;
  while (code + 1 < kDistanceSymbols && kDistanceBase[static_cast<size_t>(code) + 1] <= distance)
    ++code;
  return code;
}

// How many bytes from a and b on are equal, up to limit.
size_t MatchLength(const uint8_t* a, const uint8_t* b, size_t limit) {
  size_t n = 0;
  for (; n + 8 <= limit; n += 8) {
    uint64_t x = 0, y = 0;
    std::memcpy(&x, a + n, 8);
    std::memcpy(&y, b + n, 8);
    if (x != y) {
      const uint64_t diff = x ^ y;
      if constexpr (std::endian::native == std::endian::little)
        return n + static_cast<size_t>(std::countr_zero(diff) / 8);
      else
        return n + static_cast<size_t>(std::countl_zero(diff) / 8);
    }
  }
  while (n < limit && a[n] == b[n]) ++n;
  return n;
}

// A literal (length 0, value the byte) or a match (length, value the index
// of its distance among the candidates).
struct Token {
  uint16_t length;
  uint16_t value;
};

// Code lengths for symbol frequencies, none above maxBits: Huffman's, then
// the longest codes shortened and others lengthened until the lengths make a
// complete code again.
std::vector<uint8_t> CodeLengths(const std::vector<uint32_t>& frequency, int maxBits) {
  std::vector<int> used;
  for (size_t s = 0; s < frequency.size(); ++s)
    if (frequency[s] > 0) used.push_back(static_cast<int>(s));
  std::vector<uint8_t> lengths(frequency.size(), 0);
  // Huffman's tree over the used symbols, rarest first: parents[] links
  // each node to the one it was merged into.
  std::stable_sort(used.begin(), used.end(), [&](int a, int b) {
    return frequency[static_cast<size_t>(a)] < frequency[static_cast<size_t>(b)];
  });
  const size_t leaves = used.size();
  std::vector<uint64_t> weight(2 * leaves - 1);
  std::vector<size_t> parent(2 * leaves - 1, 0);
  for (size_t i = 0; i < leaves; ++i) weight[i] = frequency[static_cast<size_t>(used[i])];
  size_t leaf = 0, inner = leaves, next = leaves;
  const auto take = [&]() {
    if (leaf < leaves && (inner == next || weight[leaf] <= weight[inner])) return leaf++;
    return inner++;
  };
  for (; next < 2 * leaves - 1; ++next) {
    const size_t a = take(), b = take();
    weight[next] = weight[a] + weight[b];
    parent[a] = parent[b] = next;
  }
  // Depths, root last; the count of codes of each length.
  std::vector<int> depth(2 * leaves - 1, 0);
  std::array<int, 64> count{};
  for (size_t i = 2 * leaves - 1; i-- > 0;) {
    if (i != 2 * leaves - 2) depth[i] = depth[parent[i]] + 1;
    if (i < leaves) ++count[static_cast<size_t>(std::min(depth[i], 63))];
  }
  // Too long codes come up to maxBits; the sum over lengths of 2^-length
  // then exceeds one, and each step takes a code from maxBits and lengthens
  // a shorter one, until it is one again.
  for (int bits = maxBits + 1; bits < 64; ++bits) {
    count[static_cast<size_t>(maxBits)] += count[static_cast<size_t>(bits)];
    count[static_cast<size_t>(bits)] = 0;
  }
  uint64_t total = 0;
  for (int bits = 1; bits <= maxBits; ++bits)
    total += static_cast<uint64_t>(count[static_cast<size_t>(bits)]) << (maxBits - bits);
  while (total > (uint64_t{1} << maxBits)) {
    --count[static_cast<size_t>(maxBits)];
    for (int bits = maxBits - 1; bits > 0; --bits) {
      if (count[static_cast<size_t>(bits)] == 0) continue;
      --count[static_cast<size_t>(bits)];
      count[static_cast<size_t>(bits) + 1] += 2;
      break;
    }
    --total;
  }
  // The rarest symbols get the longest codes.
  size_t s = 0;
  for (int bits = maxBits; bits > 0; --bits)
    for (int k = 0; k < count[static_cast<size_t>(bits)]; ++k)
      lengths[static_cast<size_t>(used[s++])] = static_cast<uint8_t>(bits);
  return lengths;
}

uint16_t Reversed(uint32_t code, int bits) {
  uint32_t reversed = 0;
  for (int k = 0; k < bits; ++k, code >>= 1) reversed = (reversed << 1) | (code & 1);
  return static_cast<uint16_t>(reversed);
}

// Canonical codes for lengths, bit-reversed, since deflate sends a code's
// first bit first into the low end of a byte.
std::vector<uint16_t> Codes(const std::vector<uint8_t>& lengths) {
  std::array<uint16_t, kMaxBits + 2> next{};
  std::array<uint16_t, kMaxBits + 1> count{};
  for (const uint8_t l : lengths) ++count[l];
  count[0] = 0;
  for (int bits = 1; bits <= kMaxBits; ++bits)
    next[static_cast<size_t>(bits) + 1] = static_cast<uint16_t>(
        (next[static_cast<size_t>(bits)] + count[static_cast<size_t>(bits)]) << 1);
  std::vector<uint16_t> codes(lengths.size(), 0);
  for (size_t s = 0; s < lengths.size(); ++s) {
    const int bits = lengths[s];
    if (bits == 0) continue;
    const uint32_t code = next[static_cast<size_t>(bits)]++;
    codes[s] = Reversed(code, bits);
  }
  return codes;
}

// Bits into bytes, first bit lowest, four bytes at a time into room made
// ahead: a picture's codes are millions.
class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out), size_(out.size()) {}
  ~BitWriter() { out_.resize(size_); }
  BitWriter(const BitWriter&) = delete;
  BitWriter& operator=(const BitWriter&) = delete;

  // Room for the next bytes bytes.
  void Reserve(size_t bytes) {
    if (size_ + bytes > out_.size()) out_.resize(std::max(size_ + bytes, 2 * out_.size()));
  }
  // At most 57 bits, within the room reserved.
  void Put(uint64_t bits, int count) {
    buffer_ |= bits << filled_;
    filled_ += count;
    if (filled_ < 32) return;
    const auto word = static_cast<uint32_t>(buffer_);
    for (int k = 0; k < 4; ++k)
      out_[size_ + static_cast<size_t>(k)] = static_cast<uint8_t>(word >> (8 * k));
    size_ += 4;
    buffer_ >>= 32;
    filled_ -= 32;
  }
  // Up to the next byte boundary with zero bits.
  void Align() {
    Reserve(8);
    for (; filled_ > 0; filled_ -= std::min(filled_, 8)) {
      out_[size_++] = static_cast<uint8_t>(buffer_);
      buffer_ >>= 8;
    }
    filled_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  size_t size_;
  uint64_t buffer_ = 0;
  int filled_ = 0;
};

// One symbol per run of equal code lengths: 16 repeats the last length 3..6
// times, 17 and 18 give 3..10 and 11..138 zeros.
struct LengthRun {
  uint8_t symbol, extra, extraBits;
};

std::vector<LengthRun> RunsOf(const std::vector<uint8_t>& lengths) {
  std::vector<LengthRun> runs;
  for (size_t i = 0; i < lengths.size();) {
    const uint8_t l = lengths[i];
    size_t run = 1;
    while (i + run < lengths.size() && lengths[i + run] == l) ++run;
    i += run;
    if (l == 0) {
      for (; run >= 11; run -= std::min<size_t>(run, 138))
        runs.push_back({18, static_cast<uint8_t>(std::min<size_t>(run, 138) - 11), 7});
      if (run >= 3) {
        runs.push_back({17, static_cast<uint8_t>(run - 3), 3});
        run = 0;
      }
      for (; run > 0; --run) runs.push_back({0, 0, 0});
      continue;
    }
    runs.push_back({l, 0, 0});
    for (--run; run >= 3; run -= std::min<size_t>(run, 6))
      runs.push_back({16, static_cast<uint8_t>(std::min<size_t>(run, 6) - 3), 2});
    for (; run > 0; --run) runs.push_back({l, 0, 0});
  }
  return runs;
}

// At least two symbols in every code, so that each code is complete, as
// inflaters require of some of them.
void KeepTwo(std::vector<uint32_t>& frequency) {
  auto used = std::count_if(frequency.begin(), frequency.end(), [](uint32_t f) { return f > 0; });
  for (uint32_t& f : frequency) {
    if (used >= 2) break;
    if (f == 0) {
      f = 1;
      ++used;
    }
  }
}

// The distances matches are looked for at, and their codes.
struct Candidates {
  std::array<size_t, 4> distance{};
  std::array<int, 4> code{};
  size_t count = 0;

  Candidates(size_t rowBytes, size_t pixelBytes) {
    // Above first: most of a plan's picture repeats the row before, and a
    // match as long as allowed, or long already, ends the search.
    for (const size_t d : {rowBytes, pixelBytes, rowBytes - pixelBytes, rowBytes + pixelBytes}) {
      if (d == 0 || d > kWindow ||
          std::find(distance.begin(), distance.begin() + count, d) != distance.begin() + count)
        continue;
      distance[count] = d;
      code[count++] = DistanceCode(d);
    }
  }
};

// The tokens of bytes [start, end), into a buffer each thread keeps: a
// picture is deflated a block at a time, and fresh memory costs a page
// fault every few kilobytes.
const std::vector<Token>& Tokens(const uint8_t* data, size_t start, size_t end,
                                 const Candidates& c) {
  thread_local std::vector<Token> tokens;
  tokens.clear();
  for (size_t i = start; i < end;) {
    size_t best = 0, which = 0;
    const size_t limit = std::min(kMaxMatch, end - i);
    for (size_t k = 0; k < c.count; ++k) {
      if (c.distance[k] > i || data[i] != data[i - c.distance[k]]) continue;
      const size_t length = MatchLength(data + i, data + i - c.distance[k], limit);
      if (length > best) best = length, which = k;
      if (best == limit || best >= 32) break;
    }
    if (best >= kMinMatch) {
      tokens.push_back({static_cast<uint16_t>(best), static_cast<uint16_t>(which)});
      i += best;
    } else {
      tokens.push_back({0, data[i]});
      ++i;
    }
  }
  return tokens;
}

// One dynamic Huffman block of tokens, not final.
void WriteBlock(BitWriter& out, const std::vector<Token>& tokens, const Candidates& c) {
  const auto& lengthCode = LengthCodes();
  std::vector<uint32_t> literals(kLiteralSymbols, 0), distances(kDistanceSymbols, 0);
  for (const Token& t : tokens) {
    if (t.length == 0) {
      ++literals[t.value];
    } else {
      ++literals[257 + static_cast<size_t>(lengthCode[t.length])];
      ++distances[static_cast<size_t>(c.code[t.value])];
    }
  }
  literals[kEndOfBlock] = 1;
  KeepTwo(literals);
  KeepTwo(distances);
  const std::vector<uint8_t> literalLengths = CodeLengths(literals, kMaxBits);
  const std::vector<uint8_t> distanceLengths = CodeLengths(distances, kMaxBits);
  const std::vector<uint16_t> literalCodes = Codes(literalLengths);
  const std::vector<uint16_t> distanceCodes = Codes(distanceLengths);

  // The header: how many codes, then their lengths, coded.
  size_t hlit = kLiteralSymbols, hdist = kDistanceSymbols;
  while (literalLengths[hlit - 1] == 0) --hlit;
  while (distanceLengths[hdist - 1] == 0) --hdist;
  std::vector<uint8_t> all(literalLengths.begin(),
                           literalLengths.begin() + static_cast<std::ptrdiff_t>(hlit));
  all.insert(all.end(), distanceLengths.begin(),
             distanceLengths.begin() + static_cast<std::ptrdiff_t>(hdist));
  const std::vector<LengthRun> runs = RunsOf(all);
  std::vector<uint32_t> runFrequency(19, 0);
  for (const LengthRun& r : runs) ++runFrequency[r.symbol];
  KeepTwo(runFrequency);
  const std::vector<uint8_t> runLengths = CodeLengths(runFrequency, kMaxLengthBits);
  const std::vector<uint16_t> runCodes = Codes(runLengths);
  size_t hclen = 19;
  while (runLengths[kLengthOrder[hclen - 1]] == 0) --hclen;

  // Room for the block as the codes make it, and for the codes' lengths
  // before it.
  uint64_t bits = 0;
  for (size_t s = 0; s < literals.size(); ++s)
    bits += uint64_t{literals[s]} * (literalLengths[s] + (s > 256 ? kLengthExtra[s - 257] : 0));
  for (size_t d = 0; d < distances.size(); ++d)
    bits += uint64_t{distances[d]} * (distanceLengths[d] + kDistanceExtra[d]);
  out.Reserve(static_cast<size_t>(bits / 8) + 1024);
  out.Put(0b100, 3);  // not final, dynamic codes
  out.Put(static_cast<uint32_t>(hlit - 257), 5);
  out.Put(static_cast<uint32_t>(hdist - 1), 5);
  out.Put(static_cast<uint32_t>(hclen - 4), 4);
  for (size_t k = 0; k < hclen; ++k) out.Put(runLengths[kLengthOrder[k]], 3);
  for (const LengthRun& r : runs) {
    out.Put(runCodes[r.symbol], runLengths[r.symbol]);
    if (r.extraBits > 0) out.Put(r.extra, r.extraBits);
  }

  // The data.
  for (const Token& t : tokens) {
    if (t.length == 0) {
      out.Put(literalCodes[t.value], literalLengths[t.value]);
      continue;
    }
    const size_t code = lengthCode[t.length];
    const int lengthBits = literalLengths[257 + code];
    out.Put(literalCodes[257 + code] |
                (static_cast<uint64_t>(t.length - kLengthBase[code]) << lengthBits),
            lengthBits + kLengthExtra[code]);
    const auto d = static_cast<size_t>(c.code[t.value]);
    out.Put(distanceCodes[d] | (static_cast<uint64_t>(c.distance[t.value] - kDistanceBase[d])
                                << distanceLengths[d]),
            distanceLengths[d] + kDistanceExtra[d]);
  }
  out.Put(literalCodes[kEndOfBlock], literalLengths[kEndOfBlock]);
}

}  // namespace

DeflatedRows DeflateRows(const uint8_t* data, size_t start, size_t end, size_t rowBytes,
                         size_t pixelBytes) {
  DeflatedRows result;
  result.length = end - start;
  result.adler = libdeflate_adler32(1, data + start, end - start);
  const Candidates candidates(rowBytes, pixelBytes);
  {
    BitWriter out(result.bytes);
    // Blocks of about a megabyte of rows, each with codes fitted to it.
    constexpr size_t kBlockBytes = size_t{1} << 20;
    for (size_t from = start; from < end; from += kBlockBytes)
      WriteBlock(out, Tokens(data, from, std::min(end, from + kBlockBytes), candidates),
                 candidates);
    // An empty stored block brings the run to a byte boundary.
    out.Reserve(8);
    out.Put(0, 3);
    out.Align();
    out.Put(0xFFFF0000, 32);
  }
  return result;
}

std::vector<uint8_t> ZlibJoiner::Header() {
  return {0x78, 0x01};  // deflate, 32 KB window, fastest
}

void ZlibJoiner::Add(const DeflatedRows& rows) {
  adler_ =
      static_cast<uint32_t>(adler32_combine(adler_, rows.adler, static_cast<z_off_t>(rows.length)));
}

std::vector<uint8_t> ZlibJoiner::Trailer() const {
  // A final block with fixed codes and nothing in it, then the checksum.
  return {0x03,
          0x00,
          static_cast<uint8_t>(adler_ >> 24),
          static_cast<uint8_t>(adler_ >> 16),
          static_cast<uint8_t>(adler_ >> 8),
          static_cast<uint8_t>(adler_)};
}

}  // namespace casavo
