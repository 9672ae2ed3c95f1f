// What a "play" session knows of Pexil's rack: the guess from Pexil's last
// move, and tiles the user knows to be on that rack. Both hold for the
// position they were made in; the simulations the user runs there give
// Pexil racks from them.
#include "commands.hpp"
#include "play_session.hpp"
#include "search/known_racks.hpp"
#include "search/tile_inference.hpp"
#include "text/messages.hpp"

namespace pexil::cli {
namespace {

constexpr int kRacksShown = 10;

}  // namespace

void PlaySession::handleInfer() {
  if (game_.gameOver) {
    PrintMessage(msg::PlayGameOver);
    return;
  }
  // Guessed on a copy, so that the game's own tile draws stay as they were.
  Game copy = game_;
  copy.toMove = user_;
  GuessOpponentRack(copy, copy.threads);
  printListedRacks(copy, kRacksShown);
  game_.knownRacks = std::move(copy.knownRacks);
  game_.useKnownTiles = !game_.knownRacks.empty();
}

void PlaySession::handleKnown(const std::string& typed) {
  if (game_.gameOver) {
    PrintMessage(msg::PlayGameOver);
    return;
  }
  if (!setKnownTiles(game_, typed)) return;
  if (game_.typedKnownTiles.empty()) {
    PrintMessage(msg::PlayKnownTilesForgotten);
  } else {
    PrintMessageF(msg::PlayKnownTilesSet, tilesDisplayText(typedKnownRack(game_)).c_str(), name(computer_).c_str());
  }
}

}  // namespace pexil::cli
