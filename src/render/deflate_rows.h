// Deflate for the rows of a picture, fast where a plan's picture repeats itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace casavo {

// A run of rows deflated on its own: whole deflate blocks, none final, ending
// on a byte boundary, so that runs deflated apart (and on other threads) join
// into one stream in their order.
struct DeflatedRows {
  std::vector<uint8_t> bytes;
  uint32_t adler = 1;  // Adler-32 of the rows' bytes
  size_t length = 0;   // bytes of rows deflated
};

// Deflates bytes [start, end) of data, rows of rowBytes bytes each (a PNG
// row: its filter byte and its pixels of pixelBytes bytes). The bytes before
// start, at most one row, are the picture's row before, which matches may
// reach back into. Matches are only looked for at the pixel to the left, the
// pixel above and the two above it diagonally: a plan's flat fills, straight
// lines and hatching repeat there, and looking nowhere else keeps the work
// to a few word compares per byte, several times faster than a general
// deflate at about the same size. Each call is independent and thread-safe.
DeflatedRows DeflateRows(const uint8_t* data, size_t start, size_t end, size_t rowBytes,
                         size_t pixelBytes);

// The zlib stream of runs deflated apart, in order: a header, the runs, a
// final empty block and the Adler-32 of all rows.
class ZlibJoiner {
 public:
  // The two header bytes.
  static std::vector<uint8_t> Header();
  // Counts the run after the ones before into the checksum; its bytes go
  // into the stream as they are.
  void Add(const DeflatedRows& rows);
  // The final block and the checksum, the stream's last bytes.
  std::vector<uint8_t> Trailer() const;

 private:
  uint32_t adler_ = 1;
};

}  // namespace casavo
