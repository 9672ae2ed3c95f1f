// Writing a file whole or not at all. The bytes go to a temporary file in
// the target's folder, which is synced and renamed over the target only
// once everything was written. A write that fails (disk full, file-size
// limit, a folder that takes no new files) leaves an earlier file as it was
// and no temporary file behind.
#pragma once

#include <fstream>
#include <memory>
#include <string>
#include <string_view>

namespace pexil {

// Writes `bytes` to `path` that way. False on any failure.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// The same for text written piece by piece (a log that grows while a
// command runs): stream() writes to the temporary file, commit() puts it in
// place. A writer that is destroyed without a successful commit removes
// its temporary file, and the target is never touched.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(const std::string& path);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Whether the temporary file could be created.
  bool isOpen() const { return out_.is_open(); }
  std::ostream& stream() { return out_; }
  // Flushes, syncs and renames the temporary file over the target. False,
  // with the temporary file removed, when any write failed or the rename
  // did; a second call does nothing and gives the first call's answer.
  bool commit();
  // Drops the temporary file; the target stays as it was.
  void discard();

 private:
  std::string target_;
  std::string temporary_;
  std::ofstream out_;
  bool done_ = false;
  bool committed_ = false;
};

}  // namespace pexil
