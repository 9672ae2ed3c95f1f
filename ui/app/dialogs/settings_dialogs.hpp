// The dialogs that set stored options: the clock, the word list, the fast
// lookahead, the phony length and the challenge rule.
#pragma once

#include <string>
#include <vector>

#include "dialog_support.hpp"
#include "dialog_values.hpp"

namespace pexil::ui {

// "Set the clock": a time in minutes or mm:ss, and whether every clock
// gets it.
class CClockDlg : public PexilDialog {
 public:
  CClockDlg(wxWindow* parent, const ClockChoice& initial);
  ClockChoice value() const;

 private:
  bool Accept() override;
  wxTextCtrl* time_ = nullptr;  // children: wx frees them
  wxCheckBox* all_ = nullptr;
};

// "Select lexicon": one of the word lists.
class CLexiconSelectDlg : public PexilDialog {
 public:
  CLexiconSelectDlg(wxWindow* parent, const std::vector<std::string>& lists, int selected);
  int value() const;

 private:
  bool Accept() override;
  wxChoice* lists_ = nullptr;
};

// "Lookahead": depth, threads, what to maximise, how long, rack guess.
class CSimulationDlg : public PexilDialog {
 public:
  CSimulationDlg(wxWindow* parent, const LookaheadChoice& initial);
  LookaheadChoice value() const;

 private:
  wxSpinCtrl* ply_ = nullptr;
  wxSpinCtrl* threads_ = nullptr;
  wxChoice* maximize_ = nullptr;
  wxChoice* time_ = nullptr;
  wxCheckBox* guess_ = nullptr;
};

// "Phonies": the shortest phony word the computer player considers.
class CPhonyDlg : public PexilDialog {
 public:
  CPhonyDlg(wxWindow* parent, int current);
  int value() const;

 private:
  wxSpinCtrl* length_ = nullptr;
};

// "Challenge settings": the rule, the penalty, and the rule's description,
// which follows the list.
class CChallengeDlg : public PexilDialog {
 public:
  CChallengeDlg(wxWindow* parent, const ChallengeChoice& initial);
  ChallengeChoice value() const;

 private:
  bool Accept() override;
  void ShowNote();
  wxChoice* type_ = nullptr;
  wxTextCtrl* penalty_ = nullptr;
  wxStaticText* note_ = nullptr;
};

// Ranges of the values typed or spun.
inline constexpr int kMostLookaheadPly = 99;
inline constexpr int kLeastPhonyLength = 2;
inline constexpr int kMostPhonyLength = 32;
inline constexpr int kMostPenalty = 1000;

}  // namespace pexil::ui
