#include "recent_files.hpp"

#include <algorithm>

#include "settings.hpp"

namespace pexil::ui {
namespace {

std::string KeyOf(std::size_t index) {
  std::string key = "RecentFile";
  key += std::to_string(index + 1);
  return key;
}

}  // namespace

void RecentFiles::add(const std::string& path) {
  if (path.empty()) return;
  remove(path);
  paths_.insert(paths_.begin(), path);
  if (paths_.size() > kMost) paths_.resize(kMost);
}

void RecentFiles::remove(const std::string& path) { std::erase(paths_, path); }

void RecentFiles::load(const SettingsStore& store) {
  paths_.clear();
  for (std::size_t k = 0; k < kMost; ++k) {
    const auto path = store.readString(KeyOf(k));
    if (path && !path->empty() && std::find(paths_.begin(), paths_.end(), *path) == paths_.end()) {
      paths_.push_back(*path);
    }
  }
}

void RecentFiles::save(SettingsStore& store) const {
  for (std::size_t k = 0; k < kMost; ++k) store.writeString(KeyOf(k), k < paths_.size() ? paths_[k] : std::string());
}

std::string RecentFileCaption(std::size_t index, const std::string& path) {
  constexpr std::size_t kShown = 40;
  std::string shown = path;
  if (path.size() > kShown) {
    shown = "...";
    shown.append(path, path.size() - kShown, kShown);
  }
  // '&' in a name would read as a mnemonic mark.
  std::string escaped;
  for (const char c : shown) {
    if (c == '&') escaped += '&';
    escaped += c;
  }
  std::string caption = "&";
  caption += std::to_string(index + 1);
  caption += ' ';
  caption += escaped;
  return caption;
}

}  // namespace pexil::ui
