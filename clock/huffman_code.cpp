#include "clock/huffman_code.h"

HuffmanReader::HuffmanReader(const unsigned char* lengths, std::size_t symbolCount, const unsigned char* bits,
                             std::size_t byteCount)
    : bits_(bits), bitCount_(byteCount * 8) {
  auto lengthOf = [&](std::size_t symbol) { return (lengths[symbol / 2] >> (symbol % 2 * 4)) & 15; };
  for (int length = 1; length <= MAX_LENGTH; ++length) {
    for (std::size_t symbol = 0; symbol < symbolCount; ++symbol) {
      if (lengthOf(symbol) == length) {
        ordered_.push_back(symbol);
        ++counts_[length];
      }
    }
  }
}

bool HuffmanReader::Next(std::size_t& symbol) {
  // The codes of one length are consecutive numbers following on from the shorter ones, doubled.
  std::size_t code = 0, first = 0, index = 0;
  for (int length = 1; length <= MAX_LENGTH; ++length) {
    if (at_ >= bitCount_) return false;
    code |= (bits_[at_ / 8] >> (7 - at_ % 8)) & 1;
    ++at_;
    if (code - first < counts_[length]) {
      symbol = ordered_[index + code - first];
      return true;
    }
    index += counts_[length];
    first = (first + counts_[length]) << 1;
    code <<= 1;
  }
  return false;
}
