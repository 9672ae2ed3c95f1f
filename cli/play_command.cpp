// pexil-cli play: a game of the user against the computer in the terminal.
//
// The user types commands on standard input, one per line (a pipe works as
// well as a terminal); everything the program says goes through the text
// pane to standard output.
//
// Moves are typed as a position and a word: "8D WORD" plays across from
// row 8, column D; "D8 WORD" plays down from column D, row 8 (with lettered
// rows, and in German, the positions are typed as the move lines show
// them). The word is the whole word formed along the line, the letters
// already on the board included (they must match). Lower case letters are
// blanks; multi-letter tiles are typed as in word queries ("ch" or "(CH)").
// Before anything is played the move is checked: it fits the board, covers
// the start square or touches a tile, lays at least one tile, takes tiles
// the rack holds, and every word it forms is in the word list. A word that
// is not in the list is refused with its name, unless the word is followed
// by "!": the move is then played as a phony, which can be challenged.
// Pexil knows its word list and challenges every phony it sees (unless
// challenges are off); the user may challenge Pexil's last move with
// "challenge". Where blanks go is decided when the move is scored: a letter
// the rack holds is not played as a blank, and among equal letters the
// blank goes where it scores most.
//
// Seats: --first me (the default) puts the computer second, --first pexil
// puts it first. For a single game "alternate" means the opposite of the
// default (Pexil first); "random" draws the seat from one random bit of the
// program's generator, so --seed makes it repeatable.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "board_text_file.hpp"
#include "commands.hpp"
#include "terminal_sink.hpp"
#include "game/game.hpp"
#include "game/game_flow.hpp"
#include "game/listings.hpp"
#include "game_choice.hpp"
#include "game_files.hpp"
#include "rate_draws.hpp"
#include "lexicon/lexicon.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "movegen/move_line.hpp"
#include "movegen/rack_tables.hpp"
#include "rules/board_text.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/notation.hpp"
#include "rules/random.hpp"
#include "rules/tile_counts.hpp"
#include "search/strategy.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"
#include "text/utf8.hpp"

