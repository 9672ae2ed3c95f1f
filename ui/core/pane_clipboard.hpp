// What the copy commands put on the clipboard: the chosen pane lines, each
// followed by CR LF, with the '|' marks of move lines removed. No wx here.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pexil::ui {

// The lines from `first`, at most `count` of them.
std::vector<std::string> VisibleLines(const std::vector<std::string>& lines, std::size_t first, int count);

// The lines joined for the clipboard (Latin-1, as the pane holds them).
std::string ClipboardText(const std::vector<std::string>& lines);

}  // namespace pexil::ui
