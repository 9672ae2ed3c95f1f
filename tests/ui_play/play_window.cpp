#include "play_window.hpp"

#include <dirent.h>
#include <gtest/gtest.h>
#include <lodepng.h>
#include <wx/colordlg.h>
#include <wx/filedlg.h>
#include <wx/modalhook.h>
#include <wx/spinctrl.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "dialog_support.hpp"
#include "play/game_flow.hpp"
#include "rules/random.hpp"
#include "startup.hpp"
#include "text/messages.hpp"

namespace pexil::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kDialogPatience = std::chrono::seconds(8);

// Every modal dialog passes through the hook on its way in and out (the
// toolkit's own choosers too); the timer runs the queued steps on the one
// that is open, from inside its modal loop.
class Answerer : public wxTimer, public wxModalDialogHook {
 public:
  struct Script {
    std::vector<Step> steps;
    std::function<int(wxDialog&)> atOnce;
  };
  std::deque<Script> queue;

  void Notify() override {
    if (open_.empty() || running_) return;
    wxDialog* dialog = open_.back().dialog;
    if (!dialog->IsShown()) return;
    Open& current = open_.back();
    if (Clock::now() > current.deadline) {
      answers().failures.push_back("the steps for \"" + ui::WxToLatin1(dialog->GetTitle()) + "\" timed out at step " +
                                   std::to_string(current.next + 1));
      dialog->EndModal(wxID_CANCEL);
      return;
    }
    if (current.next >= current.steps.size()) return;
    running_ = true;  // a step may turn a loop of its own
    if (current.steps[current.next](*dialog)) ++current.next;
    running_ = false;
  }

 protected:
  int Enter(wxDialog* dialog) override {
    // The toolkit's file chooser passes here twice on its way in (its own
    // ShowModal, then the dialog's): the second time it is already open.
    if (std::any_of(open_.begin(), open_.end(), [dialog](const Open& o) { return o.dialog == dialog; })) {
      return wxID_NONE;
    }
    answers().opened.push_back(ui::WxToLatin1(dialog->GetTitle()) + " (" +
                               ui::WxToLatin1(dialog->GetClassInfo()->GetClassName()) + ")");
    if (queue.empty()) {
      answers().failures.push_back("a dialog no answer was queued for: \"" + answers().opened.back() + "\"");
      return wxID_CANCEL;
    }
    Script script = std::move(queue.front());
    queue.pop_front();
    if (script.atOnce) return script.atOnce(*dialog);
    open_.push_back({dialog, std::move(script.steps), 0, Clock::now() + kDialogPatience});
    return wxID_NONE;
  }
  void Exit(wxDialog* dialog) override {
    std::erase_if(open_, [dialog](const Open& o) { return o.dialog == dialog; });
  }

 private:
  struct Open {
    wxDialog* dialog;
    std::vector<Step> steps;
    std::size_t next;
    Clock::time_point deadline;
  };
  std::vector<Open> open_;
  bool running_ = false;
};

Answerer& answerer() {
  static Answerer instance;
  return instance;
}



}  // namespace

// ---------------------------------------------------------------- answers

Answers& answers() {
  static Answers store;
  return store;
}

void answerDialog(std::vector<Step> steps) { answerer().queue.push_back({std::move(steps), nullptr}); }

void answerAtOnce(std::function<int(wxDialog&)> answer) { answerer().queue.push_back({{}, std::move(answer)}); }

void answerFile(const std::string& path) {
  // The toolkit's chooser, shown: the name set, the pointer over it (which
  // gives it the keyboard), a moment for it to settle, Enter.
  answerDialog({[path](wxDialog& dialog) {
                  auto* files = dynamic_cast<wxFileDialog*>(&dialog);
                  EXPECT_NE(files, nullptr) << "expected a file chooser, got \"" << dialog.GetTitle() << "\"";
                  if (files == nullptr) {
                    dialog.EndModal(wxID_CANCEL);
                    return true;
                  }
                  files->SetPath(ui::Latin1ToWx(path));
                  return true;
                },
                [ticks = 0](wxDialog& dialog) mutable {
                  if (ticks++ == 0) wxUIActionSimulator().MouseMove(dialog.GetScreenRect().GetPosition() + wxPoint(20, 20));
                  return ticks > 8;
                },
                key(WXK_RETURN)});
}

