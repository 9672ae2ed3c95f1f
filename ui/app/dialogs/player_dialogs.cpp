#include "player_dialogs.hpp"

#include "text/messages.hpp"

namespace pexil::ui {
namespace {

std::vector<std::string> ScoreTexts(const std::vector<int>& scores) {
  std::vector<std::string> texts;
  for (const int score : scores) texts.push_back(std::to_string(score));
  return texts;
}

std::string ScoreProblem(const std::string& typed) {
  if (ParseBounded(typed, kLeastScore, kMostScore)) return {};
  return FormatMessage(msg::DlgNumberRange, kLeastScore, kMostScore);
}

std::string NameProblem(const std::string& typed) {
  return Trimmed(typed).empty() ? std::string(Message(msg::DlgTypeName)) : std::string();
}

}  // namespace

CGenRackDlg::CGenRackDlg(wxWindow* parent, const std::vector<std::string>& players, int selected)
    : PexilDialog(parent, msg::DlgTitleSetRack) {
  AddLabel(msg::DlgPlayer);
  players_ = AddChoice(dlgid::list1, TextList(players), selected);
  AddLabel(msg::DlgRackTypeTilesPlain);
  tiles_ = AddEdit(dlgid::text1, std::string());
  Finish();
  tiles_->SetFocus();
}

PlayerValue CGenRackDlg::value() const {
  return {players_->GetSelection(), Trimmed(WxToLatin1(tiles_->GetValue()))};
}

bool CGenRackDlg::Accept() {
  const std::string problem = RackProblem(value().value, false);
  return problem.empty() || Refuse(problem, tiles_);
}

TwoPlayerDlg::TwoPlayerDlg(wxWindow* parent, int titleMessage, const std::vector<std::string>& values)
    : PexilDialog(parent, titleMessage) {
  first_ = AddLabelledEdit(msg::DlgPlayer1, dlgid::text1, values.size() > 0 ? values[0] : std::string());
  second_ = AddLabelledEdit(msg::DlgPlayer2, dlgid::text2, values.size() > 1 ? values[1] : std::string());
  Finish();
  first_->SetFocus();
  first_->SelectAll();
}

std::vector<std::string> TwoPlayerDlg::value() const {
  return {Trimmed(WxToLatin1(first_->GetValue())), Trimmed(WxToLatin1(second_->GetValue()))};
}

bool TwoPlayerDlg::Accept() {
  const std::vector<std::string> typed = value();
  if (const std::string problem = Problem(typed[0]); !problem.empty()) return Refuse(problem, first_);
  if (const std::string problem = Problem(typed[1]); !problem.empty()) return Refuse(problem, second_);
  return true;
}

C2PScoreDlg::C2PScoreDlg(wxWindow* parent, const std::vector<int>& scores)
    : TwoPlayerDlg(parent, msg::DlgTitleScores, ScoreTexts(scores)) {}

std::string C2PScoreDlg::Problem(const std::string& typed) const { return ScoreProblem(typed); }

CNames2Dlg::CNames2Dlg(wxWindow* parent, const std::vector<std::string>& names)
    : TwoPlayerDlg(parent, msg::DlgTitleNames, names) {}

std::string CNames2Dlg::Problem(const std::string& typed) const { return NameProblem(typed); }

PlayerValueDlg::PlayerValueDlg(wxWindow* parent, int titleMessage, int listLabel, int editLabel,
                               const std::vector<std::string>& names, const std::vector<std::string>& values)
    : PexilDialog(parent, titleMessage), values_(values) {
  AddLabel(listLabel);
  players_ = AddChoice(dlgid::list1, TextList(names), 0);
  AddLabel(editLabel);
  edit_ = AddEdit(dlgid::text1, values_.empty() ? std::string() : values_[0]);
  Finish();
  // Choosing another player shows that player's present value.
  players_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) {
    const int k = players_->GetSelection();
    if (k >= 0 && k < static_cast<int>(values_.size())) edit_->ChangeValue(Latin1ToWx(values_[k]));
  });
  edit_->SetFocus();
  edit_->SelectAll();
}

PlayerValue PlayerValueDlg::value() const {
  return {players_->GetSelection(), Trimmed(WxToLatin1(edit_->GetValue()))};
}

bool PlayerValueDlg::Accept() {
  const std::string problem = Problem(value().value);
  return problem.empty() || Refuse(problem, edit_);
}

CScoreDlg::CScoreDlg(wxWindow* parent, const std::vector<std::string>& names, const std::vector<int>& scores)
    : PlayerValueDlg(parent, msg::DlgTitleScore, msg::DlgScorePlayerName, msg::DlgScorePlayerScore, names,
                     ScoreTexts(scores)) {}

std::string CScoreDlg::Problem(const std::string& typed) const { return ScoreProblem(typed); }

CNameDlg::CNameDlg(wxWindow* parent, const std::vector<std::string>& names)
    : PlayerValueDlg(parent, msg::DlgTitlePlayerNames, msg::DlgPlayer, msg::DlgNewName, names, names) {}

std::string CNameDlg::Problem(const std::string& typed) const { return NameProblem(typed); }

}  // namespace pexil::ui
