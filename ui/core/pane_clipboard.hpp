// The text the clipboard commands copy from the text pane: the chosen
// lines, each followed by CR LF, with every '|' (the pane's marks round
// the letters of the board in move lines) removed. No wx here: the
// commands put the text on the clipboard.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pexil {
class TextPane;
}

namespace pexil::ui {

// The lines joined as the clipboard takes them.
std::string ClipboardText(const std::vector<std::string>& lines);

// Every line of the pane.
std::string PaneText(const TextPane& pane);
// The lines the view shows: `count` lines from `first` (fewer at the end).
std::string VisiblePaneText(const TextPane& pane, std::size_t first, int count);
// The lines of the last simulation's results.
std::string SimulationPaneText(const TextPane& pane);

}  // namespace pexil::ui
