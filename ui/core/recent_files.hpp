// The files opened or saved last (game records and positions), newest
// first, as the File menu offers them; kept in the settings store under
// "RecentFile1" to "RecentFile4". No wx here.
#pragma once

#include <string>
#include <vector>

namespace pexil {
class SettingsStore;
}

namespace pexil::ui {

class RecentFiles {
 public:
  static constexpr std::size_t kMost = 4;

  // Puts the path first (an earlier entry of it goes); the oldest beyond
  // four drops off.
  void add(const std::string& path);
  // Takes a path off the list (a file that could not be opened).
  void remove(const std::string& path);
  const std::vector<std::string>& paths() const { return paths_; }

  void load(const SettingsStore& store);
  void save(SettingsStore& store) const;

 private:
  std::vector<std::string> paths_;
};

// The caption of entry `index` (0-based) in the menu: "&1 name", the path
// shortened to its last 40 characters.
std::string RecentFileCaption(std::size_t index, const std::string& path);

}  // namespace pexil::ui
