#include "lang/ZipReader.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace qzip {

namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kLocalSize = 30;
constexpr std::size_t kMaxComment = 0xFFFF;
// Deflate cannot expand data by more than about 1032:1.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

std::uint16_t U16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::vector<unsigned char> ReadRange(const ByteSource& src, std::uint64_t offset, std::uint64_t count) {
  if (offset > src.Size() || count > src.Size() - offset) throw ZipError("range outside the archive");
  std::vector<unsigned char> out(static_cast<std::size_t>(count));
  if (count) src.Read(offset, out.data(), out.size());
  return out;
}

void CheckName(const std::string& name) {
  if (name.empty()) throw ZipError("empty entry name");
  if (name.find('\0') != std::string::npos) throw ZipError("entry name contains NUL");
  if (name[0] == '/' || name[0] == '\\' || (name.size() >= 2 && name[1] == ':'))
    throw ZipError("absolute entry name");
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("/\\", start);
    if (end == std::string::npos) end = name.size();
    if (name.compare(start, end - start, "..") == 0) throw ZipError("entry name climbs with ..");
    start = end + 1;
  }
}

}  // namespace

void MemorySource::Read(std::uint64_t offset, void* into, std::size_t count) const {
  if (offset > bytes_.size() || count > bytes_.size() - offset) throw ZipError("read beyond the end of the archive");
  std::memcpy(into, bytes_.data() + offset, count);
}

std::vector<ZipEntry> ReadDirectory(const ByteSource& archive) {
  const std::uint64_t size = archive.Size();
  if (size < kEndSize) throw ZipError("too short for a ZIP archive");

  // The end record sits at the very end, followed only by its comment.
  const std::uint64_t tailSize = std::min<std::uint64_t>(size, kEndSize + kMaxComment);
  const std::uint64_t tailStart = size - tailSize;
  const auto tail = ReadRange(archive, tailStart, tailSize);
  std::ptrdiff_t at = -1;
  for (std::ptrdiff_t i = static_cast<std::ptrdiff_t>(tail.size() - kEndSize); i >= 0; --i) {
    const unsigned char* p = tail.data() + i;
    if (U32(p) == kEndSignature &&
        static_cast<std::size_t>(i) + kEndSize + U16(p + 20) == tail.size()) {
      at = i;
      break;
    }
  }
  if (at < 0) throw ZipError("no end of central directory record");
  const unsigned char* end = tail.data() + at;
  const std::uint64_t endOffset = tailStart + static_cast<std::uint64_t>(at);

  if (endOffset >= 20) {
    unsigned char sig[4];
    archive.Read(endOffset - 20, sig, 4);
    if (U32(sig) == kZip64LocatorSignature) throw ZipError("ZIP64 archives are not supported");
  }
  if (U16(end + 4) != 0 || U16(end + 6) != 0 || U16(end + 8) != U16(end + 10))
    throw ZipError("spanned archives are not supported");

  const std::uint64_t count = U16(end + 10);
  const std::uint64_t dirSize = U32(end + 12);
  const std::uint64_t dirOffset = U32(end + 16);
  if (dirOffset > endOffset || dirSize > endOffset - dirOffset)
    throw ZipError("central directory outside the archive");
  if (count * kCentralSize > dirSize) throw ZipError("central directory too small for its entry count");

  const auto dir = ReadRange(archive, dirOffset, dirSize);
  std::vector<ZipEntry> entries;
  entries.reserve(static_cast<std::size_t>(count));
  std::size_t pos = 0;
  for (std::uint64_t n = 0; n < count; ++n) {
    if (dir.size() - pos < kCentralSize) throw ZipError("truncated central directory");
    const unsigned char* p = dir.data() + pos;
    if (U32(p) != kCentralSignature) throw ZipError("bad central directory signature");
    const std::size_t nameLen = U16(p + 28), extraLen = U16(p + 30), commentLen = U16(p + 32);
    if (dir.size() - pos - kCentralSize < nameLen + extraLen + commentLen)
      throw ZipError("truncated central directory entry");
    ZipEntry e;
    e.flags = U16(p + 8);
    e.utf8Name = (e.flags & 0x0800) != 0;
    e.method = U16(p + 10);
    e.crc32 = U32(p + 16);
    e.compressedSize = U32(p + 20);
    e.uncompressedSize = U32(p + 24);
    e.localHeaderOffset = U32(p + 42);
    if (e.compressedSize == 0xFFFFFFFF || e.uncompressedSize == 0xFFFFFFFF || e.localHeaderOffset == 0xFFFFFFFF)
      throw ZipError("ZIP64 entries are not supported");
    if (e.localHeaderOffset >= dirOffset) throw ZipError("entry data outside the archive");
    e.name.assign(reinterpret_cast<const char*>(p + kCentralSize), nameLen);
    CheckName(e.name);
    entries.push_back(std::move(e));
    pos += kCentralSize + nameLen + extraLen + commentLen;
  }
  return entries;
}

