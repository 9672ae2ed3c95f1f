// pexil-cli: the command-line front end over the engine.
#include <unistd.h>

#include <atomic>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "commands.hpp"
#include "io/data_files.hpp"
#include "state/abort_flag.hpp"
#include "terminal_sink.hpp"
#include "rules/game_definitions.hpp"
#include "rules/random.hpp"
#include "settings.hpp"
#include "text/messages.hpp"
#include "text/program_version.hpp"
#include "text/text_pane.hpp"

namespace {

using pexil::cli::Arguments;

std::optional<long long> parseInteger(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || end == text.c_str() || *end != '\0') return std::nullopt;
  return value;
}

// The folder of the running program, from /proc.
std::optional<std::filesystem::path> programFolder() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::nullopt;
  return exe.parent_path();
}

void badOption(const std::string& what) { pexil::PrintMessageF(pexil::msg::CliBadOption, what.c_str()); }

// Ctrl-C: while a search runs, the first one raises the abort flag (a
// lock-free atomic store, safe in a handler); otherwise, or the second
// time, the program ends as it would without a handler.
std::atomic<bool> interruptStopsSearch{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void onInterrupt(int signalNumber) {
  if (interruptStopsSearch.load() && !pexil::abortRequested()) {
    pexil::requestAbort();
    return;
  }
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

void installInterruptHandler() {
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  // A write beyond the file-size limit then fails like any other failed
  // write, which is reported, instead of ending the program half-way.
  std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace

void pexil::cli::setInterruptStopsSearch(bool on) { interruptStopsSearch.store(on); }

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);

  // Global options may stand anywhere, before or after the command, also as
  // --option=VALUE. The first other word is the command, except a word
  // right after a command's own option written before the command: that is
  // the option's value unless it names a command ("--type 3 board").
  std::optional<std::string> dataDir;
  std::optional<long long> seed;
  std::optional<int> uiLang;  // --ui-lang, else the stored setting
  bool quiet = false;
  bool help = false;
  bool version = false;
  pexil::cli::SinkOptions sink;
  sink.colour = isatty(STDOUT_FILENO) != 0;
  Arguments rest;
  std::string command;
  std::vector<std::string> errors;

  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string a = args[i];
    std::optional<std::string> attached;  // the VALUE of --option=VALUE
    if (a.starts_with("--")) {
      if (const auto equals = a.find('='); equals != std::string::npos) {
        attached = a.substr(equals + 1);
        a.erase(equals);
      }
    }
    auto value = [&]() -> std::optional<std::string> {
      if (attached) return attached;
      if (i + 1 < args.size()) return args[++i];
      errors.push_back(a);
      return std::nullopt;
    };
    const bool isFlag = a == "--quiet" || a == "--latin1" || a == "--colour" || a == "--color" || a == "--no-colour" ||
                        a == "--no-color" || a == "--help" || a == "-h" || a == "--version";
    if (isFlag && attached) {  // a flag takes no value
      errors.push_back(args[i]);
      continue;
    }
    if (a == "--data") {
      dataDir = value();
    } else if (a == "--seed") {
      if (auto v = value()) {
        seed = parseInteger(*v);
        if (!seed || *seed < 0 || *seed > UINT_MAX) errors.push_back(a + " " + *v);
      }
    } else if (a == "--ui-lang") {
      if (auto v = value()) {
        const auto n = parseInteger(*v);
        if (!n || *n < 0 || *n > 2) {
          errors.push_back(a + " " + *v);
        } else {
          uiLang = static_cast<int>(*n);
        }
      }
    } else if (a == "--quiet") {
      quiet = true;
    } else if (a == "--latin1") {
      sink.utf8 = false;
    } else if (a == "--colour" || a == "--color") {
      sink.colour = true;
    } else if (a == "--no-colour" || a == "--no-color") {
      sink.colour = false;
    } else if (a == "--help" || a == "-h") {
      help = true;
    } else if (a == "--version") {
      version = true;
    } else if (command.empty() && !a.starts_with("--")) {
      const bool valueOfOption = !rest.empty() && rest.back().starts_with("--") &&
                                 rest.back().find('=') == std::string::npos && !pexil::cli::isCommandName(a);
      if (valueOfOption) {
        rest.push_back(a);
      } else {
        command = a;
      }
    } else {
      rest.push_back(args[i]);
    }
  }

  if (!uiLang) {
    const pexil::SettingsStore store;
    uiLang = static_cast<int>(store.readInt("UILang").value_or(pexil::kEnglish));
  }
  pexil::SetUILang(*uiLang);
  pexil::cli::installTerminalSink(sink);
  pexil::textPane().SetQuiet(quiet);
  if (!errors.empty()) {
    for (const std::string& e : errors) badOption(e);
    return 2;
  }
  if (version) {
    pexil::PrintMessageF(pexil::msg::CliVersionLine, pexil::kProgramVersion, pexil::programBuildDate());
    return 0;
  }
  // --help: the usage of the command it follows, or the whole text.
  if (help) return pexil::cli::runHelp(command.empty() || command == "help" ? Arguments{} : Arguments{command});
  if (seed) pexil::setProgramSeed(static_cast<std::uint32_t>(*seed));
  installInterruptHandler();

  // Data files are found by bare name in the working directory: the
  // program's own folder (or, for an installed program, its share/pexil)
  // unless --data names another. Files the user names (board files) are
  // found from the folder the program started in.
  std::error_code error;
  pexil::cli::setLaunchFolder(std::filesystem::current_path(error));
  if (dataDir) {
    std::filesystem::current_path(*dataDir, error);
    if (error) {
      pexil::PrintMessageF(pexil::msg::CliDataDirMissing, dataDir->c_str());
      return 2;
    }
  } else if (const auto folder = programFolder()) {
    std::filesystem::current_path(pexil::programDataFolder(*folder), error);
  }

  return pexil::cli::runCommand(command, rest);
}
