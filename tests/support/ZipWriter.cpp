#include "support/ZipWriter.h"

#include <zlib.h>

#include <stdexcept>

namespace testsupport {

namespace {

std::string Deflate(const std::string& data) {
  z_stream z{};
  if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("deflateInit2");
  std::string out(deflateBound(&z, static_cast<uLong>(data.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int rc = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  if (rc != Z_STREAM_END) throw std::runtime_error("deflate");
  return out;
}

void Append16(std::string& s, std::uint32_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Append32(std::string& s, std::uint32_t v) {
  Append16(s, v & 0xFFFF);
  Append16(s, v >> 16);
}

}  // namespace

void PutU16(std::string& b, std::size_t at, std::uint16_t v) {
  b.at(at) = static_cast<char>(v & 0xFF);
  b.at(at + 1) = static_cast<char>(v >> 8);
}

void PutU32(std::string& b, std::size_t at, std::uint32_t v) {
  PutU16(b, at, static_cast<std::uint16_t>(v & 0xFFFF));
  PutU16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

std::uint32_t GetU32(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b.at(at + static_cast<std::size_t>(i)));
  return v;
}

std::string MakeZip(const std::vector<ZipItem>& items) {
  std::string out, dir;
  for (const auto& item : items) {
    const std::string packed = item.stored ? item.data : Deflate(item.data);
    const std::uint32_t crc =
        static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(item.data.data()),
                                         static_cast<uInt>(item.data.size()))) ^ item.crcXor;
    const std::uint32_t size = item.declaredSize.value_or(static_cast<std::uint32_t>(item.data.size()));
    bool ascii = true;
    for (unsigned char c : item.name) ascii = ascii && c < 0x80;
    const std::uint16_t flags = ascii ? 0 : 0x0800;
    const std::uint16_t method = item.stored ? 0 : 8;
    const auto offset = static_cast<std::uint32_t>(out.size());

    Append32(out, 0x04034b50);
    Append16(out, 20);
    Append16(out, flags);
    Append16(out, method);
    Append32(out, 0);  // time and date
    Append32(out, crc);
    Append32(out, static_cast<std::uint32_t>(packed.size()));
    Append32(out, size);
    Append16(out, static_cast<std::uint32_t>(item.name.size()));
    Append16(out, 0);
    out += item.name;
    out += packed;

    Append32(dir, 0x02014b50);
    Append16(dir, 20);
    Append16(dir, 20);
    Append16(dir, flags);
    Append16(dir, method);
    Append32(dir, 0);
    Append32(dir, crc);
    Append32(dir, static_cast<std::uint32_t>(packed.size()));
    Append32(dir, size);
    Append16(dir, static_cast<std::uint32_t>(item.name.size()));
    Append16(dir, 0);  // extra
    Append16(dir, 0);  // comment
    Append16(dir, 0);  // disk
    Append16(dir, 0);  // internal attributes
    Append32(dir, 0);  // external attributes
    Append32(dir, offset);
    dir += item.name;
  }
  const auto dirOffset = static_cast<std::uint32_t>(out.size());
  out += dir;
  Append32(out, 0x06054b50);
  Append16(out, 0);
  Append16(out, 0);
  Append16(out, static_cast<std::uint32_t>(items.size()));
  Append16(out, static_cast<std::uint32_t>(items.size()));
  Append32(out, static_cast<std::uint32_t>(dir.size()));
  Append32(out, dirOffset);
  Append16(out, 0);
  return out;
}

}  // namespace testsupport
