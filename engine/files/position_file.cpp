#include "files/position_file.hpp"

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <string_view>
#include <utility>

#include "io/atomic_file.hpp"
#include "io/data_files.hpp"
#include "movegen/generator.hpp"
#include "play/word_list_choice.hpp"
#include "rules/board.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/tile_counts.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

// Bounds of the numbers a position may hold. Anything beyond them is no
// position of a real game, and keeping well inside int range means later
// arithmetic on them cannot overflow.
constexpr long long kMaxScore = 100'000'000;
constexpr long long kMaxGameTurn = 1'000'000;

// ---- tile characters ----

// The upper-case character the program writes for a tile code of an
// alphabet (the substitute characters of multi-letter tiles included).
char upperForm(int alphabet, int code) {
  switch (code) {
    case 10:
      return alphabet == kAlphabetSpanish ? '3' : alphabet == kAlphabetCatalan ? '\xC7' : 'K';
    case 22: return alphabet == kAlphabetSpanish ? '2' : 'W';
    case 26:
      return alphabet == kAlphabetSpanish                                      ? '\xD1'
             : alphabet == kAlphabetGerman || alphabet == kAlphabetSwedish ? '\xC4'
                                                                           : '\xC6';
    case 27:
      return alphabet == kAlphabetSpanish                                      ? '1'
             : alphabet == kAlphabetGerman || alphabet == kAlphabetSwedish ? '\xD6'
                                                                           : '\xD8';
    case 28: return alphabet == kAlphabetGerman ? '\xDC' : '\xC5';
    default: return code >= 0 && code < 26 ? static_cast<char>('A' + code) : '?';
  }
}

int alphabetOfType(int kind, int index) {
  if (kind == kKindDefined && index >= 0 && index < gameTypeCount()) return gameType(index).alphabet;
  return kAlphabetEnglish;
}

int activeAlphabet() {
  const GameType* type = activeGameType();
  return type ? type->alphabet : kAlphabetEnglish;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Lower-case letters of Latin-1: a-z and 0xDF..0xFE without the division
// sign. Digits and other characters have no case.
bool isLowerCaseLetter(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b >= 'a' && b <= 'z') || (b >= 0xDF && b <= 0xFE && b != 0xF7);
}

// The code of the letter a character stands for in the active set, in
// either case, or -1. A character counts only in the form the program
// itself uses for that code: its own letter, or the alphabet's substitute
// character. So an English board takes no digits ('2' and '3' share the
// codes of W and K), a Danish one no Ä, and a Spanish one no K or W (whose
// codes are those of RR and LL). Spanish also accepts '4' for Ñ, as typed
// racks do.
int letterTileCode(char c, int alphabet) {
  const int code = codeOfLetter(c);
  if (code < 0 || code >= rules().letterCount || code >= kCodeSlots) return -1;
  const char upper = latin1Upper(c);
  if (upper == upperForm(alphabet, code)) return code;
  if (upper >= 'A' && upper <= 'Z' && upper - 'A' == code) {
    if (alphabet == kAlphabetSpanish && (code == 10 || code == 22)) return -1;
    return code;
  }
  if (alphabet == kAlphabetSpanish && c == '4') return code;
  return -1;
}

// The tile of the active set a rack character stands for ('?' the blank),
// or -1 for a character that is no tile of the set (which a rack skips).
int rackTileCode(char c, int alphabet) {
  const int code = c == '?' ? rules().blankCode : letterTileCode(c, alphabet);
  return code >= 0 && code < kCodeSlots && tileCount(code) > 0 ? code : -1;
}

// ---- parsing ----

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view skipSpace(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isSpace(text[i])) ++i;
  return text.substr(i);
}

