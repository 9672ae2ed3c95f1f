#include "files/gcg_writer.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

#include "files/gcg_reader.hpp"
#include "files/gcg_tiles.hpp"
#include "files/simulation_note.hpp"
#include "io/atomic_file.hpp"
#include "lexicon/lexicon.hpp"
#include "movegen/move_line.hpp"
#include "play/game_flow.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/notation.hpp"
#include "rules/tile_counts.hpp"
#include "text/messages.hpp"

namespace pexil {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The spellings of multi-letter tiles a record declares, by alphabet.
std::vector<std::string> tileLines(int alphabet) {
  switch (alphabet) {
    case kAlphabetSpanish: return {"#tile LL ll", "#tile RR rr", "#tile CH ch"};
    case kAlphabetCatalan: return {"#tile NY ny", "#tile QU qu", "#tile L\xB7L l\xB7l"};
    default: return {};
  }
}

std::vector<std::string> withTiles(std::string lexiconLine, int alphabet) {
  std::vector<std::string> lines{std::move(lexiconLine)};
  for (std::string& line : tileLines(alphabet)) lines.push_back(std::move(line));
  return lines;
}

// The "#lexicon" lines (and the spellings of multi-letter tiles) for a
// word list. Lists known by identity name themselves. Any other list is
// named by its own name when reading the record back chooses a list of that
// name and the same alphabet; failing that, a list of another language
// than English names the language's list, so that reading the record back
// chooses the same alphabet and game type.
std::vector<std::string> lexiconLines(const Lexicon* lexicon) {
  if (lexicon == nullptr) return {};
  switch (lexicon->listId()) {
    case 1: return {"#lexicon TWL98"};
    case 2: return {"#lexicon TWL06"};
    case 3: return {"#lexicon OSPD4"};
    case 4: return {"#lexicon SOWPODS"};
    case 5: return {"#lexicon CSW12"};
    case 7: return {"#lexicon OSPD2"};
    case 8: return withTiles("#lexicon FISE", kAlphabetSpanish);
    case 9: return {"#lexicon DANISH"};
    case 10: return {"#lexicon GERMAN"};
    case 11: return {"#lexicon ITALIAN"};
    case 12: return {"#lexicon ODS5"};
    case 13: return {"#lexicon LATIN"};
    case 14: return withTiles("#lexicon CATALAN", kAlphabetCatalan);
    case 15: return {"#lexicon SWEDISH"};
    default: break;
  }
  if (lexicon->wordCount() == 0) return {};
  const int alphabet = lexicon->alphabet();
  const std::string& fileName = lexicon->fileName();
  const std::string base = fileName.substr(fileName.find_last_of('/') + 1);
  const std::string stem = latin1Upper(base.substr(0, base.find('.')));
  if (!stem.empty() && std::none_of(stem.begin(), stem.end(), isSpace)) {
    const GcgListChoice choice = gcgListForLexiconLine("#lexicon " + stem);
    if (latin1Lower(choice.wordList) == latin1Lower(base) && choice.alphabet == alphabet) {
      return withTiles("#lexicon " + stem, alphabet);
    }
  }
  switch (alphabet) {
    case kAlphabetSpanish: return withTiles("#lexicon SPANISH", kAlphabetSpanish);
    case kAlphabetDanish: return {"#lexicon DANISH"};
    case kAlphabetFrench: return {"#lexicon FRENCH"};
    case kAlphabetGerman: return {"#lexicon GERMAN"};
    case kAlphabetItalian: return {"#lexicon ITALIAN"};
    case kAlphabetLatin: return {"#lexicon LATIN"};
    case kAlphabetCatalan: return withTiles("#lexicon CATALAN", kAlphabetCatalan);
    case kAlphabetSwedish: return {"#lexicon SWEDISH"};
    default: return {};
  }
}

// The word of a placement: every tile as its letters, upper case, blanks
// in lower case: the move's own blanks and the blanks already on the board
// that the word takes in (`blankSquares`, by square index).
std::string wordText(const Move& move, const Board& board, const std::vector<bool>& blankSquares) {
  std::string text;
  const std::string_view word = move.wordView();
  const int dx = move.direction == kAcross ? 1 : 0, dy = 1 - dx;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const int index = static_cast<int>(i);
    const int code = codeOfLetter(word[i]);
    std::string tile = code >= 0 && code < kCodeSlots && code != rules().blankCode ? tileDisplayText(code)
                                                                                 : std::string(1, latin1Upper(word[i]));
    const int column = move.column + dx * index, row = move.row + dy * index;
    const bool onBoard = column >= 0 && row >= 0 && column < board.width && row < board.height;
    const bool blankThere = onBoard && blankSquares[static_cast<std::size_t>(column + row * board.width)];
    if (move.isBlankAt(index) || blankThere) tile = latin1Lower(tile);
    text += tile;
  }
  return text;
}

