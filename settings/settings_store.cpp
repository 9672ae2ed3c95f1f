// The settings file through wxFileConfig (wxBase only, so pexil-cli uses it
// without a display). The file is read into memory once; saving writes the
// whole text to a temporary file beside it and renames that over the old
// file, so a reader never sees half a file and a failed write loses nothing.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <wx/buffer.h>
#include <wx/fileconf.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/sstream.h>

#include "settings.hpp"

namespace pexil {

namespace {

constexpr const char* kSection = "/Options";

wxString keyPath(const std::string& key) { return wxString(kSection) + "/" + wxString::FromUTF8(key); }

}  // namespace

struct SettingsStore::Impl {
  std::unique_ptr<wxFileConfig> config;
};

SettingsStore::SettingsStore(std::string path) : path_(std::move(path)), impl_(std::make_unique<Impl>()) {
  wxLogNull quiet;  // problems are reported through error(), never by wx dialogs
  std::string text;
  std::error_code status;
  if (std::filesystem::exists(path_, status) && !std::filesystem::is_regular_file(path_, status)) {
    error_ = "cannot read " + path_ + ": not a file";
  } else if (std::ifstream in(path_, std::ios::binary); in) {
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
    if (in.bad()) error_ = "cannot read " + path_;
  } else if (std::filesystem::exists(path_)) {
    error_ = "cannot read " + path_;
  }
  // A file that is not UTF-8 (edited by hand in another encoding) is read
  // as Latin-1 rather than dropped whole.
  wxString decoded = wxString::FromUTF8(text.data(), text.size());
  if (decoded.empty() && !text.empty()) decoded = wxString(text.data(), wxConvISO8859_1, text.size());
  wxStringInputStream stream(decoded);
  impl_->config = std::make_unique<wxFileConfig>(stream);
}

SettingsStore::~SettingsStore() = default;

std::optional<long> SettingsStore::readInt(const std::string& key) const {
  wxString text;
  if (!impl_->config->Read(keyPath(key), &text)) return std::nullopt;
  long value = 0;
  if (!text.Trim().Trim(false).ToLong(&value)) return std::nullopt;
  return value;
}

std::optional<std::string> SettingsStore::readString(const std::string& key) const {
  wxString text;
  if (!impl_->config->Read(keyPath(key), &text)) return std::nullopt;
  std::string latin1;
  for (const wxUniChar c : text) {
    const auto code = c.GetValue();
    latin1 += code < 256 ? static_cast<char>(code) : '?';
  }
  return latin1;
}

std::optional<std::vector<unsigned char>> SettingsStore::readBytes(const std::string& key) const {
  if (!has(key)) return std::nullopt;
  wxMemoryBuffer buffer;
  wxLogNull quiet;
  if (!impl_->config->Read(keyPath(key), &buffer)) return std::nullopt;
  const auto* data = static_cast<const unsigned char*>(buffer.GetData());
  return std::vector<unsigned char>(data, data + buffer.GetDataLen());
}

bool SettingsStore::has(const std::string& key) const { return impl_->config->HasEntry(keyPath(key)); }

void SettingsStore::writeInt(const std::string& key, long value) { impl_->config->Write(keyPath(key), value); }

void SettingsStore::writeString(const std::string& key, const std::string& value) {
  impl_->config->Write(keyPath(key), wxString(value.data(), wxConvISO8859_1, value.size()));
}

void SettingsStore::writeBytes(const std::string& key, const std::vector<unsigned char>& bytes) {
  wxMemoryBuffer buffer;
  buffer.AppendData(bytes.data(), bytes.size());
  impl_->config->Write(keyPath(key), buffer);
}

bool SettingsStore::save() {
  wxLogNull quiet;
  wxStringOutputStream out;
  if (!impl_->config->Save(out)) {
    error_ = "cannot write " + path_;
    return false;
  }
  const std::string text(out.GetString().utf8_str());
  std::error_code ignored;
  const std::filesystem::path target(path_);
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ignored);
  const std::string temporary = path_ + ".new." + std::to_string(::getpid());
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  bool written = fd >= 0;
  for (std::size_t done = 0; written && done < text.size();) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    written = n > 0;
    if (written) done += static_cast<std::size_t>(n);
  }
  if (written) written = ::fsync(fd) == 0;
  if (fd >= 0 && ::close(fd) != 0) written = false;
  if (written) written = std::rename(temporary.c_str(), path_.c_str()) == 0;
  if (!written) {
    error_ = "cannot write " + path_ + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  error_.clear();
  return true;
}

}  // namespace pexil
