// pexil-cli upload [FILE] [--host H] [--port N]: sends a game record to the
// results server as the strength test does after each game. The server is
// the UploadHost setting unless --host names one; with neither, uploading
// is not set up and nothing is sent.
#include <string>

#include "commands.hpp"
#include "net/upload.hpp"
#include "settings.hpp"
#include "terminal_sink.hpp"
#include "text/messages.hpp"

namespace pexil::cli {

int runUpload(const Arguments& args) {
  NoWrapPane noWrap;
  const auto options = parseOptions(args, {"--host", "--port"});
  if (!options) return 2;
  if (options->positional.size() > 1) {
    PrintMessageF(msg::CliBadOption, options->positional[1].c_str());
    return 2;
  }
  int port = 80;
  if (const auto typed = options->value("--port")) {
    const auto number = parseNumber(*typed, 1, 65535);
    if (!number) {
      PrintMessageF(msg::CliBadOption, ("--port " + *typed).c_str());
      return 2;
    }
    port = static_cast<int>(*number);
  }
  std::string host = options->value("--host").value_or("");
  if (host.empty()) {
    SettingsStore store;
    if (!store.error().empty()) PrintMessageF(msg::SettingsCannotRead, store.error().c_str());
    Settings settings;
    LoadSettings(settings, store);
    host = settings.uploadHost;
  }
  if (host.empty()) {
    PrintMessage(msg::UploadNotSetUp);
    return 1;
  }
  const std::string name = options->positional.empty() ? kUploadFileName : options->positional[0];
  const std::string path = userFilePath(name);
  if (UploadGame(host, port, path) != 0) return 1;
  PrintMessageF(msg::UploadSent, name.c_str(), host.c_str(), port);
  return 0;
}

}  // namespace pexil::cli