std::string positionText(const Move& move) {
  // The standard form: across "8D", down "D8".
  return movePosition(move.direction, move.column, move.row, false);
}

// "[mm:ss.hh]", from an hour on "[hh:mm:ss.hh]"; the reading is in
// hundredths of a second.
std::string clockText(int hundredths) {
  const char* sign = hundredths < 0 ? "-" : "";
  const long long a = std::llabs(static_cast<long long>(hundredths));
  const int hours = static_cast<int>(a / 360000);
  const int seconds = static_cast<int>((a / 100) % 60);
  const int fraction = static_cast<int>(a % 100);
  if (hours > 0) return FormatText("[%s%02d:%02d:%02d.%02d]", sign, hours, static_cast<int>((a / 6000) % 60), seconds, fraction);
  return FormatText("[%s%02d:%02d.%02d]", sign, static_cast<int>(a / 6000), seconds, fraction);
}

// The rack minus the letters of a text (tiles it does not hold are
// ignored).
Rack without(Rack rack, std::string_view letters) {
  for (char c : letters) {
    const int code = codeOfTile(c);
    if (code < 0 || code >= kCodeSlots || rack[code] <= 0) continue;
    --rack[code];
    --rack[kTotalSlot];
  }
  return rack;
}

// The squares where a move laid a blank.
void markBlanks(const Move& move, const Board& board, std::vector<bool>& blankSquares, bool mark) {
  const int dx = move.direction == kAcross ? 1 : 0, dy = 1 - dx;
  for (int i = 0; i < static_cast<int>(move.wordView().size()); ++i) {
    if (!move.isBlankAt(i)) continue;
    const int column = move.column + dx * i, row = move.row + dy * i;
    if (column < 0 || row < 0 || column >= board.width || row >= board.height) continue;
    blankSquares[static_cast<std::size_t>(column + row * board.width)] = mark;
  }
}

class Writer {
 public:
  explicit Writer(const Game& game) : game_(game), history_(game.history) {
    nick_[0] = gcgNickname(game, 0);
    nick_[1] = gcgNickname(game, 1);
    // Two players of the same name would make every move line player 1's.
    if (nick_[1] == nick_[0]) nick_[1] += "_2";
    // The blanks on the board before the first move: those of the board at
    // the end that no move of the history laid.
    const Board& board = game.board;
    blankSquares_.assign(board.squares.size(), false);
    for (std::size_t i = 0; i < board.squares.size(); ++i) {
      blankSquares_[i] = !board.squares[i].empty() && board.squares[i].isBlank;
    }
    for (const HistoryEntry& entry : history_) {
      const Move& move = entry.move.move();
      if (!isNonPlacement(move)) markBlanks(move, board, blankSquares_, false);
    }
    // What the end of the game added: as kept with the game, or, for a game
    // that kept nothing, as its rule gives.
    if (game.gameOver) {
      const int after = static_cast<int>(history_.size());
      for (const ScoreChange& change : game.scoreChanges) {
        if (change.afterEntry == after && (change.kind == ScoreChangeKind::endRackGain || change.kind == ScoreChangeKind::endRackLoss)) {
          endChanges_.push_back(change);
        }
      }
      if (endChanges_.empty() && !history_.empty()) endChanges_ = EndOfGameChanges(game, owner(after - 1));
    }
  }

