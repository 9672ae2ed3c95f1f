#include "io/data_files.hpp"

#include <filesystem>
#include <fstream>

#include "text/latin1.hpp"

namespace pexil {

std::optional<std::string> findDataFile(std::string_view name) {
  if (name.empty()) return std::nullopt;
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path path{std::string(name)};
  if (fs::is_regular_file(path, error)) return path.string();
  // No exact match: look for the same name in another letter case.
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  const std::string wanted = latin1Lower(path.filename().string());
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (latin1Lower(it->path().filename().string()) != wanted) continue;
    if (it->is_regular_file(error)) return (path.has_parent_path() ? folder / it->path().filename() : it->path().filename()).string();
  }
  return std::nullopt;
}

bool dataFileExists(std::string_view name) { return findDataFile(name).has_value(); }

std::filesystem::path programDataFolder(const std::filesystem::path& programFolder) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::is_regular_file(programFolder / "game.definitions", error)) return programFolder;
  const fs::path installed = (programFolder / ".." / "share" / "pexil").lexically_normal();
  if (fs::is_regular_file(installed / "game.definitions", error)) return installed;
  return programFolder;
}

std::string companionName(std::string_view name, std::string_view extension) {
  // Only the file-name part is cut, so a folder with a dot in its name
  // keeps its name.
  const std::size_t slash = name.find_last_of('/');
  const std::size_t start = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t dot = name.find('.', start);
  std::string result(name.substr(0, dot));
  result += extension;
  return result;
}

std::optional<std::string> readWholeFile(const std::string& path, std::size_t maxBytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string data;
  try {
    char buffer[1 << 16];
    while (in) {
      in.read(buffer, sizeof buffer);
      const auto got = static_cast<std::size_t>(in.gcount());
      if (data.size() + got > maxBytes) return std::nullopt;
      data.append(buffer, got);
    }
  } catch (const std::exception&) {
    return std::nullopt;  // a folder, or a read error
  }
  if (in.bad()) return std::nullopt;
  return data;
}

}  // namespace pexil
