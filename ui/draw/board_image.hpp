// Pictures of a game as the window draws it, for the board and screen
// images and the recap's picture: drawn off-screen at a chosen size and
// saved as PNG, either whole or the board alone (its squares, without the
// label bands around them).
#pragma once

#include <string>

#include "renderer.hpp"

namespace pexil {
struct Game;
}

namespace pexil::draw {

class DrawContext;

struct ImageRect {
  int x = 0, y = 0, width = 0, height = 0;
};

// Where the board's squares are in a picture of the view `width` x
// `height` pixels.
ImageRect BoardImageRect(const DrawContext& context, const Game& game, const ViewOptions& options, int width, int height);

// Draws the view of the game (with an empty text pane) and saves it, or its
// board alone, to `path`. False with `error` set when it cannot be saved.
bool SaveViewImage(const DrawContext& context, const Game& game, const ViewOptions& options, int width, int height,
                   bool boardOnly, const std::string& path, std::string& error);

}  // namespace pexil::draw
