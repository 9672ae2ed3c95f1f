// The dialogs that start or analyse games: the game type and players, a
// game against the computer player, the analysis of a move and of a whole
// game.
#pragma once

#include <string>
#include <vector>

#include "dialog_support.hpp"
#include "dialog_values.hpp"

namespace pexil::ui {

// "Select game": a game type from game.definitions and the number of
// players, which the chosen type bounds (its "numplayers").
class CGameSelectDlg : public PexilDialog {
 public:
  // `names` in list order; `selected` and `players` are the choices shown
  // first (each kept within bounds).
  CGameSelectDlg(wxWindow* parent, const std::vector<std::string>& names, int selected, int players);
  int gameType() const;
  int players() const;
  GameChoice value() const { return {gameType(), players()}; }

 private:
  bool Accept() override;
  void BoundPlayers();
  wxChoice* types_ = nullptr;  // children: wx frees them
  wxSpinCtrl* players_ = nullptr;
};

// "Play Pexil": who moves first, the user's name, how the computer player
// plays (by time or by depth) and the amount, and the user's own clock.
class CPlayPexil : public PexilDialog {
 public:
  CPlayPexil(wxWindow* parent, const PlayPexilChoice& initial);
  PlayPexilChoice value() const;

 private:
  bool Accept() override;
  void ShowPlayType();
  wxChoice* first_ = nullptr;
  wxTextCtrl* name_ = nullptr;
  wxChoice* type_ = nullptr;
  wxStaticText* amountLabel_ = nullptr;
  wxTextCtrl* amount_ = nullptr;
  wxCheckBox* sameTime_ = nullptr;
};

// "Analyze Move": a candidate line, or a custom exchange with the tiles to
// keep (typed only for that choice), and the simulation's settings.
class CAnalyzeDlg : public PexilDialog {
 public:
  CAnalyzeDlg(wxWindow* parent, const std::vector<std::string>& moves, const AnalyzeMoveChoice& initial);
  AnalyzeMoveChoice value() const;

 private:
  bool Accept() override;
  bool CustomChosen() const;
  void EnableKeep();
  int custom_ = 0;  // the list index of "Custom exchange..."
  wxChoice* moves_ = nullptr;
  wxTextCtrl* keep_ = nullptr;
  wxSpinCtrl* ply_ = nullptr;
  wxSpinCtrl* threads_ = nullptr;
  wxCheckBox* guess_ = nullptr;
};

// "Analyze Game": the report's size, output file and simulation depth.
class AnalyzeGameDlg : public PexilDialog {
 public:
  AnalyzeGameDlg(wxWindow* parent, const AnalyzeGameChoice& initial);
  AnalyzeGameChoice value() const;

 private:
  bool Accept() override;
  wxTextCtrl* topMoves_ = nullptr;
  wxTextCtrl* minSim_ = nullptr;
  wxTextCtrl* path_ = nullptr;
  wxSpinCtrl* ply_ = nullptr;
  wxCheckBox* tiles_ = nullptr;
  wxCheckBox* heat_ = nullptr;
};

// Ranges of the analysis values typed.
inline constexpr int kMostTopMoves = 1000;
inline constexpr int kMostMinSim = 1000000;

}  // namespace pexil::ui
