// The one drawing context of the process: the drawing library started
// off-screen (no window, no thread, no signal handlers), the two font sets
// built from TrueType files and the tile textures. Whoever creates it owns
// it; only one may live at a time (the library underneath keeps global
// drawing state), and it is used from one thread only.
#pragma once

#include <memory>
#include <string>

namespace pexil::draw {

// How glyphs are smoothed: none (one-bit glyphs), five grey levels from the
// rasteriser, or rendering at four times the size and scaling down.
enum class Smoothing { none = 0, grey = 1, supersampled = 2 };

inline constexpr int kSmallestFontSize = 3;
inline constexpr int kLargestFontSize = 34;
inline constexpr int kTileStyles = 8;

class DrawContext {
 public:
  // Starts the drawing library and loads "font.ttf", "pane.ttf",
  // "texture1.bmp".."texture8.bmp" and the glyph sheets "chars.bmp" and
  // "tchars.bmp" from `folder` (missing files leave that font set, texture
  // or sheet empty; drawing then skips the text, uses a flat colour, or
  // composes the letters from the font). Throws std::runtime_error when the library cannot start or a
  // context already exists.
  explicit DrawContext(const std::string& folder = ".");
  ~DrawContext();
  DrawContext(const DrawContext&) = delete;
  DrawContext& operator=(const DrawContext&) = delete;

  // Text height of the largest font of a set no taller than `limit`, or 0
  // when even the smallest is taller (or the set is empty).
  int boardFontHeight(int limit) const;
  int paneFontHeight(int limit) const;
  // Width of one character of the pane font no taller than `limit` (0 when none).
  int paneCharWidth(int limit) const;
  bool hasBoardFonts() const;
  bool hasTexture(int style) const;
  // Cells of the glyph sheets chars.bmp (marks) and tchars.bmp (two-letter
  // tiles); 0 for a sheet that is missing.
  int markCells() const;
  int twoLetterCells() const;

  // Builds one set of fonts from a TrueType file (sizes 3..34), replacing
  // the board or pane set; false when the file could not be read.
  bool loadBoardFonts(const std::string& path, Smoothing smoothing);
  bool loadPaneFonts(const std::string& path, Smoothing smoothing);
  // Replaces the glyph sheet of two-letter tiles; false (and no sheet)
  // when the file cannot be read or marks no cell.
  bool loadTwoLetterSheet(const std::string& path);

  struct Impl;
  Impl& impl() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace pexil::draw
