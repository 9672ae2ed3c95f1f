#include "startup.hpp"

#include "text/messages.hpp"
#include "text/utf8.hpp"

namespace pexil::ui {
namespace {

Startup failed(std::string why) {
  Startup result;
  result.ok = false;
  result.error = std::move(why);
  return result;
}

// Typed text is UTF-8; the program's text is Latin-1 (bytes that are not
// UTF-8 are taken as Latin-1 already).
std::string typedLatin1(const std::string& typed) { return utf8ToLatin1(typed, '?').value_or(typed); }

}  // namespace

Startup ApplyLaunchOptions(Session& session, const LaunchOptions& options) {
  if (options.uiLang) {
    session.settings().uiLang = *options.uiLang;
    SetUILang(*options.uiLang);
  }
  Startup result;
  if (!options.startGame) return result;
  const int index = *options.startGame - 1;
  const std::string number = std::to_string(*options.startGame);
  if (index < static_cast<int>(GameTypeNames().size())) {
    const auto [least, most] = PlayerRange(index);
    if (options.players < least || options.players > most) {
      return failed("game type " + number + " takes " + std::to_string(least) + " to " + std::to_string(most) +
                    " players");
    }
  }
  if (!session.startGame(index, options.players)) {
    result.warning = "cannot set up game type " + number;
    if (options.previewPosition) return failed(result.warning + ", so there is no move to preview");
    return result;
  }
  session.playBestMoves(options.moves);
  if (!options.previewPosition || !options.previewWord) return result;
  const std::string typed = typedLatin1(*options.previewPosition + " " + *options.previewWord);
  const auto move = ReadMove(*session.game(), typed);
  if (!move) {
    return failed("--preview " + *options.previewPosition + " " + *options.previewWord +
                  ": no such move for the player to move");
  }
  if (options.heatmap != draw::HeatView::none && !session.analyzeMove(*move, 2, 1)) {
    return failed("the simulation of the previewed move recorded no heat map");
  }
  result.selectedLine = static_cast<long>(session.printMoveLine(*move));
  return result;
}

}  // namespace pexil::ui
