#pragma once

#include <string>

namespace vcit::e2e {

// An RGB image as a PNG file's bytes: rgbRows holds each row as a filter byte (0, none) and
// three bytes a pixel, top row first. The data goes in stored (uncompressed) deflate blocks.
std::string encodePng(int width, int height, const std::string& rgbRows);

}  // namespace vcit::e2e
