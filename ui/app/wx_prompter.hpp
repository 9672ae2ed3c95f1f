// The commands' questions asked with the desktop program's dialogs: each
// method opens its dialog modally over the parent window and answers its
// values after OK, none after Cancel.
#pragma once

#include <wx/wx.h>

#include "prompter.hpp"

namespace pexil::ui {

class WxPrompter : public Prompter {
 public:
  explicit WxPrompter(wxWindow* parent) : parent_(parent) {}

  void about() override;
  std::optional<std::string> editRack(const std::string& current) override;
  std::optional<PlayerValue> generalRack(const std::vector<std::string>& players, int selected) override;
  std::optional<std::string> blankLetter() override;
  std::optional<ClockChoice> clock(const ClockChoice& initial) override;
  std::optional<std::string> lexiconText(const std::string& prompt) override;
  std::optional<int> selectLexicon(const std::vector<std::string>& lists, int selected) override;
  std::optional<LookaheadChoice> lookahead(const LookaheadChoice& initial) override;
  std::optional<std::string> exchange(const std::string& rack) override;
  std::optional<std::string> knownTiles(const std::string& current) override;
  std::optional<std::vector<std::string>> twoScores(const std::vector<std::string>& names,
                                                     const std::vector<int>& scores) override;
  std::optional<PlayerValue> playerScore(const std::vector<std::string>& names,
                                         const std::vector<int>& scores) override;
  std::optional<std::vector<std::string>> twoNames(const std::vector<std::string>& names) override;
  std::optional<PlayerValue> playerName(const std::vector<std::string>& names) override;
  std::optional<GameChoice> selectGame(const std::vector<std::string>& types, const GameChoice& initial) override;
  std::optional<AnalyzeMoveChoice> analyzeMove(const std::vector<std::string>& moves,
                                               const AnalyzeMoveChoice& initial) override;
  std::optional<std::string> annotate(const std::string& current) override;
  std::optional<PlayPexilChoice> playPexil(const PlayPexilChoice& initial) override;
  std::optional<AnalyzeGameChoice> analyzeGame(const AnalyzeGameChoice& initial) override;
  std::optional<int> phonies(int current) override;
  std::optional<ChallengeChoice> challenge(const ChallengeChoice& initial) override;
  std::optional<std::vector<std::string>> wordKnowledge(const std::vector<std::string>& words) override;

  std::optional<std::string> openFile(FileKind kind) override;
  std::optional<std::string> saveFile(FileKind kind, const std::string& defaultName) override;
  void message(const std::string& text) override;
  bool confirm(const std::string& question) override;
  std::optional<int> colour(int titleMessage, int initial) override;

 private:
  wxWindow* parent_;
};

// How the file dialogs present a kind of file: the title message of the
// open and the save dialog (0 where the kind is never opened or saved),
// the extension without its dot, and the filter text ("label|*.ext|...").
struct FileKindText {
  int openTitle = 0;
  int saveTitle = 0;
  std::string extension;
  std::string filter;
};
FileKindText FileKindTexts(FileKind kind);

// A path chosen for saving, with the kind's extension added when its file
// name has none.
std::string WithDefaultExtension(const std::string& path, FileKind kind);

}  // namespace pexil::ui