namespace pexil::cli {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDefaultStrategy = 2;
constexpr int kMaxPly = 40;

struct PlaySettings {
  int computerSeat = 1;
  std::string userName;
  int strategy = kDefaultStrategy;
  int challengeType = 2;
  int clock = kNoClock;  // hundredths of a second on Pexil's clock, or none
  bool sameTime = false;
  bool plyGiven = false;
};

// ---- typed text ----

// The typed text as Latin-1: decoded as UTF-8 when it is valid UTF-8 (a
// character beyond Latin-1 becomes '\x01', which no game has as a tile),
// otherwise taken byte by byte.
std::string typedToLatin1(std::string_view bytes) {
  return utf8ToLatin1(bytes, '\x01').value_or(std::string(bytes));
}

std::string asciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::vector<std::string> splitWords(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// ---- tiles as the user reads them ----

// A tile: the multi-letter ones in parentheses, as they are typed.
std::string tileText(int code) {
  const std::string text = tileDisplayText(code);
  return text.size() > 1 ? "(" + text + ")" : text;
}

std::string rackText(const Rack& rack) {
  std::string text;
  for (int code = 0; code < rules().codeCount && code < kCodeSlots; ++code) {
    for (int n = 0; n < rack[code]; ++n) text += tileText(code);
  }
  return text;
}

// One letter of a word: the board's one-character form and whether it is
// a blank.
struct Cell {
  char letter = ' ';
  bool blank = false;
};

// A word as it reads: tiles upper case, blanks lower case, multi-letter
// tiles written out.
std::string cellsText(const std::vector<Cell>& cells) {
  std::string text;
  for (const Cell& cell : cells) {
    const int code = codeOfLetter(cell.letter);
    std::string piece = code >= 0 && code < rules().letterCount ? tileDisplayText(code) : std::string(1, cell.letter);
    text += cell.blank ? latin1Lower(piece) : latin1Upper(piece);
  }
  return text;
}


// Reads a typed word (Latin-1) into cells: multi-letter tiles written out
// ("ch") or in parentheses ("(CH)"), lower case for blanks. Reports and
// gives none when a character is no tile of the game.
std::optional<std::vector<Cell>> readTypedWord(const std::string& text) {
  std::vector<Cell> cells;
  auto bad = [&](const std::string& what) {
    PrintMessageF(msg::PlayBadLetter, text.c_str(), what.c_str());
    return std::nullopt;
  };
  for (std::size_t i = 0; i < text.size();) {
    std::string unit;
    std::string source;
    if (text[i] == '(') {
      const std::size_t close = text.find(')', i);
      if (close == std::string::npos) return bad("'('");
      source = text.substr(i + 1, close - i - 1);
      unit = convertMultiLetter(source);
      if (unit.size() != 1) return bad("\"(" + source + ")\"");
      i = close + 1;
    } else {
      // The longest multi-letter tile that starts here, else one letter.
      for (std::size_t length : {std::size_t{3}, std::size_t{2}, std::size_t{1}}) {
        if (i + length > text.size()) continue;
        const std::string piece = text.substr(i, length);
        const std::string converted = convertMultiLetter(piece);
        if (converted.size() == 1 && (length == 1 || converted != piece)) {
          source = piece;
          unit = converted;
          break;
        }
      }
      if (source.empty()) {
        source = text.substr(i, 1);
        unit = source;
      }
      i += source.size();
    }
    const int code = letterCodeOf(unit[0]);
    if (code < 0) {
      const auto c = static_cast<unsigned char>(source.empty() ? unit[0] : source[0]);
      return bad(c >= 0x21 && c != 0x7F ? "'" + source + "'" : FormatText("U+%04X", static_cast<unsigned>(c)));
    }
    cells.push_back({boardLetter(code), isLowerCaseLetter(source[0])});
  }
  return cells;
}

// ---- positions ----

struct Position {
  int column = 0;
  int row = 0;
  int direction = kAcross;
};

// A position as the move lines show it ("8D", "D8"; lettered rows and
// German as their move lines write them), else in the plain form; the
// exact letter case first.
std::optional<Position> readPosition(const Board& board, const std::string& typed) {
  const std::string lowered = asciiLower(typed);
  for (const bool regional : {true, false}) {
    for (const bool exactCase : {true, false}) {
      for (int direction : {kAcross, kDown}) {
        for (int row = 0; row < board.height; ++row) {
          for (int column = 0; column < board.width; ++column) {
            const std::string name = movePosition(direction, column, row, regional);
            if (exactCase ? name == typed : asciiLower(name) == lowered) return Position{column, row, direction};
          }
        }
      }
    }
  }
  return std::nullopt;
}

// ---- checking a typed move ----

bool validWord(const Lexicon& lexicon, const std::string& letters) {
  if (anagramRule()) return lexicon.hasAnagram(letters);
  const EntryIndex entry = lexicon.findEntry(letters);
  return entry != kNoEntry && lexicon.entry(entry).wordClass != kClassPhony;
}

std::string lettersOf(const std::vector<Cell>& cells) {
  std::string text;
  for (const Cell& cell : cells) text.push_back(latin1Lower(cell.letter));
  return text;
}

// Checks a typed placement for the player to move and builds its Move, or
// reports what is wrong and gives none. The game is not changed, except
// that the text of a word missing from the list is kept with the game.
std::optional<Move> typedPlacement(Game& game, const Position& at, const std::string& typedWord) {
  std::string wordPart = typedWord;
  const bool force = !wordPart.empty() && wordPart.back() == '!';
  if (force) wordPart.pop_back();
  const auto cells = readTypedWord(wordPart);
  if (!cells) return std::nullopt;
  const Board& board = game.board;
  const int length = static_cast<int>(cells->size());
  const std::string shown = cellsText(*cells);
  const std::string position = movePosition(at.direction, at.column, at.row, true);
  if (length < kMinWordLength) {
    PrintMessage(msg::PlayWordTooShort);
    return std::nullopt;
  }
  const int dc = at.direction == kAcross ? 1 : 0, dr = 1 - dc;
  auto square = [&](int k) { return squareAt(board, at.column + dc * k, at.row + dr * k); };

  // On the board, matching the tiles there, laying at least one.
  int newTiles = 0;
  for (int k = 0; k < length; ++k) {
    const Square* s = square(k);
    if (s == nullptr || !s->usable) {
      PrintMessageF(msg::PlayOffBoard, shown.c_str(), position.c_str());
      return std::nullopt;
    }
    if (s->empty()) {
      ++newTiles;
    } else if (codeOfLetter(s->letter) != codeOfLetter((*cells)[static_cast<std::size_t>(k)].letter)) {
      const std::string onBoard = cellsText({Cell{s->letter, s->isBlank != 0}});
      const std::string typedLetter = cellsText({(*cells)[static_cast<std::size_t>(k)]});
      PrintMessageF(msg::PlayMismatch, shown.c_str(),
                    squareName(at.column + dc * k, at.row + dr * k).c_str(), onBoard.c_str(), typedLetter.c_str());
      return std::nullopt;
    }
  }
  if (newTiles == 0) {
    PrintMessageF(msg::PlayNoNewTile, shown.c_str(), position.c_str());
    return std::nullopt;
  }

  // The whole word: no tile may stand right before or after it.
  auto occupied = [&](int column, int row) {
    const Square* s = squareAt(board, column, row);
    return s != nullptr && !s->empty();
  };
  if (occupied(at.column - dc, at.row - dr) || occupied(at.column + dc * length, at.row + dr * length)) {
    int first = 0, last = length - 1;
    while (occupied(at.column + dc * (first - 1), at.row + dr * (first - 1))) --first;
    while (occupied(at.column + dc * (last + 1), at.row + dr * (last + 1))) ++last;
    std::vector<Cell> whole;
    for (int k = first; k <= last; ++k) {
      const Square* s = square(k);
      whole.push_back(k >= 0 && k < length && s->empty() ? (*cells)[static_cast<std::size_t>(k)]
                                                         : Cell{s->letter, s->isBlank != 0});
    }
    PrintMessageF(msg::PlayWordContinues, cellsText(whole).c_str());
    return std::nullopt;
  }

  // Connected: the first move covers the start square, later ones touch a
  // tile.
  bool boardEmpty = true;
  for (const Square& s : board.squares) boardEmpty = boardEmpty && s.empty();
  const GameRules& r = rules();
  if (boardEmpty) {
    bool coversStart = false;
    for (int k = 0; k < length; ++k) {
      coversStart = coversStart || (at.column + dc * k == r.startColumn && at.row + dr * k == r.startRow);
    }
    if (!coversStart) {
      PrintMessageF(msg::PlayStartSquare, squareName(r.startColumn, r.startRow).c_str());
      return std::nullopt;
    }
  } else {
    bool touches = false;
    for (int k = 0; k < length && !touches; ++k) {
      const int column = at.column + dc * k, row = at.row + dr * k;
      touches = occupied(column, row) || occupied(column + dr, row + dc) || occupied(column - dr, row - dc);
    }
    if (!touches) {
      PrintMessageF(msg::PlayNotConnected, shown.c_str(), position.c_str());
      return std::nullopt;
    }
  }

  // The tiles: letters typed in upper case from the rack's tiles (or a
  // spare blank), lower case ones from its blanks.
  const Rack& rack = game.racks[static_cast<std::size_t>(game.toMove)];
  LetterCounts needed;
  int blanksNeeded = 0;
  for (int k = 0; k < length; ++k) {
    if (!square(k)->empty()) continue;
    const Cell& cell = (*cells)[static_cast<std::size_t>(k)];
    if (cell.blank) {
      ++blanksNeeded;
    } else {
      ++needed[codeOfLetter(cell.letter)];
    }
  }
  for (int code = 0; code < r.letterCount && code < kCodeSlots; ++code) {
    if (needed[code] > rack[code]) blanksNeeded += needed[code] - rack[code];
  }
  if (blanksNeeded > rack[r.blankCode]) {
    PrintMessageF(msg::PlayMissingTiles, shown.c_str(), rackText(rack).c_str());
    return std::nullopt;
  }

  // The words formed: the main word and one cross word per new tile that
  // has a neighbour across the line.
  const Lexicon& lexicon = *game.lexicon;
  std::vector<std::string> invalid;
  std::vector<Cell> main;
  for (int k = 0; k < length; ++k) {
    const Square* s = square(k);
    main.push_back(s->empty() ? (*cells)[static_cast<std::size_t>(k)] : Cell{s->letter, s->isBlank != 0});
  }
  const std::string mainLetters = lettersOf(main);
  const bool mainValid = validWord(lexicon, mainLetters);
  if (!mainValid) invalid.push_back(cellsText(main));
  bool crossInvalid = false;
  for (int k = 0; k < length; ++k) {
    if (!square(k)->empty()) continue;
    const int column = at.column + dc * k, row = at.row + dr * k;
    // Across the line: down for an across move, and the other way.
    int before = 0, after = 0;
    while (occupied(column - dr * (before + 1), row - dc * (before + 1))) ++before;
    while (occupied(column + dr * (after + 1), row + dc * (after + 1))) ++after;
    if (before == 0 && after == 0) continue;
    std::vector<Cell> cross;
    for (int j = -before; j <= after; ++j) {
      const Square* s = squareAt(board, column + dr * j, row + dc * j);
      cross.push_back(j == 0 ? (*cells)[static_cast<std::size_t>(k)] : Cell{s->letter, s->isBlank != 0});
    }
    if (!validWord(lexicon, lettersOf(cross))) {
      crossInvalid = true;
      invalid.push_back(cellsText(cross));
    }
  }
  if (!invalid.empty() && !force) {
    std::string list;
    for (const std::string& w : invalid) list += (list.empty() ? "" : ", ") + w;
    PrintMessageF(msg::PlayNotWords, list.c_str());
    return std::nullopt;
  }

  Move move;
  move.column = at.column;
  move.row = at.row;
  move.direction = at.direction;
  const EntryIndex entry = anagramRule() ? kNoEntry : lexicon.findEntry(mainLetters);
  if (entry != kNoEntry && lexicon.textView(entry) == mainLetters) {
    move.word = lexicon.text(entry);
    move.wordClass = lexicon.entry(entry).wordClass;
  } else {
    move.word = game.laidWords.add(mainLetters);
    move.wordClass = mainValid ? kClassNormal : kClassPhony;
  }
  move.phonyCross = crossInvalid ? 1 : 0;
  return move;
}

// ---- the session ----

int elapsedHundredths(Clock::time_point since) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count() / 10);
}

