#include "tools/icongen/png_encoder.h"

#include <cstring>

namespace {

class BitWriter {
 public:
  explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
  // Plain values go least significant bit first.
  void Bits(std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) Bit((value >> i) & 1);
  }
  // Huffman codes go most significant bit first.
  void Code(std::uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) Bit((code >> i) & 1);
  }
  void Flush() {
    if (used_ > 0) out_.push_back(current_);
    current_ = 0;
    used_ = 0;
  }

 private:
  void Bit(std::uint32_t bit) {
    current_ |= static_cast<std::uint8_t>(bit << used_);
    if (++used_ == 8) Flush();
  }
  std::vector<std::uint8_t>& out_;
  std::uint8_t current_ = 0;
  int used_ = 0;
};

// The fixed literal/length code of deflate.
void Symbol(BitWriter& bits, int symbol) {
  if (symbol < 144)
    bits.Code(0x30 + symbol, 8);
  else if (symbol < 256)
    bits.Code(0x190 + symbol - 144, 9);
  else if (symbol < 280)
    bits.Code(symbol - 256, 7);
  else
    bits.Code(0xC0 + symbol - 280, 8);
}

const int LENGTH_BASE[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                             31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const int LENGTH_EXTRA[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const int DISTANCE_BASE[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                               193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const int DISTANCE_EXTRA[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4,  4,  5,  5,  6,
                                6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void Match(BitWriter& bits, int length, int distance) {
  int code = 28;
  while (LENGTH_BASE[code] > length) --code;
  Symbol(bits, 257 + code);
  bits.Bits(length - LENGTH_BASE[code], LENGTH_EXTRA[code]);
  code = 29;
  while (DISTANCE_BASE[code] > distance) --code;
  bits.Code(code, 5);
  bits.Bits(distance - DISTANCE_BASE[code], DISTANCE_EXTRA[code]);
}

void Put32BigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void Chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
  Put32BigEndian(out, static_cast<std::uint32_t>(data.size()));
  std::vector<std::uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  Put32BigEndian(out, Crc32(body.data(), body.size()));
}

}  // namespace

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

std::uint32_t Adler32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t a = 1, b = 0;
  for (std::size_t i = 0; i < size; ++i) {
    a = (a + data[i]) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

std::vector<std::uint8_t> ZlibCompress(const std::vector<std::uint8_t>& data, std::size_t rowBytes,
                                       std::size_t pixelBytes) {
  std::vector<std::uint8_t> out{0x78, 0x01};
  BitWriter bits(out);
  bits.Bits(1, 1);  // final block
  bits.Bits(1, 2);  // fixed Huffman codes
  // The previous pixel, the pixel four back (a checkerboard of two-pixel squares), the row above.
  const std::size_t distances[3] = {pixelBytes, 4 * pixelBytes, rowBytes};
  std::size_t i = 0;
  while (i < data.size()) {
    std::size_t bestLength = 0, bestDistance = 0;
    for (std::size_t distance : distances) {
      if (distance == 0 || distance > i || distance > 32768) continue;
      std::size_t length = 0;
      while (length < 258 && i + length < data.size() && data[i + length] == data[i + length - distance]) ++length;
      if (length > bestLength) {
        bestLength = length;
        bestDistance = distance;
      }
    }
    if (bestLength >= 3) {
      Match(bits, static_cast<int>(bestLength), static_cast<int>(bestDistance));
      i += bestLength;
    } else {
      Symbol(bits, data[i]);
      ++i;
    }
  }
  Symbol(bits, 256);
  bits.Flush();
  Put32BigEndian(out, Adler32(data.data(), data.size()));
  return out;
}

namespace {

std::vector<std::uint8_t> Encode(const std::vector<std::uint32_t>& pixels, int width, int height, bool alpha) {
  std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  Put32BigEndian(header, static_cast<std::uint32_t>(width));
  Put32BigEndian(header, static_cast<std::uint32_t>(height));
  // 8 bits, RGB or RGBA, deflate, no filter method, not interlaced
  header.insert(header.end(), {8, static_cast<std::uint8_t>(alpha ? 6 : 2), 0, 0, 0});
  Chunk(out, "IHDR", header);

  const std::size_t pixelBytes = alpha ? 4 : 3;
  const std::size_t rowBytes = 1 + static_cast<std::size_t>(width) * pixelBytes;
  std::vector<std::uint8_t> raw;
  raw.reserve(rowBytes * height);
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < width; ++x) {
      const std::uint32_t argb = pixels[static_cast<std::size_t>(y) * width + x];
      raw.push_back(static_cast<std::uint8_t>(argb >> 16));
      raw.push_back(static_cast<std::uint8_t>(argb >> 8));
      raw.push_back(static_cast<std::uint8_t>(argb));
      if (alpha) raw.push_back(static_cast<std::uint8_t>(argb >> 24));
    }
  }
  Chunk(out, "IDAT", ZlibCompress(raw, rowBytes, pixelBytes));
  Chunk(out, "IEND", {});
  return out;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const std::vector<std::uint32_t>& pixels, int width, int height) {
  return Encode(pixels, width, height, false);
}

std::vector<std::uint8_t> EncodePngWithAlpha(const std::vector<std::uint32_t>& pixels, int width, int height) {
  return Encode(pixels, width, height, true);
}
