// Helpers of the desktop drawing tests: the one drawing context of the
// test program (fonts and textures of the run folder), seeded positions.
#pragma once

#include <memory>
#include <string>

#include "draw_context.hpp"
#include "state/game.hpp"

namespace pexil::test {

// Made on first use from the run folder; lives until the program ends.
draw::DrawContext& drawContext();

// A game of game type `type` (0-based, from data/game.definitions) on the
// fixture word list: the program seeded with `seed`, racks dealt to
// `players` players, and a few words laid by hand (one of them with a
// blank).
Game seededPosition(int type, unsigned seed, bool words = true, int players = 2);

// Reads the game types from definitions text for one test; the shipped
// game.definitions come back when it ends.
class DefinitionsScope {
 public:
  explicit DefinitionsScope(const std::string& text);
  ~DefinitionsScope();
  DefinitionsScope(const DefinitionsScope&) = delete;
  DefinitionsScope& operator=(const DefinitionsScope&) = delete;
};

// Lays the board characters of `word` from (column, row), across or down,
// on empty squares; the character at `blankAt` is a blank.
void lay(Game& game, const char* word, int column, int row, bool down, int blankAt = -1);

}  // namespace pexil::test
