#include "io/atomic_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace pexil {
namespace {

namespace fs = std::filesystem;

// The file a path finally names: through a symbolic link the link stays
// and the file it points to is replaced.
std::string resolvedTarget(const std::string& path) {
  std::error_code error;
  if (fs::is_symlink(fs::symlink_status(path, error))) {
    const fs::path target = fs::canonical(path, error);
    if (!error) return target.string();
  }
  return path;
}

// Creates a new empty file beside the target under a name no other writer
// uses (exclusive creation, so two writers never share one); the empty
// name when the folder takes no new file.
std::string createTemporary(const std::string& target) {
  const fs::path path(target);
  const std::string stem = path.filename().string() + "." + std::to_string(::getpid()) + "-";
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const fs::path candidate = path.parent_path() / (stem + std::to_string(attempt) + ".tmp");
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      return candidate.string();
    }
    if (errno != EEXIST) return {};
  }
  return {};
}

// A file replaced keeps its permissions.
void keepPermissions(const std::string& target, const std::string& temporary) {
  struct stat status {};
  if (::stat(target.c_str(), &status) == 0 && S_ISREG(status.st_mode)) ::chmod(temporary.c_str(), status.st_mode & 07777);
}

// Makes the bytes durable before the rename makes them visible.
bool syncFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
}

// The rename itself lasts once the folder is synced; failing that only
// costs durability, not the file.
void syncFolder(const std::string& path) {
  const fs::path folder = fs::path(path).parent_path();
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& path) {
  if (path.empty()) return;
  target_ = resolvedTarget(path);
  temporary_ = createTemporary(target_);
  if (temporary_.empty()) return;
  keepPermissions(target_, temporary_);
  out_.open(temporary_, std::ios::binary | std::ios::trunc);
  if (!out_.is_open()) discard();
}

AtomicFileWriter::~AtomicFileWriter() {
  if (!done_) discard();
}

void AtomicFileWriter::discard() {
  done_ = true;
  if (out_.is_open()) out_.close();
  if (temporary_.empty()) return;
  std::error_code ignored;
  fs::remove(temporary_, ignored);
}

bool AtomicFileWriter::commit() {
  if (done_) return committed_;
  if (!out_.is_open()) {
    discard();
    return false;
  }
  out_.flush();
  bool ok = static_cast<bool>(out_);
  out_.close();
  ok = ok && !out_.fail() && syncFile(temporary_);
  if (ok) {
    std::error_code error;
    fs::rename(temporary_, target_, error);
    ok = !error;
  }
  if (!ok) {
    discard();
    return false;
  }
  done_ = committed_ = true;
  syncFolder(target_);
  return true;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
  AtomicFileWriter writer(path);
  if (!writer.isOpen()) return false;
  writer.stream().write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return writer.commit();
}

}  // namespace pexil
