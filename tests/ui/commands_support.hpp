// The commands of the desktop program without a window: a prompter that
// gives the answers a test scripted (none: the dialog was cancelled), a
// host that records what the commands asked of the window and runs the
// tasks meant for the interface thread when the test lets it, and a
// session holding a seeded game, with the settings in a file of its own.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "commands.hpp"
#include "prompter.hpp"
#include "session.hpp"
#include "view_host.hpp"

namespace pexil::test {

struct ScriptedPrompter : ui::Prompter {
  // The dialogs opened, by name, in order.
  std::vector<std::string> opened;
  // The answers; each stays until changed.
  std::optional<std::string> rack, blank, text, exchangeKeep, known, note, file;
  std::optional<ui::PlayerValue> player;
  std::optional<ui::ClockChoice> clockChoice;
  std::optional<int> list, phony, colourChoice;
  std::optional<ui::LookaheadChoice> lookaheadChoice;
  std::optional<std::vector<std::string>> pair, words;
  std::optional<ui::GameChoice> game;
  std::optional<ui::AnalyzeMoveChoice> analyze;
  std::optional<ui::PlayPexilChoice> pexil;
  std::optional<ui::AnalyzeGameChoice> analyzeGameChoice;
  std::optional<ui::ChallengeChoice> challengeChoice;
  bool yes = false;
  // Answers to the next questions, in order, before `yes` applies; and
  // the questions asked.
  std::vector<bool> answers;
  std::vector<std::string> questions;
  std::vector<std::string> messages;
  // What the dialogs were shown with.
  std::vector<std::string> analyzeLines;

  void about() override { opened.push_back("about"); }
  std::optional<std::string> editRack(const std::string&) override { return note_("editRack"), rack; }
  std::optional<ui::PlayerValue> generalRack(const std::vector<std::string>&, int) override {
    return note_("generalRack"), player;
  }
  std::optional<std::string> blankLetter() override { return note_("blank"), blank; }
  std::optional<ui::ClockChoice> clock(const ui::ClockChoice&) override { return note_("clock"), clockChoice; }
  std::optional<std::string> lexiconText(const std::string&) override { return note_("lexicon"), text; }
  std::optional<int> selectLexicon(const std::vector<std::string>&, int) override { return note_("selectLexicon"), list; }
  std::optional<ui::LookaheadChoice> lookahead(const ui::LookaheadChoice&) override {
    return note_("lookahead"), lookaheadChoice;
  }
  std::optional<std::string> exchange(const std::string&) override { return note_("exchange"), exchangeKeep; }
  std::optional<std::string> knownTiles(const std::string&) override { return note_("known"), known; }
  std::optional<std::vector<std::string>> twoScores(const std::vector<std::string>&, const std::vector<int>&) override {
    return note_("twoScores"), pair;
  }
  std::optional<ui::PlayerValue> playerScore(const std::vector<std::string>&, const std::vector<int>&) override {
    return note_("playerScore"), player;
  }
  std::optional<std::vector<std::string>> twoNames(const std::vector<std::string>&) override {
    return note_("twoNames"), pair;
  }
  std::optional<ui::PlayerValue> playerName(const std::vector<std::string>&) override {
    return note_("playerName"), player;
  }
  std::optional<ui::GameChoice> selectGame(const std::vector<std::string>&, const ui::GameChoice&) override {
    return note_("selectGame"), game;
  }
  std::optional<ui::AnalyzeMoveChoice> analyzeMove(const std::vector<std::string>& lines,
                                                   const ui::AnalyzeMoveChoice&) override {
    analyzeLines = lines;
    return note_("analyzeMove"), analyze;
  }
  std::optional<std::string> annotate(const std::string&) override { return note_("annotate"), note; }
  std::optional<ui::PlayPexilChoice> playPexil(const ui::PlayPexilChoice&) override { return note_("playPexil"), pexil; }
  std::optional<ui::AnalyzeGameChoice> analyzeGame(const ui::AnalyzeGameChoice&) override {
    return note_("analyzeGame"), analyzeGameChoice;
  }
  std::optional<int> phonies(int) override { return note_("phonies"), phony; }
  std::optional<ui::ChallengeChoice> challenge(const ui::ChallengeChoice&) override {
    return note_("challenge"), challengeChoice;
  }
  std::optional<std::vector<std::string>> wordKnowledge(const std::vector<std::string>&) override {
    return note_("wordKnowledge"), words;
  }
  std::optional<std::string> openFile(ui::FileKind) override { return note_("openFile"), file; }
  std::optional<std::string> saveFile(ui::FileKind, const std::string&) override { return note_("saveFile"), file; }
  void message(const std::string& text) override { messages.push_back(text); }
  bool confirm(const std::string& question) override {
    questions.push_back(question);
    if (!answers.empty()) {
      const bool answer = answers.front();
      answers.erase(answers.begin());
      return note_("confirm"), answer;
    }
    return note_("confirm"), yes;
  }
  std::optional<int> colour(int, int) override { return note_("colour"), colourChoice; }

 private:
  int note_(const char* name) {
    opened.emplace_back(name);
    return 0;
  }
};

class RecordingHost : public ui::ViewHost {
 public:
  void repaint() override {}
  void runOnUiThread(std::function<void()> task) override {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  void setClipboard(const std::string& text) override { clipboard = text; }
  void beep() override { ++beeps; }
  void closeWindow() override { closed = true; }
  bool saveImage(bool boardOnly, const std::string& path, std::string&) override {
    savedImages.push_back((boardOnly ? "board:" : "screen:") + path);
    return true;
  }
  bool openUrl(const std::string& url) override {
    urls.push_back(url);
    return true;
  }
  void commandsChanged() override {}
  std::size_t firstVisibleLine() const override { return first; }
  int visibleLineCount() const override { return visible; }

  // Runs the tasks queued for the interface thread; true when there were any.
  bool runTasks();

  std::string clipboard;
  int beeps = 0;
  bool closed = false;
  std::vector<std::string> savedImages, urls;
  std::size_t first = 0;
  int visible = 10;

 private:
  std::mutex mutex_;
  std::deque<std::function<void()>> tasks_;
};

// A session with a seeded game of type `type` (the fixture word list),
// the commands over it, and the settings in a temporary file.
struct CommandsBench {
  explicit CommandsBench(int type = 0, unsigned seed = 2024, bool words = true, int players = 2);
  ~CommandsBench();
  // Waits for the running action and runs the finishing steps, until
  // nothing runs (as the window's event loop would).
  void settle();
  Game& game() { return *session->mutableGame(); }

  std::string settingsPath;
  std::unique_ptr<ui::Session> session;
  ScriptedPrompter prompter;
  RecordingHost host;
  std::unique_ptr<ui::Commands> commands;
};

}  // namespace pexil::test