void answerColour(int rgb) {
  answerAtOnce([rgb](wxDialog& dialog) {
    auto* colours = dynamic_cast<wxColourDialog*>(&dialog);
    EXPECT_NE(colours, nullptr) << "expected a colour chooser, got \"" << dialog.GetTitle() << "\"";
    if (colours == nullptr) return static_cast<int>(wxID_CANCEL);
    colours->GetColourData().SetColour(wxColour((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    return static_cast<int>(wxID_OK);
  });
}

std::size_t answersWaiting() { return answerer().queue.size(); }

void startAnswering() {
  answerer().Register();
  answerer().Start(10);
  ui::Hooks().message = [](const std::string& text) { answers().messages.push_back(text); };
  ui::Hooks().question = [](const std::string& text) {
    Answers& a = answers();
    a.questions.push_back(text);
    const bool reply = !a.replies.empty() && a.replies.front();
    if (!a.replies.empty()) a.replies.pop_front();
    return reply;
  };
}

void stopAnswering() {
  answerer().Stop();
  answerer().Unregister();
  ui::Hooks() = ui::DialogHooks();
}

// ---------------------------------------------------------------- the loop

void pump() {
  if (wxTheApp == nullptr) return;
  wxTheApp->ProcessPendingEvents();
  wxYield();
  wxTheApp->ProcessIdle();
}

bool waitFor(const std::function<bool()>& done, double seconds) {
  const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  for (;;) {
    pump();
    if (done()) return true;
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
  }
}

void pumpFor(double seconds) {
  waitFor([] { return false; }, seconds);
}

int threadCount() {
  int count = 0;
  if (DIR* tasks = opendir("/proc/self/task")) {
    while (const dirent* entry = readdir(tasks)) {
      if (entry->d_name[0] != '.') ++count;
    }
    closedir(tasks);
  }
  return count;
}

std::string filesFolder() {
  const char* folder = std::getenv("PEXIL_PLAY_FILES");
  return folder != nullptr && *folder != 0 ? folder : std::filesystem::temp_directory_path().string();
}

// ---------------------------------------------------------------- the window

PlayWindow::PlayWindow(unsigned seed, int moves, int width, int height) {
  // Each window starts from the stored defaults and the same random numbers.
  if (const char* store = std::getenv("PEXIL_SETTINGS")) std::filesystem::remove(store);
  setProgramSeed(seed);
  undoStack().clear();
  options_.startGame = 1;
  options_.moves = moves;
  options_.seed = seed;
  options_.width = width;
  options_.height = height;
  options_.sizeGiven = true;
  context_ = std::make_unique<draw::DrawContext>(".");
  session_ = std::make_unique<ui::Session>();
  session_->start();
  const ui::Startup startup = ui::ApplyLaunchOptions(*session_, options_);
  EXPECT_TRUE(startup.ok) << startup.error;
  EXPECT_EQ(startup.warning, "");
  auto* frame = new ui::Frame(*context_, *session_, options_, startup.selectedLine);  // wx deletes it
  frame_ = frame;
  frame->Move(0, 0);
  frame->Show();
  frame->Raise();
  EXPECT_TRUE(waitFor([this] { return view().canvas() != nullptr && !view().Hits().squares.empty(); }, 10))
      << "the window was never painted";
}

PlayWindow::~PlayWindow() {
  if (frame_) {
    frame_->Close(true);
    waitFor([this] { return !frame_; }, 10);
  }
  session_.reset();
  context_.reset();
}

void PlayWindow::menu(int number) {
  wxCommandEvent event(wxEVT_MENU, ui::Frame::MenuId(number));
  event.SetEventObject(frame_.get());
  frame_->ProcessWindowEvent(event);
  pump();
}

bool PlayWindow::menuEnabled(int number) {
  wxMenuBar* bar = frame_->GetMenuBar();
  return bar != nullptr && bar->IsEnabled(ui::Frame::MenuId(number));
}

void PlayWindow::focusView() {
  const bool focused = waitFor(
      [this] {
        if (wxWindow::FindFocus() == &view()) return true;
        pointAt(wxPoint(2, 2));
        frame_->Raise();
        view().SetFocus();
        return false;
      },
      5);
  EXPECT_TRUE(focused) << "the view never had the keyboard";
}

void PlayWindow::key(int keyCode, int modifiers) {
  focusView();
  wxUIActionSimulator().Char(keyCode, modifiers);
  pump();
}

void PlayWindow::type(const std::string& text) {
  focusView();
  wxUIActionSimulator().Text(text.c_str());
  pump();
}

wxPoint PlayWindow::squareCentre(int column, int row) {
  for (const auto& square : view().Hits().squares) {
    if (square.column == column && square.row == row) {
      return {square.box.x + square.box.width / 2, square.box.y + square.box.height / 2};
    }
  }
  ADD_FAILURE() << "no square " << column << "," << row << " was drawn";
  return {0, 0};
}

wxPoint PlayWindow::lineCentre(long line) {
  const draw::PaneView& pane = view().PaneLayout();
  const long k = line - static_cast<long>(pane.first);
  EXPECT_TRUE(k >= 0 && k < pane.visibleLines) << "pane line " << line << " is not visible";
  return {pane.left + 40, pane.linesTop + static_cast<int>(k) * draw::PaneView::kLineStep + draw::PaneView::kLineStep / 2};
}

void PlayWindow::pointAt(wxPoint where) {
  wxUIActionSimulator().MouseMove(view().ClientToScreen(where));
  pump();
}

void PlayWindow::clickAt(wxPoint where, int button) {
  pointAt(where);
  wxUIActionSimulator().MouseClick(button);
  pump();
}

bool PlayWindow::settle(double seconds) {
  // The finishing step of a long action runs on this thread after its
  // worker ends; a computer reply may follow it at once.
  int quiet = 0;
  return waitFor(
      [this, &quiet] {
        if (!frame_) return true;
        quiet = commands().busy() ? 0 : quiet + 1;
        return quiet >= 5;
      },
      seconds);
}

const draw::Canvas& PlayWindow::paint() {
  int paints = 0;
  auto counter = [&paints](wxPaintEvent& event) {
    ++paints;
    event.Skip();
  };
  view().Bind(wxEVT_PAINT, counter);
  view().Refresh(false);
  const bool painted = waitFor([&paints] { return paints > 0; }, 5);
  view().Unbind(wxEVT_PAINT, counter);
  EXPECT_TRUE(painted) << "the view was not painted again";
  return *view().canvas();
}

bool PlayWindow::close(double seconds) {
  if (!frame_) return true;
  frame_->Close();
  return waitFor([this] { return !frame_; }, seconds);
}

// ---------------------------------------------------------------- goldens

void checkGolden(const std::string& name, const draw::Canvas& canvas) {
  const std::string golden = std::string(PEXIL_TEST_DATA "/ui/") + name + ".png";
  const char* update = std::getenv("PEXIL_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    std::string error;
    EXPECT_TRUE(canvas.savePng(golden, &error)) << error;
    std::printf("wrote %s\n", golden.c_str());
    return;
  }
  std::vector<unsigned char> expected;
  unsigned w = 0, h = 0;
  ASSERT_EQ(lodepng::decode(expected, w, h, golden, LCT_RGB, 8), 0u) << "cannot read " << golden;
  ASSERT_EQ(static_cast<int>(w), canvas.width());
  ASSERT_EQ(static_cast<int>(h), canvas.height());
  long differing = 0;
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      const std::size_t k = (static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)) * 3;
      const std::uint32_t want = static_cast<std::uint32_t>(expected[k]) << 16 | expected[k + 1] << 8 | expected[k + 2];
      if ((canvas.pixel(x, y) & 0xFFFFFF) != want) ++differing;
    }
  }
  if (differing != 0) {
    const std::string actual = filesFolder() + "/" + name + ".actual.png";
    canvas.savePng(actual);
    ADD_FAILURE() << differing << " pixels differ from " << golden << "; this picture: " << actual;
  }
}

}  // namespace pexil::test
