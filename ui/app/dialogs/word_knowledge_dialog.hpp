// "Word knowledge": the words the next player is not to play, typed one by
// one or read from a text file of one word a line.
#pragma once

#include <string>
#include <vector>

#include "dialog_support.hpp"

namespace pexil::ui {

class CWordKnowledgeDlg : public PexilDialog {
 public:
  CWordKnowledgeDlg(wxWindow* parent, const std::vector<std::string>& words);
  // The words as the list shows them, in order.
  std::vector<std::string> value() const;

 private:
  void OnAdd();
  void OnFromFile();
  void OnDelete();
  void OnDeleteAll();
  // Adds a word unless the list has it already (letter case aside); false
  // for a word already listed.
  bool AddWord(const std::string& word);

  wxTextCtrl* word_ = nullptr;  // children: wx frees them
  wxListBox* words_ = nullptr;
};

}  // namespace pexil::ui
