// The strategy catalogue and the computer player's turn. Strategies name
// how the computer chooses a move for a player; the static ones rank the
// generated moves, the others (lookahead, endgame, clock) come with the
// search engines.
#pragma once

#include <map>
#include <ostream>
#include <string>

#include "state/game.hpp"

namespace pexil {

inline constexpr int kStrategyCount = 55;

// The description of a strategy (0..54), or null.
const char* strategyDescription(int strategy);
// Whether the strategy can run now (the static ones), rather than falling
// back to the static best move with "Unknown strategy???".
bool strategyAvailable(int strategy);

// Runs the strategy of the player to move, plays the chosen move with the
// game's normal recording and prints its move line. Returns the move
// played. Nothing happens when the game is over.
Move PlayStrategyTurn(Game& game);

// The computer's move at a set simulation depth: the threaded lookahead
// with `ply` plies on the game's threads, played and printed as above.
Move PlayLookaheadTurn(Game& game, int ply);

// Plays a whole game from its start: "Autoplaying game...", every
// player's strategy in turn until the game is over, "Game played.".
void Autoplay(Game& game);

// The autoplay log: per move, the player, the rack, the move and the time
// taken. Null switches it off.
void setAutoplayLog(std::ostream* log);

// The word-usage statistics: every placement the strategies play counts
// its word here (the caller's map) while it is set. Null switches it off.
void setWordUsage(std::map<std::string, int>* usage);

}  // namespace pexil
