// Writes the eight tile textures texture1.bmp..texture8.bmp (24-bit BMP,
// 1024x1024) and the glyph sheet chars.bmp into the folder given on the
// command line. Every texture
// comes from seeded value noise, so each build writes the same bytes:
//
//   value noise  a lattice of pseudo-random values (an integer hash of the
//                lattice point and a per-texture seed), smoothly
//                interpolated (smoothstep) between lattice points;
//   fractal sum  five octaves, each of twice the frequency and half the
//                amplitude of the one before;
//   wood         rings: the fractional part of the distance from a far-away
//                axis, stretched along the grain and bent by the noise,
//                mixed between a dark and a light wood colour;
//   marble       veins: |sin| of a slanted coordinate plus turbulence,
//                mixed between a base colour and a vein colour;
//   gold, blue   the fractal sum alone, a gentle mottle between two colours.
//
// chars.bmp holds the marks the fonts lack (tilde, cedilla, ring,
// diaeresis, stroke, middle dot), white on black, one cell per mark, each
// cell the box of one capital letter (48 wide, 64 high, baseline at row 51
// of the cell, capitals from row 12): a pure red pixel in the top row ends
// each cell. Edges are anti-aliased by 4x4 supersampling of the shapes'
// distance functions.
//
// The textures wrap when sampled, so they stay usable for any square size;
// 1024 pixels leave room for squares up to 496 pixels beside the 528-pixel
// offsets that tiles sample at.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "bmp_file.hpp"

