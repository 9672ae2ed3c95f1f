// The container of Pexil's binary data files (the binary forms of word
// lists and rack tables that sit beside their text sources). Everything is
// in the byte order and type sizes of the machine that wrote it, laid out
// so that the arrays can be used in place from a read-only mapping.
//
//   header (64 bytes)
//     0  "PEXILBIN"                      magic
//     8  u32 0x01020304                  byte order
//    12  u32 format version              of the kind
//    16  char[8] kind                    "LEXICON", "RACKTAB", ... NUL padded
//    24  u16 64, u16 24                  header size, directory entry size
//    28  u32 section count               at most kMaxImageSections
//    32  u64 file size
//    40  u64 checksum                    ContentHash of every byte after the header
//    48  u8 pointer size, 15 zero bytes
//   directory: per section u32 id, u32 element size, u64 offset, u64 size
//   sections, each starting at a multiple of 64 bytes, zero padding between.
//
// A reader checks all of it before any section is used: a file that is
// short, of another version, kind or byte order, with sections outside the
// file or overlapping, or whose checksum differs, is refused with the reason.
// What the sections mean is up to each kind, which checks every index they
// hold on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "io/content_hash.hpp"

namespace pexil {

class MappedFile;

inline constexpr std::size_t kImageHeaderSize = 64;
inline constexpr std::size_t kImageAlignment = 64;
inline constexpr std::uint32_t kMaxImageSections = 64;

enum class ImageProblem { none, notImage, otherKind, otherVersion, otherMachine, damaged, otherSources };

// Why a binary file was refused: the kind of problem and, for damage, a
// short technical note ("checksum", "trie", ...).
struct ImageRefusal {
  ImageProblem problem = ImageProblem::none;
  std::string detail;
};

class ImageWriter {
 public:
  ImageWriter(std::string_view kind, std::uint32_t version) : kind_(kind), version_(version) {}

  // Adds a section of elements of elementSize bytes. The bytes of a view
  // must outlive the writer; owned bytes are kept by it.
  void addView(std::uint32_t id, std::uint32_t elementSize, std::span<const std::byte> bytes);
  void addOwned(std::uint32_t id, std::uint32_t elementSize, std::string bytes);
  template <class T>
  void addArray(std::uint32_t id, std::span<const T> items) {
    addView(id, sizeof(T), std::as_bytes(items));
  }

  // The whole file in memory (tests, fuzzing) or written atomically.
  std::string image() const;
  bool write(const std::string& path) const;
  // The size the file will have.
  std::uint64_t imageSize() const;

 private:
  struct Section {
    std::uint32_t id;
    std::uint32_t elementSize;
    std::span<const std::byte> bytes;
    std::size_t owned;  // index into owned_ + 1, or 0 for a view
  };
  template <class Sink>
  void emit(Sink&& sink) const;
  std::string header(std::uint64_t checksum) const;
  std::span<const std::byte> bytesOf(const Section& section) const;

  std::string kind_;
  std::uint32_t version_;
  std::vector<Section> sections_;
  std::vector<std::string> owned_;
};

class ImageReader {
 public:
  // Checks the header and the directory of an image. `bytes` must start at
  // an address aligned to 16 bytes (a mapping starts on a page).
  static std::optional<ImageReader> open(std::span<const std::byte> bytes, std::string_view kind,
                                         std::uint32_t version, ImageRefusal& refusal);

  // The checksum the header states (see BodyCheck).
  std::uint64_t storedChecksum() const;
  std::span<const std::byte> bytes() const { return bytes_; }

  bool has(std::uint32_t id) const { return find(id) != nullptr; }
  std::span<const std::byte> section(std::uint32_t id) const;
  // A section as an array of T: none when it is missing, or its element
  // size is not sizeof(T).
  template <class T>
  std::optional<std::span<const T>> array(std::uint32_t id) const {
    const Entry* e = find(id);
    if (e == nullptr || e->elementSize != sizeof(T)) return std::nullopt;
    const std::byte* start = bytes_.data() + e->offset;
    return std::span<const T>(reinterpret_cast<const T*>(start), static_cast<std::size_t>(e->size / sizeof(T)));
  }

 private:
  struct Entry {
    std::uint32_t id;
    std::uint32_t elementSize;
    std::uint64_t offset;
    std::uint64_t size;
  };
  const Entry* find(std::uint32_t id) const;

  std::span<const std::byte> bytes_;
  std::vector<Entry> entries_;
};

// The reason of a refusal as the notices give it.
std::string refusalText(const ImageRefusal& refusal);

// The checksum of an image worked out while its sections are checked:
// the checks visit the sections in file order and report how far they have
// got; the bytes up to there are hashed, and with a mapping their pages
// are given back, so that checking a large file touches each page about
// once and keeps little of it resident. finish() hashes what is left and
// compares.
class BodyCheck {
 public:
  BodyCheck(std::span<const std::byte> image, std::uint64_t expected, const MappedFile* pages);
  BodyCheck(const BodyCheck&) = delete;
  BodyCheck& operator=(const BodyCheck&) = delete;

  // Every byte before `address` (inside the image) has been checked.
  void reached(const void* address) {
    const auto offset = static_cast<std::size_t>(static_cast<const std::byte*>(address) - image_.data());
    if (offset >= done_ + kPiece) advance(offset);
  }
  template <class T>
  void reachedEnd(std::span<const T> items) {
    advance(static_cast<std::size_t>(reinterpret_cast<const std::byte*>(items.data() + items.size()) - image_.data()));
  }
  bool finish();

 private:
  static constexpr std::size_t kPiece = 1 << 20;
  void advance(std::size_t offset);
  std::span<const std::byte> image_;
  std::uint64_t expected_;
  const MappedFile* pages_;
  ContentHash hash_;
  std::size_t done_;
};

}  // namespace pexil
