// The open-ended search for the highest-scoring move with any rack drawn
// from the unseen tiles.
#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "movegen/move_text.hpp"
#include "rules/game_rules.hpp"
#include "state/abort_flag.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {

void SearchHighestScore(Game& game) {
  if (game.playerCount <= 0) {
    PrintMessage(msg::GenNeedGame);
    return;
  }
  std::string intro;
  for (int m = msg::GenHighestIntro1; m <= msg::GenHighestIntro5; ++m) intro += Message(m);
  textPane().Print(intro);

  const GameRules& r = rules();
  const int mover = game.toMove;
  Rack& rack = game.racks[static_cast<std::size_t>(mover)];
  const Well savedBag = game.bag;
  const Rack savedRack = rack;
  // The bag holds every unseen tile while the search runs.
  for (int p = 0; p < game.playerCount; ++p) {
    if (p == mover) continue;
    const Rack& other = game.racks[static_cast<std::size_t>(p)];
    for (int slot = 0; slot <= kTotalSlot; ++slot) game.bag.counts[static_cast<std::size_t>(slot)] += other.counts[static_cast<std::size_t>(slot)];
  }

  int best = -1, counter = 0;
  while (!abortRequested()) {
    returnAll(game.bag, rack);
    drawTiles(rack, game.bag, r.rackSize, &game.random);
    // A quarter of the time, swap a tile for a blank (when the rack holds
    // a letter to swap).
    const bool hasLetter = rack.total() > rack[r.blankCode];
    if (game.random.next() % 4 == 0 && game.bag[r.blankCode] > 0 && hasLetter) {
      for (;;) {
        const int letter = game.random.next() % r.letterCount;
        if (rack[letter] <= 0) continue;
        --rack[letter];
        ++game.bag[letter];
        --game.bag[r.blankCode];
        ++rack[r.blankCode];
        break;
      }
    }
    ++counter;
    for (;;) {
      GenerateMoves(game, true);
      const Move found = game.bestMove;
      if (found.score <= best) break;
      best = found.score;
      textPane().PrintAndRefresh(FormatMessage(msg::GenHighestFound, counter, rackString(rack).c_str()) +
                                 briefMoveText(found));
      // Try again with the letter a blank stood for, when the bag has it.
      int swapped = -1;
      for (int index : found.blankPositions) {
        if (index < 0) continue;
        const int letter = codeOfLetter(found.word[index]);
        if (letter >= 0 && letter < kCodeSlots && game.bag[letter] > 0 && rack[r.blankCode] > 0) {
          swapped = letter;
          break;
        }
      }
      if (swapped < 0) break;
      --rack[r.blankCode];
      ++game.bag[r.blankCode];
      --game.bag[swapped];
      ++rack[swapped];
      ++counter;
    }
  }
  rack = savedRack;
  game.bag = savedBag;
  PrintMessage(msg::GenStopped);
}

}  // namespace pexil
