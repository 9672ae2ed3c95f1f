// The drawing library's own headers and the owners of its handles. Only the
// drawing library's sources include this file: the library defines global
// names and macros (font, screen, clear, line, rect, fixed, MIN/MAX, TRUE)
// that must not meet the rest of the program.
#pragma once

#define ALLEGRO_NO_MAGIC_MAIN
#define ALLEGRO_NO_COMPATIBILITY
#include <allegro.h>
#include <allegro/internal/aintern.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "canvas.hpp"
#include "draw_context.hpp"

namespace pexil::draw {

struct BitmapDeleter {
  void operator()(BITMAP* bitmap) const {
    if (bitmap != nullptr) destroy_bitmap(bitmap);
  }
};
using BitmapPtr = std::unique_ptr<BITMAP, BitmapDeleter>;

struct FontDeleter {
  void operator()(FONT* font) const {
    if (font != nullptr) destroy_font(font);
  }
};
using FontPtr = std::unique_ptr<FONT, FontDeleter>;

// 0xRRGGBB to the bitmap's pixel value and back (the layout is fixed to
// red in bits 16..23, green 8..15, blue 0..7 when the context starts).
inline int PixelOf(int rgb) { return makecol32((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// One set of fonts, sizes 3..34, each with its text height.
struct FontEntry {
  int size = 0;
  int height = 0;
  FontPtr font;
};
class FontSet {
 public:
  bool load(const std::string& path, Smoothing smoothing);
  bool empty() const { return fonts_.empty(); }
  // The largest font no taller than `limit`, or null.
  const FontEntry* pick(int limit) const;

 private:
  std::vector<FontEntry> fonts_;
};

// A glyph sheet: an image whose top row marks the end of each cell with a
// pure red pixel; in each cell every pixel that is not black belongs to
// the glyph (its brightness is taken as coverage).
class GlyphSheet {
 public:
  bool load(const std::string& path);
  int cells() const { return static_cast<int>(starts_.size()); }
  // Blends cell `k`, scaled by `scale` (uniformly), in `colour` into the
  // bitmap with its top left corner at (x, y).
  void draw(BITMAP* target, int k, int x, int y, double scale, int colour) const;
  int cellWidth(int k) const { return ends_[static_cast<std::size_t>(k)] - starts_[static_cast<std::size_t>(k)]; }
  int cellHeight() const { return bitmap_ ? bitmap_->h - 1 : 0; }

 private:
  BitmapPtr bitmap_;
  std::vector<int> starts_, ends_;
};

struct DrawContext::Impl {
  FontSet boardFonts;
  FontSet paneFonts;
  std::array<BitmapPtr, kTileStyles> textures;
  GlyphSheet marks;      // chars.bmp: tilde, cedilla, ring, diaeresis, stroke, middle dot
  GlyphSheet twoLetter;  // tchars.bmp: CH, LL, RR, QU, NY, L·L and Æ as whole glyphs
};

struct Canvas::Impl {
  BitmapPtr bitmap;
};

}  // namespace pexil::draw
