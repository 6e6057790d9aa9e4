// Reading the canonical Huffman code that packs the place table: codes given out shortest first and
// by symbol within a length, bits from the high one down, and a stop, not a read past the end, on
// bits that end inside a code or on code lengths that make no sense.
#include "clock/huffman_code.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

struct ReadRow {
  const char* label;
  std::vector<unsigned char> lengths;  // two symbols to a byte, the low half first
  std::size_t symbolCount;
  std::vector<unsigned char> bits;
  std::vector<std::size_t> symbols;  // all read before Next says no more
};

const ReadRow READ_ROWS[] = {
    // 0, 10, 11: "0 10 11 0" and two bits of padding, which read as two more of the shortest.
    {"lengths 1, 2, 2", {0x21, 0x02}, 3, {0x58}, {0, 1, 2, 0, 0, 0}},
    // Lengths 3, 1, 3, 2: 1 is "0", 3 "10", 0 "110", 2 "111".
    {"shortest first, then by symbol", {0x13, 0x23}, 4, {0xDE, 0x00}, {0, 2, 3, 1, 1, 1, 1, 1, 1, 1, 1}},
    {"bits ending inside a code", {0x31, 0x33, 0x03}, 5, {0xFF}, {4, 4}},
    {"no symbol has a code", {0x00, 0x00}, 4, {0x00, 0xFF}, {}},
    {"more codes of one length than there can be", {0x11, 0x01}, 3, {0x80}, {1, 0, 0, 0, 0, 0, 0, 0}},
};

class HuffmanRead : public testing::TestWithParam<ReadRow> {};

TEST_P(HuffmanRead, GivesTheSymbolsInOrder) {
  const ReadRow& row = GetParam();
  HuffmanReader reader(row.lengths.data(), row.symbolCount, row.bits.data(), row.bits.size());
  std::vector<std::size_t> symbols;
  for (std::size_t symbol; symbols.size() < 64 && reader.Next(symbol);) symbols.push_back(symbol);
  EXPECT_EQ(symbols, row.symbols);
}

std::ostream& operator<<(std::ostream& out, const ReadRow& row) { return out << row.label; }

INSTANTIATE_TEST_SUITE_P(Rows, HuffmanRead, testing::ValuesIn(READ_ROWS),
                         [](const testing::TestParamInfo<ReadRow>& info) {
                           std::string name = info.param.label;
                           for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

}  // namespace
