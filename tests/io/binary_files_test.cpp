// The pieces of the binary data files: the read-only mapping, the content
// hash and file stamps, and the container of sections with its checks.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "io/binary_image.hpp"
#include "io/content_hash.hpp"
#include "io/mapped_file.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

TEST(MappedFiles, MapTheBytesOfAFile) {
  test::TempFolder folder;
  std::string content(3 * 4096 + 17, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
  const auto mapped = MappedFile::open(folder.write("data.bin", content));
  ASSERT_TRUE(mapped.has_value());
  ASSERT_EQ(mapped->size(), content.size());
  EXPECT_EQ(std::memcmp(mapped->bytes().data(), content.data(), content.size()), 0);
  // Given-back pages read the same when looked at again.
  mapped->release(mapped->bytes());
  mapped->release(mapped->bytes().subspan(100, 5000));
  EXPECT_EQ(std::memcmp(mapped->bytes().data(), content.data(), content.size()), 0);
}

TEST(MappedFiles, EmptyMissingAndFolders) {
  test::TempFolder folder;
  const auto empty = MappedFile::open(folder.write("empty.bin", ""));
  ASSERT_TRUE(empty.has_value());
  EXPECT_EQ(empty->size(), 0u);
  EXPECT_TRUE(empty->bytes().empty());
  EXPECT_FALSE(MappedFile::open(folder.path("missing.bin")).has_value());
  EXPECT_FALSE(MappedFile::open(folder.path("")).has_value());
}

TEST(MappedFiles, MovingHandsTheMappingOn) {
  test::TempFolder folder;
  auto first = MappedFile::open(folder.write("a.bin", "abcdef"));
  ASSERT_TRUE(first.has_value());
  const std::byte* address = first->bytes().data();
  MappedFile moved = std::move(*first);
  EXPECT_EQ(first->size(), 0u);
  EXPECT_EQ(moved.bytes().data(), address);
  MappedFile other = *MappedFile::open(folder.write("b.bin", "xyz"));
  other = std::move(moved);
  EXPECT_EQ(other.size(), 6u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(other.bytes().data()), 6), "abcdef");
}

TEST(ContentHashes, PiecesGiveTheHashOfTheWhole) {
  std::string text;
  for (int i = 0; i < 1000; ++i) text += static_cast<char>(i * 31 + i / 7);
  const std::uint64_t whole = contentHash(text);
  for (std::size_t piece : {1u, 3u, 31u, 32u, 33u, 100u}) {
    ContentHash hash;
    for (std::size_t at = 0; at < text.size(); at += piece) hash.add(std::string_view(text).substr(at, piece));
    EXPECT_EQ(hash.value(), whole) << piece;
  }
  // Any change, the length too, gives another hash.
  for (std::size_t at : {0u, 1u, 31u, 32u, 500u, 999u}) {
    std::string changed = text;
    changed[at] = static_cast<char>(changed[at] ^ 1);
    EXPECT_NE(contentHash(changed), whole) << at;
  }
  EXPECT_NE(contentHash(text.substr(0, 999)), whole);
  EXPECT_NE(contentHash(""), contentHash(std::string(1, '\0')));
  EXPECT_NE(contentHash(std::string(64, '\0')), contentHash(std::string(65, '\0')));
}

TEST(ContentHashes, FileStampsReadFilesInPieces) {
  test::TempFolder folder;
  std::string big(700 * 1024 + 5, 'x');
  big[123456] = 'y';
  EXPECT_EQ(stampFile(folder.write("big.txt", big)), stampOf(big));
  EXPECT_EQ(stampFile(folder.write("empty.txt", "")), stampOf(""));
  EXPECT_EQ(stampOf(big).size, big.size());
  EXPECT_FALSE(stampFile(folder.path("missing.txt")).has_value());
  EXPECT_FALSE(stampFile(folder.path("")).has_value());
}

// Images in memory start at an address as aligned as a mapping's.
struct Aligned {
  explicit Aligned(const std::string& bytes) : words((bytes.size() + 7) / 8), size(bytes.size()) {
    if (size > 0) std::memcpy(words.data(), bytes.data(), size);
  }
  std::span<const std::byte> bytes() const { return {reinterpret_cast<const std::byte*>(words.data()), size}; }
  std::vector<std::uint64_t> words;
  std::size_t size;
};

std::string sampleImage() {
  static const std::vector<std::int32_t> numbers = {1, -2, 3, 400000};
  ImageWriter writer("SAMPLE", 3);
  writer.addArray(7, std::span<const std::int32_t>(numbers));
  writer.addOwned(9, 1, "some text");
  writer.addOwned(2, 4, std::string());
  return writer.image();
}

