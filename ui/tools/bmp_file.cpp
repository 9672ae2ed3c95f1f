#include "bmp_file.hpp"

#include <fstream>

namespace pexil::tools {
namespace {

void put16(std::vector<unsigned char>& out, unsigned v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}
void put32(std::vector<unsigned char>& out, unsigned v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

}  // namespace

bool WriteBmp(const std::string& path, const RgbImage& image) {
  const unsigned rowBytes = (static_cast<unsigned>(image.width) * 3 + 3) & ~3u;
  const unsigned imageBytes = rowBytes * static_cast<unsigned>(image.height);
  std::vector<unsigned char> out;
  out.reserve(54 + imageBytes);
  out.push_back('B');
  out.push_back('M');
  put32(out, 54 + imageBytes);
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);
  put32(out, static_cast<unsigned>(image.width));
  put32(out, static_cast<unsigned>(image.height));
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);
  put32(out, imageBytes);
  put32(out, 2835);
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  for (int y = image.height - 1; y >= 0; --y) {  // bottom row first, blue green red
    const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) * 3;
    for (int x = 0; x < image.width; ++x) {
      const std::size_t k = row + static_cast<std::size_t>(x) * 3;
      out.push_back(image.rgb[k + 2]);
      out.push_back(image.rgb[k + 1]);
      out.push_back(image.rgb[k]);
    }
    for (unsigned pad = static_cast<unsigned>(image.width) * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(file);
}

}  // namespace pexil::tools