std::string_view trimmed(std::string_view text) {
  text = skipSpace(text);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

// The integer at the start of the text (after white space, with an optional
// sign), or none when no digit follows. Long runs of digits saturate
// instead of overflowing. `rest` receives the text after the digits.
std::optional<long long> leadingInteger(std::string_view text, std::string_view* rest = nullptr) {
  constexpr long long kSaturated = 1'000'000'000'000LL;
  std::size_t i = 0;
  while (i < text.size() && isSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t digits = i;
  long long value = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    if (value < kSaturated) value = value * 10 + (text[i] - '0');
  }
  if (i == digits) return std::nullopt;
  if (rest) *rest = text.substr(i);
  return negative ? -value : value;
}

// A record's parameter is the text after the first TAB; none without one.
std::optional<std::string_view> parameterOf(std::string_view line) {
  const std::size_t tab = line.find('\t');
  if (tab == std::string_view::npos) return std::nullopt;
  return line.substr(tab + 1);
}

// A parameter that holds more than white space.
bool given(const std::optional<std::string_view>& parameter) {
  return parameter && !skipSpace(*parameter).empty();
}

enum class Record {
  none,
  gameType,
  templateName,
  dict,
  pname,
  players,
  gameTurn,
  playerTurn,
  score,
  winProb,
  rackSim,
  medianDraw,
  rack,
  board,
};

// Keywords are recognised by prefix, in this order: "racksim" must come
// before "rack" so that the flag is not taken for a rack.
constexpr std::array<std::pair<std::string_view, Record>, 13> kKeywords = {{
    {"gametype", Record::gameType},
    {"template", Record::templateName},
    {"dict", Record::dict},
    {"pname", Record::pname},
    {"nplayers", Record::players},
    {"gameturn", Record::gameTurn},
    {"playerturn", Record::playerTurn},
    {"score", Record::score},
    {"winprob", Record::winProb},
    {"racksim", Record::rackSim},
    {"mediandraw", Record::medianDraw},
    {"rack", Record::rack},
    {"board", Record::board},
}};

Record recordOf(std::string_view line) {
  for (const auto& [keyword, record] : kKeywords) {
    if (line.starts_with(keyword)) return record;
  }
  return Record::none;
}

// Calls f(line) for every line of the text, without its line end; a
// carriage return before the line feed (a file written on Windows) is part
// of the line end.
template <class F>
void forEachLine(std::string_view text, F f) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!f(line)) return;
    start = next;
  }
}

// The word list named by the first "dict" record, or empty.
std::string firstWordListName(std::string_view text) {
  std::string name;
  forEachLine(text, [&](std::string_view line) {
    if (recordOf(line) != Record::dict) return true;
    const auto parameter = parameterOf(line);
    if (!given(parameter)) return true;
    name = std::string(trimmed(*parameter));
    return false;
  });
  return name;
}

// ---- reading ----

using Fault = std::optional<std::string>;

Fault fault(int number) { return std::string(Message(number)); }

// Everything of the previous game that is not part of a position: the
// player arrays, the record, the move lists and the per-game counters.
// Settings (strategies, challenge rules, median draws, phony play) stay.
void clearPosition(Game& game) {
  game.playerCount = 0;
  game.moveNumber = 0;
  game.searchCounter = 0;
  game.toMove = 0;
  game.lastMove = Move{};
  game.bestMove = Move{};
  game.racks = {};
  game.rackTags = {};
  game.scores = {};
  game.thinkingTime = {};
  game.clocks.fill(kNoClock);
  game.clockRunning = false;
  game.playerNames = {};
  game.exchangedLast = {};
  game.knownTiles = {};
  game.typedKnownTiles.clear();
  game.knownRacks.clear();
  clearMainList(game);
  game.candidates.clear();
  game.altListA.clear();
  game.altListB.clear();
  game.gameOver = false;
  game.scorelessTurns = 0;
  game.consecutivePasses = 0;
  game.history.clear();
  game.scoreChanges.clear();
  game.hideLeaves = false;
  game.barredWords.clear();
  game.restrictedPlayer = -1;
  game.hasPatternReference = false;
  game.patternReference = 0;
  game.maximizeWinProb = false;
  game.rackSimulation = false;
  // A game set up from a file searches on every processor, as a new one does.
  game.threads = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  game.moveJustPlayed = false;
  game.rankByScore = game.considerRetainExchange = game.highestScoreBest = game.altListAActive = false;
  game.unseenPoolEvaluation = false;
  game.searchMode = SearchMode::none;
  game.unseenPool = LetterCounts{};
  game.keepValueCache.clear();
}

