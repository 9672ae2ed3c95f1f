// The desktop program's main window driven as a person drives it: the real
// frame over a session in the data folder the test runs in, the pointer
// and the keyboard simulated through the X server, the event loop turned
// by hand between the steps, and the modal dialogs answered from inside
// their own loops by scripts queued before the action that opens them.
#pragma once

#include <wx/wx.h>
#include <wx/weakref.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialog_steps.hpp"
#include "draw_context.hpp"
#include "frame.hpp"
#include "launch_options.hpp"
#include "session.hpp"

namespace pexil::test {

// ---- the dialogs ----

// The answers to the modal dialogs, in the order they open. A dialog that
// opens with no answer queued is cancelled and counts as a failure.
struct Answers {
  // The titles of the dialogs opened so far.
  std::vector<std::string> opened;
  std::vector<std::string> failures;
  // The texts of the message boxes and questions, and the answers to the
  // questions ("no" once they run out).
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::deque<bool> replies;
};
Answers& answers();
// Queues the steps for the next dialog to open.
void answerDialog(std::vector<Step> steps);
// Queues an answer given at once, without showing the dialog (for the
// toolkit's own file and colour choosers, which run no loop of ours).
void answerAtOnce(std::function<int(wxDialog&)> answer);
// The file chooser answered with `path` (OK).
void answerFile(const std::string& path);
// The colour chooser answered with 0xRRGGBB (OK).
void answerColour(int rgb);
// Whether every queued answer was used.
std::size_t answersWaiting();
// Installs the modal hook, the message-box hooks and the answering timer.
void startAnswering();
void stopAnswering();

// ---- the event loop ----

// One turn: pending events, the toolkit's queue, idle handlers (and the
// windows waiting to be deleted).
void pump();
// Turns the loop until `done` holds; false after `seconds`.
bool waitFor(const std::function<bool()>& done, double seconds);
// Turns the loop for a while.
void pumpFor(double seconds);
// The threads of this process.
int threadCount();

// ---- the window ----

class PlayWindow {
 public:
  // A window of 1000x700 on a game of the first game type (the fixture
  // word list) with `moves` static best moves played, every generator
  // seeded with `seed`.
  explicit PlayWindow(unsigned seed, int moves = 0, int width = 1000, int height = 700);
  ~PlayWindow();
  PlayWindow(const PlayWindow&) = delete;
  PlayWindow& operator=(const PlayWindow&) = delete;

  ui::Frame& frame() { return *frame_; }
  ui::View& view() { return frame_->view(); }
  ui::Commands& commands() { return frame_->commands(); }
  ui::Session& session() { return *session_; }
  const Game& game() const { return *session_->game(); }
  bool open() const { return frame_ != nullptr; }

  // A menu command as the menu bar sends it (wxEVT_MENU with its id).
  void menu(int number);
  // Whether the menu bar shows the item enabled.
  bool menuEnabled(int number);
  // The keyboard given to the view: the pointer over it (no window
  // manager: keys go to the window under the pointer), the focus set.
  void focusView();
  // A key pressed and released with modifiers, on the view.
  void key(int keyCode, int modifiers = wxMOD_NONE);
  // Text typed on the view.
  void type(const std::string& text);
  // The centre of a board square / of a pane line, in the view.
  wxPoint squareCentre(int column, int row);
  wxPoint lineCentre(long line);
  // The pointer moved to a point of the view / clicked there.
  void pointAt(wxPoint where);
  void clickAt(wxPoint where, int button = wxMOUSE_BTN_LEFT);
  // Waits until no long action runs and its finishing steps have run.
  bool settle(double seconds = 20);
  // Paints the view now and gives its picture.
  const draw::Canvas& paint();
  // Closes the window (the frame's own close) and waits until it is gone.
  bool close(double seconds = 10);

 private:
  ui::LaunchOptions options_;
  std::unique_ptr<draw::DrawContext> context_;
  std::unique_ptr<ui::Session> session_;
  wxWeakRef<ui::Frame> frame_;
};

// Compares a picture with tests/data/ui/NAME.png pixel for pixel (with
// PEXIL_UPDATE_GOLDEN=1 writes it there instead and says so).
void checkGolden(const std::string& name, const draw::Canvas& canvas);

// Where the test keeps the files it saves.
std::string filesFolder();

}  // namespace pexil::test
