#include "pane_clipboard.hpp"

#include <algorithm>

namespace pexil::ui {

std::vector<std::string> VisibleLines(const std::vector<std::string>& lines, std::size_t first, int count) {
  if (first >= lines.size() || count <= 0) return {};
  const std::size_t end = std::min(lines.size(), first + static_cast<std::size_t>(count));
  return {lines.begin() + static_cast<std::ptrdiff_t>(first), lines.begin() + static_cast<std::ptrdiff_t>(end)};
}

std::string ClipboardText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    for (const char c : line) {
      if (c != '|') text.push_back(c);
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace pexil::ui
