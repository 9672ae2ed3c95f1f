// Scrolling the text pane: where a scroll of some lines leaves its first
// visible line, and the pace at which a held scroll arrow repeats. No wx
// here.
#pragma once

#include <algorithm>
#include <cstddef>

namespace pexil::ui {

// The first visible line after scrolling `steps` lines (negative: up) in a
// pane of `count` lines that shows `visible`: never before the first line
// nor so far that the last line leaves the bottom.
inline std::size_t ScrolledFirst(std::size_t first, long steps, std::size_t count, int visible) {
  const long last = std::max(0L, static_cast<long>(count) - std::max(0, visible));
  return static_cast<std::size_t>(std::clamp(static_cast<long>(first) + steps, 0L, last));
}

// A held scroll arrow: the first repeat comes 100 ms after the press, each
// following one 5 ms sooner than the one before, never sooner than 20 ms.
inline constexpr int kFirstScrollRepeat = 100;
inline int NextScrollRepeat(int previous) { return std::max(20, previous - 5); }

}  // namespace pexil::ui
