#include "rules/game_definitions.hpp"

#include <climits>
#include <exception>
#include <fstream>
#include <vector>

#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

std::vector<GameType>& gameTypeList() {
  static std::vector<GameType> list;
  return list;
}

constexpr int kMaxTileCount = 10000;
constexpr int kMaxTileValue = 1000;

// Lines longer than this are cut; the rest of such a line is dropped.
constexpr std::size_t kMaxLineLength = 1023;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads one line of at most kMaxLineLength characters, without its end of
// line. Returns false at the end of the input, or when reading fails (a
// folder given as the file makes the stream buffer throw): the stream is
// then marked bad.
bool readLine(std::istream& in, std::string& line) {
  line.clear();
  std::streambuf* buffer = in.rdbuf();
  if (!buffer || in.bad()) return false;
  bool any = false;
  try {
    for (;;) {
      const auto ch = buffer->sbumpc();
      if (ch == std::char_traits<char>::eof()) {
        in.setstate(std::ios::eofbit);
        break;
      }
      any = true;
      const char c = static_cast<char>(ch);
      if (c == '\n') break;
      if (line.size() < kMaxLineLength) line.push_back(c);
    }
  } catch (const std::exception&) {
    in.setstate(std::ios::badbit);
    return false;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return any;
}

// A cursor over the arguments of one line.
struct Cursor {
  std::string_view text;
  std::size_t pos = 0;

  bool atEnd() const { return pos >= text.size(); }
  char peek() const { return atEnd() ? '\0' : text[pos]; }
  void skipSpace() {
    while (!atEnd() && isSpace(text[pos])) ++pos;
  }
  void skipToken() {
    while (!atEnd() && !isSpace(text[pos])) ++pos;
  }
  // A decimal number with optional sign, as the C library's atoi reads it,
  // but saturating instead of overflowing. `found` tells whether digits were
  // present.
  int number(bool* found = nullptr) {
    skipSpace();
    std::size_t p = pos;
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
    long long value = 0;
    const std::size_t digitsStart = p;
    while (p < text.size() && isDigit(text[p])) {
      if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (text[p] - '0');
      ++p;
    }
    const bool haveDigits = p > digitsStart;
    if (found) *found = haveDigits;
    if (!haveDigits) return 0;
    pos = p;
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
  }
};

// The text between the first and second double quote, if both are there.
std::optional<std::string> quotedArgument(std::string_view rest) {
  const std::size_t open = rest.find('"');
  if (open == std::string_view::npos) return std::nullopt;
  const std::size_t close = rest.find('"', open + 1);
  if (close == std::string_view::npos) return std::nullopt;
  return std::string(rest.substr(open + 1, close - open - 1));
}

bool equalsIgnoringCase(std::string_view text, std::string_view word) {
  if (text.size() < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (latin1Lower(text[i]) != word[i]) return false;
  }
  return true;
}

struct LanguageKeyword {
  const char* keyword;
  int alphabet;
};
// Latin-1 spellings first; the UTF-8 spellings of the two accented keywords
// are accepted too, so a definitions file saved by a UTF-8 editor still works.
constexpr LanguageKeyword kLanguageKeywords[] = {
    {"espa\xF1ol", kAlphabetSpanish}, {"espa\xC3\xB1ol", kAlphabetSpanish}, {"dansk", kAlphabetDanish},
    {"fran\xE7" "ais", kAlphabetFrench}, {"fran\xC3\xA7" "ais", kAlphabetFrench}, {"deutsch", kAlphabetGerman},
    {"italia", kAlphabetItalian}, {"latin", kAlphabetLatin}, {"catalan", kAlphabetCatalan},
    {"svenska", kAlphabetSwedish},
};


class DefinitionsReader {
 public:
  explicit DefinitionsReader(std::vector<GameType>& list) : list_(list) {}

  void read(std::istream& in) {
    std::string line;
    while (!fatal_ && readLine(in, line)) handleLine(line);
    if (!fatal_) reportUnfinishedRecord();
  }

 private:
  // ---- messages ----
  std::string recordName() const {
    return working_.name ? *working_.name : std::string(Message(msg::DefsUnnamed));
  }
  void warn(const std::string& specific) {
    textPane().Print(FormatMessage(msg::DefsWarning, recordName().c_str(), specific.c_str()));
  }
  void warn(int message) { warn(std::string(Message(message))); }
  void fail(const std::string& text) {
    textPane().Print(text);
    fatal_ = true;
  }

  void reportUnfinishedRecord() {
    if (recordOpen_) warn(msg::DefsMissingGameEnd);
    recordOpen_ = false;
  }

  // ---- lines ----
  void handleLine(const std::string& line) {
    bool blank = true;
    for (char c : line) blank = blank && isSpace(c);
    if (blank) return;
    if (boardRowsLeft_ > 0) {
      readBoardRow(line);
      return;
    }
    if (line[0] == ';') return;

    const std::string_view text(line);
    auto is = [&](std::string_view keyword) { return text.substr(0, keyword.size()) == keyword; };
    auto rest = [&](std::string_view keyword) { return Cursor{text, keyword.size()}; };

    if (is("GameEnd")) return endGame();
    if (is("Game")) return startGame(text);
    if (is("numplayers")) return readPlayers(rest("numplayers"));
    if (is("letteredrows")) {
      working_.letteredRows = true;
      return;
    }
    if (is("senyors")) {
      working_.senyors = true;
      return;
    }
    for (const LanguageKeyword& language : kLanguageKeywords) {
      if (is(language.keyword)) {
        working_.alphabet = language.alphabet;
        parseAlphabet_ = language.alphabet;
        return;
      }
    }
    if (is("bonus")) return readBonus(rest("bonus"));
    if (is("defaultwordlist")) {
      if (auto name = quotedArgument(text.substr(15))) {
        working_.defaultWordList = *name;
      } else {
        warn(msg::DefsNoWordListName);
      }
      return;
    }
    if (is("markphonies")) {
      working_.markPhonies = true;
      if (auto name = quotedArgument(text.substr(11))) {
        working_.phonyCheckList = *name;
      } else {
        warn(msg::DefsNoValidatingListName);
      }
      return;
    }
    if (is("openracks")) {
      working_.openRacks = true;
      return;
    }
    if (is("boardsize")) {
      Cursor c = rest("boardsize");
      const int width = c.number();
      const int height = c.number();
      if (width != 0 && height != 0) {
        working_.width = width;
        working_.height = height;
      }
      return;
    }
    if (is("startsquare")) {
      Cursor c = rest("startsquare");
      const int column = c.number();
      const int row = c.number();
      if (column != 0 && row != 0) {
        working_.startColumn = column;
        working_.startRow = row;
      }
      return;
    }
    if (is("board")) return startBoard();
    if (is("racksize")) {
      working_.rackSize = rest("racksize").number();
      return;
    }
    if (is("tile")) return readTile(rest("tile"));
    if (is("bingobonus")) {
      working_.bingoBonus = rest("bingobonus").number();
      return;
    }
    if (is("mintilesexchange")) {
      working_.minTilesExchange = rest("mintilesexchange").number();
      return;
    }
    if (is("anagrams")) {
      working_.anagrams = true;
      return;
    }
    if (is("copyboard")) return copyBoard(text.substr(9));
    if (is("copy")) return copyGame(text.substr(4));
    warn(msg::DefsSyntaxError);
  }

  void startGame(std::string_view text) {
    if (text.size() <= 4 || !isSpace(text[4])) {
      warn(msg::DefsUnknownLine);
      return;
    }
    reportUnfinishedRecord();
    working_ = GameType{};
    parseAlphabet_ = kAlphabetEnglish;
    auto name = quotedArgument(text.substr(4));
    if (!name) {
      fail(Message(msg::DefsNoGameName));
      return;
    }
    working_.name = std::move(name);
    recordOpen_ = true;
  }

  void readPlayers(Cursor c) {
    bool haveFirst = false, haveSecond = false;
    const int first = c.number(&haveFirst);
    if (!haveFirst) {
      warn(msg::DefsNoPlayerCount);
      return;
    }
    // The numbers must be separated by white space.
    const bool separated = isSpace(c.peek());
    const int second = separated ? c.number(&haveSecond) : 0;
    working_.minPlayers = first;
    if (!haveSecond) {
      warn(msg::DefsNoPlayerCount);
      return;
    }
    working_.maxPlayers = second;
  }

  void readBonus(Cursor c) {
    c.skipSpace();
    const std::string_view token = c.text.substr(c.pos);
    SquareType type = 0;
    bool known = false;
    if (equalsIgnoringCase(token, "none")) {
      type = square::plain;
      known = true;
    } else if (equalsIgnoringCase(token, "empty")) {
      type = square::empty;
      known = true;
    } else {
      Cursor n{token, 0};
      bool digits = false;
      const bool signOk = !token.empty() && (isDigit(token[0]) || token[0] == '-');
      const int value = signOk ? n.number(&digits) : 0;
      const std::string_view suffix = token.substr(n.pos);
      if (digits && value != 0) {
        if (equalsIgnoringCase(suffix, "ws") && value >= -99 && value <= 99) {
          type = value * 10;
          known = true;
        } else if (equalsIgnoringCase(suffix, "ls") && value >= -9 && value <= 19) {
          type = value;
          known = true;
        }
      }
    }
    if (!known) {
      warn(msg::DefsUnknownBonusType);
      return;
    }
    c.skipToken();
    c.skipSpace();
    if (c.atEnd()) {
      warn(msg::DefsUnexpectedEndOfLine);
      return;
    }
    const char symbol = c.text[c.pos++];
    if (c.atEnd()) {
      warn(msg::DefsUnexpectedEndOfLine);
      return;
    }
    if (!isSpace(c.peek())) {
      warn(msg::DefsSymbolTooLong);
      return;
    }
    for (char declared : working_.squareSymbols) {
      if (declared == symbol) {
        warn(msg::DefsAmbiguousSymbol);
        return;
      }
    }
    c.skipSpace();
    if (c.atEnd()) {
      warn(msg::DefsUnexpectedEndOfLine);
      return;
    }
    int colour = 0, digits = 0;
    for (; !c.atEnd() && digits < 6; ++c.pos) {
      const int v = hexDigitValue(c.text[c.pos]);
      if (v < 0) continue;
      colour = colour * 16 + v;
      ++digits;
    }
    if (digits < 6) {
      warn(msg::DefsInvalidColour);
      return;
    }
    working_.squareTypes.push_back(type);
    working_.squareSymbols.push_back(symbol);
    working_.squareColors.push_back(colour);
  }

  void readTile(Cursor c) {
    c.skipSpace();
    if (c.atEnd()) {
      warn(msg::DefsTileEndOfLine);
      return;
    }
    char letter = c.text[c.pos++];
    // A Latin-1 letter written in UTF-8 (two bytes) counts as that letter.
    const unsigned char lead = static_cast<unsigned char>(letter);
    if ((lead == 0xC2 || lead == 0xC3) && !c.atEnd() && (static_cast<unsigned char>(c.peek()) & 0xC0) == 0x80) {
      letter = static_cast<char>(((lead & 0x03) << 6) | (static_cast<unsigned char>(c.peek()) & 0x3F));
      ++c.pos;
    }
    const char shown = letter;
    letter = latin1Lower(letter);
    const int code = letter == '?' ? alphabetCounts(parseAlphabet_).blankCode : codeOfLower(letter);
    // A letter must stand alone: "ch" is no tile letter.
    if (code < 0 || code > 29 || (!c.atEnd() && !isSpace(c.peek()))) {
      warn(FormatMessage(msg::DefsUnknownTileLetter, shown));
      return;
    }
    int values[3];
    for (int& value : values) {
      c.skipSpace();
      if (c.atEnd()) {
        warn(msg::DefsTileEndOfLine);
        return;
      }
      Cursor token{c.text, c.pos};
      value = token.number();
      c.skipToken();
    }
    working_.tileCount[static_cast<std::size_t>(code)] = values[0];
    working_.tileValue[static_cast<std::size_t>(code)] = values[1];
    working_.tileExtra[static_cast<std::size_t>(code)] = values[2];
  }

  void startBoard() {
    if (working_.width <= 0 || working_.height <= 0) {
      fail(Message(msg::DefsBoardWithoutSize));
      return;
    }
    // Rows are collected as they are accepted, so a huge declared size
    // costs nothing until rows actually arrive.
    boardTypes_.clear();
    boardSymbols_.clear();
    boardRowsLeft_ = working_.height;
  }

  void readBoardRow(std::string_view row) {
    while (!row.empty() && isSpace(row.back())) row.remove_suffix(1);
    if (row.size() != static_cast<std::size_t>(working_.width)) {
      fail(FormatMessage(msg::DefsBadBoardRow, recordName().c_str()));
      return;
    }
    std::vector<SquareType> types;
    std::vector<int> symbols;
    types.reserve(row.size());
    symbols.reserve(row.size());
    for (char c : row) {
      int index = -1;
      for (std::size_t i = 0; i < working_.squareSymbols.size(); ++i) {
        if (working_.squareSymbols[i] == c) {
          index = static_cast<int>(i);
          break;
        }
      }
      if (index < 0) {
        warn(FormatMessage(msg::DefsUnknownSquareChar, c));
        return;  // the same row is read again from the next line
      }
      types.push_back(working_.squareTypes[static_cast<std::size_t>(index)]);
      symbols.push_back(index);
    }
    boardTypes_.insert(boardTypes_.end(), types.begin(), types.end());
    boardSymbols_.insert(boardSymbols_.end(), symbols.begin(), symbols.end());
    if (--boardRowsLeft_ == 0) {
      working_.squareTypeGrid = std::make_shared<const std::vector<SquareType>>(std::move(boardTypes_));
      working_.squareSymbolGrid = std::make_shared<const std::vector<int>>(std::move(boardSymbols_));
      boardTypes_ = {};
      boardSymbols_ = {};
    }
  }

  const GameType* findDefined(std::string_view name) const {
    for (const GameType& type : list_) {
      if (type.name && *type.name == name) return &type;
    }
    return nullptr;
  }

  void copyBoard(std::string_view rest) {
    const auto name = quotedArgument(rest);
    if (!name) return warn(msg::DefsBadCopyboardArgument);
    const GameType* source = findDefined(*name);
    if (!source) return warn(msg::DefsUnknownCopyboardGame);
    working_.width = source->width;
    working_.height = source->height;
    working_.startColumn = source->startColumn;
    working_.startRow = source->startRow;
    working_.squareTypeGrid = source->squareTypeGrid;
    working_.squareSymbolGrid = source->squareSymbolGrid;
    working_.squareTypes = source->squareTypes;
    working_.squareSymbols = source->squareSymbols;
    working_.squareColors = source->squareColors;
  }

  void copyGame(std::string_view rest) {
    const auto name = quotedArgument(rest);
    if (!name) return warn(msg::DefsBadCopyArgument);
    const GameType* source = findDefined(*name);
    if (!source) return warn(msg::DefsUnknownCopyGame);
    auto keptName = std::move(working_.name);
    working_ = *source;
    working_.name = std::move(keptName);
  }

  void endGame() {
    const GameType& g = working_;
    bool valid = true;
    auto check = [&](bool ok, int message) {
      if (!ok) {
        textPane().Print(Message(message));
        valid = false;
      }
    };
    check(g.name.has_value(), msg::DefsNoName);
    check(g.minPlayers >= 1, msg::DefsTooFewPlayers);
    check(g.maxPlayers >= g.minPlayers, msg::DefsMaxBelowMin);
    check(g.maxPlayers <= 16, msg::DefsTooManyPlayers);
    check(g.width > 0 && g.height > 0, msg::DefsZeroBoard);
    check(g.width <= 32 && g.height <= 32, msg::DefsBoardTooBig);
    check(g.startColumn >= 0 && g.startColumn < g.width && g.startRow >= 0 && g.startRow < g.height,
          msg::DefsStartOffBoard);
    // A board read for other dimensions (a later "boardsize") counts as no
    // board: every square of the game must have a type.
    const bool boardFits = g.squareTypeGrid && g.squareSymbolGrid && g.width > 0 && g.height > 0 &&
                           g.squareTypeGrid->size() == static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.height) &&
                           g.squareSymbolGrid->size() == g.squareTypeGrid->size();
    check(boardFits, msg::DefsNoBoard);
    check(g.rackSize >= 3, msg::DefsRackTooSmall);
    check(g.rackSize <= 32, msg::DefsRackTooLarge);
    // Counts and values are bounded so that wells and scores stay sane.
    bool tilesSane = true;
    for (int code = 0; code < kCodeSlots; ++code) {
      const auto i = static_cast<std::size_t>(code);
      tilesSane = tilesSane && g.tileCount[i] >= 0 && g.tileCount[i] <= kMaxTileCount &&
                  g.tileValue[i] >= -kMaxTileValue && g.tileValue[i] <= kMaxTileValue;
    }
    check(tilesSane, msg::DefsTileOutOfRange);
    recordOpen_ = false;
    if (!valid) {
      if (g.name) textPane().Print(FormatMessage(msg::DefsErrorInGame, g.name->c_str()));
      return;
    }
    list_.push_back(working_);
  }

  std::vector<GameType>& list_;
  GameType working_;
  int parseAlphabet_ = kAlphabetEnglish;
  bool recordOpen_ = false;  // a "Game" line without its "GameEnd" yet
  bool fatal_ = false;
  int boardRowsLeft_ = 0;
  std::vector<SquareType> boardTypes_;
  std::vector<int> boardSymbols_;
};

const GameType& noGameType() {
  static const GameType none;
  return none;
}

}  // namespace

void readGameDefinitions(std::istream& in) {
  std::vector<GameType>& list = gameTypeList();
  list.clear();
  DefinitionsReader(list).read(in);
}

void readGameDefinitions(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    gameTypeList().clear();
    PrintMessageF(msg::DefsFileNotFound, path.c_str());
  } else {
    readGameDefinitions(in);
    if (in.bad()) PrintMessageF(msg::DefsReadFailed, path.c_str());
  }
  if (gameTypeList().empty()) PrintMessage(msg::NoGameDefinitions);
}

void readGameDefinitions() { readGameDefinitions(std::string(kGameDefinitionsFile)); }

int gameTypeCount() { return static_cast<int>(gameTypeList().size()); }

const GameType& gameType(int index) {
  const std::vector<GameType>& list = gameTypeList();
  if (index < 0 || index >= static_cast<int>(list.size())) return noGameType();
  return list[static_cast<std::size_t>(index)];
}

int findGameType(std::string_view name) {
  const std::vector<GameType>& list = gameTypeList();
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i].name && *list[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace pexil
