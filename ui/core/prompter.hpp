// How the commands of the view ask the user for what they need: one
// method per dialog, plus the file choices, questions and colour picks.
// Every method answers "none" for Cancel. The window implements it with
// wx dialogs; the tests with scripted answers. Text is Latin-1, as
// everywhere in the program.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dialog_values.hpp"

namespace pexil::ui {

// The kinds of files the file commands choose.
enum class FileKind { game, position, recap, ratings, image, wordList, report };

class Prompter {
 public:
  virtual ~Prompter() = default;

  // CAboutDlg.
  virtual void about() = 0;
  // CEditRackDlg: the rack of the player to move, typed.
  virtual std::optional<std::string> editRack(const std::string& current) = 0;
  // CGenRackDlg: a player and the tiles typed for it.
  virtual std::optional<PlayerValue> generalRack(const std::vector<std::string>& players, int selected) = 0;
  // CBlankDlg: the letter a blank laid on the board stands for.
  virtual std::optional<std::string> blankLetter() = 0;
  // CClockDlg.
  virtual std::optional<ClockChoice> clock(const ClockChoice& initial) = 0;
  // CLexiconDlg: one line of text for a word query, with the caller's prompt.
  virtual std::optional<std::string> lexiconText(const std::string& prompt) = 0;
  // CLexiconSelectDlg: the index of the chosen word list.
  virtual std::optional<int> selectLexicon(const std::vector<std::string>& lists, int selected) = 0;
  // CSimulationDlg.
  virtual std::optional<LookaheadChoice> lookahead(const LookaheadChoice& initial) = 0;
  // CXchgDlg: the tiles to keep.
  virtual std::optional<std::string> exchange(const std::string& rack) = 0;
  // CKnownTilesDlg.
  virtual std::optional<std::string> knownTiles(const std::string& current) = 0;
  // C2PScoreDlg: both scores typed.
  virtual std::optional<std::vector<std::string>> twoScores(const std::vector<std::string>& names,
                                                             const std::vector<int>& scores) = 0;
  // CScoreDlg: one player's score.
  virtual std::optional<PlayerValue> playerScore(const std::vector<std::string>& names,
                                                 const std::vector<int>& scores) = 0;
  // CNames2Dlg: both names.
  virtual std::optional<std::vector<std::string>> twoNames(const std::vector<std::string>& names) = 0;
  // CNameDlg: one player's new name.
  virtual std::optional<PlayerValue> playerName(const std::vector<std::string>& names) = 0;
  // CGameSelectDlg: a game type and the number of players.
  virtual std::optional<GameChoice> selectGame(const std::vector<std::string>& types, const GameChoice& initial) = 0;
  // CAnalyzeDlg: `moves` are the candidate lines; "Custom exchange..." is
  // offered after them.
  virtual std::optional<AnalyzeMoveChoice> analyzeMove(const std::vector<std::string>& moves,
                                                       const AnalyzeMoveChoice& initial) = 0;
  // CAnnotateDlg: the last move's annotation (lines joined by '\n').
  virtual std::optional<std::string> annotate(const std::string& current) = 0;
  // CPlayPexil.
  virtual std::optional<PlayPexilChoice> playPexil(const PlayPexilChoice& initial) = 0;
  // AnalyzeGameDlg.
  virtual std::optional<AnalyzeGameChoice> analyzeGame(const AnalyzeGameChoice& initial) = 0;
  // CPhonyDlg.
  virtual std::optional<int> phonies(int current) = 0;
  // CChallengeDlg.
  virtual std::optional<ChallengeChoice> challenge(const ChallengeChoice& initial) = 0;
  // CWordKnowledgeDlg: the list of words as the user left it.
  virtual std::optional<std::vector<std::string>> wordKnowledge(const std::vector<std::string>& words) = 0;

  // A file to open or save; `defaultName` without its extension.
  virtual std::optional<std::string> openFile(FileKind kind) = 0;
  virtual std::optional<std::string> saveFile(FileKind kind, const std::string& defaultName) = 0;
  // A message in a box of its own (the word check's answer).
  virtual void message(const std::string& text) = 0;
  // A yes/no question.
  virtual bool confirm(const std::string& question) = 0;
  // A colour (0xRRGGBB) chosen from `initial`; the title is a message number.
  virtual std::optional<int> colour(int titleMessage, int initial) = 0;
};

}  // namespace pexil::ui
