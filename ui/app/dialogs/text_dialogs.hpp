// The dialogs of one typed line (or, for annotations, several): a rack, a
// blank's letter, a word query, tiles to keep, known tiles, a note.
#pragma once

#include "dialog_support.hpp"

namespace pexil::ui {

// A label above one edit; value() is the text typed, in Latin-1.
class OneEditDlg : public PexilDialog {
 public:
  OneEditDlg(wxWindow* parent, int titleMessage, const wxString& label, const std::string& value,
             long style = 0);
  std::string value() const;

 protected:
  wxTextCtrl* edit_ = nullptr;  // child: wx frees it
};

// "Set rack" for the player to move: the tiles typed, checked against the
// game's tiles and rack size.
class CEditRackDlg : public OneEditDlg {
 public:
  CEditRackDlg(wxWindow* parent, const std::string& current);

 private:
  bool Accept() override;
};

// "Blank Tile": one letter of the game's alphabet; value() is that letter.
class CBlankDlg : public OneEditDlg {
 public:
  explicit CBlankDlg(wxWindow* parent);
  std::string letter() const;

 private:
  bool Accept() override;
};

// "Lexicon": the caller's prompt above one line of text.
class CLexiconDlg : public OneEditDlg {
 public:
  CLexiconDlg(wxWindow* parent, const std::string& prompt);
};

// "Exchange": the tiles to keep (none keeps nothing).
class CXchgDlg : public OneEditDlg {
 public:
  CXchgDlg(wxWindow* parent, const std::string& rack);

 private:
  bool Accept() override;
};

// "Known tiles" on the opponent's rack (none forgets them).
class CKnownTilesDlg : public OneEditDlg {
 public:
  CKnownTilesDlg(wxWindow* parent, const std::string& current);

 private:
  bool Accept() override;
};

// "Annotations": several lines, joined by '\n'.
class CAnnotateDlg : public OneEditDlg {
 public:
  CAnnotateDlg(wxWindow* parent, const std::string& current);
};

}  // namespace pexil::ui
