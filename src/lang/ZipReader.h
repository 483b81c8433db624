// Reading ZIP archives: the central directory and deflate-compressed entries, checked against
// their recorded size and CRC-32. Plain C++ over zlib (no Windows headers), so that the parsing can
// be fuzzed natively. Every malformed input raises ZipError; nothing is allocated beyond what the
// archive can really hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qzip {

class ZipError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Random access to the archive's bytes. Read raises ZipError when the range is not all there.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  virtual void Read(std::uint64_t offset, void* into, std::size_t count) const = 0;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  void Read(std::uint64_t offset, void* into, std::size_t count) const override;

 private:
  std::string_view bytes_;
};

struct ZipEntry {
  std::string name;  // as stored; UTF-8 when `utf8Name`, else the OEM code page
  bool utf8Name = false;
  std::uint16_t flags = 0;
  std::uint16_t method = 0;
  std::uint32_t crc32 = 0;
  std::uint64_t compressedSize = 0;
  std::uint64_t uncompressedSize = 0;
  std::uint64_t localHeaderOffset = 0;
};

inline constexpr std::uint16_t kMethodStored = 0;
inline constexpr std::uint16_t kMethodDeflate = 8;

// Largest entry we inflate. Language texts are a few kilobytes; anything near this is hostile.
inline constexpr std::uint64_t kMaxEntrySize = 16ull << 20;

// Reads the central directory, in archive order. Raises ZipError for a truncated or inconsistent
// directory, ZIP64 or spanned archives, and entry names that are empty, absolute, contain a NUL
// or climb with "..".
std::vector<ZipEntry> ReadDirectory(const ByteSource& archive);

// The uncompressed bytes of a deflate entry. Raises ZipError for any other method, encryption,
// data outside the archive, a stream that does not end where the entry does, or a size or CRC-32
// that differs from the directory's.
std::string ReadEntry(const ByteSource& archive, const ZipEntry& entry);

}  // namespace qzip
