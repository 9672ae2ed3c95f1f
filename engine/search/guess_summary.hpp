// What a rack guess says about each letter: the share of listed racks that
// hold the letter against the chance that a random rack of the same size
// from the unseen tiles holds it.
#pragma once

#include <string>
#include <vector>

#include "state/game.hpp"

namespace pexil {

struct LetterLikelihood {
  int code = 0;
  double chance = 0;    // c: a random rack from the unseen tiles holds one or more
  double guessed = 0;   // g: the share of listed racks holding one or more
  double relative = 0;  // r = g / c x 100 - 100
};

struct GuessSummary {
  // Every letter the unseen tiles hold, in code order.
  std::vector<LetterLikelihood> letters;
  // The letters (as tiles are shown) of each line, in code order, and all
  // of them by r, highest first.
  std::string significantlyMore;  // r >= 25
  std::string more;               // g > c
  std::string less;               // g < c
  std::string muchLess;           // r <= -75
  std::string ranked;
};

// The summary of the game's known-rack list against the unseen tiles of the
// player to move; the random racks are as large as the listed racks are on
// average. Empty when the list is.
GuessSummary SummarizeGuess(const Game& game);

// Prints the summary lines (unless the game is quiet or the list empty):
// "Significantly more likely than chance: ", "More likely than chance: ",
// "Less likely than chance: ", "Much less likely than chance: " (each only
// when it has letters), then "Most likely to least likely:" and the letters.
void PrintGuessSummary(const Game& game);

}  // namespace pexil
