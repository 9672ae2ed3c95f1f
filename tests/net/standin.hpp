// The stand-in results server run by the network tests: started as a child
// process on a port of its choosing, stopped (and waited for) when the
// holder goes, whatever the test did. Also a runner for pexil-cli.
#pragma once

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace pexil::test {

// Reads everything from a pipe end, then closes it.
inline std::string readAllAndClose(int fd) {
  std::string text;
  char piece[4096];
  for (;;) {
    const ssize_t got = ::read(fd, piece, sizeof piece);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    text.append(piece, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return text;
}

class StandinServer {
 public:
  // mode: normal, refuse, reset, hang, huge, garbage. `folder` receives the
  // recorded requests.
  StandinServer(const std::string& mode, const std::string& folder) : folder_(folder) {
    int out[2];
    if (::pipe(out) != 0) return;
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ == 0) {
      // The server goes with the test process even if that one dies.
      ::prctl(PR_SET_PDEATHSIG, SIGTERM);
      if (::getppid() != parent) ::_exit(1);
      ::dup2(out[1], STDOUT_FILENO);
      ::close(out[0]);
      ::close(out[1]);
      ::execl(PEXIL_STANDIN_SERVER, PEXIL_STANDIN_SERVER, "--dir", folder.c_str(), "--mode", mode.c_str(),
              "--idle-exit", "30", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(out[1]);
    if (pid_ < 0) {
      ::close(out[0]);
      return;
    }
    // The first line is the port.
    std::string line;
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n') line += c;
    ::close(out[0]);
    port_ = std::atoi(line.c_str());
  }
  ~StandinServer() {
    if (pid_ > 0) {
      // Asked to stop, and killed if it has not within two seconds.
      ::kill(pid_, SIGTERM);
      int status = 0;
      for (int tries = 0; tries < 200 && ::waitpid(pid_, &status, WNOHANG) == 0; ++tries) ::usleep(10000);
      if (::waitpid(pid_, &status, WNOHANG) == 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status, 0);
      }
    }
  }
  StandinServer(const StandinServer&) = delete;
  StandinServer& operator=(const StandinServer&) = delete;

  int port() const { return port_; }

  // The recorded connections, in order, as raw bytes.
  std::vector<std::string> requests() const {
    std::vector<std::filesystem::path> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
      if (entry.path().filename().string().starts_with("request-")) names.push_back(entry.path());
    }
    std::sort(names.begin(), names.end());
    std::vector<std::string> contents;
    for (const auto& name : names) {
      std::ifstream file(name, std::ios::binary);
      contents.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    return contents;
  }

  // The server writes a request's file once it has read the request; an
  // upload is read until the client closes, so wait for its file.
  std::vector<std::string> waitForRequests(std::size_t count) const {
    for (int tries = 0; tries < 200; ++tries) {
      auto found = requests();
      if (found.size() >= count) return found;
      ::usleep(10000);
    }
    return requests();
  }

 private:
  std::string folder_;
  pid_t pid_ = -1;
  int port_ = 0;
};

struct ProcessResult {
  int status = -1;
  std::string output;  // standard output and error together
};

// Runs a program in `folder` with extra environment variables set (an empty
// value unsets one) and waits for it.
inline ProcessResult runProgram(const std::vector<std::string>& argv, const std::string& folder,
                                const std::vector<std::pair<std::string, std::string>>& environment) {
  ProcessResult result;
  int out[2];
  if (::pipe(out) != 0) return result;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(out[1], STDERR_FILENO);
    ::close(out[0]);
    ::close(out[1]);
    if (::chdir(folder.c_str()) != 0) ::_exit(126);
    for (const auto& [name, value] : environment) {
      if (value.empty()) {
        ::unsetenv(name.c_str());
      } else {
        ::setenv(name.c_str(), value.c_str(), 1);
      }
    }
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    ::execv(args[0], args.data());
    ::_exit(127);
  }
  ::close(out[1]);
  if (pid < 0) {
    ::close(out[0]);
    return result;
  }
  result.output = readAllAndClose(out[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace pexil::test