// Prints a message without the line end some messages carry.
void printTrimmed(const std::string& text) {
  std::string line = text;
  while (!line.empty() && (line.back() == '\n' || line.back() == ' ')) line.pop_back();
  textPane().Print(line);
}

class PlaySession {
 public:
  PlaySession(Game& game, const PlaySettings& settings)
      : game_(game), settings_(settings), computer_(settings.computerSeat), user_(1 - settings.computerSeat) {}

  int run();

 private:
  bool readLine(std::string& line);
  bool confirm(int question);
  bool confirmRedo();

  void settle();
  void challengeUserPhony();
  void computerTurn();
  void setHideLeaves();
  void showPosition();
  void showFinal();
  void showPlayed(int player);
  void chargeUser();

  void handleMove(const Position& at, const std::string& word);
  void handlePass();
  void handleExchange(const std::vector<std::string>& words);
  void handleChallenge();
  void handleUndo();
  void handleRedo();
  void handleHint();
  void handleMoves(const std::vector<std::string>& words);
  void handleFileCommand(const std::string& command, const std::vector<std::string>& words);
  void help();

  bool lastMoveBy(int player) const {
    return game_.moveJustPlayed && !game_.history.empty() &&
           static_cast<int>((game_.history.size() - 1) % static_cast<std::size_t>(game_.playerCount)) == player;
  }
  std::string name(int player) const { return playerName(game_, player); }

