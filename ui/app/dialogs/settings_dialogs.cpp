#include "settings_dialogs.hpp"

#include <wx/spinctrl.h>

#include <algorithm>

#include "text/messages.hpp"

namespace pexil::ui {
namespace {

constexpr int kRunTimeChoices = 10;   // "Until finished" .. "10 minutes"
constexpr int kChallengeTypes = 5;    // single .. none
constexpr int kNoteWidth = 360;       // the width notes wrap at

}  // namespace

CClockDlg::CClockDlg(wxWindow* parent, const ClockChoice& initial) : PexilDialog(parent, msg::DlgTitleClock) {
  AddLabel(msg::DlgClockTime);
  time_ = AddEdit(dlgid::text1, initial.time);
  all_ = AddCheck(dlgid::check1, msg::DlgClockAllPlayers, initial.allPlayers);
  AddLabel(msg::DlgTimeFormatNote)->Wrap(kNoteWidth);
  Finish();
  time_->SetFocus();
  time_->SelectAll();
}

ClockChoice CClockDlg::value() const { return {Trimmed(WxToLatin1(time_->GetValue())), all_->GetValue()}; }

bool CClockDlg::Accept() {
  return ParseClockTime(value().time) || Refuse(Message(msg::DlgBadTime), time_);
}

CLexiconSelectDlg::CLexiconSelectDlg(wxWindow* parent, const std::vector<std::string>& lists, int selected)
    : PexilDialog(parent, msg::DlgTitleSelectLexicon) {
  AddLabel(msg::DlgLexiconWhich);
  lists_ = AddChoice(dlgid::list1, TextList(lists), selected);
  Finish();
  lists_->SetFocus();
}

int CLexiconSelectDlg::value() const { return lists_->GetSelection(); }

bool CLexiconSelectDlg::Accept() { return lists_->GetSelection() != wxNOT_FOUND; }

CSimulationDlg::CSimulationDlg(wxWindow* parent, const LookaheadChoice& initial)
    : PexilDialog(parent, msg::DlgTitleLookahead) {
  ply_ = AddLabelledSpin(msg::DlgLookaheadPly, dlgid::spin1, 1, kMostLookaheadPly, initial.ply);
  threads_ = AddLabelledSpin(msg::DlgLookaheadThreads, dlgid::spin2, 1, MaxThreads(), initial.threads);
  AddLabel(msg::DlgLookaheadMaximize);
  maximize_ = AddChoice(dlgid::list1, MessageList(msg::DlgMaximizeSpread, 2), initial.simType);
  AddLabel(msg::DlgLookaheadRunTime);
  time_ = AddChoice(dlgid::list2, MessageList(msg::DlgRunTimeFirst, kRunTimeChoices), initial.timeCombo);
  guess_ = AddCheck(dlgid::check1, msg::DlgGuessOpponentRack, initial.guessTiles);
  Finish();
  ply_->SetFocus();
}

LookaheadChoice CSimulationDlg::value() const {
  LookaheadChoice choice;
  choice.ply = ply_->GetValue();
  choice.threads = threads_->GetValue();
  choice.simType = maximize_->GetSelection();
  choice.timeCombo = time_->GetSelection();
  choice.guessTiles = guess_->GetValue();
  return choice;
}

CPhonyDlg::CPhonyDlg(wxWindow* parent, int current) : PexilDialog(parent, msg::DlgTitlePhonies) {
  length_ = AddLabelledSpin(msg::DlgPhonyMinLength, dlgid::spin1, kLeastPhonyLength, kMostPhonyLength, current);
  Finish();
  length_->SetFocus();
}

int CPhonyDlg::value() const { return length_->GetValue(); }

CChallengeDlg::CChallengeDlg(wxWindow* parent, const ChallengeChoice& initial)
    : PexilDialog(parent, msg::DlgTitleChallenge) {
  AddLabel(msg::DlgChallengeTypeLabel);
  type_ = AddChoice(dlgid::list1, MessageList(msg::DlgChallengeSingle, kChallengeTypes), initial.type);
  penalty_ = AddLabelledEdit(msg::DlgChallengePointPenalty, dlgid::text1, std::to_string(initial.penalty));
  // The note takes the size of the longest description, so that the
  // dialog need not grow when another type is chosen.
  note_ = AddText(wxString(), dlgid::note);
  int width = 0;
  int height = 0;
  for (int k = 0; k < kChallengeTypes; ++k) {
    note_->SetLabel(Latin1ToWx(ChallengeNote(k)));
    note_->Wrap(kNoteWidth);
    const wxSize size = note_->GetBestSize();
    width = std::max(width, size.x);
    height = std::max(height, size.y);
  }
  note_->SetMinSize(wxSize(width, height));
  ShowNote();
  type_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { ShowNote(); });
  Finish();
  type_->SetFocus();
}

void CChallengeDlg::ShowNote() {
  note_->SetLabel(Latin1ToWx(ChallengeNote(type_->GetSelection())));
  note_->Wrap(kNoteWidth);
}

ChallengeChoice CChallengeDlg::value() const {
  ChallengeChoice choice;
  choice.type = type_->GetSelection();
  choice.penalty = ParseBounded(WxToLatin1(penalty_->GetValue()), 0, kMostPenalty).value_or(0);
  return choice;
}

bool CChallengeDlg::Accept() { return Number(penalty_, 0, kMostPenalty).has_value(); }

}  // namespace pexil::ui