class PositionReader {
 public:
  explicit PositionReader(Game& game) : game_(game) {}

  // Reads the records into the game; the fault's message, or none.
  Fault read(std::string_view text) {
    Fault failure;
    forEachLine(text, [&](std::string_view line) {
      failure = readLine(line);
      return !failure.has_value();
    });
    if (failure) return failure;
    return finish();
  }

 private:
  Fault readLine(std::string_view line) {
    if (inBoard_ && nextRow_ < game_.board.height) return boardRow(line);
    inBoard_ = false;
    const auto parameter = parameterOf(line);
    switch (recordOf(line)) {
      case Record::gameType: return gameTypeRecord(parameter);
      case Record::templateName: return templateRecord(parameter);
      case Record::dict:
        // Loaded once the whole file has been read, so that a faulty file
        // loads nothing; the last one named wins, as if each were applied.
        if (given(parameter)) wordList_ = std::string(trimmed(*parameter));
        return {};
      case Record::pname: return nameRecord(parameter);
      case Record::players: return playersRecord(parameter);
      case Record::gameTurn: return turnRecord(parameter, msg::PosMissingGameTurn, "gameturn", 0, kMaxGameTurn, game_.moveNumber);
      case Record::playerTurn:
        // Checked against the number of players at the end: the records may
        // come in either order.
        return turnRecord(parameter, msg::PosMissingPlayerTurn, "playerturn", 0, kMaxPlayers - 1, game_.toMove);
      case Record::score: return scoreRecord(parameter);
      case Record::winProb: game_.maximizeWinProb = true; return {};
      case Record::rackSim: game_.rackSimulation = true; return {};
      case Record::medianDraw: game_.medianDraws = true; return {};
      case Record::rack: return rackRecord(parameter);
      case Record::board:
        if (!gameTypeSet_) return fault(msg::PosBoardBeforeGameType);
        inBoard_ = true;
        return {};
      case Record::none: return {};
    }
    return {};
  }

  Fault boardRow(std::string_view line) {
    Board& board = game_.board;
    const int width = board.width;
    if (static_cast<long long>(line.size()) < width) return fault(msg::PosInvalidBoard);
    const int alphabet = activeAlphabet();
    const int blankCode = rules().blankCode;
    for (int column = 0; column < width; ++column) {
      Square* square = squareAt(board, column, nextRow_);
      if (square == nullptr) return fault(msg::PosInvalidBoard);
      const char c = line[static_cast<std::size_t>(column)];
      if (c == '.') {
        square->letter = ' ';
        square->isBlank = 0;
        continue;
      }
      // Only tiles of the set, and only on squares of the playing area.
      const int code = letterTileCode(c, alphabet);
      const bool blank = isLowerCaseLetter(c);
      if (code < 0 || tileCount(blank ? blankCode : code) <= 0 || !square->usable) return fault(msg::PosInvalidBoard);
      square->letter = latin1Lower(c);
      square->isBlank = blank ? 1 : 0;
    }
    ++nextRow_;
    return {};
  }

  Fault gameTypeRecord(const std::optional<std::string_view>& parameter) {
    if (!given(parameter)) return fault(msg::PosMissingGameType);
    const auto kind = leadingInteger(*parameter);
    if (!kind) return fault(msg::PosMissingGameType);
    if (*kind < kKindStandard || *kind > kKindDefined) return invalidValue("gametype");
    if (*kind == kKindDefined && templateIndex_ < 0) return fault(msg::PosMissingGameTypeName);
    const int kindNumber = static_cast<int>(*kind);
    if (!activateGameType(kindNumber, kindNumber == kKindDefined ? templateIndex_ : -1)) return invalidValue("gametype");
    game_.gameKind = kindNumber;
    game_.gameTypeIndex = rules().gameTypeIndex;
    buildBoard(game_.board);
    game_.board.lexicon = game_.lexicon.get();
    gameTypeSet_ = true;
    return {};
  }