  std::string text() {
    for (int p = 0; p < 2; ++p) {
      std::string name = playerName(game_, p);
      for (char& c : name) {
        if (c == '\n' || c == '\r') c = ' ';
      }
      line(FormatText("#player%d ", p + 1) + nick_[static_cast<std::size_t>(p)] + " " + name);
    }
    line(std::string("#description Saved by Pexil version ") + kGcgProgramVersion);
    for (const std::string& l : lexiconLines(game_.lexicon.get())) line(l);

    std::string deferred;  // a challenge line held back until after a pass
    const int count = static_cast<int>(history_.size());
    for (int i = 0; i < count; ++i) {
      group(i);
      if (!deferred.empty()) {
        line(deferred);
        deferred.clear();
      }
      // After the last move of a finished game the racks left come first,
      // then what was scored after the end.
      if (i + 1 == count && game_.gameOver) endOfRecord();
      boundary(i, deferred);
    }
    if (!deferred.empty()) line(deferred);
    if (count == 0 || !game_.gameOver) endOfRecord();
    return out_;
  }

 private:
  static int owner(int index) { return index % 2; }
  const Move& moveOf(int index) const { return history_[static_cast<std::size_t>(index)].move.move(); }
  std::string rackOf(int index) const { return gcgTilesText(history_[static_cast<std::size_t>(index)].rackBefore); }
  int after(int index, int player) const {
    return history_[static_cast<std::size_t>(index)].scoresAfter[static_cast<std::size_t>(player)];
  }

  void line(const std::string& text) {
    out_ += text;
    out_ += '\n';
  }

  std::string head(int player, const std::string& rack) const {
    return ">" + nick_[static_cast<std::size_t>(player)] + ": " + rack + " ";
  }

  void placementLine(int player, const std::string& rack, const Move& move, int total) {
    line(head(player, rack) + positionText(move) + " " + wordText(move, game_.board, blankSquares_) +
         FormatText(" +%d %d", move.score, total));
  }

  void group(int index) {
    const HistoryEntry& entry = history_[static_cast<std::size_t>(index)];
    const Move& move = entry.move.move();
    const int p = owner(index);
    int& total = total_[static_cast<std::size_t>(p)];
    const std::string rack = rackOf(index);
    if (move.word == label::lostChallenge) {
      const Move& withdrawn = entry.challengedMove.move();
      if (entry.hasChallengedMove && !isNonPlacement(withdrawn)) {
        placementLine(p, rack, withdrawn, total + withdrawn.score);
        line(head(p, rack) + FormatText("-- %+d %d", -withdrawn.score, total));
      } else {
        line(head(p, rack) + FormatText("-- +0 %d", total));
      }
    } else if (isExchange(move)) {
      line(head(p, rack) + "-" + gcgTilesText(without(entry.rackBefore, move.leaveView())) + FormatText(" +0 %d", total));
    } else if (isNonPlacement(move)) {
      // A pass, or the turn a failed challenge cost.
      line(head(p, rack) + FormatText("- +0 %d", total));
    } else {
      total += move.score;
      placementLine(p, rack, move, total);
      // Later words that take in this move's blanks show them in lower case.
      markBlanks(move, game_.board, blankSquares_, true);
    }
    notes(entry);
  }