  Game& game_;
  PlaySettings settings_;
  int computer_;
  int user_;
  GameFileNames files_;
  bool endShown_ = false;
  bool endOfInput_ = false;
  Clock::time_point promptTime_ = Clock::now();
};

bool PlaySession::readLine(std::string& line) {
  if (endOfInput_ || !std::getline(std::cin, line)) {
    endOfInput_ = true;
    return false;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  // The pane and the engine read Latin-1.
  line = typedToLatin1(line);
  return true;
}

bool PlaySession::confirm(int question) {
  textPane().Print(std::string(Message(question)) + " " + Message(msg::PlayYesNo));
  std::string answer;
  if (!readLine(answer)) return false;
  const auto words = splitWords(answer);
  return !words.empty() && (asciiLower(words[0]) == "y" || asciiLower(words[0]) == "yes");
}

// Before a move while taken-back moves wait on the redo stack.
bool PlaySession::confirmRedo() {
  if (!undoStack().hasRedo()) return true;
  if (confirm(msg::PlayRedoQuestion)) return true;
  PrintMessage(msg::PlayMoveNotMade);
  return false;
}

// Leaves and exchanged tiles stay hidden while the game goes on.
void PlaySession::setHideLeaves() { game_.hideLeaves = !game_.gameOver; }

// The time the user took since the prompt, on the user's clock when it is
// set.
void PlaySession::chargeUser() {
  int& clock = game_.clocks[static_cast<std::size_t>(user_)];
  if (clock >= 0) clock = std::max(0, clock - elapsedHundredths(promptTime_));
}

void PlaySession::showPlayed(int player) {
  printTrimmed(FormatMessage(msg::PlayPlayed, name(player).c_str()));
  MoveLineOptions options;
  options.before = &game_.previousBoard;
  PrintMoveLine(game_, player, game_.lastMove, std::string(), false, options);
}

// Pexil knows its word list: a phony of the user's is challenged at once,
// even one that went out.
void PlaySession::challengeUserPhony() {
  const Move& last = game_.lastMove;
  if (game_.challengeType != 4 && lastMoveBy(user_) && !isNonPlacement(last) &&
      (last.wordClass == kClassPhony || last.phonyCross)) {
    PrintMessageF(msg::PlayChallenging, name(computer_).c_str());
    ChallengeLast(game_);
  }
}

void PlaySession::computerTurn() {
  game_.hideLeaves = true;
  printTrimmed(FormatMessage(msg::PlayPlayed, name(computer_).c_str()));
  const auto start = Clock::now();
  PlayStrategyTurn(game_);
  int& clock = game_.clocks[static_cast<std::size_t>(computer_)];
  if (clock >= 0) clock = std::max(0, clock - elapsedHundredths(start));
}

// Lets the computer move while it is its turn, then shows the position
// (and the end of the game once).
void PlaySession::settle() {
  challengeUserPhony();
  for (int guard = 0; guard < 16 && !game_.gameOver && game_.toMove == computer_; ++guard) computerTurn();
  setHideLeaves();
  showPosition();
  // A game that was over goes on after a challenge or an undo.
  if (!game_.gameOver) endShown_ = false;
  if (game_.gameOver && !endShown_) {
    showFinal();
    endShown_ = true;
  }
}

void PlaySession::showPosition() { printGamePosition(game_); }

void PlaySession::showFinal() {
  PrintMessage(msg::PlayFinalScores);
  for (int p = 0; p < game_.playerCount; ++p) {
    textPane().Print(
        FormatMessage(msg::PlayScoreLine, p + 1, name(p).c_str(), game_.scores[static_cast<std::size_t>(p)], ""));
  }
  const int mine = game_.scores[static_cast<std::size_t>(user_)];
  const int pexil = game_.scores[static_cast<std::size_t>(computer_)];
  if (mine == pexil) {
    PrintMessageF(msg::PlayTie, mine, pexil);
  } else {
    const int winner = mine > pexil ? user_ : computer_;
    PrintMessageF(msg::PlayWinner, name(winner).c_str(), std::max(mine, pexil), std::min(mine, pexil));
  }
  ShowStatistics(game_);
}

void PlaySession::help() {
  for (int n = 0; n < 7; ++n) textPane().Print(Message(msg::PlayHelp1 + n));
  textPane().Print(Message(msg::PlayHelpFiles));
}

void PlaySession::handleMove(const Position& at, const std::string& word) {
  if (game_.gameOver) {
    PrintMessage(msg::PlayGameOver);
    return;
  }
  const auto move = typedPlacement(game_, at, word);
  if (!move || !confirmRedo()) return;
  chargeUser();
  // The list of a previous generation is no longer this position's.
  game_.moves.clear();
  PlayMove(game_, *move);
  showPlayed(user_);
  settle();
}

void PlaySession::handlePass() {
  if (game_.gameOver) {
    PrintMessage(msg::PlayGameOver);
    return;
  }
  if (!confirmRedo()) return;
  chargeUser();
  game_.moves.clear();
  Pass(game_);
  showPlayed(user_);
  settle();
}

void PlaySession::handleExchange(const std::vector<std::string>& words) {
  if (game_.gameOver) {
    PrintMessage(msg::PlayGameOver);
    return;
  }
  const Rack& rack = game_.racks[static_cast<std::size_t>(user_)];
  std::string keep;
  if (words.size() > 1) {
    std::string typed;
    for (std::size_t i = 1; i < words.size(); ++i) typed += words[i];
    const auto tiles = parseRackText(typed);
    if (!tiles) return;
    LetterCounts wanted;
    for (char c : *tiles) {
      const int code = codeOfTile(c);
      if (code >= 0 && code < kCodeSlots) ++wanted[code];
    }
    for (int code = 0; code < kCodeSlots; ++code) {
      if (wanted[code] > rack[code]) {
        PrintMessageF(msg::PlayKeepMissing, typed.c_str(), rackText(rack).c_str());
        return;
      }
    }
    keep = *tiles;
  }
  if (!ExchangeAllowed(game_)) {
    const GameRules& r = rules();
    if (r.gameKind == kKindHundredfold) {
      PrintMessage(msg::PlayExchangeNever);
    } else {
      int available = game_.bag.total();
      for (int p = 0; p < game_.playerCount; ++p) {
        if (p != game_.toMove && game_.racks[static_cast<std::size_t>(p)].total() == 0) available -= r.rackSize;
      }
      PrintMessageF(msg::PlayExchangeTooFew, r.minTilesExchange, std::max(0, available));
    }
    return;
  }
  if (!confirmRedo()) return;
  chargeUser();
  game_.moves.clear();
  Exchange(game_, keep);
  showPlayed(user_);
  settle();
}

void PlaySession::handleChallenge() {
  if (game_.challengeType == 4) {
    PrintMessage(msg::PlayChallengesOff);
    return;
  }
  // Pexil's last move may be challenged even when it ended the game.
  if (game_.toMove != user_ || !lastMoveBy(computer_)) {
    PrintMessageF(msg::PlayCannotChallenge, name(computer_).c_str());
    return;
  }
  if (!confirmRedo()) return;
  ChallengeLast(game_);
  // A successful challenge takes the move back and Pexil loses the turn; a
  // failed one may cost the user the turn (double and strict challenges).
  settle();
}

void PlaySession::handleUndo() {
  // Back to the user's previous turn: past Pexil's reply as well.
  int steps = 0;
  while (undoStack().undo(game_)) {
    ++steps;
    if (game_.toMove == user_) break;
  }
  if (steps == 0 || game_.toMove != user_) {
    // Pexil's opening move alone cannot be taken back.
    for (; steps > 0; --steps) undoStack().redo(game_);
    PrintMessage(msg::PlayNothingToUndo);
    return;
  }
  if (!game_.gameOver) endShown_ = false;
  PrintMessage(msg::PlayUndoLast);
  setHideLeaves();
  showPosition();
}

void PlaySession::handleRedo() {
  if (!undoStack().redo(game_)) {
    PrintMessage(msg::PlayNothingToRedo);
    return;
  }
  while (!game_.gameOver && game_.toMove != user_ && undoStack().hasRedo()) undoStack().redo(game_);
  PrintMessage(msg::PlayRedoDone);
  settle();
}

void PlaySession::handleHint() {
  if (game_.gameOver) {
    PrintMessage(msg::PlayGameOver);
    return;
  }
  // On a copy: the game itself does not change. The moves are the user's
  // own, so their leaves are shown.
  Game copy = game_;
  copy.hideLeaves = false;
  copy.unseenPoolEvaluation = false;
  GenerateMoves(copy, false);
  const Move& best = copy.moves.empty() ? copy.bestMove : copy.moves.front();
  PrintMessage(msg::PlayBestMove);
  PrintMoveLine(copy, user_, best, std::string());
}

void PlaySession::handleMoves(const std::vector<std::string>& words) {
  if (game_.gameOver) {
    PrintMessage(msg::PlayGameOver);
    return;
  }
  long long most = -1;
  if (words.size() > 1) {
    const auto n = parseNumber(words[1], 1, 1000000);
    if (!n || words.size() > 2) {
      PrintMessageF(msg::CliBadOption, (words[0] + " " + words[1]).c_str());
      return;
    }
    most = *n;
  }
  Game copy = game_;
  copy.hideLeaves = false;
  copy.unseenPoolEvaluation = false;
  GenerateMoves(copy, false);
  PrintMessageF(msg::CliMovesGenerated, rackText(copy.racks[static_cast<std::size_t>(user_)]).c_str(),
                static_cast<int>(copy.moves.size()));
  moveListing().clear();
  for (std::size_t i = 0; i < copy.moves.size() && (most < 0 || static_cast<long long>(i) < most); ++i) {
    PrintMoveLine(copy, user_, copy.moves[i], std::string(), true);
  }
  moveListing().showNextPage();
}

// Opening replaces the game (Pexil keeps its seat and strategy); saving a
// record first steps forward through taken-back moves so that the whole
// game is saved. Saving without a name reuses the last one.
void PlaySession::handleFileCommand(const std::string& command, const std::vector<std::string>& words) {
  const bool open = command.starts_with("open");
  const bool record = command.ends_with("game");
  std::string name = words.size() >= 2 ? words[1] : std::string();
  // A name may hold spaces: the rest of the line.
  for (std::size_t i = 2; i < words.size(); ++i) name += " " + words[i];
  if (name.empty() && !open) {
    const std::string& last = record ? files_.record : files_.position;
    if (latin1Lower(last).find(record ? "gcg" : "pexil") != std::string::npos) name = last;
  }
  if (name.empty()) {
    PrintMessageF(msg::PlayFileNeeded, command.c_str());
    return;
  }
  const std::string path = userFilePath(name);
  if (!open) {
    if (record) {
      while (undoStack().redo(game_)) {
      }
    }
    if (record) {
      saveRecord(game_, path, &files_);
    } else {
      savePosition(game_, path, &files_);
    }
    return;
  }
  const bool opened = record ? openRecord(game_, path, -1, &files_) : openPosition(game_, path, &files_);
  if (!opened) return;
  game_.strategies[static_cast<std::size_t>(computer_)] = settings_.strategy;
  game_.challengeType = settings_.challengeType;
  // The last move of a file is not Pexil's to challenge.
  game_.moveJustPlayed = false;
  endShown_ = false;
  settle();
}

int PlaySession::run() {
  PrintMessageF(msg::PlayIntro, name(user_).c_str(), user_ + 1, name(computer_).c_str(), computer_ + 1,
                name(0).c_str());
  const int strategy = game_.strategies[static_cast<std::size_t>(computer_)];
  const char* description = strategyDescription(strategy);
  PrintMessageF(msg::PlayStrategyNote, name(computer_).c_str(), strategy, description ? description : "");
  if (!strategyAvailable(strategy) || settings_.plyGiven) PrintMessageF(msg::PlayNoLookahead, name(computer_).c_str());
  settle();

  for (;;) {
    if (game_.gameOver) {
      PrintMessage(msg::PlayOverPrompt);
    } else {
      PrintMessageF(msg::PlayPrompt, rackText(game_.racks[static_cast<std::size_t>(user_)]).c_str());
    }
    promptTime_ = Clock::now();
    std::string line;
    if (!readLine(line)) {
      PrintMessage(msg::PlayEndOfInput);
      return 0;
    }
    const std::vector<std::string> words = splitWords(line);
    if (words.empty()) continue;
    const std::string command = asciiLower(words[0]);
    // 'y' pages through a move list still being shown.
    if ((command == "y" || command == "yes") && words.size() == 1 && moveListing().hasMore()) {
      moveListing().showNextPage();
      continue;
    }
    // Any other answer ends the listing; a plain "n" is just that answer.
    const bool declinedMore = (command == "n" || command == "no") && words.size() == 1 && moveListing().hasMore();
    moveListing().clear();
    if (declinedMore) continue;

    if (command == "quit" || command == "exit") {
      if (game_.gameOver || confirm(msg::PlayAbandonQuestion)) return 0;
      if (endOfInput_) {
        PrintMessage(msg::PlayEndOfInput);
        return 0;
      }
    } else if (command == "help" || command == "?") {
      help();
    } else if (command == "pass" && words.size() == 1) {
      handlePass();
    } else if (command == "exchange") {
      handleExchange(words);
    } else if (command == "challenge" && words.size() == 1) {
      handleChallenge();
    } else if (command == "undo" && words.size() == 1) {
      handleUndo();
    } else if (command == "redo" && words.size() == 1) {
      handleRedo();
    } else if (command == "hint" && words.size() == 1) {
      handleHint();
    } else if (command == "moves") {
      handleMoves(words);
    } else if (command == "well") {
      ShowWell(game_, user_, words.size() > 1 && asciiLower(words[1]) == "concise");
    } else if (command == "history") {
      // The racks of the history are Pexil's as well: shown once the game
      // is over.
      ShowHistory(game_, !game_.gameOver);
    } else if (command == "stats") {
      ShowStatistics(game_);
    } else if (command == "board") {
      showPosition();
    } else if (command == "open-position" || command == "open-game" || command == "save-position" ||
               command == "save-game") {
      handleFileCommand(command, words);
    } else if (command == "rate-draws") {
      rateDrawsInPlay(game_, words, user_);
    } else if (const auto at = words.size() == 2 ? readPosition(game_.board, words[0]) : std::nullopt) {
      handleMove(*at, words[1]);
    } else if (words.size() == 2 && (command.size() >= 2 && command.size() <= 4) &&
               std::any_of(command.begin(), command.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      PrintMessageF(msg::PlayBadSquare, words[0].c_str());
    } else {
      PrintMessageF(msg::PlayUnknownCommand, line.c_str());
    }
    if (endOfInput_) {
      PrintMessage(msg::PlayEndOfInput);
      return 0;
    }
  }
}

// "25" minutes or "mm:ss", in hundredths; none for zero or unreadable.
std::optional<int> readTime(const std::string& text) {
  const std::size_t colon = text.find(':');
  long long minutes = 0, seconds = 0;
  if (colon == std::string::npos) {
    const auto m = parseNumber(text, 0, 10000);
    if (!m) return std::nullopt;
    minutes = *m;
  } else {
    const auto m = parseNumber(text.substr(0, colon), 0, 10000);
    const auto s = parseNumber(text.substr(colon + 1), 0, 59);
    if (!m || !s || text.size() - colon - 1 != 2) return std::nullopt;
    minutes = *m;
    seconds = *s;
  }
  const long long total = (minutes * 60 + seconds) * 100;
  if (total <= 0) return std::nullopt;
  return static_cast<int>(total);
}

}  // namespace

int runPlay(const Arguments& args) {
  // The terminal wraps long lines itself.
  NoWrapPane noWrap;
  const auto options = parseOptions(
      args,
      {"--type", "--kind", "--list", "--first", "--name", "--strategy", "--challenge", "--time", "--ply", "--open", "--move"},
      {"--same-time"});
  if (!options) return 2;
  if (!options->positional.empty()) {
    PrintMessageF(msg::CliBadOption, options->positional.front().c_str());
    return 2;
  }
  PlaySettings settings;
  const std::string first = options->value("--first").value_or("me");
  if (first != "me" && first != "pexil" && first != "alternate" && first != "random") {
    PrintMessageF(msg::CliBadOption, ("--first " + first).c_str());
    return 2;
  }
  if (const auto text = options->value("--strategy")) {
    const auto n = parseNumber(*text, 0, kStrategyCount - 1);
    if (!n) {
      PrintMessageF(msg::CliBadOption, ("--strategy " + *text).c_str());
      return 2;
    }
    settings.strategy = static_cast<int>(*n);
  }
  if (const auto text = options->value("--challenge")) {
    const auto n = parseNumber(*text, 0, 4);
    if (!n) {
      PrintMessageF(msg::CliBadOption, ("--challenge " + *text).c_str());
      return 2;
    }
    settings.challengeType = static_cast<int>(*n);
  }
  if (const auto text = options->value("--time")) {
    const auto time = readTime(*text);
    if (!time) {
      PrintMessage(msg::PlayInvalidTime);
      return 2;
    }
    settings.clock = *time;
  }
  settings.sameTime = options->has("--same-time");
  if (const auto text = options->value("--ply")) {
    if (!parseNumber(*text, 1, kMaxPly)) {
      PrintMessage(msg::PlayBadPly);
      return 2;
    }
    settings.plyGiven = true;
  }
  settings.userName = options->value("--name").value_or(Message(msg::PlayDefaultName));
  if (settings.userName.empty()) settings.userName = Message(msg::PlayDefaultName);

  std::shared_ptr<Lexicon> lexicon;
  {
    auto loaded = loadChosenLexicon(*options);
    if (!loaded || loaded->wordCount() == 0) return 1;
    lexicon = std::shared_ptr<Lexicon>(std::move(loaded));
  }
  // The leave values the computer's strategies rank by.
  LoadRackTables(*lexicon);

  if (first == "me") {
    settings.computerSeat = 1;
  } else if (first == "pexil" || first == "alternate") {
    settings.computerSeat = 0;
  } else {
    settings.computerSeat = randomNonNegative() & 1;
  }
  const int user = 1 - settings.computerSeat;

  Game game;
  NewGame(game, 2, lexicon);
  SetPlayerName(game, user, typedToLatin1(settings.userName));
  SetPlayerName(game, settings.computerSeat, Message(msg::PlayComputerName));
  // A position or record to play on from: its players keep their names
  // unless --name gives the user's.
  bool opened = false;
  if (!openFromOptions(game, *options, opened)) return 1;
  if (opened) {
    if (options->value("--name")) SetPlayerName(game, user, typedToLatin1(settings.userName));
    if (playerName(game, settings.computerSeat) == FormatMessage(msg::PlayerNumbered, settings.computerSeat + 1)) {
      SetPlayerName(game, settings.computerSeat, Message(msg::PlayComputerName));
    }
    game.moveJustPlayed = false;
  }
  game.strategies[static_cast<std::size_t>(settings.computerSeat)] = settings.strategy;
  game.challengeType = settings.challengeType;
  if (settings.clock != kNoClock) {
    game.clocks[static_cast<std::size_t>(settings.computerSeat)] = settings.clock;
    if (settings.sameTime) game.clocks[static_cast<std::size_t>(user)] = settings.clock;
  }
  PlaySession session(game, settings);
  return session.run();
}

}  // namespace pexil::cli
