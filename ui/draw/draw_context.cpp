#include <algorithm>
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
  impl_->marks.load((base / "chars.bmp").string());
  impl_->twoLetter.load((base / "tchars.bmp").string());
}

bool GlyphSheet::load(const std::string& path) {
  starts_.clear();
  ends_.clear();
  bitmap_.reset();
  if (!std::filesystem::exists(path)) return false;
  bitmap_.reset(load_bmp(path.c_str(), nullptr));
  if (!bitmap_ || bitmap_->h < 2) {
    bitmap_.reset();
    return false;
  }
  const auto* top = reinterpret_cast<const std::uint32_t*>(bitmap_->line[0]);
  const std::uint32_t red = static_cast<std::uint32_t>(makecol32(255, 0, 0));
  int start = 0;
  for (int x = 0; x < bitmap_->w; ++x) {
    if ((top[x] & 0xFFFFFFu) != red) continue;
    starts_.push_back(start);
    ends_.push_back(x);
    start = x + 1;
  }
  return !starts_.empty();
}

void GlyphSheet::draw(BITMAP* target, int k, int x, int y, double scale, int colour) const {
  if (!bitmap_ || k < 0 || k >= cells() || scale <= 0) return;
  const int x0 = starts_[static_cast<std::size_t>(k)], x1 = ends_[static_cast<std::size_t>(k)];
  const int width = static_cast<int>((x1 - x0) * scale + 0.5), height = static_cast<int>(cellHeight() * scale + 0.5);
  const int fr = getr32(colour), fg = getg32(colour), fb = getb32(colour);
  for (int dy = 0; dy < height; ++dy) {
    const int py = y + dy;
    if (py < target->ct || py >= target->cb) continue;
    // The source pixels this target pixel covers, averaged.
    const int sy0 = 1 + static_cast<int>(dy / scale);
    const int sy1 = std::max(sy0 + 1, 1 + static_cast<int>((dy + 1) / scale));
    auto* line = reinterpret_cast<std::uint32_t*>(target->line[py]);
    for (int dx = 0; dx < width; ++dx) {
      const int px = x + dx;
      if (px < target->cl || px >= target->cr) continue;
      const int sx0 = x0 + static_cast<int>(dx / scale);
      const int sx1 = std::max(sx0 + 1, x0 + static_cast<int>((dx + 1) / scale));
      int sum = 0, count = 0;
      for (int sy = sy0; sy < sy1 && sy < bitmap_->h; ++sy) {
        const auto* source = reinterpret_cast<const std::uint32_t*>(bitmap_->line[sy]);
        for (int sx = sx0; sx < sx1 && sx < x1; ++sx) {
          const int p = static_cast<int>(source[sx]);
          sum += std::max({getr32(p), getg32(p), getb32(p)});
          ++count;
        }
      }
      if (count == 0 || sum == 0) continue;
      const int a = sum / count;
      const int old = static_cast<int>(line[px]);
      line[px] = static_cast<std::uint32_t>(makecol32((fr * a + getr32(old) * (255 - a) + 127) / 255,
                                                      (fg * a + getg32(old) * (255 - a) + 127) / 255,
                                                      (fb * a + getb32(old) * (255 - a) + 127) / 255));
    }
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
bool DrawContext::loadTwoLetterSheet(const std::string& path) { return impl_->twoLetter.load(path); }

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
int DrawContext::markCells() const { return impl_->marks.cells(); }
int DrawContext::twoLetterCells() const { return impl_->twoLetter.cells(); }
bool DrawContext::hasTexture(int style) const {
  return style >= 0 && style < kTileStyles && impl_->textures[static_cast<std::size_t>(style)] != nullptr;
}

}  // namespace pexil::draw
