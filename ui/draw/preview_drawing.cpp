#include "preview_drawing.hpp"

#include <algorithm>
#include <cstdio>
#include <string>

#include "allegro_internal.hpp"
#include "renderer.hpp"

namespace pexil::draw {
namespace {

// The grid a view reads, or none.
const HeatMap* gridOf(const SimulationStats& stats, HeatView view) {
  if (!stats.hasHeatMaps) return nullptr;
  switch (view) {
    case HeatView::replyShare:
    case HeatView::replyScore: return &stats.replyHeat;
    case HeatView::nextShare: return &stats.nextHeat;
    case HeatView::none: break;
  }
  return nullptr;
}

// The figure of one square: percent of the recorded moves, or mean score;
// negative where nothing covered it.
double figureAt(const HeatMap& map, HeatView view, int column, int row) {
  if (column < 0 || row < 0 || column >= map.width || row >= map.height) return -1;
  const auto at = static_cast<std::size_t>(row * map.width + column);
  if (at >= map.counts.size() || map.counts[at] <= 0) return -1;
  if (view == HeatView::replyScore) {
    return at < map.scores.size() ? static_cast<double>(map.scores[at]) / map.counts[at] : -1;
  }
  return map.moves > 0 ? 100.0 * map.counts[at] / map.moves : -1;
}

// A frame two pixels wide just inside a square.
void frame(BITMAP* b, int x, int y, int s, int colour) {
  rect(b, x, y, x + s - 1, y + s - 1, colour);
  if (s > 2) rect(b, x + 1, y + 1, x + s - 2, y + s - 2, colour);
}

void frameCells(BITMAP* b, const BoardLayout& layout, const std::vector<Cell>& cells, int rgb) {
  const int s = layout.square;
  for (const Cell& cell : cells) {
    if (cell.column < 0 || cell.row < 0 || cell.column >= layout.columns || cell.row >= layout.rows) continue;
    frame(b, layout.boardLeft() + cell.column * s, layout.boardTop() + cell.row * s, s, PixelOf(rgb));
  }
}

// Mixes `alpha` (0..255) of the colour into every pixel of a rectangle.
void tint(BITMAP* b, int x0, int y0, int x1, int y1, int rgb, int alpha) {
  const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, bl = rgb & 0xFF;
  for (int y = std::max(y0, b->ct); y <= y1 && y < b->cb; ++y) {
    auto* line = reinterpret_cast<std::uint32_t*>(b->line[y]);
    for (int x = std::max(x0, b->cl); x <= x1 && x < b->cr; ++x) {
      const int old = static_cast<int>(line[x]);
      line[x] = static_cast<std::uint32_t>(makecol32((r * alpha + getr32(old) * (255 - alpha) + 127) / 255,
                                                     (g * alpha + getg32(old) * (255 - alpha) + 127) / 255,
                                                     (bl * alpha + getb32(old) * (255 - alpha) + 127) / 255));
    }
  }
}

// Text that stays readable on any square or tile: a black rim, white inside.
void outlinedText(BITMAP* b, const FONT* f, const std::string& text, int x, int y) {
  const int black = PixelOf(0x000000);
  for (const auto& [dx, dy] : {std::pair{-1, 0}, std::pair{1, 0}, std::pair{0, -1}, std::pair{0, 1}}) {
    textout_ex(b, f, text.c_str(), x + dx, y + dy, black, -1);
  }
  textout_ex(b, f, text.c_str(), x, y, PixelOf(0xFFFFFF), -1);
}

}  // namespace

std::string HeatCellText(const SimulationStats& stats, HeatView view, int column, int row) {
  const HeatMap* map = gridOf(stats, view);
  if (map == nullptr) return "";
  const double figure = figureAt(*map, view, column, row);
  if (figure < 0) return "";
  char text[32];
  std::snprintf(text, sizeof text, view == HeatView::replyScore ? "%.1f" : "%.1f%%", figure);
  return text;
}

double HeatLevel(const SimulationStats& stats, HeatView view, int column, int row) {
  const HeatMap* map = gridOf(stats, view);
  if (map == nullptr) return 0;
  double hottest = 0;
  for (int r = 0; r < map->height; ++r) {
    for (int c = 0; c < map->width; ++c) hottest = std::max(hottest, figureAt(*map, view, c, r));
  }
  const double figure = figureAt(*map, view, column, row);
  return figure > 0 && hottest > 0 ? figure / hottest : 0;
}

void DrawPreviewFrames(Canvas& canvas, const BoardLayout& layout, const BoardPreview& preview) {
  BITMAP* b = canvas.impl().bitmap.get();
  if (preview.highlightUsed) frameCells(b, layout, preview.used, colours::previewUsed);
  frameCells(b, layout, preview.laid, colours::previewLaid);
}

// Each square that recorded moves covered is tinted towards the heat colour
// (the hotter, the stronger) and shows its figure, in the largest board
// font no taller than S/3 that fits across the square.
void DrawHeatMap(const DrawContext& context, Canvas& canvas, const BoardLayout& layout, const SimulationStats& stats,
                 HeatView view) {
  const HeatMap* map = gridOf(stats, view);
  if (map == nullptr) return;
  BITMAP* b = canvas.impl().bitmap.get();
  const int s = layout.square;
  for (int row = 0; row < layout.rows; ++row) {
    for (int column = 0; column < layout.columns; ++column) {
      const std::string text = HeatCellText(stats, view, column, row);
      if (text.empty()) continue;
      const int x = layout.boardLeft() + column * s, y = layout.boardTop() + row * s;
      const double level = HeatLevel(stats, view, column, row);
      tint(b, x + 1, y + 1, x + s - 2, y + s - 2, colours::heat, 64 + static_cast<int>(128 * level));
      for (int limit = s / 3; limit > 0; --limit) {
        const FontEntry* f = context.impl().boardFonts.pick(limit);
        if (f == nullptr) break;
        const int w = text_length(f->font.get(), text.c_str());
        if (w <= s - 4) {
          outlinedText(b, f->font.get(), text, x + (s - w) / 2, y + (s - f->height) / 2);
          break;
        }
        limit = f->height;  // next try: a smaller font
      }
    }
  }
}

}  // namespace pexil::draw
