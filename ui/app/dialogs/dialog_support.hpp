// What the desktop program's dialogs share: catalogue text as wx strings,
// the base dialog with its label/control rows and its OK and Cancel
// buttons, the ids by which the controls are found, and the message boxes
// and file choices the dialogs raise, which a test may capture instead.
#pragma once

#include <wx/wx.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class wxSpinCtrl;

namespace pexil::ui {

// A catalogue message in the current language, as a wx string.
wxString MessageText(int number);
// Latin-1 text to and from wx strings; a character outside Latin-1 reads '?'.
wxString Latin1ToWx(const std::string& text);
std::string WxToLatin1(const wxString& text);

// The ids of the dialogs' controls, in the order of the rows they fill.
namespace dlgid {
enum : int {
  first = wxID_HIGHEST + 2000,
  text1,        // the first edit of a dialog
  text2,        // the second edit
  text3,        // the third edit
  list1,        // the first drop-down list
  list2,        // the second drop-down list
  spin1,        // the first spin
  spin2,        // the second spin
  check1,       // the first check box
  check2,       // the second check box
  note,         // a text the dialog rewrites (challenge note)
  amountLabel,  // the label before "Play Pexil"'s amount
  add,          // word knowledge: Add, From file..., Delete, Delete all, the words
  fromFile,
  remove,
  removeAll,
  words,
  icon,         // the about box's picture
};
}  // namespace dlgid

// The boxes and choices a dialog raises from inside its own modal loop.
// Unset, they are wx's own; a test sets them to answer without a window.
struct DialogHooks {
  std::function<void(const std::string&)> message;                  // an information box
  std::function<bool(const std::string&)> question;                 // a yes/no question
  std::function<std::optional<std::string>()> wordFile;             // a word list file to read
};
DialogHooks& Hooks();

void ShowMessage(wxWindow* parent, const std::string& text);
bool AskQuestion(wxWindow* parent, const std::string& text);

// The base of every dialog: the title from the catalogue, a column of
// rows, and OK/Cancel labelled from the catalogue. OK ends the dialog
// only when Accept() finds the values good; otherwise Accept() has said
// what is wrong and the dialog stays open.
class PexilDialog : public wxDialog {
 public:
  PexilDialog(wxWindow* parent, int titleMessage);
  PexilDialog(wxWindow* parent, const wxString& title);

 protected:
  // Rows of the column; each returns the control it made (wx-owned).
  wxStaticText* AddLabel(int message, int id = wxID_ANY);
  wxStaticText* AddText(const wxString& text, int id = wxID_ANY);
  wxTextCtrl* AddEdit(int id, const std::string& value, long style = 0);
  wxSpinCtrl* AddSpin(int id, int least, int most, int value);
  wxChoice* AddChoice(int id, const std::vector<wxString>& items, int selected);
  wxCheckBox* AddCheck(int id, int message, bool value);
  // A label and a control on one row (label left, control right).
  wxTextCtrl* AddLabelledEdit(int message, int id, const std::string& value);
  wxSpinCtrl* AddLabelledSpin(int message, int id, int least, int most, int value);
  // Ends the column with the buttons (OK alone for a box that only
  // informs) and sizes the dialog to fit its text.
  void Finish(bool withCancel = true);

  // The check run by OK; true lets the dialog close.
  virtual bool Accept() { return true; }
  // Says what is wrong and keeps the focus on `control` (may be null).
  bool Refuse(const std::string& text, wxWindow* control);
  // A number typed in an edit within [least, most], or a refusal.
  std::optional<int> Number(wxTextCtrl* edit, int least, int most);

  wxBoxSizer* column() { return column_; }

 private:
  void Build();
  void OnOk(wxCommandEvent& event);

  wxBoxSizer* column_ = nullptr;  // owned by the dialog once set
};

// Messages as the entries of a list: `count` messages from `first`.
std::vector<wxString> MessageList(int first, int count);
std::vector<wxString> TextList(const std::vector<std::string>& texts);

}  // namespace pexil::ui
