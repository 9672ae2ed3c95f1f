#include <lodepng.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "allegro_internal.hpp"

namespace pexil::draw {

Canvas::Canvas(const DrawContext&, int width, int height) : impl_(std::make_unique<Impl>()) {
  impl_->bitmap.reset(create_bitmap_ex(32, width < 1 ? 1 : width, height < 1 ? 1 : height));
  if (!impl_->bitmap) throw std::runtime_error("cannot create the off-screen bitmap");
  clear_to_color(impl_->bitmap.get(), 0);
}

Canvas::~Canvas() = default;
Canvas::Canvas(Canvas&&) noexcept = default;
Canvas& Canvas::operator=(Canvas&&) noexcept = default;

int Canvas::width() const { return impl_->bitmap->w; }
int Canvas::height() const { return impl_->bitmap->h; }

// A memory bitmap keeps its rows in one block, one after the other.
const unsigned char* Canvas::data() const { return impl_->bitmap->line[0]; }
int Canvas::stride() const { return impl_->bitmap->w * 4; }

std::uint32_t Canvas::pixel(int x, int y) const {
  const BITMAP* b = impl_->bitmap.get();
  if (x < 0 || y < 0 || x >= b->w || y >= b->h) return 0;
  return reinterpret_cast<const std::uint32_t*>(b->line[y])[x] & 0xFFFFFFu;
}

void Canvas::fill(int rgb) { clear_to_color(impl_->bitmap.get(), PixelOf(rgb)); }

bool Canvas::savePng(const std::string& path, std::string* error) const {
  return savePng(path, 0, 0, width(), height(), error);
}

bool Canvas::savePng(const std::string& path, int left, int top, int w, int h, std::string* error) const {
  if (left < 0) w += left, left = 0;
  if (top < 0) h += top, top = 0;
  w = std::min(w, width() - left);
  h = std::min(h, height() - top);
  if (w <= 0 || h <= 0) {
    if (error != nullptr) *error = "empty picture";
    return false;
  }
  std::vector<unsigned char> rgb(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3);
  std::size_t k = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const std::uint32_t p = pixel(left + x, top + y);
      rgb[k++] = static_cast<unsigned char>(p >> 16);
      rgb[k++] = static_cast<unsigned char>(p >> 8);
      rgb[k++] = static_cast<unsigned char>(p);
    }
  }
  const unsigned code = lodepng::encode(path, rgb, static_cast<unsigned>(w), static_cast<unsigned>(h), LCT_RGB, 8);
  if (code != 0) {
    if (error != nullptr) *error = lodepng_error_text(code);
    return false;
  }
  return true;
}

}  // namespace pexil::draw
