// The "Start game..." dialog: the game types in a list and the number of
// players, which the chosen type bounds (its "numplayers").
#pragma once

#include <wx/wx.h>

#include <string>
#include <vector>

class wxSpinCtrl;

namespace pexil::ui {

class StartGameDialog : public wxDialog {
 public:
  // `names` in list order; `selected` and `players` are the choices shown
  // first (each kept within bounds).
  StartGameDialog(wxWindow* parent, const std::vector<std::string>& names, int selected, int players);

  int gameType() const;
  int players() const;

 private:
  void OnTypeChosen(wxCommandEvent& event);
  void Confirm();
  void BoundPlayers();

  wxListBox* types_ = nullptr;  // children: wx frees them
  wxSpinCtrl* players_ = nullptr;
};

}  // namespace pexil::ui
