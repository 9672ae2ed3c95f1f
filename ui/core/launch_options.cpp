#include "launch_options.hpp"

#include <charconv>

namespace pexil::ui {
namespace {

bool number(const std::string& text, long low, long high, long& out) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, out);
  return result.ec == std::errc() && result.ptr == end && out >= low && out <= high;
}

}  // namespace

const char* UsageText() {
  return "Usage: pexil [options]\n"
         "The desktop program: board, racks and text pane in one window.\n"
         "\n"
         "  --data DIR         data folder (default: the program's own folder, or\n"
         "                     ../share/pexil beside an installed program)\n"
         "  --ui-lang N        UI language for this run: 0 English, 1 Pig Latin, 2 Catalan\n"
         "  --start-game N     set up a game of game type N (1-based, as listed by\n"
         "                     pexil-cli) with its default word list and deal the racks\n"
         "  --players N        players of that game (default 2; the game type says how\n"
         "                     many it allows)\n"
         "  --moves K          then play the static best move K times\n"
         "  --preview POS WORD preview the move WORD at POS (\"8D\" across, \"D8\" down;\n"
         "                     blanks in lower case) of the player to move on the board\n"
         "  --heatmap [KIND]   simulate the previewed move and show its heat map: KIND\n"
         "                     replies (default: the share of the opponent's replies\n"
         "                     covering each square, as Shift shows it), scores (their\n"
         "                     mean score, as Ctrl) or next (the player's next moves, as Alt)\n"
         "  --seed N           seed the program's random generator\n"
         "  --size WxH         size of the view (default 1200x900)\n"
         "  --screenshot FILE  draw the view once at --size into FILE (PNG) and end;\n"
         "                     needs no display\n"
         "  --export-after-show FILE\n"
         "                     write the first painted view to FILE (PNG) and its place in\n"
         "                     the window to FILE.geometry (\"x y w h\"), for tests\n"
         "  --help             show this text\n";
}

std::optional<LaunchOptions> ParseLaunchOptions(const std::vector<std::string>& args, std::string& error) {
  LaunchOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    std::string v;
    long n = 0;
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--data") {
      if (!value(v)) return std::nullopt;
      o.dataDir = v;
    } else if (a == "--ui-lang") {
      if (!value(v) || !number(v, 0, 2, n)) {
        error = "--ui-lang takes 0, 1 or 2";
        return std::nullopt;
      }
      o.uiLang = static_cast<int>(n);
    } else if (a == "--screenshot") {
      if (!value(v)) return std::nullopt;
      o.screenshot = v;
    } else if (a == "--export-after-show") {
      if (!value(v)) return std::nullopt;
      o.exportAfterShow = v;
    } else if (a == "--size") {
      if (!value(v)) return std::nullopt;
      const auto x = v.find('x');
      long w = 0, h = 0;
      if (x == std::string::npos || !number(v.substr(0, x), 16, 8192, w) || !number(v.substr(x + 1), 16, 8192, h)) {
        error = "--size takes WxH, for example 1200x900";
        return std::nullopt;
      }
      o.width = static_cast<int>(w);
      o.height = static_cast<int>(h);
      o.sizeGiven = true;
    } else if (a == "--start-game") {
      if (!value(v) || !number(v, 1, 1000, n)) {
        error = "--start-game takes a game type number from 1";
        return std::nullopt;
      }
      o.startGame = static_cast<int>(n);
    } else if (a == "--players") {
      if (!value(v) || !number(v, 1, 16, n)) {
        error = "--players takes 1 to 16";
        return std::nullopt;
      }
      o.players = static_cast<int>(n);
    } else if (a == "--preview") {
      if (i + 2 >= args.size() || args[i + 1].starts_with("--") || args[i + 2].starts_with("--")) {
        error = "--preview takes a position and a word, for example --preview 8D QUARTZ";
        return std::nullopt;
      }
      o.previewPosition = args[++i];
      o.previewWord = args[++i];
    } else if (a == "--heatmap") {
      o.heatmap = draw::HeatView::replyShare;
      if (i + 1 < args.size() && !args[i + 1].starts_with("--")) {
        const std::string& kind = args[++i];
        if (kind == "scores") {
          o.heatmap = draw::HeatView::replyScore;
        } else if (kind == "next") {
          o.heatmap = draw::HeatView::nextShare;
        } else if (kind != "replies") {
          error = "--heatmap takes replies, scores or next";
          return std::nullopt;
        }
      }
    } else if (a == "--moves") {
      if (!value(v) || !number(v, 0, 1000, n)) {
        error = "--moves takes a count";
        return std::nullopt;
      }
      o.moves = static_cast<int>(n);
    } else if (a == "--seed") {
      if (!value(v) || !number(v, 0, 4294967295L, n)) {
        error = "--seed takes a number";
        return std::nullopt;
      }
      o.seed = static_cast<unsigned>(n);
    } else {
      error = "unknown option " + a;
      return std::nullopt;
    }
  }
  if (o.heatmap != draw::HeatView::none && !o.previewPosition) {
    error = "--heatmap needs --preview: the move whose heat map to show";
    return std::nullopt;
  }
  if (o.previewPosition && !o.startGame) {
    error = "--preview needs --start-game: a game to preview the move in";
    return std::nullopt;
  }
  return o;
}

}  // namespace pexil::ui
