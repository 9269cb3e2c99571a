// Image files built byte by byte, so that a test states every pixel and header field it reads
// back: PNG (stored deflate blocks, real CRCs), BMP, TIFF and GIF.
#ifndef QUORVEX_TESTS_STANDINS_IMAGE_BYTES_H
#define QUORVEX_TESTS_STANDINS_IMAGE_BYTES_H

#include <cstdint>
#include <string>
#include <vector>

namespace quorvex::test {

inline std::string le16(std::uint32_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

inline std::string le32(std::uint32_t v) {
  return le16(v & 0xFFFF) + le16(v >> 16);
}

inline std::string be32(std::uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>((v >> 16) & 0xFF),
          static_cast<char>((v >> 8) & 0xFF), static_cast<char>(v & 0xFF)};
}

inline std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

inline std::uint32_t crc32(const std::string& data) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : data) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

inline std::string pngChunk(const std::string& type, const std::string& data) {
  return be32(static_cast<std::uint32_t>(data.size())) + type + data + be32(crc32(type + data));
}

// A zlib stream of one stored (uncompressed) deflate block.
inline std::string zlibStored(const std::string& data) {
  std::uint32_t a = 1, b = 0;
  for (unsigned char byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  const auto length = static_cast<std::uint32_t>(data.size());
  return bytes({0x78, 0x01, 0x01}) + le16(length) + le16(~length & 0xFFFF) + data +
         be32(b << 16 | a);
}

// An 8-bit PNG of `colourType` (0 grey, 2 RGB, 4 grey+alpha, 6 RGBA) whose rows are given
// without their filter byte; `emptyDataFirst` puts an empty IDAT chunk before the data.
inline std::string pngFile(std::uint32_t width, std::uint32_t height, int colourType,
                           const std::vector<std::string>& rows, bool emptyDataFirst = false) {
  std::string raw;
  for (const std::string& row : rows) raw += '\0' + row;
  std::string png = "\x89PNG\r\n\x1A\n";
  png += pngChunk("IHDR", be32(width) + be32(height) + bytes({8, colourType, 0, 0, 0}));
  if (emptyDataFirst) png += pngChunk("IDAT", "");
  if (!rows.empty()) png += pngChunk("IDAT", zlibStored(raw));
  return png + pngChunk("IEND", "");
}

// A 24-bit BMP; a negative height stores the rows top-down. Rows are given top row first,
// blue-green-red, without their padding.
inline std::string bmpFile(std::int32_t width, std::int32_t height,
                           const std::vector<std::string>& rowsTopFirst) {
  std::string pixels;
  const std::size_t count = rowsTopFirst.size();
  for (std::size_t i = 0; i < count; ++i) {
    const std::string& row = height < 0 ? rowsTopFirst[i] : rowsTopFirst[count - 1 - i];
    pixels += row + std::string((4 - row.size() % 4) % 4, '\0');
  }
  const auto size = static_cast<std::uint32_t>(54 + pixels.size());
  return "BM" + le32(size) + le32(0) + le32(54) + le32(40) +
         le32(static_cast<std::uint32_t>(width)) + le32(static_cast<std::uint32_t>(height)) +
         le16(1) + le16(24) + le32(0) + le32(static_cast<std::uint32_t>(pixels.size())) +
         le32(2835) + le32(2835) + le32(0) + le32(0) + pixels;
}

// An uncompressed little-endian TIFF of 8-bit samples in one strip. `photometric` 1 is
// grey (0 black), 2 RGB; `alpha` declares the last sample unassociated alpha.
inline std::string tiffFile(std::uint32_t width, std::uint32_t height, std::uint32_t samples,
                            std::uint32_t photometric, bool alpha, const std::string& pixels) {
  struct Tag {
    std::uint32_t id, type, count, value;
  };
  std::vector<Tag> tags = {{256, 4, 1, width},
                           {257, 4, 1, height},
                           {258, 3, 1, 8},
                           {259, 3, 1, 1},
                           {262, 3, 1, photometric},
                           {273, 4, 1, 0},
                           {277, 3, 1, samples},
                           {278, 4, 1, height},
                           {279, 4, 1, static_cast<std::uint32_t>(pixels.size())}};
  if (alpha) tags.push_back({338, 3, 1, 2});
  // One BitsPerSample value stands for every sample, which libtiff accepts.
  const auto dataAt = static_cast<std::uint32_t>(8 + 2 + tags.size() * 12 + 4);
  tags[5].value = dataAt;
  std::string tiff = "II*" + std::string(1, '\0') + le32(8) + le16(tags.size());
  for (const Tag& tag : tags) {
    tiff += le16(tag.id) + le16(tag.type) + le32(tag.count) +
            (tag.type == 3 ? le16(tag.value) + le16(0) : le32(tag.value));
  }
  return tiff + le32(0) + pixels;
}

// A GIF89a of a 4-colour global palette (given as 12 bytes of RGB), one frame covering the
// screen, 2-bit indices. `transparent` names a transparent index (-1: none). The LZW codes are
// written 3 bits wide, with a clear code after every two pixels so that they never widen.
inline std::string gifFile(std::uint16_t width, std::uint16_t height, const std::string& palette,
                           const std::vector<int>& indices, int transparent = -1) {
  std::vector<int> codes = {4};
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (i > 0 && i % 2 == 0) codes.push_back(4);
    codes.push_back(indices[i]);
  }
  codes.push_back(5);
  std::string data;
  unsigned bits = 0, filled = 0;
  for (int code : codes) {
    bits |= static_cast<unsigned>(code) << filled;
    filled += 3;
    while (filled >= 8) {
      data.push_back(static_cast<char>(bits & 0xFF));
      bits >>= 8;
      filled -= 8;
    }
  }
  if (filled > 0) data.push_back(static_cast<char>(bits & 0xFF));
  std::string gif = "GIF89a" + le16(width) + le16(height) + bytes({0x81, 0, 0}) + palette;
  if (transparent >= 0) gif += bytes({0x21, 0xF9, 4, 1, 0, 0, transparent, 0});
  gif += bytes({0x2C}) + le16(0) + le16(0) + le16(width) + le16(height) + bytes({0, 2});
  gif += static_cast<char>(data.size()) + data + std::string(1, '\0');
  return gif + ";";
}

// A JPEG with a Huffman table of 300 codes put in front of its own tables: a table holds at
// most 256, and stb 2.27 wrote the surplus past its arrays.
inline std::string jpegWithLongHuffmanTable(const std::string& jpeg) {
  std::string table = bytes({0xFF, 0xC4, 0x01, 0x3F, 0x00});  // length 2 + 17 + 300, table 0
  table += std::string(14, '\0') + bytes({45, 255}) + std::string(300, '\0');
  return jpeg.substr(0, 2) + table + jpeg.substr(2);
}

}  // namespace quorvex::test

#endif
