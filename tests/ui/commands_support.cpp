#include "commands_support.hpp"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "play/game_flow.hpp"
#include "state/abort_flag.hpp"
#include "text/messages.hpp"
#include "ui_test_support.hpp"

namespace pexil::test {

bool RecordingHost::runTasks() {
  std::deque<std::function<void()>> tasks;
  {
    std::lock_guard lock(mutex_);
    tasks.swap(tasks_);
  }
  for (auto& task : tasks) task();
  return !tasks.empty();
}

CommandsBench::CommandsBench(int type, unsigned seed, bool words, int players) {
  static int benches = 0;
  settingsPath = (std::filesystem::temp_directory_path() /
                  ("pexil-commands-" + std::to_string(::getpid()) + "-" + std::to_string(++benches) + ".conf"))
                     .string();
  std::filesystem::remove(settingsPath);
  ::setenv("PEXIL_SETTINGS", settingsPath.c_str(), 1);
  SetLanguage(kEnglish);
  undoStack().clear();
  auto game = std::make_unique<Game>(seededPosition(type, seed, words, players));
  session = std::make_unique<ui::Session>();
  session->loadSettings();
  session->replaceGame(std::move(game));
  commands = std::make_unique<ui::Commands>(*session, prompter, host);
}

CommandsBench::~CommandsBench() {
  settle();
  commands.reset();
  std::filesystem::remove(settingsPath);
  clearAbort();
}

void CommandsBench::settle() {
  for (;;) {
    commands->waitIdle();
    const bool ran = host.runTasks();
    if (!ran && !commands->busy()) return;
  }
}

}  // namespace pexil::test