  void notes(const HistoryEntry& entry) {
    const Move& move = entry.move.move();
    const std::string simulated = SimulationNoteText(move);
    if (!simulated.empty()) line("#note " + simulated);
    if (entry.clock != -10000000 && entry.clock != kNoClock) line("#note " + std::string(Message(msg::ClockRemaining)) + clockText(entry.clock));
    for (const std::string& note : entry.notes) {
      // Each line of a note is a note line of its own, so that no line of
      // the text can be taken for a move or a pragma.
      std::size_t start = 0;
      for (;;) {
        const std::size_t end = note.find_first_of("\r\n", start);
        line("#note " + note.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
        if (note[end] == '\r' && start < note.size() && note[start] == '\n') ++start;
      }
    }
  }

  // What a history entry itself added to a player's score (its placement,
  // and the end of the game when it ended it).
  int contribution(int index, int player) const {
    int points = 0;
    const Move& move = moveOf(index);
    if (owner(index) == player && !isNonPlacement(move)) points += move.score;
    if (index + 1 == static_cast<int>(history_.size())) {
      for (const ScoreChange& change : endChanges_) points += change.player == player ? change.points : 0;
    }
    return points;
  }

  // Points scored between history entry `index` and the next (or the end):
  // a challenge bonus, a time penalty. The challenge line of a move that
  // was followed by a pass is held back until after the pass, so that the
  // pass is not read as a turn lost to the challenge.
  void boundary(int index, std::string& deferred) {
    const int count = static_cast<int>(history_.size());
    const bool last = index + 1 == count;
    std::array<int, 2> gained{};
    for (int p = 0; p < 2; ++p) {
      const int before = after(index, p);
      const int next = last ? game_.scores[static_cast<std::size_t>(p)] : after(index + 1, p) - contribution(index + 1, p);
      gained[static_cast<std::size_t>(p)] = next - before;
    }
    const int challenged = owner(index);
    const bool lostTurn = !last && moveOf(index + 1).word == label::incorrectChallenge;
    const bool challengeLine = history_[static_cast<std::size_t>(index)].survivedChallenge || lostTurn;
    for (int p = 0; p < 2; ++p) {
      const int points = gained[static_cast<std::size_t>(p)];
      if (points == 0 || (challengeLine && p == challenged)) continue;
      total_[static_cast<std::size_t>(p)] += points;
      const std::string rack = p == challenged ? rackOf(index) : index > 0 ? rackOf(index - 1) : std::string();
      line(head(p, rack) + FormatText("(time) %+d %d", points, total_[static_cast<std::size_t>(p)]));
    }
    if (!challengeLine) return;
    const int bonus = gained[static_cast<std::size_t>(challenged)];
    int& total = total_[static_cast<std::size_t>(challenged)];
    total += bonus;
    const std::string text = head(challenged, rackOf(index)) + FormatText("(challenge) %+d %d", bonus, total);
    const bool passFollows = !last && isPass(moveOf(index + 1));
    if (passFollows && !lostTurn) {
      deferred = text;
    } else {
      line(text);
    }
  }

  void endOfRecord() {
    if (!game_.gameOver) {
      line("#rack1 " + gcgTilesText(game_.racks[0]));
      line("#rack2 " + gcgTilesText(game_.racks[1]));
      return;
    }
    // One line per rack counted: the player's own rack when the points are
    // lost, another's when they are gained.
    for (const ScoreChange& change : endChanges_) {
      if (change.player < 0 || change.player > 1) continue;
      int& total = total_[static_cast<std::size_t>(change.player)];
      total += change.points;
      line(">" + nick_[static_cast<std::size_t>(change.player)] + ": (" + gcgTilesText(change.tiles) +
           FormatText(") %+d %d", change.points, total));
    }
    // A rack left that no line counted (the end as another program scored
    // it) is kept all the same.
    for (int p = 0; p < 2; ++p) {
      const Rack& rack = game_.racks[static_cast<std::size_t>(p)];
      const bool counted = std::any_of(endChanges_.begin(), endChanges_.end(), [p](const ScoreChange& c) { return c.rackOf == p; });
      if (rack.total() > 0 && !counted) line(FormatText("#rack%d ", p + 1) + gcgTilesText(rack));
    }
  }

  const Game& game_;
  const std::vector<HistoryEntry>& history_;
  std::array<std::string, 2> nick_;
  std::array<int, 2> total_{};
  std::vector<bool> blankSquares_;  // by square index: a blank lies there before the move being written
  std::vector<ScoreChange> endChanges_;
  std::string out_;
};

}  // namespace

std::string gcgNickname(const Game& game, int player) {
  std::string name = playerName(game, player);
  for (char& c : name) {
    if (isSpace(c) || c == ':') c = '_';
  }
  return name;
}

std::string GcgText(const Game& game) {
  std::string text = Writer(game).text();
  // Latin-1 text that happens to be UTF-8 as well says what it is, or it
  // would be read back as UTF-8.
  if (gcgReadsAsUtf8(text)) text.insert(0, "#character-encoding ISO-8859-1\n");
  return text;
}

bool WriteGcg(const Game& game, const std::string& path) {
  return writeFileAtomically(path, GcgText(game));
}

}  // namespace pexil
