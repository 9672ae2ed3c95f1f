#include "start_game_dialog.hpp"

#include <wx/spinctrl.h>

#include <algorithm>

#include "desktop.hpp"
#include "session.hpp"
#include "text/messages.hpp"

namespace pexil::ui {
namespace {

wxString MessageOr(int number, const char* english) {
  const char* m = Message(number);
  return FromLatin1(m != nullptr && *m != 0 ? m : english);
}

}  // namespace

StartGameDialog::StartGameDialog(wxWindow* parent, const std::vector<std::string>& names, int selected, int players)
    : wxDialog(parent, wxID_ANY, MessageOr(msg::DlgTitleSelectGame, "Select game")) {
  wxArrayString choices;
  for (const std::string& name : names) choices.Add(FromLatin1(name));
  auto* sizer = new wxBoxSizer(wxVERTICAL);  // owned by the dialog once set
  sizer->Add(new wxStaticText(this, wxID_ANY, MessageOr(msg::DlgSelectGameGame, "Game type:")), 0, wxALL, 8);
  types_ = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(360, 240), choices, wxLB_SINGLE);
  sizer->Add(types_, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(new wxStaticText(this, wxID_ANY, MessageOr(msg::DlgSelectGamePlayers, "Number of players:")), 0,
           wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
  players_ = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                            wxSP_ARROW_KEYS | wxTE_PROCESS_ENTER, 1, 16, 2);
  row->Add(players_, 0, wxALIGN_CENTER_VERTICAL);
  sizer->Add(row, 0, wxALL, 8);
  sizer->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 8);
  SetSizerAndFit(sizer);

  if (!names.empty()) types_->SetSelection(std::clamp(selected, 0, static_cast<int>(names.size()) - 1));
  players_->SetValue(players);
  BoundPlayers();
  types_->Bind(wxEVT_LISTBOX, &StartGameDialog::OnTypeChosen, this);
  // Enter in the number of players, or a double click on a type, starts
  // the game as OK does.
  players_->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { Confirm(); });
  types_->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { Confirm(); });
  types_->SetFocus();
}

void StartGameDialog::Confirm() {
  if (Validate() && TransferDataFromWindow()) EndModal(wxID_OK);
}

int StartGameDialog::gameType() const { return types_->GetSelection(); }

int StartGameDialog::players() const { return players_->GetValue(); }

void StartGameDialog::OnTypeChosen(wxCommandEvent& event) {
  BoundPlayers();
  event.Skip();
}

// The spin offers the numbers of players the chosen type allows; a value
// outside them moves to the nearest bound.
void StartGameDialog::BoundPlayers() {
  const auto [least, most] = PlayerRange(types_->GetSelection());
  const int value = std::clamp(players_->GetValue(), least, most);
  players_->SetRange(least, most);
  players_->SetValue(value);
}

}  // namespace pexil::ui
