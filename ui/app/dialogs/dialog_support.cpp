#include "dialog_support.hpp"

#include <wx/spinctrl.h>

#include <algorithm>

#include "dialog_values.hpp"
#include "text/messages.hpp"

namespace pexil::ui {

wxString MessageText(int number) {
  const char* text = Message(number);
  return Latin1ToWx(text != nullptr ? text : "");
}

wxString Latin1ToWx(const std::string& text) { return wxString(text.c_str(), wxConvISO8859_1, text.size()); }

std::string WxToLatin1(const wxString& text) {
  std::string out;
  out.reserve(text.length());
  for (const wxUniChar c : text) {
    const auto code = c.GetValue();
    out.push_back(code < 256 ? static_cast<char>(code) : '?');
  }
  return out;
}

DialogHooks& Hooks() {
  static DialogHooks hooks;
  return hooks;
}

void ShowMessage(wxWindow* parent, const std::string& text) {
  if (Hooks().message) {
    Hooks().message(text);
    return;
  }
  wxMessageBox(Latin1ToWx(text), wxTheApp != nullptr ? wxTheApp->GetAppDisplayName() : wxString(),
               wxOK | wxICON_INFORMATION, parent);
}

bool AskQuestion(wxWindow* parent, const std::string& text) {
  if (Hooks().question) return Hooks().question(text);
  return wxMessageBox(Latin1ToWx(text), wxTheApp != nullptr ? wxTheApp->GetAppDisplayName() : wxString(),
                      wxYES_NO | wxICON_QUESTION, parent) == wxYES;
}

PexilDialog::PexilDialog(wxWindow* parent, int titleMessage)
    : wxDialog(parent, wxID_ANY, MessageText(titleMessage)) {
  Build();
}

PexilDialog::PexilDialog(wxWindow* parent, const wxString& title) : wxDialog(parent, wxID_ANY, title) { Build(); }

void PexilDialog::Build() {
  column_ = new wxBoxSizer(wxVERTICAL);
  SetSizer(column_);
  Bind(wxEVT_BUTTON, &PexilDialog::OnOk, this, wxID_OK);
}

wxStaticText* PexilDialog::AddLabel(int message, int id) { return AddText(MessageText(message), id); }

wxStaticText* PexilDialog::AddText(const wxString& text, int id) {
  auto* label = new wxStaticText(this, id, text);
  column_->Add(label, 0, wxLEFT | wxRIGHT | wxTOP, 10);
  return label;
}

wxTextCtrl* PexilDialog::AddEdit(int id, const std::string& value, long style) {
  auto* edit = new wxTextCtrl(this, id, Latin1ToWx(value), wxDefaultPosition, wxSize(260, -1), style);
  column_->Add(edit, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
  return edit;
}

wxSpinCtrl* PexilDialog::AddSpin(int id, int least, int most, int value) {
  auto* spin = new wxSpinCtrl(this, id, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS, least,
                              most, std::clamp(value, least, most));
  column_->Add(spin, 0, wxLEFT | wxRIGHT | wxTOP, 10);
  return spin;
}

wxChoice* PexilDialog::AddChoice(int id, const std::vector<wxString>& items, int selected) {
  wxArrayString choices;
  for (const wxString& item : items) choices.Add(item);
  auto* choice = new wxChoice(this, id, wxDefaultPosition, wxDefaultSize, choices);
  if (!items.empty()) choice->SetSelection(std::clamp(selected, 0, static_cast<int>(items.size()) - 1));
  column_->Add(choice, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
  return choice;
}

wxCheckBox* PexilDialog::AddCheck(int id, int message, bool value) {
  auto* check = new wxCheckBox(this, id, MessageText(message));
  check->SetValue(value);
  column_->Add(check, 0, wxLEFT | wxRIGHT | wxTOP, 10);
  return check;
}

wxTextCtrl* PexilDialog::AddLabelledEdit(int message, int id, const std::string& value) {
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(new wxStaticText(this, wxID_ANY, MessageText(message)), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
  auto* edit = new wxTextCtrl(this, id, Latin1ToWx(value), wxDefaultPosition, wxSize(120, -1));
  row->Add(edit, 1, wxALIGN_CENTER_VERTICAL);
  column_->Add(row, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
  return edit;
}

wxSpinCtrl* PexilDialog::AddLabelledSpin(int message, int id, int least, int most, int value) {
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(new wxStaticText(this, wxID_ANY, MessageText(message)), 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
  auto* spin = new wxSpinCtrl(this, id, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS, least,
                              most, std::clamp(value, least, most));
  row->Add(spin, 0, wxALIGN_CENTER_VERTICAL);
  column_->Add(row, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
  return spin;
}

void PexilDialog::Finish(bool withCancel) {
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* ok = new wxButton(this, wxID_OK, MessageText(msg::DlgOk));
  buttons->AddStretchSpacer();
  buttons->Add(ok, 0);
  if (withCancel) {
    buttons->AddSpacer(8);
    buttons->Add(new wxButton(this, wxID_CANCEL, MessageText(msg::DlgCancel)), 0);
  }
  column_->Add(buttons, 0, wxEXPAND | wxALL, 10);
  ok->SetDefault();
  SetEscapeId(withCancel ? wxID_CANCEL : wxID_OK);
  Fit();
  SetMinSize(GetSize());
  Centre();
}

bool PexilDialog::Refuse(const std::string& text, wxWindow* control) {
  ShowMessage(this, text);
  if (control != nullptr) control->SetFocus();
  if (auto* edit = dynamic_cast<wxTextCtrl*>(control)) edit->SelectAll();
  return false;
}

std::optional<int> PexilDialog::Number(wxTextCtrl* edit, int least, int most) {
  const auto value = ParseBounded(WxToLatin1(edit->GetValue()), least, most);
  if (!value) Refuse(FormatMessage(msg::DlgNumberRange, least, most), edit);
  return value;
}

void PexilDialog::OnOk(wxCommandEvent&) {
  if (Accept()) EndModal(wxID_OK);
}

std::vector<wxString> MessageList(int first, int count) {
  std::vector<wxString> items;
  for (int k = 0; k < count; ++k) items.push_back(MessageText(first + k));
  return items;
}

std::vector<wxString> TextList(const std::vector<std::string>& texts) {
  std::vector<wxString> items;
  for (const std::string& text : texts) items.push_back(Latin1ToWx(text));
  return items;
}

}  // namespace pexil::ui
