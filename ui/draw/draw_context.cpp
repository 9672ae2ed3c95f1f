#include <atomic>
#include <cerrno>
#include <filesystem>
#include <stdexcept>

#include "allegro_internal.hpp"

namespace pexil::draw {
namespace {

// The drawing library keeps global state: one context at a time.
std::atomic<bool> contextAlive{false};

void startLibrary() {
  // SYSTEM_NONE: no window, no display connection, no thread, no signal
  // handlers; only memory bitmaps are drawn.
  if (install_allegro(SYSTEM_NONE, &errno, nullptr) != 0) throw std::runtime_error("cannot start the drawing library");
  // Without a graphics mode the 32-bit layout would be R=0, G=8, B=16; fix
  // it to Cairo's RGB24 so the window shows the bitmap as it is.
  _rgb_r_shift_32 = 16;
  _rgb_g_shift_32 = 8;
  _rgb_b_shift_32 = 0;
  _rgb_a_shift_32 = 24;
  set_color_depth(32);
  set_color_conversion(COLORCONV_TOTAL);
  // Our text is Latin-1, one byte a character.
  set_uformat(U_ASCII);
}

}  // namespace

DrawContext::DrawContext(const std::string& folder) {
  if (contextAlive.exchange(true)) throw std::runtime_error("a drawing context exists already");
  try {
    startLibrary();
  } catch (...) {
    contextAlive = false;
    throw;
  }
  impl_ = std::make_unique<Impl>();
  const std::filesystem::path base(folder);
  loadBoardFonts((base / "font.ttf").string(), Smoothing::supersampled);
  loadPaneFonts((base / "pane.ttf").string(), Smoothing::none);
  for (int style = 0; style < kTileStyles; ++style) {
    const std::string name = (base / ("texture" + std::to_string(style + 1) + ".bmp")).string();
    if (std::filesystem::exists(name)) impl_->textures[static_cast<std::size_t>(style)].reset(load_bmp(name.c_str(), nullptr));
  }
}

DrawContext::~DrawContext() {
  impl_.reset();  // fonts and bitmaps go before the library
  allegro_exit();
  contextAlive = false;
}

bool DrawContext::loadBoardFonts(const std::string& path, Smoothing smoothing) {
  return impl_->boardFonts.load(path, smoothing);
}
bool DrawContext::loadPaneFonts(const std::string& path, Smoothing smoothing) {
  return impl_->paneFonts.load(path, smoothing);
}

int DrawContext::boardFontHeight(int limit) const {
  const FontEntry* f = impl_->boardFonts.pick(limit);
  return f != nullptr ? f->height : 0;
}
int DrawContext::paneFontHeight(int limit) const {
  const FontEntry* f = impl_->paneFonts.pick(limit);
  return f != nullptr ? f->height : 0;
}
int DrawContext::paneCharWidth(int limit) const {
  const FontEntry* f = impl_->paneFonts.pick(limit);
  return f != nullptr ? text_length(f->font.get(), "M") : 0;
}
bool DrawContext::hasBoardFonts() const { return !impl_->boardFonts.empty(); }
bool DrawContext::hasTexture(int style) const {
  return style >= 0 && style < kTileStyles && impl_->textures[static_cast<std::size_t>(style)] != nullptr;
}

}  // namespace pexil::draw
