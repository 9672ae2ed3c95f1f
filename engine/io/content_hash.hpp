// A fast 64-bit hash of file contents (four multiply-rotate lanes over
// 32-byte blocks, in the manner of xxHash), and the stamp that identifies
// the source file a binary data file was made from: its size and that hash.
// Not a cryptographic hash: it tells versions of a file apart and catches
// damage, it does not resist forgery.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pexil {

class ContentHash {
 public:
  explicit ContentHash(std::uint64_t seed = 0);
  void add(const void* data, std::size_t size);
  void add(std::span<const std::byte> bytes) { add(bytes.data(), bytes.size()); }
  void add(std::string_view text) { add(text.data(), text.size()); }
  std::uint64_t value() const;

 private:
  std::array<std::uint64_t, 4> lanes_;
  std::uint64_t seed_;
  std::uint64_t total_ = 0;
  std::array<unsigned char, 32> pending_{};
  std::size_t pendingSize_ = 0;
};

std::uint64_t contentHash(std::string_view bytes);

struct FileStamp {
  std::uint64_t size = 0;
  std::uint64_t hash = 0;
  bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(std::string_view bytes);
// The stamp of a file's contents, read in pieces (the file is not kept in
// memory); none when it cannot be read.
std::optional<FileStamp> stampFile(const std::string& path);

}  // namespace pexil
