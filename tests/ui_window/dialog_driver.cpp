#include "dialog_driver.hpp"

#include <gtest/gtest.h>
#include <wx/spinctrl.h>
#include <wx/uiaction.h>

#include <wx/modalhook.h>

#include <chrono>

#include "dialog_support.hpp"
#include "text/messages.hpp"

namespace pexil::test {
namespace {

using ui::Latin1ToWx;
using ui::WxToLatin1;

constexpr auto kPatience = std::chrono::seconds(5);

// Every modal dialog passes through here on its way in and out, native
// ones (the file chooser) too; a dialog may also be answered at once.
class ModalTracker : public wxModalDialogHook {
 public:
  std::vector<wxDialog*> open;
  std::function<int(wxDialog&)> answer;

 protected:
  int Enter(wxDialog* dialog) override {
    if (answer) {
      const auto once = std::move(answer);
      answer = nullptr;
      return once(*dialog);
    }
    open.push_back(dialog);
    return wxID_NONE;
  }
  void Exit(wxDialog* dialog) override { std::erase(open, dialog); }
};

ModalTracker& tracker() {
  static ModalTracker hook;
  return hook;
}

// The dialog running its modal loop now, once it shows, if any.
wxDialog* modalDialog() {
  if (tracker().open.empty()) return nullptr;
  wxDialog* dialog = tracker().open.back();
  return dialog->IsShown() ? dialog : nullptr;
}

class Driver : public wxTimer {
 public:
  explicit Driver(const std::vector<Step>& steps)
      : steps_(steps), deadline_(std::chrono::steady_clock::now() + kPatience) {}

  void Notify() override {
    wxDialog* dialog = modalDialog();
    if (std::chrono::steady_clock::now() > deadline_) {
      if (failure_.empty()) failure_ = "timed out before step " + std::to_string(next_ + 1);
      if (dialog != nullptr) dialog->EndModal(wxID_CANCEL);
      return;
    }
    if (dialog == nullptr || next_ >= steps_.size() || running_) return;
    running_ = true;  // a step may run a nested loop of its own
    if (steps_[next_](*dialog)) ++next_;
    running_ = false;
  }

  std::string outcome() const {
    if (!failure_.empty()) return failure_;
    if (next_ < steps_.size()) return "the dialog closed before step " + std::to_string(next_ + 1);
    return {};
  }

 private:
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  bool running_ = false;
  std::chrono::steady_clock::time_point deadline_;
  std::string failure_;
};


}  // namespace

void answerNextAtOnce(std::function<int(wxDialog&)> answer) { tracker().answer = std::move(answer); }

Captured& captured() {
  static Captured store;
  return store;
}

void resetCaptured() {
  captured() = Captured();
  ui::Hooks().message = [](const std::string& text) { captured().messages.push_back(text); };
  ui::Hooks().question = [](const std::string& text) {
    Captured& c = captured();
    c.questions.push_back(text);
    const bool answer = !c.answers.empty() && c.answers.front();
    if (!c.answers.empty()) c.answers.erase(c.answers.begin());
    return answer;
  };
  ui::Hooks().wordFile = [] { return captured().wordFile; };
}

void drive(const std::vector<Step>& steps, const std::function<void()>& call) {
  Driver driver(steps);
  driver.Start(10);
  call();
  driver.Stop();
  const std::string outcome = driver.outcome();
  EXPECT_EQ(outcome, "");
  EXPECT_EQ(modalDialog(), nullptr);
}

Step refused(const std::string& text) {
  return [=](wxDialog& dialog) {
    EXPECT_TRUE(dialog.IsModal());
    EXPECT_FALSE(captured().messages.empty());
    if (!captured().messages.empty()) {
      EXPECT_EQ(captured().messages.back(), text);
    }
    return true;
  };
}

std::string flat(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c == '\n') c = ' ';
  }
  return out;
}

std::set<std::string> labels(wxDialog& dialog) {
  std::set<std::string> texts;
  for (wxWindow* child : dialog.GetChildren()) {
    if (dynamic_cast<wxStaticText*>(child) != nullptr || dynamic_cast<wxCheckBox*>(child) != nullptr ||
        dynamic_cast<wxButton*>(child) != nullptr) {
      texts.insert(flat(WxToLatin1(child->GetLabel())));
    }
  }
  return texts;
}

void expectTexts(wxDialog& dialog, int titleMessage, const std::vector<int>& messages) {
  EXPECT_EQ(WxToLatin1(dialog.GetTitle()), Message(titleMessage));
  const std::set<std::string> shown = labels(dialog);
  for (const int number : messages) {
    EXPECT_TRUE(shown.count(flat(Message(number))) == 1)
        << "message " << number << " \"" << Message(number) << "\" is not a label of \"" << dialog.GetTitle() << "\"";
  }
}

std::vector<std::string> entries(wxDialog& dialog, int id) {
  std::vector<std::string> texts;
  if (auto* list = need<wxChoice>(dialog, id)) {
    for (unsigned k = 0; k < list->GetCount(); ++k) texts.push_back(WxToLatin1(list->GetString(k)));
  }
  return texts;
}

}  // namespace pexil::test

// The test program: a wx application without a main window, the tests run
// from inside it.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  wxApp::SetInstance(new wxApp());  // wx owns and deletes the application object
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "no display: the dialog tests need an X server\n");
    return 77;
  }
  wxInitAllImageHandlers();
  pexil::test::tracker().Register();
  const int status = RUN_ALL_TESTS();
  pexil::test::tracker().Unregister();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return status;
}
