#include "text_dialogs.hpp"

#include "dialog_values.hpp"
#include "text/messages.hpp"

namespace pexil::ui {

OneEditDlg::OneEditDlg(wxWindow* parent, int titleMessage, const wxString& label, const std::string& value,
                       long style)
    : PexilDialog(parent, titleMessage) {
  if (!label.empty()) AddText(label);
  edit_ = AddEdit(dlgid::text1, value, style);
  if ((style & wxTE_MULTILINE) != 0) edit_->SetMinSize(wxSize(360, 140));
  Finish();
  edit_->SetFocus();
  edit_->SelectAll();
}

std::string OneEditDlg::value() const {
  std::string text = WxToLatin1(edit_->GetValue());
  // A multi-line edit gives its lines joined by '\n'; anything else is one
  // line without the blanks around it.
  return edit_->IsMultiLine() ? text : Trimmed(text);
}

CEditRackDlg::CEditRackDlg(wxWindow* parent, const std::string& current)
    : OneEditDlg(parent, msg::DlgTitleSetRack, MessageText(msg::DlgRackTypeTiles), current) {}

bool CEditRackDlg::Accept() {
  const std::string problem = RackProblem(value(), false);
  return problem.empty() || Refuse(problem, edit_);
}

CBlankDlg::CBlankDlg(wxWindow* parent)
    : OneEditDlg(parent, msg::DlgTitleBlank, MessageText(msg::DlgBlankWhichTile), std::string()) {
  edit_->SetMinSize(wxSize(80, -1));
  Fit();
}

std::string CBlankDlg::letter() const {
  const auto c = BlankLetter(value());
  return c ? std::string(1, *c) : std::string();
}

bool CBlankDlg::Accept() { return BlankLetter(value()) || Refuse(Message(msg::DlgTypeOneLetter), edit_); }

CLexiconDlg::CLexiconDlg(wxWindow* parent, const std::string& prompt)
    : OneEditDlg(parent, msg::DlgTitleLexicon, Latin1ToWx(prompt), std::string()) {}

CXchgDlg::CXchgDlg(wxWindow* parent, const std::string& rack)
    : OneEditDlg(parent, msg::DlgTitleExchange, MessageText(msg::DlgExchangeKeep), std::string()) {
  // The rack itself, so that the tiles to keep can be read off it.
  auto* shown = new wxStaticText(this, wxID_ANY, Latin1ToWx(rack));
  column()->Insert(0, shown, 0, wxLEFT | wxRIGHT | wxTOP, 10);
  Fit();
}

bool CXchgDlg::Accept() {
  const std::string problem = RackProblem(value(), true);
  return problem.empty() || Refuse(problem, edit_);
}

CKnownTilesDlg::CKnownTilesDlg(wxWindow* parent, const std::string& current)
    : OneEditDlg(parent, msg::DlgTitleKnownTiles, MessageText(msg::DlgKnownTilesLabel), current) {}

bool CKnownTilesDlg::Accept() {
  const std::string problem = RackProblem(value(), true);
  return problem.empty() || Refuse(problem, edit_);
}

CAnnotateDlg::CAnnotateDlg(wxWindow* parent, const std::string& current)
    : OneEditDlg(parent, msg::DlgTitleAnnotations, wxString(), current, wxTE_MULTILINE) {}

}  // namespace pexil::ui
