#include "layout.hpp"

#include <algorithm>

namespace pexil::draw {

BoardLayout ComputeBoardLayout(int width, int height, int columns, int rows, bool labels, bool wideText,
                               int paneCharWidth) {
  BoardLayout layout;
  layout.columns = columns;
  layout.rows = rows;
  layout.labelBands = labels ? 1 : 0;
  int area = std::min(2 * width / 3, 8 * height / 9);
  if (wideText && width < area + 64 * paneCharWidth) area = std::max(4, width - 64 * paneCharWidth);
  layout.area = area;
  const int cells = std::max(columns, rows) + 2 * layout.labelBands;
  layout.square = cells > 0 ? std::max(1, area / cells) : 1;
  layout.left = 8;
  layout.top = (height - layout.outerHeight()) / 2;
  layout.regionLeft = layout.left + layout.outerWidth() + 16;
  return layout;
}

}  // namespace pexil::draw
