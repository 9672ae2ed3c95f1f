#include "pane_clipboard.hpp"

#include "text/text_pane.hpp"

namespace pexil::ui {

std::string ClipboardText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    for (char c : line) {
      if (c != '|') text += c;
    }
    text += "\r\n";
  }
  return text;
}

std::string PaneText(const TextPane& pane) { return ClipboardText(pane.Lines()); }

std::string VisiblePaneText(const TextPane& pane, std::size_t first, int count) {
  std::vector<std::string> shown;
  pane.WithLines([&](const std::vector<std::string>& lines, const std::vector<int>&) {
    for (std::size_t k = first; count > 0 && k < lines.size() && k < first + static_cast<std::size_t>(count); ++k) {
      shown.push_back(lines[k]);
    }
  });
  return ClipboardText(shown);
}

std::string SimulationPaneText(const TextPane& pane) { return ClipboardText(pane.SimulationLines()); }

}  // namespace pexil::ui
