// A file mapped into memory read-only (MAP_PRIVATE), for binary data files
// whose pages should only be read from disk when something looks at them.
// The mapping lasts as long as the object; moving it hands the mapping on.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace pexil {

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Maps a regular file; none when it cannot be opened or mapped. An empty
  // file maps to no bytes.
  static std::optional<MappedFile> open(const std::string& path);

  std::span<const std::byte> bytes() const { return {static_cast<const std::byte*>(address_), size_}; }
  std::size_t size() const { return size_; }

  // Drops the resident pages that lie wholly inside `part` (a piece of
  // bytes()): the next read of them maps them in again from the file. Used
  // after a pass over data that is not needed again soon, so that checking a
  // large file does not keep all of it resident.
  void release(std::span<const std::byte> part) const;

 private:
  void unmap();
  void* address_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace pexil
