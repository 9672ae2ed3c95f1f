#include "game_dialogs.hpp"

#include <wx/spinctrl.h>

#include <algorithm>

#include "session.hpp"
#include "settings_dialogs.hpp"
#include "text/messages.hpp"

namespace pexil::ui {
namespace {

constexpr int kFirstTurnChoices = 4;  // me, Pexil, alternate, random
constexpr int kNoteWidth = 360;

}  // namespace

CGameSelectDlg::CGameSelectDlg(wxWindow* parent, const std::vector<std::string>& names, int selected, int players)
    : PexilDialog(parent, msg::DlgTitleSelectGame) {
  AddLabel(msg::DlgSelectGameGame);
  types_ = AddChoice(dlgid::list1, TextList(names), selected);
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(new wxStaticText(this, wxID_ANY, MessageText(msg::DlgSelectGamePlayers)), 0,
           wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
  players_ = new wxSpinCtrl(this, dlgid::spin1, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                            wxSP_ARROW_KEYS, 1, 16, players);
  row->Add(players_, 0, wxALIGN_CENTER_VERTICAL);
  column()->Add(row, 0, wxLEFT | wxRIGHT | wxTOP, 10);
  Finish();
  players_->SetValue(players);
  BoundPlayers();
  types_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { BoundPlayers(); });
  // Enter in the number of players presses the default button, OK.
  types_->SetFocus();
}

int CGameSelectDlg::gameType() const { return types_->GetSelection(); }

int CGameSelectDlg::players() const { return players_->GetValue(); }

bool CGameSelectDlg::Accept() {
  return types_->GetSelection() != wxNOT_FOUND || Refuse(Message(msg::DlgChooseGameType), types_);
}

// The spin offers the numbers of players the chosen type allows; a value
// outside them moves to the nearest bound.
void CGameSelectDlg::BoundPlayers() {
  const auto [least, most] = PlayerRange(types_->GetSelection());
  const int value = std::clamp(players_->GetValue(), least, most);
  players_->SetRange(least, most);
  players_->SetValue(value);
}

CPlayPexil::CPlayPexil(wxWindow* parent, const PlayPexilChoice& initial)
    : PexilDialog(parent, msg::DlgTitlePlayPexil) {
  AddLabel(msg::DlgPlayFirstPlayer);
  first_ = AddChoice(dlgid::list1, MessageList(msg::DlgFirstMe, kFirstTurnChoices), initial.firstTurn);
  AddLabel(msg::DlgPlayYourName);
  name_ = AddEdit(dlgid::text1, initial.name);
  AddLabel(msg::DlgPlayHowPexilPlays);
  type_ = AddChoice(dlgid::list2, MessageList(msg::DlgPlayByTime, 2), initial.playType);
  // The label is the longer of its two texts while the dialog is laid out.
  const wxString clock = MessageText(msg::DlgPlayPexilClock);
  const wxString depth = MessageText(msg::DlgPlayPlyDepth);
  amountLabel_ = AddText(clock.length() >= depth.length() ? clock : depth, dlgid::amountLabel);
  amountLabel_->SetMinSize(amountLabel_->GetBestSize());
  amount_ = AddEdit(dlgid::text2, initial.amount);
  sameTime_ = AddCheck(dlgid::check1, msg::DlgPlaySameTime, initial.sameTime);
  AddLabel(msg::DlgTimeFormatNote)->Wrap(kNoteWidth);
  Finish();
  ShowPlayType();
  type_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { ShowPlayType(); });
  first_->SetFocus();
}

// By time the amount is the computer player's clock; by depth it is the
// simulation ply, and the user's clock has nothing to copy.
void CPlayPexil::ShowPlayType() {
  const bool byTime = type_->GetSelection() != 1;
  amountLabel_->SetLabel(MessageText(byTime ? msg::DlgPlayPexilClock : msg::DlgPlayPlyDepth));
  sameTime_->Enable(byTime);
}

PlayPexilChoice CPlayPexil::value() const {
  PlayPexilChoice choice;
  choice.firstTurn = first_->GetSelection();
  choice.name = Trimmed(WxToLatin1(name_->GetValue()));
  choice.playType = type_->GetSelection();
  choice.amount = Trimmed(WxToLatin1(amount_->GetValue()));
  choice.sameTime = sameTime_->GetValue();
  return choice;
}

