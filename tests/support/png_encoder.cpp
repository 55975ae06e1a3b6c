#include "support/png_encoder.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vcit::e2e {

namespace {

std::uint32_t crc32(const std::string& bytes, std::uint32_t crc = 0xFFFFFFFFu) {
  static const auto table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  for (unsigned char b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return crc;
}

void putBigEndian(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void chunk(std::string& png, const char* type, const std::string& data) {
  putBigEndian(png, static_cast<std::uint32_t>(data.size()));
  const std::string typed = std::string(type, 4) + data;
  png += typed;
  putBigEndian(png, crc32(typed) ^ 0xFFFFFFFFu);
}

}  // namespace

std::string encodePng(int width, int height, const std::string& rgbRows) {
  std::string png = "\x89PNG\r\n\x1a\n";
  std::string header;
  putBigEndian(header, static_cast<std::uint32_t>(width));
  putBigEndian(header, static_cast<std::uint32_t>(height));
  header += std::string("\x08\x02\x00\x00\x00", 5);
  chunk(png, "IHDR", header);

  std::string zlib = "\x78\x01";
  std::uint32_t a = 1, b = 0;
  for (unsigned char c : rgbRows) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  for (std::size_t at = 0; at < rgbRows.size() || at == 0; at += 65535) {
    const std::size_t length = std::min<std::size_t>(65535, rgbRows.size() - at);
    const bool last = at + length >= rgbRows.size();
    zlib += static_cast<char>(last ? 1 : 0);
    zlib += static_cast<char>(length & 0xFF);
    zlib += static_cast<char>(length >> 8);
    zlib += static_cast<char>(~length & 0xFF);
    zlib += static_cast<char>((~length >> 8) & 0xFF);
    zlib.append(rgbRows, at, length);
    if (last) break;
  }
  putBigEndian(zlib, (b << 16) | a);
  chunk(png, "IDAT", zlib);
  chunk(png, "IEND", "");
  return png;
}

}  // namespace vcit::e2e