namespace {

constexpr int kSide = 1024;

std::uint32_t hash(std::int32_t x, std::int32_t y, std::uint32_t seed) {
  std::uint32_t h = seed * 0x9E3779B9u ^ static_cast<std::uint32_t>(x) * 0x85EBCA6Bu ^ static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

double lattice(std::int32_t x, std::int32_t y, std::uint32_t seed) { return (hash(x, y, seed) & 0xFFFFFF) / double(0xFFFFFF); }

double smooth(double t) { return t * t * (3 - 2 * t); }

double valueNoise(double x, double y, std::uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const auto ix = static_cast<std::int32_t>(fx), iy = static_cast<std::int32_t>(fy);
  const double tx = smooth(x - fx), ty = smooth(y - fy);
  const double a = lattice(ix, iy, seed), b = lattice(ix + 1, iy, seed);
  const double c = lattice(ix, iy + 1, seed), d = lattice(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
}

// Five octaves, 0..1.
double fractal(double x, double y, std::uint32_t seed) {
  double sum = 0, amplitude = 0.5, total = 0;
  for (int octave = 0; octave < 5; ++octave) {
    sum += amplitude * valueNoise(x, y, seed + static_cast<std::uint32_t>(octave) * 101u);
    total += amplitude;
    x *= 2;
    y *= 2;
    amplitude *= 0.5;
  }
  return sum / total;
}

struct Rgb {
  double r, g, b;
};
Rgb mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

enum class Kind { wood, marble, mottle };
struct Recipe {
  Kind kind;
  Rgb dark, light;
  std::uint32_t seed;
};

Rgb texel(const Recipe& recipe, int x, int y) {
  const double u = x / 64.0, v = y / 64.0;
  const double n = fractal(u, v, recipe.seed);
  switch (recipe.kind) {
    case Kind::wood: {
      // Rings around an axis far above the picture, the grain running across.
      const double dy = y + 3000.0 + 60.0 * fractal(u * 0.5, v * 4.0, recipe.seed + 7);
      const double rings = std::fmod(dy / 18.0 + 2.0 * n, 1.0);
      const double grain = 0.25 * fractal(u * 0.25, v * 8.0, recipe.seed + 13);
      return mix(recipe.dark, recipe.light, 0.55 * rings + grain + 0.2 * n);
    }
    case Kind::marble: {
      const double t = std::fabs(std::sin((x + 0.6 * y) / 90.0 + 6.0 * n));
      return mix(recipe.light, recipe.dark, std::pow(1.0 - t, 6.0) * 0.9 + 0.15 * n);
    }
    case Kind::mottle: return mix(recipe.dark, recipe.light, 0.25 + 0.75 * n);
  }
  return recipe.dark;
}

std::uint8_t byteOf(double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

// The picture of a pixel function, rounded to bytes.
template <class Pixel>
bool writePicture(const std::string& path, int width, int height, Pixel pixel) {
  pexil::tools::RgbImage image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixel(x, y);
      image.set(x, y, byteOf(c.r), byteOf(c.g), byteOf(c.b));
    }
  }
  return pexil::tools::WriteBmp(path, image);
}

// ---- the glyph sheet of marks ----

constexpr int kCellWidth = 48, kCellHeight = 64;

double segmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

// Whether a point of a cell (cell coordinates, rows from the cell's top)
// lies inside mark `k`.
bool insideMark(int k, double x, double y) {
  switch (k) {
    case 0: {  // tilde: one period of a sine wave over the capital
      for (int i = 0; i < 24; ++i) {
        const double x0 = 11 + i, x1 = 12 + i;
        const double y0 = 7 - 3.5 * std::sin((x0 - 11) / 26.0 * 2 * std::numbers::pi);
        const double y1 = 7 - 3.5 * std::sin((x1 - 11) / 26.0 * 2 * std::numbers::pi);
        if (segmentDistance(x, y, x0, y0, x1, y1) <= 2.2) return true;
      }
      return false;
    }
    case 1:  // cedilla: a stem under the baseline and a hook to the left
      return segmentDistance(x, y, 25, 50, 25, 56) <= 2.2 || segmentDistance(x, y, 25, 56, 28, 59) <= 2.2 ||
             segmentDistance(x, y, 28, 59, 19, 63) <= 2.2;
    case 2: {  // ring over the capital
      const double d = std::hypot(x - 24, y - 6.5);
      return d >= 3 && d <= 5.6;
    }
    case 3:  // diaeresis: two dots
      return std::hypot(x - 16, y - 7) <= 3.4 || std::hypot(x - 32, y - 7) <= 3.4;
    case 4:  // stroke through an O
      return segmentDistance(x, y, 8, 55, 40, 8) <= 2.4;
    case 5:  // middle dot
      return std::hypot(x - 24, y - 33) <= 4;
    default: return false;
  }
}

constexpr int kMarks = 6;

bool writeMarkSheet(const std::string& path) {
  const int width = kMarks * (kCellWidth + 1), height = kCellHeight + 1;
  return writePicture(path, width, height, [](int x, int y) -> Rgb {
    const int k = x / (kCellWidth + 1), cx = x % (kCellWidth + 1);
    if (y == 0) return cx == kCellWidth ? Rgb{255, 0, 0} : Rgb{0, 0, 0};
    if (cx == kCellWidth) return {0, 0, 0};
    int covered = 0;
    for (int sy = 0; sy < 4; ++sy) {
      for (int sx = 0; sx < 4; ++sx) covered += insideMark(k, cx + (sx + 0.5) / 4, (y - 1) + (sy + 0.5) / 4);
    }
    const double v = covered * 255.0 / 16;
    return {v, v, v};
  });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const Recipe recipes[8] = {
      {Kind::wood, {58, 30, 14}, {112, 62, 30}, 11},      // dark wood
      {Kind::wood, {120, 72, 34}, {176, 118, 64}, 23},    // medium wood
      {Kind::wood, {196, 156, 100}, {238, 208, 160}, 37}, // light wood
      {Kind::marble, {90, 90, 96}, {236, 236, 232}, 41},  // marble
      {Kind::mottle, {176, 134, 30}, {250, 214, 96}, 53}, // gold
      {Kind::marble, {130, 110, 80}, {205, 188, 150}, 67},// beige marble
      {Kind::marble, {140, 100, 60}, {214, 170, 120}, 79},// tan marble
      {Kind::mottle, {16, 36, 120}, {48, 86, 190}, 97},   // blue
  };
  for (int k = 0; k < 8; ++k) {
    const std::string path = std::string(argv[1]) + "/texture" + std::to_string(k + 1) + ".bmp";
    const Recipe& recipe = recipes[k];
    if (!writePicture(path, kSide, kSide, [&](int x, int y) { return texel(recipe, x, y); })) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  const std::string sheet = std::string(argv[1]) + "/chars.bmp";
  if (!writeMarkSheet(sheet)) {
    std::fprintf(stderr, "cannot write %s\n", sheet.c_str());
    return 1;
  }
  return 0;
}
