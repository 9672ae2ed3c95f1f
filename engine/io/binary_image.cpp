#include "io/binary_image.hpp"

#include <algorithm>
#include <cstring>

#include "io/atomic_file.hpp"
#include "io/content_hash.hpp"
#include "io/mapped_file.hpp"
#include "text/messages.hpp"

namespace pexil {
namespace {

constexpr char kMagic[8] = {'P', 'E', 'X', 'I', 'L', 'B', 'I', 'N'};
constexpr std::uint32_t kByteOrderMark = 0x01020304u;
constexpr std::size_t kDirectoryEntrySize = 24;
constexpr std::size_t kKindSize = 8;

template <class T>
void put(std::string& out, std::size_t at, T value) {
  std::memcpy(out.data() + at, &value, sizeof value);
}

template <class T>
T get(std::span<const std::byte> bytes, std::size_t at) {
  T value;
  std::memcpy(&value, bytes.data() + at, sizeof value);
  return value;
}

std::uint64_t alignUp(std::uint64_t n) { return (n + kImageAlignment - 1) / kImageAlignment * kImageAlignment; }

std::uint64_t directoryEnd(std::size_t sections) { return kImageHeaderSize + sections * kDirectoryEntrySize; }

const std::string& zeros() {
  static const std::string block(kImageAlignment, '\0');
  return block;
}

}  // namespace

// ---------------------------------------------------------------------------
// Writing.

void ImageWriter::addView(std::uint32_t id, std::uint32_t elementSize, std::span<const std::byte> bytes) {
  sections_.push_back({id, elementSize, bytes, 0});
}

void ImageWriter::addOwned(std::uint32_t id, std::uint32_t elementSize, std::string bytes) {
  owned_.push_back(std::move(bytes));
  sections_.push_back({id, elementSize, {}, owned_.size()});
}

std::span<const std::byte> ImageWriter::bytesOf(const Section& section) const {
  if (section.owned == 0) return section.bytes;
  return std::as_bytes(std::span<const char>(owned_[section.owned - 1]));
}

std::uint64_t ImageWriter::imageSize() const {
  std::uint64_t at = alignUp(directoryEnd(sections_.size()));
  for (const Section& s : sections_) at = alignUp(at + bytesOf(s).size());
  return at;
}

// Everything after the header, in order: the directory, then each section
// after zero padding up to its start, then padding to the end.
template <class Sink>
void ImageWriter::emit(Sink&& sink) const {
  std::string directory(sections_.size() * kDirectoryEntrySize, '\0');
  std::uint64_t at = alignUp(directoryEnd(sections_.size()));
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    const Section& s = sections_[i];
    const std::uint64_t size = bytesOf(s).size();
    put(directory, i * kDirectoryEntrySize, s.id);
    put(directory, i * kDirectoryEntrySize + 4, s.elementSize);
    put(directory, i * kDirectoryEntrySize + 8, at);
    put(directory, i * kDirectoryEntrySize + 16, size);
    at = alignUp(at + size);
  }
  sink(std::string_view(directory));
  std::uint64_t written = directoryEnd(sections_.size());
  for (const Section& s : sections_) {
    const std::uint64_t start = alignUp(written);
    sink(std::string_view(zeros()).substr(0, static_cast<std::size_t>(start - written)));
    const auto bytes = bytesOf(s);
    sink(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    written = start + bytes.size();
  }
  sink(std::string_view(zeros()).substr(0, static_cast<std::size_t>(alignUp(written) - written)));
}

std::string ImageWriter::header(std::uint64_t checksum) const {
  std::string out(kImageHeaderSize, '\0');
  std::memcpy(out.data(), kMagic, sizeof kMagic);
  put(out, 8, kByteOrderMark);
  put(out, 12, version_);
  std::memcpy(out.data() + 16, kind_.data(), std::min(kind_.size(), kKindSize));
  put(out, 24, static_cast<std::uint16_t>(kImageHeaderSize));
  put(out, 26, static_cast<std::uint16_t>(kDirectoryEntrySize));
  put(out, 28, static_cast<std::uint32_t>(sections_.size()));
  put(out, 32, imageSize());
  put(out, 40, checksum);
  put(out, 48, static_cast<std::uint8_t>(sizeof(void*)));
  return out;
}

std::string ImageWriter::image() const {
  ContentHash hash;
  emit([&](std::string_view piece) { hash.add(piece); });
  std::string out = header(hash.value());
  out.reserve(static_cast<std::size_t>(imageSize()));
  emit([&](std::string_view piece) { out.append(piece); });
  return out;
}

bool ImageWriter::write(const std::string& path) const {
  ContentHash hash;
  emit([&](std::string_view piece) { hash.add(piece); });
  AtomicFileWriter writer(path);
  if (!writer.isOpen()) return false;
  std::ostream& out = writer.stream();
  const std::string head = header(hash.value());
  out.write(head.data(), static_cast<std::streamsize>(head.size()));
  emit([&](std::string_view piece) { out.write(piece.data(), static_cast<std::streamsize>(piece.size())); });
  return writer.commit();
}

// ---------------------------------------------------------------------------
// Reading.

std::optional<ImageReader> ImageReader::open(std::span<const std::byte> bytes, std::string_view kind,
                                             std::uint32_t version, ImageRefusal& refusal) {
  auto refuse = [&](ImageProblem problem, std::string detail = {}) {
    refusal = {problem, std::move(detail)};
    return std::nullopt;
  };
  if (bytes.size() < kImageHeaderSize || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
    return refuse(ImageProblem::notImage);
  }
  const auto mark = get<std::uint32_t>(bytes, 8);
  if (mark != kByteOrderMark) return refuse(mark == __builtin_bswap32(kByteOrderMark) ? ImageProblem::otherMachine : ImageProblem::notImage);
  if (get<std::uint8_t>(bytes, 48) != sizeof(void*)) return refuse(ImageProblem::otherMachine);
  char storedKind[kKindSize] = {};
  std::memcpy(storedKind, bytes.data() + 16, kKindSize);
  if (std::string_view(storedKind, strnlen(storedKind, kKindSize)) != kind.substr(0, kKindSize)) {
    return refuse(ImageProblem::otherKind);
  }
  if (get<std::uint32_t>(bytes, 12) != version) return refuse(ImageProblem::otherVersion);
  if (get<std::uint16_t>(bytes, 24) != kImageHeaderSize || get<std::uint16_t>(bytes, 26) != kDirectoryEntrySize) {
    return refuse(ImageProblem::damaged, "header");
  }
  if (get<std::uint64_t>(bytes, 32) != bytes.size()) return refuse(ImageProblem::damaged, "file size");
  if (reinterpret_cast<std::uintptr_t>(bytes.data()) % 16 != 0) return refuse(ImageProblem::damaged, "alignment");
  const auto count = get<std::uint32_t>(bytes, 28);
  if (count > kMaxImageSections || directoryEnd(count) > bytes.size()) return refuse(ImageProblem::damaged, "directory");

  ImageReader reader;
  reader.bytes_ = bytes;
  std::uint64_t previousEnd = directoryEnd(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t at = kImageHeaderSize + i * kDirectoryEntrySize;
    const Entry e{get<std::uint32_t>(bytes, at), get<std::uint32_t>(bytes, at + 4), get<std::uint64_t>(bytes, at + 8),
                  get<std::uint64_t>(bytes, at + 16)};
    // In order, apart, aligned, inside the file, whole elements, one of each id.
    const bool placed = e.offset % kImageAlignment == 0 && e.offset >= previousEnd && e.offset <= bytes.size() &&
                        e.size <= bytes.size() - e.offset;
    if (!placed || e.elementSize == 0 || e.size % e.elementSize != 0 || reader.find(e.id) != nullptr) {
      return refuse(ImageProblem::damaged, "directory");
    }
    reader.entries_.push_back(e);
    previousEnd = e.offset + e.size;
  }
  return reader;
}

std::uint64_t ImageReader::storedChecksum() const { return get<std::uint64_t>(bytes_, 40); }

const ImageReader::Entry* ImageReader::find(std::uint32_t id) const {
  for (const Entry& e : entries_) {
    if (e.id == id) return &e;
  }
  return nullptr;
}

std::span<const std::byte> ImageReader::section(std::uint32_t id) const {
  const Entry* e = find(id);
  if (e == nullptr) return {};
  return bytes_.subspan(static_cast<std::size_t>(e->offset), static_cast<std::size_t>(e->size));
}

BodyCheck::BodyCheck(std::span<const std::byte> image, std::uint64_t expected, const MappedFile* pages)
    : image_(image), expected_(expected), pages_(pages),
      done_(std::min(image.size(), kImageHeaderSize)) {}

void BodyCheck::advance(std::size_t offset) {
  offset = std::min(offset, image_.size());
  if (offset <= done_) return;
  const auto piece = image_.subspan(done_, offset - done_);
  hash_.add(piece);
  if (pages_) pages_->release(piece);
  done_ = offset;
}

bool BodyCheck::finish() {
  for (std::size_t at = done_; at < image_.size(); at += kPiece) advance(at + kPiece);
  return hash_.value() == expected_;
}

std::string refusalText(const ImageRefusal& refusal) {
  switch (refusal.problem) {
    case ImageProblem::none: return {};
    case ImageProblem::notImage: return Message(msg::BinaryReasonNotImage);
    case ImageProblem::otherKind: return Message(msg::BinaryReasonOtherKind);
    case ImageProblem::otherVersion: return Message(msg::BinaryReasonOtherVersion);
    case ImageProblem::otherMachine: return Message(msg::BinaryReasonOtherMachine);
    case ImageProblem::damaged: return FormatMessage(msg::BinaryReasonDamaged, refusal.detail.c_str());
    case ImageProblem::otherSources: return Message(msg::BinaryReasonOtherSources);
  }
  return {};
}

}  // namespace pexil