  Fault templateRecord(const std::optional<std::string_view>& parameter) {
    const std::size_t quote = parameter ? parameter->find('"') : std::string_view::npos;
    if (quote == std::string_view::npos) return fault(msg::PosNoTemplateName);
    std::string_view name = parameter->substr(quote + 1);
    name = name.substr(0, name.find('"'));
    const int index = findGameType(name);
    if (index < 0) return FormatMessage(msg::PosUnknownGameType, std::string(name).c_str());
    templateIndex_ = index;
    return {};
  }

  // A player index at the start of the parameter, when it names a player.
  std::optional<int> playerIndex(std::string_view parameter, std::string_view* rest) const {
    const auto index = leadingInteger(parameter, rest);
    if (!index || *index < 0 || *index >= game_.playerCount) return std::nullopt;
    return static_cast<int>(*index);
  }

  Fault nameRecord(const std::optional<std::string_view>& parameter) {
    if (game_.playerCount == 0) return fault(msg::PosPnameBeforePlayers);
    std::string_view rest;
    const auto player = parameter ? playerIndex(*parameter, &rest) : std::nullopt;
    if (!player) return fault(msg::PosPnameBadIndex);
    // The name starts after the white space that follows the index and
    // runs to the end of the line, spaces and all.
    std::size_t i = 0;
    while (i < rest.size() && !isSpace(rest[i])) ++i;
    game_.playerNames[static_cast<std::size_t>(*player)] = std::string(skipSpace(rest.substr(i)));
    return {};
  }

  Fault playersRecord(const std::optional<std::string_view>& parameter) {
    if (game_.playerCount != 0) return fault(msg::PosTwoPlayerCounts);
    if (!gameTypeSet_) return fault(msg::PosPlayersBeforeGameType);
    if (!given(parameter)) return fault(msg::PosMissingPlayers);
    const auto players = leadingInteger(*parameter);
    if (!players) return fault(msg::PosMissingPlayers);
    if (*players < 1 || *players > kMaxPlayers) return invalidValue("nplayers");
    game_.playerCount = static_cast<int>(*players);
    return {};
  }

  Fault turnRecord(const std::optional<std::string_view>& parameter, int missing, const char* keyword, long long low,
                   long long high, int& target) {
    if (!given(parameter)) return fault(missing);
    const auto value = leadingInteger(*parameter);
    if (!value) return fault(missing);
    if (*value < low || *value > high) return invalidValue(keyword);
    target = static_cast<int>(*value);
    return {};
  }

  Fault scoreRecord(const std::optional<std::string_view>& parameter) {
    if (!given(parameter)) return fault(msg::PosScoreNoIndex);
    if (game_.playerCount == 0) return fault(msg::PosScoreBeforePlayers);
    std::string_view rest;
    const auto player = playerIndex(*parameter, &rest);
    if (!player) return fault(msg::PosScoreBadIndex);
    const auto score = leadingInteger(rest);
    if (!score) return fault(msg::PosScoreMissing);
    if (*score < -kMaxScore || *score > kMaxScore) return invalidValue("score");
    game_.scores[static_cast<std::size_t>(*player)] = static_cast<int>(*score);
    return {};
  }

  Fault rackRecord(const std::optional<std::string_view>& parameter) {
    if (!given(parameter)) return fault(msg::PosRackNoIndex);
    if (game_.playerCount == 0) return fault(msg::PosRackBeforePlayers);
    std::string_view rest;
    const auto player = playerIndex(*parameter, &rest);
    if (!player) return fault(msg::PosRackBadIndex);
    const std::string_view letters = skipSpace(rest);
    if (letters.empty()) return fault(msg::PosRackMissing);
    Rack& rack = game_.racks[static_cast<std::size_t>(*player)];
    const int alphabet = activeAlphabet();
    for (char c : letters) {
      const int code = rackTileCode(c, alphabet);
      if (code < 0) continue;
      ++rack[code];
      ++rack[kTotalSlot];
    }
    return {};
  }

