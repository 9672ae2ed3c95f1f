#include "io/content_hash.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <memory>

namespace pexil {
namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9ull;
constexpr std::uint64_t kPrime4 = 0x85EBCA77C2B2AE63ull;
constexpr std::uint64_t kPrime5 = 0x27D4EB2F165667C5ull;

inline std::uint64_t read64(const unsigned char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
inline std::uint32_t read32(const unsigned char* p) {
  std::uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline std::uint64_t mixLane(std::uint64_t lane, std::uint64_t input) {
  lane += input * kPrime2;
  lane = std::rotl(lane, 31);
  return lane * kPrime1;
}

inline std::uint64_t foldLane(std::uint64_t acc, std::uint64_t lane) {
  acc ^= mixLane(0, lane);
  return acc * kPrime1 + kPrime4;
}

}  // namespace

ContentHash::ContentHash(std::uint64_t seed)
    : lanes_{seed + kPrime1 + kPrime2, seed + kPrime2, seed, seed - kPrime1}, seed_(seed) {}

void ContentHash::add(const void* data, std::size_t size) {
  if (size == 0) return;
  const auto* p = static_cast<const unsigned char*>(data);
  total_ += size;
  if (pendingSize_ > 0) {
    const std::size_t take = std::min(size, pending_.size() - pendingSize_);
    std::memcpy(pending_.data() + pendingSize_, p, take);
    pendingSize_ += take;
    p += take;
    size -= take;
    if (pendingSize_ < pending_.size()) return;
    for (int i = 0; i < 4; ++i) lanes_[i] = mixLane(lanes_[i], read64(pending_.data() + 8 * i));
    pendingSize_ = 0;
  }
  std::uint64_t a = lanes_[0], b = lanes_[1], c = lanes_[2], d = lanes_[3];
  while (size >= 32) {
    a = mixLane(a, read64(p));
    b = mixLane(b, read64(p + 8));
    c = mixLane(c, read64(p + 16));
    d = mixLane(d, read64(p + 24));
    p += 32;
    size -= 32;
  }
  lanes_ = {a, b, c, d};
  if (size > 0) {
    std::memcpy(pending_.data(), p, size);
    pendingSize_ = size;
  }
}

std::uint64_t ContentHash::value() const {
  std::uint64_t h;
  if (total_ >= 32) {
    h = std::rotl(lanes_[0], 1) + std::rotl(lanes_[1], 7) + std::rotl(lanes_[2], 12) + std::rotl(lanes_[3], 18);
    for (std::uint64_t lane : lanes_) h = foldLane(h, lane);
  } else {
    h = seed_ + kPrime5;
  }
  h += total_;
  const unsigned char* p = pending_.data();
  std::size_t left = pendingSize_;
  for (; left >= 8; p += 8, left -= 8) h = std::rotl(h ^ mixLane(0, read64(p)), 27) * kPrime1 + kPrime4;
  if (left >= 4) {
    h = std::rotl(h ^ (static_cast<std::uint64_t>(read32(p)) * kPrime1), 23) * kPrime2 + kPrime3;
    p += 4;
    left -= 4;
  }
  for (; left > 0; ++p, --left) h = std::rotl(h ^ (*p * kPrime5), 11) * kPrime1;
  h ^= h >> 33;
  h *= kPrime2;
  h ^= h >> 29;
  h *= kPrime3;
  h ^= h >> 32;
  return h;
}

std::uint64_t contentHash(std::string_view bytes) {
  ContentHash hash;
  hash.add(bytes);
  return hash.value();
}

FileStamp stampOf(std::string_view bytes) { return {bytes.size(), contentHash(bytes)}; }

std::optional<FileStamp> stampFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  // Hashing runs at memory speed; a small buffer keeps the file's pages out
  // of this process.
  constexpr std::size_t kPiece = 256 * 1024;
  const auto buffer = std::make_unique_for_overwrite<unsigned char[]>(kPiece);
  ContentHash hash;
  FileStamp stamp;
  for (;;) {
    const ssize_t got = ::read(fd, buffer.get(), kPiece);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      ::close(fd);
      return std::nullopt;  // a folder, or a read error
    }
    if (got == 0) break;
    hash.add(buffer.get(), static_cast<std::size_t>(got));
    stamp.size += static_cast<std::uint64_t>(got);
  }
  ::close(fd);
  stamp.hash = hash.value();
  return stamp;
}

}  // namespace pexil
