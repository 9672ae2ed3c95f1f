// Text rendered from a TrueType face into grey coverage, for the build's
// generators (the glyph sheet of two-letter tiles, the icon).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pexil::tools {

// Coverage 0 (none) .. 255 (full), `width` x `height`, rows from the top.
struct GreyImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> grey;
  std::uint8_t at(int x, int y) const { return grey[static_cast<std::size_t>(y * width + x)]; }
};

class FontFace {
 public:
  FontFace();
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  // False when the file is no font the rasteriser reads.
  bool open(const std::string& path);
  // False when the face has no such size.
  bool setPixelSize(int size);
  // Of the size set, in whole pixels rounded up as the drawing library's
  // fonts round them: the text height is ascent plus descent.
  int ascent() const;
  int textHeight() const;
  // The width of the characters side by side, in pixels (unhinted).
  double advance(const std::vector<unsigned long>& chars) const;
  // The characters side by side on one line, narrowed sideways by
  // `condense` (1: as designed), `margin` empty columns either side, in a
  // box of the text height with the baseline at the ascent. An empty image
  // when a character cannot be rendered.
  GreyImage render(const std::vector<unsigned long>& chars, double condense, int margin) const;

 private:
  struct Handles;
  std::unique_ptr<Handles> handles_;
};

}  // namespace pexil::tools
