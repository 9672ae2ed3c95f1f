// The off-screen picture the view draws into: a 32-bit bitmap whose pixels
// are 0x00RRGGBB words, row after row (Cairo's RGB24 layout), so that the
// window can show it without conversion. What it is made of stays inside
// the drawing library.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace pexil::draw {

class DrawContext;

class Canvas {
 public:
  // Needs a live DrawContext, and must be gone before that context ends.
  Canvas(const DrawContext& context, int width, int height);
  ~Canvas();
  Canvas(Canvas&&) noexcept;
  Canvas& operator=(Canvas&&) noexcept;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int width() const;
  int height() const;
  // Start of the pixel rows and the bytes from one row to the next.
  const unsigned char* data() const;
  int stride() const;
  // 0xRRGGBB of one pixel (0 outside the picture).
  std::uint32_t pixel(int x, int y) const;
  // Paints the whole picture in one colour (0xRRGGBB).
  void fill(int rgb);
  // Writes the picture as an 8-bit RGB PNG; false (with `error`) on failure.
  bool savePng(const std::string& path, std::string* error = nullptr) const;
  // The same for a rectangle of the picture (cut to the picture).
  bool savePng(const std::string& path, int x, int y, int width, int height, std::string* error = nullptr) const;

  struct Impl;
  Impl& impl() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace pexil::draw
