// The desktop program's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "board_preview.hpp"

namespace pexil::ui {

struct LaunchOptions {
  std::optional<std::string> dataDir;
  std::optional<int> uiLang;
  std::optional<std::string> screenshot;  // draw once into this PNG and end
  int width = 1200, height = 900;        // the view's size for --screenshot and the window
  bool sizeGiven = false;
  std::optional<int> startGame;           // 1-based game type number
  int players = 2;
  int moves = 0;                          // static best moves played after --start-game
  std::optional<unsigned> seed;
  std::optional<std::string> exportAfterShow;  // PNG of the first painted view (tests)
  // A move to preview, typed as position and word ("8D", "QUARTZ"; UTF-8),
  // and the heat map to show on it after simulating it.
  std::optional<std::string> previewPosition, previewWord;
  draw::HeatView heatmap = draw::HeatView::none;
  bool help = false;
};

// Reads the options; on an error gives none and sets `error`.
std::optional<LaunchOptions> ParseLaunchOptions(const std::vector<std::string>& args, std::string& error);
const char* UsageText();

}  // namespace pexil::ui
