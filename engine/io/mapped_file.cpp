#include "io/mapped_file.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <utility>

namespace pexil {

MappedFile::~MappedFile() { unmap(); }

MappedFile::MappedFile(MappedFile&& other) noexcept
    : address_(std::exchange(other.address_, nullptr)), size_(std::exchange(other.size_, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    unmap();
    address_ = std::exchange(other.address_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

void MappedFile::unmap() {
  if (address_ != nullptr) ::munmap(address_, size_);
  address_ = nullptr;
  size_ = 0;
}

std::optional<MappedFile> MappedFile::open(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) {
    ::close(fd);
    return std::nullopt;
  }
  MappedFile file;
  const auto size = static_cast<std::size_t>(status.st_size);
  if (size > 0) {
    void* address = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (address == MAP_FAILED) {
      ::close(fd);
      return std::nullopt;
    }
    file.address_ = address;
    file.size_ = size;
  }
  ::close(fd);  // the mapping keeps the file
  return file;
}

void MappedFile::release(std::span<const std::byte> part) const {
  if (address_ == nullptr || part.empty()) return;
  const auto base = reinterpret_cast<std::uintptr_t>(address_);
  auto begin = reinterpret_cast<std::uintptr_t>(part.data());
  auto end = begin + part.size();
  if (begin < base || end > base + size_) return;
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  begin = (begin + page - 1) / page * page;
  // The last page of the file counts as whole: nothing else is mapped there.
  end = end == base + size_ ? (end + page - 1) / page * page : end / page * page;
  if (end <= begin) return;
  ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
}

}  // namespace pexil
