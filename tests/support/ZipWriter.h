// Writes small ZIP archives in memory (zlib raw deflate), so that tests build their packages in
// code. Fields can be falsified to make damaged or hostile archives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct ZipItem {
  ZipItem() = default;
  ZipItem(std::string entryName, std::string bytes) : name(std::move(entryName)), data(std::move(bytes)) {}

  std::string name;  // UTF-8; flagged as such when not plain ASCII
  std::string data;
  bool stored = false;                          // method 0 instead of deflate
  std::uint32_t crcXor = 0;                     // falsifies the recorded CRC-32
  std::optional<std::uint32_t> declaredSize;    // falsifies the recorded uncompressed size
};

// The archive's bytes: local headers with data, the central directory, the end record.
std::string MakeZip(const std::vector<ZipItem>& items);

// Little-endian field access for patching an archive.
void PutU16(std::string& bytes, std::size_t at, std::uint16_t value);
void PutU32(std::string& bytes, std::size_t at, std::uint32_t value);
std::uint32_t GetU32(const std::string& bytes, std::size_t at);

// Offsets of the end record's fields (from the end record's start, size - 22 without a comment).
inline constexpr std::size_t kEndRecordSize = 22;
inline constexpr std::size_t kEndEntriesOnDisk = 8, kEndEntriesTotal = 10, kEndDirSize = 12, kEndDirOffset = 16;

}  // namespace testsupport
