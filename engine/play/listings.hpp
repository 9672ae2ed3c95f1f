// The game listings printed into the text pane: the well's contents as one
// player sees them, the game history as move lines, and the players'
// statistics. They read the game and change nothing in it; each ends by
// asking the view to repaint.
#pragma once

#include "state/game.hpp"

namespace pexil {

// The tiles the viewing player has not seen (the well plus the other
// players' racks; the well alone under open racks), how many tiles stay in
// the bag once every rack is full, and the vowel, consonant and blank
// counts. `concise` selects the compact form: entries "A:  9 " three to a
// line instead of one line of tiles per letter.
void ShowWell(const Game& game, int viewer, bool concise);

// Every history entry as a move line (cyan, without wrapping) behind a rack
// column: the rack before the move in parentheses, else the leave in
// brackets, else dashes; with `hideHistoryRacks` always the dashes. After
// them one line for each change of score the moves do not show (a failed
// challenge's penalty, the tiles left at the end, a time penalty). Then
// the players' scores (green). Nothing at all for an empty history.
void ShowHistory(const Game& game, bool hideHistoryRacks);

// Per player (white): bingos, tiles played, their value (a blank worth
// half the bingo bonus), the efficiency figures when that value is above
// 0, and the average relative value of the player's known full racks when
// there is one.
void ShowStatistics(const Game& game);

}  // namespace pexil
