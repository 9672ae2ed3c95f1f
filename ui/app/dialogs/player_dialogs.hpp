// The dialogs about the players: a chosen player's rack, scores and names,
// for two players (both at once) or more (one chosen from a list).
#pragma once

#include <string>
#include <vector>

#include "dialog_support.hpp"
#include "dialog_values.hpp"

namespace pexil::ui {

// "Set rack" with a choice of player.
class CGenRackDlg : public PexilDialog {
 public:
  CGenRackDlg(wxWindow* parent, const std::vector<std::string>& players, int selected);
  PlayerValue value() const;

 private:
  bool Accept() override;
  wxChoice* players_ = nullptr;  // children: wx frees them
  wxTextCtrl* tiles_ = nullptr;
};

// Two edits labelled "Player 1:" and "Player 2:", each typed value checked
// by Check(); base of "Set scores" and "Set names" for two players.
class TwoPlayerDlg : public PexilDialog {
 public:
  TwoPlayerDlg(wxWindow* parent, int titleMessage, const std::vector<std::string>& values);
  std::vector<std::string> value() const;

 protected:
  virtual std::string Problem(const std::string& typed) const = 0;

 private:
  bool Accept() override;
  wxTextCtrl* first_ = nullptr;
  wxTextCtrl* second_ = nullptr;
};

class C2PScoreDlg : public TwoPlayerDlg {
 public:
  C2PScoreDlg(wxWindow* parent, const std::vector<int>& scores);

 private:
  std::string Problem(const std::string& typed) const override;
};

class CNames2Dlg : public TwoPlayerDlg {
 public:
  CNames2Dlg(wxWindow* parent, const std::vector<std::string>& names);

 private:
  std::string Problem(const std::string& typed) const override;
};

// A player chosen from a list and one value typed for it; the edit shows
// the chosen player's present value. Base of "Set score for player" and
// "Set player names".
class PlayerValueDlg : public PexilDialog {
 public:
  PlayerValueDlg(wxWindow* parent, int titleMessage, int listLabel, int editLabel,
                 const std::vector<std::string>& names, const std::vector<std::string>& values);
  PlayerValue value() const;

 protected:
  virtual std::string Problem(const std::string& typed) const = 0;

 private:
  bool Accept() override;
  std::vector<std::string> values_;
  wxChoice* players_ = nullptr;
  wxTextCtrl* edit_ = nullptr;
};

class CScoreDlg : public PlayerValueDlg {
 public:
  CScoreDlg(wxWindow* parent, const std::vector<std::string>& names, const std::vector<int>& scores);

 private:
  std::string Problem(const std::string& typed) const override;
};

class CNameDlg : public PlayerValueDlg {
 public:
  CNameDlg(wxWindow* parent, const std::vector<std::string>& names);

 private:
  std::string Problem(const std::string& typed) const override;
};

// The scores a player may be given.
inline constexpr int kLeastScore = -99999;
inline constexpr int kMostScore = 99999;

}  // namespace pexil::ui
