// The fast lookahead: one record per candidate move with its own copy of
// the game, and a pool of workers that keep picking the candidate whose
// next batch of iterations tells the most: every candidate gets one batch
// first (the initial pass), then the work goes to the candidates whose
// confidence interval still overlaps the leader's. Opponents' racks come
// from the pre-drawn table (biased by the mood); near the end of a
// two-player game the candidates that empty the bag go to the pre-endgame
// evaluation. Per candidate it gathers what the results view and the
// reports show: medians, quartiles, replies, heat maps.
#pragma once

#include <vector>

#include "state/game.hpp"
#include "state/move.hpp"

namespace pexil {

// Simulates the candidates of the game's move list (generated here) for
// `ply` plies on `threads` workers and leaves the list sorted by the
// simulation, the moves' simulation fields and statistics records filled.
// The game's time budget (hundredths, 0 = none) bounds it.
void FastLookahead(Game& game, int ply, int threads);

// The move analysis: the pre-endgame report when the move empties the
// bag, else the move alone simulated on the workers, and its statistics
// printed. The move must be one the player to move can play.
void AnalyzeMove(Game& game, const Move& move, int ply, int threads);

// The candidates the fast lookahead simulates, as indexes into `list`
// (sorted by equity): the first 32 without duplicates, the special moves,
// and near the end of the game the one- and two-tile plays up to 120 and
// 150 candidates.
std::vector<int> FastLookaheadCandidates(const Game& game, const std::vector<Move>& list, int ply);

// How many tiles the placement lays on `board` (the squares of its word
// still empty there), and the square of the last of them; 0 for a move
// that is no placement.
int TilesLaid(const Board& board, const Move& move, int* column = nullptr, int* row = nullptr);

// Whether `later` repeats `earlier` as a candidate: the same word at the
// same square and direction with the same first two blank slots, or a
// one-tile play of the same letter on the same square the other way.
bool DuplicateCandidate(const Game& game, const Move& earlier, const Move& later);

}  // namespace pexil
