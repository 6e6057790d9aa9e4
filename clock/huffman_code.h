// Reading a canonical Huffman code, the way tools/zones/make_zone_places.py packs the place table:
// each symbol's code length in four bits (the low half of a byte first, 0 for a symbol that does not
// occur), the codes given out shortest first and, within a length, in the symbols' order, and the
// bits read from the high bit of each byte down.
#ifndef FARHOUR_CLOCK_HUFFMAN_CODE_H
#define FARHOUR_CLOCK_HUFFMAN_CODE_H

#include <cstddef>
#include <vector>

class HuffmanReader {
 public:
  static constexpr int MAX_LENGTH = 15;

  HuffmanReader(const unsigned char* lengths, std::size_t symbolCount, const unsigned char* bits,
                std::size_t byteCount);

  // The next symbol; false at the end of the bits or on bits that are no code.
  bool Next(std::size_t& symbol);

 private:
  std::size_t counts_[MAX_LENGTH + 1] = {};
  std::vector<std::size_t> ordered_;  // the symbols in the order their codes are given out
  const unsigned char* bits_;
  std::size_t bitCount_;
  std::size_t at_ = 0;
};

#endif
