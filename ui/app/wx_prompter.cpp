#include "wx_prompter.hpp"

#include <wx/colordlg.h>
#include <wx/filedlg.h>

#include "dialogs/about_dialog.hpp"
#include "dialogs/game_dialogs.hpp"
#include "dialogs/player_dialogs.hpp"
#include "dialogs/settings_dialogs.hpp"
#include "dialogs/text_dialogs.hpp"
#include "dialogs/word_knowledge_dialog.hpp"
#include "text/messages.hpp"

namespace pexil::ui {
namespace {

// Opens `dialog` modally; its value after OK, none after Cancel.
template <class Dialog>
auto Ask(Dialog& dialog) -> std::optional<decltype(dialog.value())> {
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return dialog.value();
}

std::string Filter(int label, const char* extension) {
  return std::string(Message(label)) + "|*." + extension + "|" + Message(msg::FileFilterAll) + "|*";
}

}  // namespace

FileKindText FileKindTexts(FileKind kind) {
  switch (kind) {
    case FileKind::game:
      return {msg::FileDlgOpenGame, msg::FileDlgSaveGame, "gcg", Filter(msg::FileFilterGames, "gcg")};
    case FileKind::position:
      return {msg::FileDlgOpenPosition, msg::FileDlgSavePosition, "pexil", Filter(msg::FileFilterPositions, "pexil")};
    case FileKind::recap:
      return {0, msg::FileDlgSaveRecap, "htm", Filter(msg::FileFilterWebPages, "htm")};
    case FileKind::ratings:
      return {0, msg::FileDlgSaveRatings, "txt", Filter(msg::FileFilterText, "txt")};
    case FileKind::image:
      return {0, msg::FileDlgSaveImage, "png", Filter(msg::FileFilterImages, "png")};
    case FileKind::wordList:
      return {0, 0, "txt", Filter(msg::FileFilterText, "txt")};
    case FileKind::report:
      return {0, 0, "txt", Filter(msg::FileFilterText, "txt")};
  }
  return {};
}

std::string WithDefaultExtension(const std::string& path, FileKind kind) {
  const std::size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty() || name.find('.') != std::string::npos) return path;
  return path + "." + FileKindTexts(kind).extension;
}

void WxPrompter::about() {
  CAboutDlg dialog(parent_);
  dialog.ShowModal();
}

std::optional<std::string> WxPrompter::editRack(const std::string& current) {
  CEditRackDlg dialog(parent_, current);
  return Ask(dialog);
}

std::optional<PlayerValue> WxPrompter::generalRack(const std::vector<std::string>& players, int selected) {
  CGenRackDlg dialog(parent_, players, selected);
  return Ask(dialog);
}

std::optional<std::string> WxPrompter::blankLetter() {
  CBlankDlg dialog(parent_);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return dialog.letter();
}

std::optional<ClockChoice> WxPrompter::clock(const ClockChoice& initial) {
  CClockDlg dialog(parent_, initial);
  return Ask(dialog);
}

std::optional<std::string> WxPrompter::lexiconText(const std::string& prompt) {
  CLexiconDlg dialog(parent_, prompt);
  return Ask(dialog);
}

std::optional<int> WxPrompter::selectLexicon(const std::vector<std::string>& lists, int selected) {
  CLexiconSelectDlg dialog(parent_, lists, selected);
  return Ask(dialog);
}

std::optional<LookaheadChoice> WxPrompter::lookahead(const LookaheadChoice& initial) {
  CSimulationDlg dialog(parent_, initial);
  return Ask(dialog);
}

std::optional<std::string> WxPrompter::exchange(const std::string& rack) {
  CXchgDlg dialog(parent_, rack);
  return Ask(dialog);
}

std::optional<std::string> WxPrompter::knownTiles(const std::string& current) {
  CKnownTilesDlg dialog(parent_, current);
  return Ask(dialog);
}

std::optional<std::vector<std::string>> WxPrompter::twoScores(const std::vector<std::string>&,
                                                               const std::vector<int>& scores) {
  C2PScoreDlg dialog(parent_, scores);
  return Ask(dialog);
}

