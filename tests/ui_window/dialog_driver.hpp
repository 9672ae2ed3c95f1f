// Drives the desktop program's modal dialogs from inside their own modal
// loops: a timer finds the open dialog and runs scripted steps on it (set
// a control, press a button, type keys, check labels), each step tried
// again on the next tick until it is done, so a step may wait for the
// display. Message boxes and questions go to the captured lists instead of
// windows.
#pragma once

#include <wx/wx.h>

#include "dialog_steps.hpp"

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace pexil::test {


// The messages the dialogs showed, and the answers to their questions.
struct Captured {
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<bool> answers;  // taken in order; "no" once they run out
  std::optional<std::string> wordFile;
};
Captured& captured();
// Empties the captured lists and installs the hooks.
void resetCaptured();

// Runs `call` (which opens one modal dialog) while the steps drive that
// dialog; fails the test when a step times out or steps remain.
void drive(const std::vector<Step>& steps, const std::function<void()>& call);

template <class Call>
auto driven(const std::vector<Step>& steps, Call call) -> decltype(call()) {
  std::optional<decltype(call())> result;
  drive(steps, [&] { result.emplace(call()); });
  return *result;
}

// The next modal dialog is not shown: `answer` looks at it and gives the
// value its ShowModal returns (for the native dialogs, which run no wx
// loop a step could drive).
void answerNextAtOnce(std::function<int(wxDialog&)> answer);

Step refused(const std::string& text);

// The texts of the dialog's labels, check boxes and buttons, with line
// breaks made spaces.
std::set<std::string> labels(wxDialog& dialog);
// Checks the title and that each message is among the labels.
void expectTexts(wxDialog& dialog, int titleMessage, const std::vector<int>& messages);
// The entries of a drop-down list.
std::vector<std::string> entries(wxDialog& dialog, int id);
// A message in the current language, its line breaks made spaces.
std::string flat(const std::string& text);


}  // namespace pexil::test