  Fault invalidValue(const char* keyword) const { return FormatMessage(msg::PosInvalidValue, keyword); }

  // The board's digraph tiles of Spanish are written as digits, which have
  // no lower case, so a blank standing for one reads as the tile itself.
  // Where that asks for more of such a tile than the set holds, the
  // surplus squares (the later ones in reading order) are taken as blanks,
  // as far as blanks remain.
  void markDigitBlanks() {
    const int alphabet = activeAlphabet();
    const int blankCode = rules().blankCode;
    LetterCounts used;
    for (int p = 0; p < game_.playerCount; ++p) {
      const Rack& rack = game_.racks[static_cast<std::size_t>(p)];
      for (int code = 0; code < kCodeSlots; ++code) used[code] += rack[code];
    }
    for (const Square& s : game_.board.squares) {
      if (s.empty()) continue;
      const int code = s.isBlank ? blankCode : codeOfLetter(s.letter);
      if (code >= 0 && code < kCodeSlots) ++used[code];
    }
    int blanksLeft = tileCount(blankCode) - used[blankCode];
    for (int code = 0; code < rules().letterCount && code < kCodeSlots; ++code) {
      if (!isDigit(upperForm(alphabet, code))) continue;
      int surplus = used[code] - tileCount(code);
      for (auto s = game_.board.squares.rbegin(); s != game_.board.squares.rend() && surplus > 0 && blanksLeft > 0; ++s) {
        if (s->empty() || s->isBlank || codeOfLetter(s->letter) != code) continue;
        s->isBlank = 1;
        --surplus;
        --blanksLeft;
      }
    }
  }

  Fault finish() {
    if (inBoard_ && nextRow_ < game_.board.height) return fault(msg::PosInvalidBoard);  // rows missing at the end
    if (!gameTypeSet_ || game_.playerCount == 0) return fault(msg::PosMissingRecords);
    if (game_.toMove >= game_.playerCount) return invalidValue("playerturn");
    const GameRules& r = rules();
    for (int p = 0; p < game_.playerCount; ++p) {
      if (game_.racks[static_cast<std::size_t>(p)].total() > r.rackSize) {
        return FormatMessage(msg::PosRackTooLarge, p, r.rackSize);
      }
    }
    markDigitBlanks();

    // The well: the full distribution minus the racks and the board.
    Well& well = game_.bag;
    fillWell(well);
    for (int p = 0; p < game_.playerCount; ++p) {
      const Rack& rack = game_.racks[static_cast<std::size_t>(p)];
      for (int slot = 0; slot <= kTotalSlot; ++slot) well.counts[static_cast<std::size_t>(slot)] -= rack.counts[static_cast<std::size_t>(slot)];
    }
    for (const Square& s : game_.board.squares) {
      if (s.empty()) continue;
      const int code = s.isBlank ? r.blankCode : codeOfLetter(s.letter);
      if (code < 0 || code >= kCodeSlots) return fault(msg::PosInvalidBoard);
      --well[code];
      --well[kTotalSlot];
    }
    for (int code = 0; code < kCodeSlots; ++code) {
      if (well[code] >= 0) continue;
      const std::string tile(1, code == r.blankCode ? '?' : upperForm(activeAlphabet(), code));
      return FormatMessage(msg::PosTooManyTiles, tile.c_str());
    }

    // The word list: the one the file names, else the game's own; a game
    // without a lexicon gets the game type's list.
    if (!wordList_.empty()) {
      game_.lexicon = lexiconFor(game_.lexicon, wordList_);
    } else if (!game_.lexicon) {
      game_.lexicon = lexiconFor(nullptr, wordListForNewGame());
    }
    if (game_.lexicon && !game_.lexicon->fileName().empty()) setWordListAlphabet(game_.lexicon->alphabet());
    game_.doubledEndScoring = wordListAlphabet() != kAlphabetSpanish;

    game_.board.lexicon = game_.lexicon.get();
    updateNearOpenBonus(game_.board);
    game_.previousBoard = game_.board;
    game_.workBoard = game_.board;
    prepareBoard(game_);
    return {};
  }

