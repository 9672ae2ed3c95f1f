// Bitmap fonts built from a TrueType file with FreeType, wrapped as fonts
// of the drawing library through a font table of our own, so that its text
// output, measuring and height calls all work on them. Text is Latin-1, one
// byte a character; the fonts hold the characters 32..128.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "allegro_internal.hpp"

namespace pexil::draw {
namespace {

constexpr int kFirstChar = 32;
constexpr int kLastChar = 128;

struct Glyph {
  int width = 0, height = 0;  // of the grey bitmap
  int left = 0;               // from the pen position to the bitmap's left edge
  int top = 0;                // from the text's top to the bitmap's top edge
  int advance = 0;
  std::vector<std::uint8_t> grey;  // 0 transparent .. 255 full
};

struct GlyphFontData {
  int height = 0;
  std::array<Glyph, kLastChar - kFirstChar + 1> glyphs;
  const Glyph* find(int ch) const {
    if (ch < kFirstChar || ch > kLastChar) return nullptr;
    return &glyphs[static_cast<std::size_t>(ch - kFirstChar)];
  }
};

const GlyphFontData& dataOf(const FONT* f) { return *static_cast<const GlyphFontData*>(f->data); }

int glyphFontHeight(const FONT* f) { return dataOf(f).height; }

int glyphCharLength(const FONT* f, int ch) {
  const Glyph* g = dataOf(f).find(ch);
  return g != nullptr ? g->advance : 0;
}

int glyphTextLength(const FONT* f, const char* text) {
  int length = 0;
  for (const char* p = text; *p != 0; ++p) length += glyphCharLength(f, static_cast<unsigned char>(*p));
  return length;
}

// Blends the glyph's coverage of the colour into the bitmap, inside its
// clipping rectangle.
int glyphRenderChar(const FONT* f, int ch, int fg, int bg, BITMAP* bmp, int x, int y) {
  const GlyphFontData& data = dataOf(f);
  const Glyph* g = data.find(ch);
  if (g == nullptr) return 0;
  if (bg >= 0) rectfill(bmp, x, y, x + g->advance - 1, y + data.height - 1, bg);
  if (fg < 0) fg = makecol32(255, 255, 255);
  const int fr = getr32(fg), fgreen = getg32(fg), fb = getb32(fg);
  for (int row = 0; row < g->height; ++row) {
    const int py = y + g->top + row;
    if (py < bmp->ct || py >= bmp->cb) continue;
    auto* line = reinterpret_cast<std::uint32_t*>(bmp->line[py]);
    for (int col = 0; col < g->width; ++col) {
      const int px = x + g->left + col;
      if (px < bmp->cl || px >= bmp->cr) continue;
      const int a = g->grey[static_cast<std::size_t>(row * g->width + col)];
      if (a == 0) continue;
      if (a >= 255) {
        line[px] = static_cast<std::uint32_t>(fg);
        continue;
      }
      const int old = static_cast<int>(line[px]);
      const int r = (fr * a + getr32(old) * (255 - a) + 127) / 255;
      const int gr = (fgreen * a + getg32(old) * (255 - a) + 127) / 255;
      const int b = (fb * a + getb32(old) * (255 - a) + 127) / 255;
      line[px] = static_cast<std::uint32_t>(makecol32(r, gr, b));
    }
  }
  return g->advance;
}

void glyphRender(const FONT* f, const char* text, int fg, int bg, BITMAP* bmp, int x, int y) {
  for (const char* p = text; *p != 0; ++p) x += glyphRenderChar(f, static_cast<unsigned char>(*p), fg, bg, bmp, x, y);
}

// The font and its glyphs were handed to the library by `load`; they come
// back here to be freed.
void glyphDestroy(FONT* f) {
  if (f == nullptr) return;
  std::unique_ptr<GlyphFontData> data(static_cast<GlyphFontData*>(f->data));
  std::unique_ptr<FONT> font(f);
}

int glyphRanges(FONT*) { return 1; }
int glyphRangeBegin(FONT*, int range) { return range == 0 ? kFirstChar : -1; }
int glyphRangeEnd(FONT*, int range) { return range == 0 ? kLastChar : -1; }
FONT* glyphExtract(FONT*, int, int) { return nullptr; }
FONT* glyphMerge(FONT*, FONT*) { return nullptr; }
int glyphTranspose(FONT*, int) { return -1; }

FONT_VTABLE glyphFontTable = {glyphFontHeight, glyphCharLength, glyphTextLength, glyphRenderChar,
                              glyphRender,     glyphDestroy,    glyphRanges,     glyphRangeBegin,
                              glyphRangeEnd,   glyphExtract,    glyphMerge,      glyphTranspose};

struct LibraryDeleter {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
using LibraryPtr = std::unique_ptr<FT_LibraryRec_, LibraryDeleter>;
struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FacePtr = std::unique_ptr<FT_FaceRec_, FaceDeleter>;

int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int ceilDiv(int a, int b) { return -floorDiv(-a, b); }

// The rasteriser's grey reduced to the five levels 0, 64, 128, 192, 254.
std::uint8_t fiveLevels(int grey) {
  static constexpr std::uint8_t kLevels[5] = {0, 64, 128, 192, 254};
  return kLevels[(grey * 4 + 127) / 255];
}

// One font of `size` pixels; null when the face cannot give it.
FontPtr buildFont(FT_Face face, int size, Smoothing smoothing) {
  const int scale = smoothing == Smoothing::supersampled ? 4 : 1;
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size * scale)) != 0) return nullptr;
  auto data = std::make_unique<GlyphFontData>();
  const int ascent = ceilDiv(static_cast<int>(face->size->metrics.ascender), 64 * scale);
  const int descent = ceilDiv(static_cast<int>(-face->size->metrics.descender), 64 * scale);
  data->height = ascent + descent;
  FT_Int32 flags = FT_LOAD_RENDER;
  if (smoothing == Smoothing::none) flags |= FT_LOAD_TARGET_MONO;
  if (smoothing == Smoothing::supersampled) flags |= FT_LOAD_NO_HINTING;
  for (int ch = kFirstChar; ch <= kLastChar; ++ch) {
    Glyph& g = data->glyphs[static_cast<std::size_t>(ch - kFirstChar)];
    if (FT_Load_Char(face, static_cast<FT_ULong>(ch), flags) != 0) continue;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    const int w = static_cast<int>(bm.width), h = static_cast<int>(bm.rows);
    auto source = [&](int col, int row) -> int {
      const unsigned char* line = bm.buffer + row * bm.pitch;
      if (bm.pixel_mode == FT_PIXEL_MODE_MONO) return (line[col >> 3] >> (7 - (col & 7))) & 1 ? 255 : 0;
      return line[col];
    };
    if (scale == 1) {
      g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
      g.left = slot->bitmap_left;
      g.top = ascent - slot->bitmap_top;
      g.width = w;
      g.height = h;
      g.grey.resize(static_cast<std::size_t>(w * h));
      for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
          const int v = source(col, row);
          g.grey[static_cast<std::size_t>(row * w + col)] =
              smoothing == Smoothing::grey ? fiveLevels(v) : static_cast<std::uint8_t>(v);
        }
      }
    } else {
      // Box filter: each output pixel averages the 4x4 block it covers,
      // the blocks aligned on the pen position and the baseline.
      g.advance = static_cast<int>((slot->advance.x + 128) >> 8);
      const int x0 = floorDiv(slot->bitmap_left, 4);
      const int y0 = floorDiv(-slot->bitmap_top, 4);  // relative to the baseline
      const int dx = slot->bitmap_left - 4 * x0, dy = -slot->bitmap_top - 4 * y0;
      g.left = x0;
      g.top = ascent + y0;
      g.width = ceilDiv(dx + w, 4);
      g.height = ceilDiv(dy + h, 4);
      std::vector<int> sum(static_cast<std::size_t>(std::max(0, g.width * g.height)), 0);
      for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
          sum[static_cast<std::size_t>(((row + dy) / 4) * g.width + (col + dx) / 4)] += source(col, row);
        }
      }
      g.grey.resize(sum.size());
      for (std::size_t i = 0; i < sum.size(); ++i) g.grey[i] = static_cast<std::uint8_t>((sum[i] + 8) / 16);
    }
  }
  auto font = std::make_unique<FONT>();
  font->data = data.release();  // the font owns it from here (glyphDestroy)
  font->height = 0;
  font->vtable = &glyphFontTable;
  FontPtr owned(font.release());
  owned->height = dataOf(owned.get()).height;
  return owned;
}

}  // namespace

bool FontSet::load(const std::string& path, Smoothing smoothing) {
  fonts_.clear();
  FT_Library raw = nullptr;
  if (FT_Init_FreeType(&raw) != 0) return false;
  LibraryPtr library(raw);
  FT_Face face = nullptr;
  if (FT_New_Face(library.get(), path.c_str(), 0, &face) != 0) return false;
  FacePtr owned(face);
  for (int size = kSmallestFontSize; size <= kLargestFontSize; ++size) {
    FontEntry entry;
    entry.size = size;
    entry.font = buildFont(face, size, smoothing);
    if (!entry.font) continue;
    entry.height = text_height(entry.font.get());
    fonts_.push_back(std::move(entry));
  }
  return !fonts_.empty();
}

const FontEntry* FontSet::pick(int limit) const {
  const FontEntry* best = nullptr;
  for (const FontEntry& entry : fonts_) {
    if (entry.height <= limit && (best == nullptr || entry.size > best->size)) best = &entry;
  }
  return best;
}

}  // namespace pexil::draw
