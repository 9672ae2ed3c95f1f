// Helpers shared by the game-record tests: word lists, seeded self-play
// games with every kind of turn, and texts of a game's history and
// position for comparing two games.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "files/gcg_reader.hpp"
#include "lexicon/lexicon.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/random.hpp"
#include "rules/tile_counts.hpp"
#include "search/strategy.hpp"
#include "state/game.hpp"
#include "test_support.hpp"

namespace pexil::test {

// The movegen fixture list, with nothing marked phony.
inline std::shared_ptr<Lexicon> plainWords() { return fixtureWords(); }

// A part of the same list (every short word, a third of the longer ones,
// so that self-play is quick) validated by a list that lacks every fifth
// longer word, so that the computer plays phonies that a challenge takes
// off.
inline std::shared_ptr<Lexicon> wordsWithPhonies() {
  static TempFolder folder;
  static std::shared_ptr<Lexicon> lexicon = [] {
    std::ifstream in(PEXIL_TEST_DATA "/movegen/words.lst");
    std::string word, all, valid;
    int n = 0;
    while (in >> word) {
      if (word.size() > 3 && n++ % 3 != 0) continue;
      all += word + "\n";
      // Two-letter words stay good, so that the phonies are longer plays.
      if (word.size() <= 2 || n % 5 != 1) valid += word + "\n";
    }
    const std::string list = folder.write("phonies.lst", all);
    const std::string validating = folder.write("valid.lst", valid);
    auto l = std::make_shared<Lexicon>();
    l->loadLeaves = false;
    loadWordListWithTables(*l, list, validating);
    return l;
  }();
  return lexicon;
}

// Whether a game's record can take the last move's challenge in a way the
// flow keeps track of (a challenge of a lost turn undoes it again).
inline bool challengeable(const Game& game) {
  return !game.history.empty() && game.history.back().move.move().word != label::lostChallenge;
}

// Plays a whole two-player game, its choices made from `seed` (the tiles
// come from the program's seeded generators): the computer's moves
// (strategy 2) with phonies allowed, and now and then a pass, an exchange,
// a challenge of the last move (every challenge type), a note or a clock
// reading. Phonies are challenged more often than not, and a phony taken
// off is not played again by the same player.
inline void playSeededGame(Game& game, std::uint32_t seed, const std::shared_ptr<Lexicon>& lexicon) {
  undoStack().clear();
  NewGame(game, 2, lexicon);
  Mt19937 choice;
  choice.seed(seed * 7919u + 13u);
  SetPlayerName(game, 0, seed % 3 == 0 ? std::string() : "Ada Lovelace");
  SetPlayerName(game, 1, seed % 5 == 0 ? std::string("Ada Lovelace") : "B\xE9la");
  game.phonyPlay = true;
  game.minPhonyLength = 3;
  game.strategies[0] = seed % 2 ? 2 : 1;
  game.strategies[1] = seed % 2 ? 1 : 2;
  game.challengeType = static_cast<int>(choice.next() % 4);
  prepareBoard(game);
  for (int turn = 0; turn < 150 && !game.gameOver; ++turn) {
    const unsigned r = choice.next() % 24;
    const Move& last = game.lastMove;
    const bool phonyLast = !game.history.empty() && !isNonPlacement(last) && last.wordClass == kClassPhony;
    if (phonyLast && choice.next() % 4 != 0 && challengeable(game)) {
      const std::string word(last.wordView());
      if (ChallengeLast(game)) {
        std::vector<std::string> barred = game.barredWords;
        barred.push_back(word);
        SetBarredWords(game, barred);
      }
    } else if (r == 0) {
      Pass(game);
    } else if (r == 1 && ExchangeAllowed(game)) {
      // Return a random part of the rack, at least one tile.
      const std::string rack = rackString(game.racks[static_cast<std::size_t>(game.toMove)]);
      std::string keep;
      for (char c : rack) {
        if (choice.next() % 2) keep.push_back(c);
      }
      if (keep.size() == rack.size()) keep.pop_back();
      Exchange(game, keep);
    } else if (r == 2 && challengeable(game)) {
      ChallengeLast(game);
    } else {
      if (r == 3) game.clocks[static_cast<std::size_t>(game.toMove)] = static_cast<int>(choice.next() % 500000);
      PlayStrategyTurn(game);
    }
    if (r == 4 && !game.history.empty()) game.history.back().notes.push_back("note " + std::to_string(turn) + " of the game");
  }
  // A game cut short ends with its racks on record.
}

// One line per history entry with everything the record keeps.
inline std::string historyText(const Game& game) {
  std::ostringstream out;
  auto moveText = [](const Move& m) {
    std::ostringstream t;
    if (m.word == label::pass) {
      t << "pass";
    } else if (m.word == label::incorrectChallenge) {
      t << "incorrect challenge";
    } else if (m.word == label::lostChallenge) {
      t << "lost challenge";
    } else if (isExchange(m)) {
      std::string kept(m.leaveView());
      std::sort(kept.begin(), kept.end());
      t << "exchange keeping " << kept;
    } else {
      t << m.wordView() << " at " << m.column << "," << m.row << (m.direction == kAcross ? " across" : " down")
        << " blanks";
      std::vector<int> blanks;
      for (int b : m.blankPositions) {
        if (b >= 0) blanks.push_back(b);
      }
      std::sort(blanks.begin(), blanks.end());
      for (int b : blanks) t << " " << b;
      t << " scoring " << m.score << " class " << m.wordClass;
    }
    return t.str();
  };
  for (std::size_t i = 0; i < game.history.size(); ++i) {
    const HistoryEntry& e = game.history[i];
    out << i << ": " << rackString(e.rackBefore) << " " << moveText(e.move.move());
    if (e.hasChallengedMove) out << " (withdrawn " << moveText(e.challengedMove.move()) << ")";
    if (e.survivedChallenge) out << " survived a challenge";
    out << " -> " << e.scoresAfter[0] << "/" << e.scoresAfter[1];
    if (e.clock != -10000000) out << " clock " << e.clock;
    for (const std::string& note : e.notes) out << " [" << note << "]";
    out << "\n";
  }
  return out.str();
}

// The position: board, racks, bag, scores, turn, the end.
inline std::string positionText(const Game& game) {
  std::ostringstream out;
  for (const Square& s : game.board.squares) out << (s.empty() ? '.' : s.isBlank ? latin1Upper(s.letter) : s.letter);
  out << "\n";
  for (int p = 0; p < game.playerCount; ++p) {
    out << "player " << p << " " << playerName(game, p) << " rack " << rackString(game.racks[static_cast<std::size_t>(p)])
        << " score " << game.scores[static_cast<std::size_t>(p)] << "\n";
  }
  out << "bag " << countsToText(game.bag, 200).value_or("?") << " to move " << game.toMove
      << (game.gameOver ? " over" : "") << "\n";
  return out.str();
}

// The faults and unused lines of a read, for failure messages.
inline std::string problemsOf(const GcgReadResult& result) {
  std::ostringstream out;
  for (const GcgFaultNote& f : result.faults) out << "line " << f.line << ": " << gcgFaultText(f.fault) << ": " << f.text << "\n";
  for (const GcgLine& l : result.unrecognised) out << "line " << l.number << " unused: " << l.text << "\n";
  return out.str();
}

// Puts exactly `tiles` on the player's rack, the rest back in the bag.
inline void setRack(Game& game, int player, std::string_view tiles) {
  Rack& rack = game.racks[static_cast<std::size_t>(player)];
  returnAll(game.bag, rack);
  ASSERT_EQ(addLetters(rack, tiles, &game.bag), static_cast<int>(tiles.size())) << tiles;
}

// Plays `word` (lower case for blanks) for the player to move, holding
// `rack`; a word missing from the list is played as a phony.
inline void placeWord(Game& game, std::string_view rack, const char* word, int column, int row, int direction) {
  setRack(game, game.toMove, rack);
  Move m;
  const EntryIndex entry = game.lexicon->findEntry(word);
  m.word = entry != kNoEntry ? game.lexicon->text(entry) : game.laidWords.add(word);
  m.wordClass = entry != kNoEntry ? game.lexicon->entry(entry).wordClass : kClassPhony;
  m.column = column;
  m.row = row;
  m.direction = direction;
  PlayMove(game, m);
}

// A word list of a language: every string of two or three of its letters,
// but for pairs no word of the language holds (Spanish spells CH, LL and
// RR only with the double tiles), after the words that tell the language.
inline std::string languageList(const std::string& letters, const std::string& probes,
                                const std::vector<std::string>& banned = {}) {
  auto allowed = [&](char a, char b) { return std::find(banned.begin(), banned.end(), std::string{a, b}) == banned.end(); };
  std::string list = probes;
  for (char a : letters) {
    for (char b : letters) {
      if (!allowed(a, b)) continue;
      list += {a, b, '\n'};
      for (char c : letters) {
        if (allowed(b, c)) list += {a, b, c, '\n'};
      }
    }
  }
  return list;
}

}  // namespace pexil::test