  Game& game_;
  bool gameTypeSet_ = false;
  bool inBoard_ = false;
  int nextRow_ = 0;
  int templateIndex_ = -1;
  std::string wordList_;
};

// ---- writing ----

// A name on one line: line breaks would start records of their own.
std::string oneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

std::string positionText(const Game& game) {
  const int alphabet = alphabetOfType(game.gameKind, game.gameTypeIndex);
  const int blankCode = alphabetCounts(alphabet).blankCode;
  std::string out;
  auto line = [&out](std::string_view keyword, const std::string& parameter) {
    out += keyword;
    out += '\t';
    out += parameter;
    out += '\n';
  };

  if (game.gameKind == kKindDefined && game.gameTypeIndex >= 0 && game.gameTypeIndex < gameTypeCount()) {
    if (const auto& name = gameType(game.gameTypeIndex).name) line("template", "\"" + *name + "\"");
  }
  line("gametype", std::to_string(game.gameKind));
  if (game.lexicon && !game.lexicon->fileName().empty()) line("dict", oneLine(game.lexicon->fileName()));
  const int players = std::clamp(game.playerCount, 0, kMaxPlayers);
  line("nplayers", std::to_string(players));
  line("gameturn", std::to_string(game.moveNumber));
  line("playerturn", std::to_string(game.toMove));
  for (int p = 0; p < players; ++p) {
    const auto i = static_cast<std::size_t>(p);
    const std::string index = std::to_string(p) + "\t";
    line("score", index + std::to_string(game.scores[i]));
    // The tiles in code order, the blank as '?'.
    std::string letters;
    for (int code = 0; code < kCodeSlots; ++code) {
      for (int n = 0; n < game.racks[i][code]; ++n) letters.push_back(code == blankCode ? '?' : upperForm(alphabet, code));
    }
    if (!letters.empty()) line("rack", index + letters);
    if (!game.playerNames[i].empty()) line("pname", index + oneLine(game.playerNames[i]));
  }

  // Rows top first: '.' for an empty square, a tile in upper case, a blank
  // as the lower-case letter it stands for.
  out += "board\n";
  const Board& board = game.board;
  for (int row = 0; row < board.height; ++row) {
    for (int column = 0; column < board.width; ++column) {
      const Square* s = squareAt(board, column, row);
      if (s == nullptr || s->empty()) {
        out += '.';
      } else {
        out += s->isBlank ? latin1Lower(s->letter) : latin1Upper(s->letter);
      }
    }
    out += '\n';
  }
  if (game.maximizeWinProb) out += "winprob\n";
  if (game.rackSimulation) out += "racksim\n";
  if (game.medianDraws) out += "mediandraw\n";
  return out;
}

}  // namespace

bool WritePosition(const Game& game, const std::string& path) {
  if (path.empty()) return false;
  return writeFileAtomically(path, positionText(game));
}

bool ReadPosition(Game& game, const std::string& path) {
  std::error_code error;
  // Only a regular file: a folder reads as nothing and a pipe could block.
  const auto text = std::filesystem::is_regular_file(path, error) ? readWholeFile(path) : std::nullopt;
  if (!text) {
    PrintMessageF(msg::PosFileNotFound, path.c_str());
    return false;
  }

  // The first pass: the word list the file names is the one game set-up
  // loads while the file is read. Cleared on every path out.
  std::optional<PendingWordList> pending;
  if (const std::string name = firstWordListName(*text); !name.empty()) pending.emplace(name);

  // What a faulty file must leave as it was: the game and the active rules.
  const Game previous = game;
  const GameRules previousRules = rules();
  const int previousAlphabet = wordListAlphabet();

  clearPosition(game);
  PositionReader reader(game);
  if (const Fault failure = reader.read(*text)) {
    textPane().Print(*failure);
    game = previous;
    rules() = previousRules;
    setWordListAlphabet(previousAlphabet);
    return false;
  }
  return true;
}

}  // namespace pexil