std::optional<PlayerValue> WxPrompter::playerScore(const std::vector<std::string>& names,
                                                   const std::vector<int>& scores) {
  CScoreDlg dialog(parent_, names, scores);
  return Ask(dialog);
}

std::optional<std::vector<std::string>> WxPrompter::twoNames(const std::vector<std::string>& names) {
  CNames2Dlg dialog(parent_, names);
  return Ask(dialog);
}

std::optional<PlayerValue> WxPrompter::playerName(const std::vector<std::string>& names) {
  CNameDlg dialog(parent_, names);
  return Ask(dialog);
}

std::optional<GameChoice> WxPrompter::selectGame(const std::vector<std::string>& types, const GameChoice& initial) {
  CGameSelectDlg dialog(parent_, types, initial.gameType, initial.players);
  return Ask(dialog);
}

std::optional<AnalyzeMoveChoice> WxPrompter::analyzeMove(const std::vector<std::string>& moves,
                                                         const AnalyzeMoveChoice& initial) {
  CAnalyzeDlg dialog(parent_, moves, initial);
  return Ask(dialog);
}

std::optional<std::string> WxPrompter::annotate(const std::string& current) {
  CAnnotateDlg dialog(parent_, current);
  return Ask(dialog);
}

std::optional<PlayPexilChoice> WxPrompter::playPexil(const PlayPexilChoice& initial) {
  CPlayPexil dialog(parent_, initial);
  return Ask(dialog);
}

std::optional<AnalyzeGameChoice> WxPrompter::analyzeGame(const AnalyzeGameChoice& initial) {
  AnalyzeGameDlg dialog(parent_, initial);
  return Ask(dialog);
}

std::optional<int> WxPrompter::phonies(int current) {
  CPhonyDlg dialog(parent_, current);
  return Ask(dialog);
}

std::optional<ChallengeChoice> WxPrompter::challenge(const ChallengeChoice& initial) {
  CChallengeDlg dialog(parent_, initial);
  return Ask(dialog);
}

std::optional<std::vector<std::string>> WxPrompter::wordKnowledge(const std::vector<std::string>& words) {
  CWordKnowledgeDlg dialog(parent_, words);
  return Ask(dialog);
}

std::optional<std::string> WxPrompter::openFile(FileKind kind) {
  const FileKindText text = FileKindTexts(kind);
  wxFileDialog dialog(parent_, text.openTitle != 0 ? MessageText(text.openTitle) : wxString(wxFileSelectorPromptStr),
                      wxEmptyString, wxEmptyString, Latin1ToWx(text.filter), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK || dialog.GetPath().empty()) return std::nullopt;
  return std::string(dialog.GetPath().fn_str());
}

std::optional<std::string> WxPrompter::saveFile(FileKind kind, const std::string& defaultName) {
  const FileKindText text = FileKindTexts(kind);
  const wxString name = defaultName.empty() ? wxString() : Latin1ToWx(defaultName + "." + text.extension);
  wxFileDialog dialog(parent_, text.saveTitle != 0 ? MessageText(text.saveTitle) : wxString(wxFileSelectorPromptStr),
                      wxEmptyString, name, Latin1ToWx(text.filter), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK || dialog.GetPath().empty()) return std::nullopt;
  return WithDefaultExtension(std::string(dialog.GetPath().fn_str()), kind);
}

void WxPrompter::message(const std::string& text) { ShowMessage(parent_, text); }

bool WxPrompter::confirm(const std::string& question) { return AskQuestion(parent_, question); }

std::optional<int> WxPrompter::colour(int titleMessage, int initial) {
  wxColourData data;
  data.SetColour(wxColour((initial >> 16) & 0xFF, (initial >> 8) & 0xFF, initial & 0xFF));
  wxColourDialog dialog(parent_, &data);
  dialog.SetTitle(MessageText(titleMessage));
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  const wxColour chosen = dialog.GetColourData().GetColour();
  return (chosen.Red() << 16) | (chosen.Green() << 8) | chosen.Blue();
}

}  // namespace pexil::ui