bool CPlayPexil::Accept() {
  const PlayPexilChoice choice = value();
  if (choice.name.empty()) return Refuse(Message(msg::DlgTypeName), name_);
  if (choice.playType == 1) {
    return ParseBounded(choice.amount, 1, kMaxPlayPly) || Refuse(Message(msg::PlayBadPly), amount_);
  }
  return ParseClockTime(choice.amount) || Refuse(Message(msg::DlgBadTime), amount_);
}

CAnalyzeDlg::CAnalyzeDlg(wxWindow* parent, const std::vector<std::string>& moves, const AnalyzeMoveChoice& initial)
    : PexilDialog(parent, msg::DlgTitleAnalyzeMove), custom_(static_cast<int>(moves.size())) {
  AddLabel(msg::DlgAnalyzeMoveMove);
  std::vector<wxString> lines = TextList(moves);
  lines.push_back(MessageText(msg::DlgCustomExchange));
  moves_ = AddChoice(dlgid::list1, lines, initial.candidate);
  AddLabel(msg::DlgExchangeKeep);
  keep_ = AddEdit(dlgid::text1, initial.keep);
  ply_ = AddLabelledSpin(msg::DlgAnalyzeMovePly, dlgid::spin1, 1, kMostLookaheadPly, initial.ply);
  threads_ = AddLabelledSpin(msg::DlgAnalyzeMoveThreads, dlgid::spin2, 1, MaxThreads(), initial.threads);
  guess_ = AddCheck(dlgid::check1, msg::DlgGuessOpponentRack, initial.guessTiles);
  Finish();
  EnableKeep();
  moves_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { EnableKeep(); });
  moves_->SetFocus();
}

bool CAnalyzeDlg::CustomChosen() const { return moves_->GetSelection() == custom_; }

void CAnalyzeDlg::EnableKeep() { keep_->Enable(CustomChosen()); }

AnalyzeMoveChoice CAnalyzeDlg::value() const {
  AnalyzeMoveChoice choice;
  choice.candidate = moves_->GetSelection();
  choice.keep = CustomChosen() ? Trimmed(WxToLatin1(keep_->GetValue())) : std::string();
  choice.ply = ply_->GetValue();
  choice.threads = threads_->GetValue();
  choice.guessTiles = guess_->GetValue();
  return choice;
}

bool CAnalyzeDlg::Accept() {
  if (!CustomChosen()) return true;
  const std::string problem = RackProblem(value().keep, true);
  return problem.empty() || Refuse(problem, keep_);
}

AnalyzeGameDlg::AnalyzeGameDlg(wxWindow* parent, const AnalyzeGameChoice& initial)
    : PexilDialog(parent, msg::DlgTitleAnalyzeGame) {
  AddLabel(msg::DlgAnalyzeGameTopMoves);
  topMoves_ = AddEdit(dlgid::text1, std::to_string(initial.topMoves));
  AddLabel(msg::DlgAnalyzeGameMinSimulations);
  minSim_ = AddEdit(dlgid::text2, std::to_string(initial.minSim));
  AddLabel(msg::DlgAnalyzeGameOutputPath);
  path_ = AddEdit(dlgid::text3, initial.path);
  path_->SetMinSize(wxSize(420, -1));
  ply_ = AddLabelledSpin(msg::DlgAnalyzeGamePly, dlgid::spin1, 1, kMostLookaheadPly, initial.ply);
  tiles_ = AddCheck(dlgid::check1, msg::DlgAnalyzeGameTileGuesses, initial.tileGuesses);
  heat_ = AddCheck(dlgid::check2, msg::DlgAnalyzeGameHeatmaps, initial.heatmaps);
  Finish();
  topMoves_->SetFocus();
}

AnalyzeGameChoice AnalyzeGameDlg::value() const {
  AnalyzeGameChoice choice;
  choice.topMoves = ParseBounded(WxToLatin1(topMoves_->GetValue()), 1, kMostTopMoves).value_or(1);
  choice.minSim = ParseBounded(WxToLatin1(minSim_->GetValue()), 0, kMostMinSim).value_or(0);
  choice.path = Trimmed(WxToLatin1(path_->GetValue()));
  choice.ply = ply_->GetValue();
  choice.tileGuesses = tiles_->GetValue();
  choice.heatmaps = heat_->GetValue();
  return choice;
}

bool AnalyzeGameDlg::Accept() {
  if (!Number(topMoves_, 1, kMostTopMoves)) return false;
  return Number(minSim_, 0, kMostMinSim).has_value();
}

}  // namespace pexil::ui
