#include "word_knowledge_dialog.hpp"

#include <wx/filedlg.h>

#include "dialog_values.hpp"
#include "text/latin1.hpp"
#include "text/messages.hpp"

namespace pexil::ui {

CWordKnowledgeDlg::CWordKnowledgeDlg(wxWindow* parent, const std::vector<std::string>& words)
    : PexilDialog(parent, msg::DlgTitleWordKnowledge) {
  AddLabel(msg::DlgWordKnowledgeWord);
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  word_ = new wxTextCtrl(this, dlgid::text1, wxEmptyString, wxDefaultPosition, wxSize(200, -1),
                         wxTE_PROCESS_ENTER);
  row->Add(word_, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
  auto* add = new wxButton(this, dlgid::add, MessageText(msg::DlgWordKnowledgeAdd));
  row->Add(add, 0, wxALIGN_CENTER_VERTICAL);
  column()->Add(row, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);

  auto* body = new wxBoxSizer(wxHORIZONTAL);
  words_ = new wxListBox(this, dlgid::words, wxDefaultPosition, wxSize(200, 200), 0, nullptr,
                         wxLB_EXTENDED | wxLB_NEEDED_SB);
  body->Add(words_, 1, wxEXPAND | wxRIGHT, 8);
  auto* buttons = new wxBoxSizer(wxVERTICAL);
  buttons->Add(new wxButton(this, dlgid::fromFile, MessageText(msg::DlgWordKnowledgeFromFile)), 0,
               wxEXPAND | wxBOTTOM, 6);
  buttons->Add(new wxButton(this, dlgid::remove, MessageText(msg::DlgWordKnowledgeDelete)), 0,
               wxEXPAND | wxBOTTOM, 6);
  buttons->Add(new wxButton(this, dlgid::removeAll, MessageText(msg::DlgWordKnowledgeDeleteAll)), 0, wxEXPAND);
  body->Add(buttons, 0);
  column()->Add(body, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
  Finish();

  for (const std::string& word : words) AddWord(word);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnAdd(); }, dlgid::add);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnFromFile(); }, dlgid::fromFile);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnDelete(); }, dlgid::remove);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnDeleteAll(); }, dlgid::removeAll);
  // Enter in the edit adds the word rather than closing the dialog.
  word_->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { OnAdd(); });
  word_->SetFocus();
}

std::vector<std::string> CWordKnowledgeDlg::value() const {
  std::vector<std::string> words;
  for (unsigned k = 0; k < words_->GetCount(); ++k) words.push_back(WxToLatin1(words_->GetString(k)));
  return words;
}

bool CWordKnowledgeDlg::AddWord(const std::string& word) {
  const std::string lower = latin1Lower(word);
  for (const std::string& listed : value()) {
    if (latin1Lower(listed) == lower) return false;
  }
  words_->Append(Latin1ToWx(word));
  return true;
}

void CWordKnowledgeDlg::OnAdd() {
  const std::string word = Trimmed(WxToLatin1(word_->GetValue()));
  if (word.empty()) {
    word_->SetFocus();
    return;
  }
  if (!AddWord(word)) {
    Refuse(Message(msg::DlgWordListed), word_);
    return;
  }
  word_->Clear();
  word_->SetFocus();
}

void CWordKnowledgeDlg::OnFromFile() {
  std::optional<std::string> path;
  if (Hooks().wordFile) {
    path = Hooks().wordFile();
  } else {
    wxFileDialog dialog(this, MessageText(msg::DlgWordKnowledgeFromFile), wxEmptyString, wxEmptyString,
                        MessageText(msg::FileFilterText) + "|*.txt|" + MessageText(msg::FileFilterAll) + "|*",
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() == wxID_OK) path = std::string(dialog.GetPath().fn_str());
  }
  if (!path) return;
  const auto words = ReadWordFile(*path);
  if (!words) {
    ShowMessage(this, FormatMessage(msg::DlgFileUnreadable, path->c_str()));
    return;
  }
  int added = 0;
  for (const std::string& word : *words) added += AddWord(word) ? 1 : 0;
  ShowMessage(this, FormatMessage(msg::DlgWordsAdded, added));
}

void CWordKnowledgeDlg::OnDelete() {
  wxArrayInt chosen;
  words_->GetSelections(chosen);
  // From the last, so that the indexes still to delete stay valid.
  for (std::size_t k = chosen.size(); k-- > 0;) words_->Delete(static_cast<unsigned>(chosen[k]));
}

void CWordKnowledgeDlg::OnDeleteAll() {
  if (words_->IsEmpty() || !AskQuestion(this, Message(msg::DlgDeleteAllQuestion))) return;
  words_->Clear();
}

}  // namespace pexil::ui
