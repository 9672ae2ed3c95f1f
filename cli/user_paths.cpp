// Files named by the user are found from the folder the program was
// started in, not from the data folder it works in.
#include <filesystem>

#include "commands.hpp"
#include "io/data_files.hpp"

namespace pexil::cli {
namespace {

std::filesystem::path& launchFolder() {
  static std::filesystem::path folder;
  return folder;
}

}  // namespace

void setLaunchFolder(const std::filesystem::path& folder) { launchFolder() = folder; }

std::string userFilePath(const std::string& name) {
  const std::filesystem::path path(name);
  if (path.is_absolute() || launchFolder().empty()) return name;
  return (launchFolder() / path).string();
}

std::string userInputPath(const std::string& name) {
  const std::string fromLaunch = userFilePath(name);
  std::error_code error;
  if (name.empty() || std::filesystem::exists(fromLaunch, error)) return fromLaunch;
  // A data file keeps its bare name: the data folder is the working one.
  if (dataFileExists(name)) return name;
  return fromLaunch;
}

}  // namespace pexil::cli
