#include "glyph_raster.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>

namespace pexil::tools {

struct FontFace::Handles {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~Handles() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
};

namespace {

int ceilDiv64(long v) { return static_cast<int>((v + 63) / 64); }
constexpr FT_Int32 kFlags = FT_LOAD_NO_HINTING;

}  // namespace

FontFace::FontFace() : handles_(std::make_unique<Handles>()) {}
FontFace::~FontFace() = default;

bool FontFace::open(const std::string& path) {
  handles_ = std::make_unique<Handles>();
  if (FT_Init_FreeType(&handles_->library) != 0) return false;
  return FT_New_Face(handles_->library, path.c_str(), 0, &handles_->face) == 0;
}

bool FontFace::setPixelSize(int size) {
  return handles_->face != nullptr && FT_Set_Pixel_Sizes(handles_->face, 0, static_cast<FT_UInt>(size)) == 0;
}

int FontFace::ascent() const { return ceilDiv64(handles_->face->size->metrics.ascender); }

int FontFace::textHeight() const { return ascent() + ceilDiv64(-handles_->face->size->metrics.descender); }

double FontFace::advance(const std::vector<unsigned long>& chars) const {
  FT_Face face = handles_->face;
  FT_Set_Transform(face, nullptr, nullptr);
  long total = 0;  // 26.6
  for (const unsigned long ch : chars) {
    if (FT_Load_Char(face, ch, kFlags) != 0) return 0;
    total += face->glyph->advance.x;
  }
  return total / 64.0;
}

GreyImage FontFace::render(const std::vector<unsigned long>& chars, double condense, int margin) const {
  FT_Face face = handles_->face;
  GreyImage image;
  const int height = textHeight(), up = ascent();
  image.width = static_cast<int>(std::ceil(advance(chars) * condense)) + 2 * margin;
  image.height = height;
  image.grey.assign(static_cast<std::size_t>(image.width * image.height), 0);
  FT_Matrix matrix{static_cast<FT_Fixed>(std::lround(condense * 65536.0)), 0, 0, 0x10000};
  double pen = margin * 64.0;  // 26.6, from the left edge
  for (const unsigned long ch : chars) {
    // The pen's fraction goes into the outline's shift, its whole pixels
    // into where the bitmap lands.
    const long whole = static_cast<long>(std::floor(pen / 64.0));
    FT_Vector delta{static_cast<FT_Pos>(std::lround(pen - whole * 64.0)), 0};
    FT_Set_Transform(face, &matrix, &delta);
    if (FT_Load_Char(face, ch, kFlags | FT_LOAD_RENDER) != 0) {
      FT_Set_Transform(face, nullptr, nullptr);
      return {};
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    for (unsigned row = 0; row < bm.rows; ++row) {
      const int y = up - slot->bitmap_top + static_cast<int>(row);
      if (y < 0 || y >= height) continue;
      for (unsigned column = 0; column < bm.width; ++column) {
        const int x = static_cast<int>(whole) + slot->bitmap_left + static_cast<int>(column);
        if (x < 0 || x >= image.width) continue;
        const int v = bm.buffer[static_cast<int>(row) * bm.pitch + static_cast<int>(column)];
        std::uint8_t& out = image.grey[static_cast<std::size_t>(y * image.width + x)];
        out = static_cast<std::uint8_t>(std::min(255, out + v));
      }
    }
    // The untransformed advance, condensed.
    FT_Set_Transform(face, nullptr, nullptr);
    FT_Load_Char(face, ch, kFlags);
    pen += face->glyph->advance.x * condense;
  }
  FT_Set_Transform(face, nullptr, nullptr);
  return image;
}

}  // namespace pexil::tools
