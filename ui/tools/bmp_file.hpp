// 24-bit uncompressed BMP files, as the drawing library loads them: the
// build's generators write their textures and glyph sheets through this.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pexil::tools {

// An image of `width` x `height` pixels, three bytes (red, green, blue) per
// pixel, rows from the top.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;

  RgbImage(int w, int h) : width(w), height(h), rgb(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3, 0) {}
  void set(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    const std::size_t k = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
    rgb[k] = r;
    rgb[k + 1] = g;
    rgb[k + 2] = b;
  }
};

// Writes the image as a bottom-up 24-bit BMP; false when the file cannot
// be written.
bool WriteBmp(const std::string& path, const RgbImage& image);

}  // namespace pexil::tools
