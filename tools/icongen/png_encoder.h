// A minimal PNG writer for the contact sheet and the icons' large images: 8-bit RGB or RGBA, one zlib stream compressed with the fixed
// Huffman codes of deflate and back-references only to the previous pixel and the row above, which
// is all an enlarged picture of flat colours needs.
#ifndef FARHOUR_TOOLS_ICONGEN_PNG_ENCODER_H
#define FARHOUR_TOOLS_ICONGEN_PNG_ENCODER_H

#include <cstddef>
#include <cstdint>
#include <vector>

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
std::uint32_t Adler32(const std::uint8_t* data, std::size_t size);
// A complete zlib stream (header, one final deflate block, checksum); matches reach back one or four
// pixels, or one row.
std::vector<std::uint8_t> ZlibCompress(const std::vector<std::uint8_t>& data, std::size_t rowBytes,
                                       std::size_t pixelBytes = 3);
// pixels holds width * height values 0xRRGGBB, top row first.
std::vector<std::uint8_t> EncodePng(const std::vector<std::uint32_t>& pixels, int width, int height);
// The same with an alpha channel: values 0xAARRGGBB, 0 in AA fully transparent.
std::vector<std::uint8_t> EncodePngWithAlpha(const std::vector<std::uint32_t>& pixels, int width, int height);

#endif
