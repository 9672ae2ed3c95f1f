#include "board_image.hpp"

#include "canvas.hpp"
#include "draw_context.hpp"
#include "layout.hpp"
#include "state/game.hpp"
#include "text/text_pane.hpp"

namespace pexil::draw {

ImageRect BoardImageRect(const DrawContext& context, const Game& game, const ViewOptions& options, int width, int height) {
  const BoardLayout layout = ComputeBoardLayout(width, height, game.board.width, game.board.height,
                                                options.rowColumnLabels, options.wideText, context.paneCharWidth(18));
  return {layout.boardLeft(), layout.boardTop(), layout.columns * layout.square, layout.rows * layout.square};
}

bool SaveViewImage(const DrawContext& context, const Game& game, const ViewOptions& options, int width, int height,
                   bool boardOnly, const std::string& path, std::string& error) {
  Canvas canvas(context, width, height);
  const TextPane pane;
  PaneView view;
  RenderView(context, canvas, &game, options, pane, view);
  if (!boardOnly) return canvas.savePng(path, &error);
  const ImageRect r = BoardImageRect(context, game, options, width, height);
  return canvas.savePng(path, r.x, r.y, r.width, r.height, &error);
}

}  // namespace pexil::draw
