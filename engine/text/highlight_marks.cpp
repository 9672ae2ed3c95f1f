#include "text/highlight_marks.hpp"

#include <algorithm>

namespace pexil {

std::vector<HighlightRun> highlightRuns(std::string_view line) {
  std::vector<HighlightRun> runs;
  bool highlighted = false;
  std::size_t start = 0;
  for (;;) {
    const std::size_t mark = line.find(kHighlightMark, start);
    const std::size_t end = mark == std::string_view::npos ? line.size() : mark;
    if (end > start) runs.push_back({line.substr(start, end - start), highlighted});
    if (mark == std::string_view::npos) break;
    highlighted = !highlighted;
    start = mark + 1;
  }
  return runs;
}

std::string withoutHighlightMarks(std::string_view line) {
  std::string text;
  text.reserve(line.size());
  for (char c : line) {
    if (c != kHighlightMark) text.push_back(c);
  }
  return text;
}

std::size_t shownLength(std::string_view line) {
  return line.size() - static_cast<std::size_t>(std::count(line.begin(), line.end(), kHighlightMark));
}

}  // namespace pexil