std::string ReadEntry(const ByteSource& archive, const ZipEntry& entry) {
  if (entry.flags & 0x0001) throw ZipError("encrypted entries are not supported");
  if (entry.method != kMethodDeflate) throw ZipError("entry is not deflate-compressed");
  if (entry.uncompressedSize > kMaxEntrySize) throw ZipError("entry too large");
  if (entry.uncompressedSize > entry.compressedSize * kMaxDeflateRatio + 64)
    throw ZipError("declared size impossible for its compressed size");

  const auto local = ReadRange(archive, entry.localHeaderOffset, kLocalSize);
  if (U32(local.data()) != kLocalSignature) throw ZipError("bad local header signature");
  const std::uint64_t dataStart = entry.localHeaderOffset + kLocalSize + U16(local.data() + 26) + U16(local.data() + 28);
  const auto packed = ReadRange(archive, dataStart, entry.compressedSize);

  std::string out(static_cast<std::size_t>(entry.uncompressedSize), '\0');
  z_stream z{};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) throw ZipError("cannot start inflating");
  // Fed in slices because zlib counts in 32 bits; the output never grows past the declared size,
  // and one extra byte of room shows a stream that would run longer.
  unsigned char spare = 0;
  std::size_t inPos = 0, outPos = 0;
  int rc = Z_OK;
  for (;;) {
    const std::size_t inLeft = packed.size() - inPos;
    z.next_in = const_cast<Bytef*>(packed.data() + inPos);
    z.avail_in = static_cast<uInt>(std::min<std::size_t>(inLeft, 1u << 30));
    const bool intoSpare = outPos == out.size();
    z.next_out = intoSpare ? &spare : reinterpret_cast<Bytef*>(out.data() + outPos);
    z.avail_out = intoSpare ? 1u : static_cast<uInt>(std::min<std::size_t>(out.size() - outPos, 1u << 30));
    const uInt availIn = z.avail_in, availOut = z.avail_out;
    rc = inflate(&z, Z_NO_FLUSH);
    inPos += availIn - z.avail_in;
    const std::size_t produced = availOut - z.avail_out;
    if (intoSpare && produced) {
      rc = Z_DATA_ERROR;  // more data than the directory records
      break;
    }
    outPos += produced;
    if (rc == Z_STREAM_END || rc != Z_OK) break;
    if (produced == 0 && availIn == z.avail_in) {
      rc = Z_BUF_ERROR;  // no progress: the stream is cut short
      break;
    }
  }
  inflateEnd(&z);
  if (rc != Z_STREAM_END) throw ZipError("compressed data is damaged or truncated");
  if (outPos != out.size()) throw ZipError("entry size differs from the directory");
  uLong crc = crc32(0L, Z_NULL, 0);
  for (std::size_t pos = 0; pos < out.size(); pos += 1u << 30) {
    const std::size_t n = std::min<std::size_t>(out.size() - pos, 1u << 30);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(out.data() + pos), static_cast<uInt>(n));
  }
  if (crc != entry.crc32) throw ZipError("CRC-32 mismatch");
  return out;
}

}  // namespace qzip
