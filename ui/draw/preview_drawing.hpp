// The marks a previewed move adds to the board picture: frames round the
// move's tiles (and round the board's tiles its word uses), and the heat
// map written and tinted over the squares. Used by the renderer only.
#pragma once

#include "board_preview.hpp"
#include "canvas.hpp"
#include "draw_context.hpp"
#include "layout.hpp"

namespace pexil::draw {

void DrawPreviewFrames(Canvas& canvas, const BoardLayout& layout, const BoardPreview& preview);
void DrawHeatMap(const DrawContext& context, Canvas& canvas, const BoardLayout& layout, const SimulationStats& stats,
                 HeatView view);

}  // namespace pexil::draw
