// What the board shows while a move is previewed: the board with the move
// laid (tiles not yet played, drawn as any tile), which of its tiles are
// the move's own and which of the board's tiles its word runs through, and
// optionally the heat map that a simulation of the move recorded.
#pragma once

#include <string>
#include <vector>

#include "rules/board.hpp"
#include "state/simulation_stats.hpp"

namespace pexil::draw {

struct Cell {
  int column = 0;
  int row = 0;
};

// Which heat map a preview shows. The share of the opponent's replies that
// covered each square ("%.1f%%"; Shift, or kept on by LockHeatmap), the
// mean score of the replies that covered it ("%.1f"; Ctrl), and the share
// of the player's own next moves that covered it ("%.1f%%"; Alt).
enum class HeatView { none, replyShare, replyScore, nextShare };

struct BoardPreview {
  const Board* board = nullptr;  // drawn instead of the game's board
  std::vector<Cell> laid;        // the move's own tiles
  std::vector<Cell> used;        // tiles of the board that its word runs through
  bool highlightUsed = true;     // the HighlightTiles setting
  const SimulationStats* stats = nullptr;  // with heat maps, or none
  HeatView heat = HeatView::none;
};

// The text a heat map writes on a square ("12.5%", "23.4"), or empty where
// no recorded move covered it, outside the grid or without heat maps.
std::string HeatCellText(const SimulationStats& stats, HeatView view, int column, int row);

// How hot a square is, 0 (cold, or no data) to 1 (the hottest square of
// the grid in this view).
double HeatLevel(const SimulationStats& stats, HeatView view, int column, int row);

}  // namespace pexil::draw
