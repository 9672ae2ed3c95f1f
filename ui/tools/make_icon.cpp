// Writes the program's icon: one of its own tiles, a P on light wood with
// its value 3, at the sizes of the freedesktop icon theme, as
// OUT_FOLDER/hicolor/NxN/apps/pexil.png (RGBA, transparent round the
// tile's corners). The tile itself (rounded, textured) comes from the
// program's drawing library with the run folder's texture; the letters are
// rendered from the run folder's board font at the icon's size, since the
// drawing library's fonts stop at small sizes. The same run folder gives
// the same bytes.
//
//   make_icon RUN_FOLDER OUT_FOLDER
#include <lodepng.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "canvas.hpp"
#include "draw_context.hpp"
#include "glyph_raster.hpp"
#include "renderer.hpp"

namespace {

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};
constexpr int kOutside = 0xFF00FF;  // the drawing's own transparent colour

struct Ink {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
Ink inkOf(const pexil::tools::GreyImage& image) {
  Ink ink;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      if (image.at(x, y) == 0) continue;
      ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x), std::max(ink.bottom, y)};
    }
  }
  return ink;
}

// Black text of `pixels` pixels per em blended into the RGBA picture with
// the centre of its ink at (cx, cy), or, with `cornered`, the bottom right
// of its ink at (cx, cy).
void stamp(std::vector<unsigned char>& rgba, int size, pexil::tools::FontFace& font, unsigned long ch, int pixels,
           double cx, double cy, bool cornered) {
  if (!font.setPixelSize(std::max(4, pixels))) return;
  const pexil::tools::GreyImage glyph = font.render({ch}, 1.0, 0);
  const Ink ink = inkOf(glyph);
  if (ink.right < 0) return;
  const int left = cornered ? static_cast<int>(cx) - ink.right
                            : static_cast<int>(cx - (ink.left + ink.right + 1) / 2.0 + 0.5);
  const int top = cornered ? static_cast<int>(cy) - ink.bottom
                           : static_cast<int>(cy - (ink.top + ink.bottom + 1) / 2.0 + 0.5);
  for (int y = 0; y < glyph.height; ++y) {
    for (int x = 0; x < glyph.width; ++x) {
      const int px = left + x, py = top + y, a = glyph.at(x, y);
      if (a == 0 || px < 0 || py < 0 || px >= size || py >= size) continue;
      unsigned char* p = &rgba[static_cast<std::size_t>((py * size + px) * 4)];
      if (p[3] == 0) continue;  // outside the tile
      for (int k = 0; k < 3; ++k) p[k] = static_cast<unsigned char>((p[k] * (255 - a) + 127) / 255);
    }
  }
}

bool writeIcon(const pexil::draw::DrawContext& context, pexil::tools::FontFace& font, int size,
               const std::filesystem::path& path) {
  pexil::draw::Canvas canvas(context, size, size);
  canvas.fill(kOutside);
  pexil::draw::ViewOptions options;
  options.tileStyle = 2;  // light wood
  options.randomNumber = 2024;
  pexil::draw::DrawTile(context, canvas, 0, 0, size, pexil::draw::TileFace{}, options, 3, 5);
  std::vector<unsigned char> rgba;
  rgba.reserve(static_cast<std::size_t>(size * size * 4));
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const std::uint32_t p = canvas.pixel(x, y);
      rgba.push_back(static_cast<unsigned char>(p >> 16));
      rgba.push_back(static_cast<unsigned char>(p >> 8));
      rgba.push_back(static_cast<unsigned char>(p));
      rgba.push_back(p == static_cast<std::uint32_t>(kOutside) ? 0 : 255);
    }
  }
  // The P a little up and left of the middle, leaving the corner to the
  // value, which small icons do without.
  const bool value = size >= 32;
  stamp(rgba, size, font, 'P', size * 3 / 4, size * (value ? 0.45 : 0.5), size * (value ? 0.46 : 0.5), false);
  if (value) stamp(rgba, size, font, '3', size / 4, size * 0.9, size * 0.9, true);
  // Always 8-bit RGBA (the encoder would pick a palette for small icons).
  lodepng::State state;
  state.encoder.auto_convert = 0;
  state.info_png.color.colortype = LCT_RGBA;
  state.info_png.color.bitdepth = 8;
  std::vector<unsigned char> png;
  if (lodepng::encode(png, rgba, static_cast<unsigned>(size), static_cast<unsigned>(size), state) != 0) return false;
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  return lodepng::save_file(png, path.string()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s RUN_FOLDER OUT_FOLDER\n", argv[0]);
    return 2;
  }
  try {
    const std::filesystem::path run(argv[1]);
    const pexil::draw::DrawContext context(run.string());
    pexil::tools::FontFace font;
    if (!context.hasTexture(2) || !font.open((run / "font.ttf").string())) {
      std::fprintf(stderr, "%s lacks texture3.bmp or font.ttf\n", argv[1]);
      return 1;
    }
    for (const int size : kSizes) {
      const std::string name = std::to_string(size) + "x" + std::to_string(size);
      const auto path = std::filesystem::path(argv[2]) / "hicolor" / name / "apps" / "pexil.png";
      if (!writeIcon(context, font, size, path)) {
        std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
        return 1;
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