TEST(BinaryImages, SectionsComeBackAlignedAndWhole) {
  const std::string image = sampleImage();
  EXPECT_EQ(image.size() % kImageAlignment, 0u);
  const Aligned aligned(image);
  ImageRefusal refusal;
  const auto reader = ImageReader::open(aligned.bytes(), "SAMPLE", 3, refusal);
  ASSERT_TRUE(reader.has_value()) << refusalText(refusal);
  const auto numbers = reader->array<std::int32_t>(7);
  ASSERT_TRUE(numbers.has_value());
  EXPECT_EQ(std::vector<std::int32_t>(numbers->begin(), numbers->end()), (std::vector<std::int32_t>{1, -2, 3, 400000}));
  // Sections start on 64-byte boundaries of the file (a mapping starts on a page).
  EXPECT_EQ((reinterpret_cast<const std::byte*>(numbers->data()) - aligned.bytes().data()) % kImageAlignment, 0);
  const auto text = reader->section(9);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(text.data()), text.size()), "some text");
  EXPECT_TRUE(reader->has(2));
  EXPECT_TRUE(reader->section(2).empty());
  EXPECT_FALSE(reader->has(8));
  EXPECT_FALSE(reader->array<std::int64_t>(7).has_value());  // another element size
  // The checksum of the body, worked out in one pass.
  BodyCheck body(aligned.bytes(), reader->storedChecksum(), nullptr);
  EXPECT_TRUE(body.finish());
}

TEST(BinaryImages, WritingAtomicallyGivesTheSameBytes) {
  test::TempFolder folder;
  static const std::vector<std::int32_t> numbers = {5, 6};
  ImageWriter writer("SAMPLE", 1);
  writer.addArray(1, std::span<const std::int32_t>(numbers));
  ASSERT_TRUE(writer.write(folder.path("sample.bin")));
  const auto mapped = MappedFile::open(folder.path("sample.bin"));
  ASSERT_TRUE(mapped.has_value());
  const std::string image = writer.image();
  ASSERT_EQ(mapped->size(), image.size());
  EXPECT_EQ(std::memcmp(mapped->bytes().data(), image.data(), image.size()), 0);
  EXPECT_EQ(writer.imageSize(), image.size());
  EXPECT_FALSE(writer.write(folder.path("no-such-folder/sample.bin")));
}

TEST(BinaryImages, RefusalsNameTheProblem) {
  const std::string good = sampleImage();
  auto refusalOf = [](const std::string& bytes, const char* kind = "SAMPLE", std::uint32_t version = 3) {
    const Aligned aligned(bytes);
    ImageRefusal refusal;
    const auto reader = ImageReader::open(aligned.bytes(), kind, version, refusal);
    if (reader) {
      BodyCheck body(aligned.bytes(), reader->storedChecksum(), nullptr);
      if (!body.finish()) refusal = {ImageProblem::damaged, "checksum"};
    }
    return refusal;
  };
  auto patched = [&](std::size_t at, const void* value, std::size_t size) {
    std::string bytes = good;
    std::memcpy(bytes.data() + at, value, size);
    return bytes;
  };
  EXPECT_EQ(refusalOf(good).problem, ImageProblem::none);
  EXPECT_EQ(refusalOf("").problem, ImageProblem::notImage);
  EXPECT_EQ(refusalOf(good.substr(0, 63)).problem, ImageProblem::notImage);
  EXPECT_EQ(refusalOf(std::string(good.size(), 'P')).problem, ImageProblem::notImage);
  EXPECT_EQ(refusalOf(good, "OTHER").problem, ImageProblem::otherKind);
  EXPECT_EQ(refusalOf(good, "SAMPLE", 4).problem, ImageProblem::otherVersion);
  const std::uint32_t swapped = 0x04030201u;
  EXPECT_EQ(refusalOf(patched(8, &swapped, 4)).problem, ImageProblem::otherMachine);
  const std::uint8_t pointerSize = 4;
  EXPECT_EQ(refusalOf(patched(48, &pointerSize, 1)).problem, ImageProblem::otherMachine);
  const ImageRefusal truncated = refusalOf(good.substr(0, good.size() - 64));
  EXPECT_EQ(truncated.problem, ImageProblem::damaged);
  EXPECT_EQ(truncated.detail, "file size");
  // Sections outside the file, overlapping, misaligned, twice the same id,
  // or not whole elements.
  const std::size_t first = kImageHeaderSize;  // directory entry of the first section
  const std::uint64_t huge = ~std::uint64_t(0) - 8;
  const std::uint64_t misaligned = 65;
  const std::uint32_t sameId = 9;
  const std::uint64_t partial = 15;
  const std::uint32_t tooMany = kMaxImageSections + 1;
  for (const std::string& bytes :
       {patched(first + 8, &huge, 8), patched(first + 16, &huge, 8), patched(first + 8, &misaligned, 8),
        patched(first, &sameId, 4), patched(first + 16, &partial, 8), patched(28, &tooMany, 4)}) {
    const ImageRefusal refusal = refusalOf(bytes);
    EXPECT_EQ(refusal.problem, ImageProblem::damaged);
    EXPECT_EQ(refusal.detail, "directory");
  }
  // Any byte of the body changed.
  for (std::size_t at = kImageHeaderSize; at < good.size(); at += 13) {
    std::string bytes = good;
    bytes[at] = static_cast<char>(bytes[at] ^ 0x40);
    const ImageRefusal refusal = refusalOf(bytes);
    EXPECT_EQ(refusal.problem, ImageProblem::damaged) << at;
  }
  EXPECT_NE(refusalText({ImageProblem::damaged, "trie"}).find("damaged (trie)"), std::string::npos);
}

}  // namespace
}  // namespace pexil
