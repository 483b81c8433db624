#include "ui/Bitmap.h"

#include "ui/MemoryStream.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace ui {
namespace {

// Larger pictures than this are refused rather than handed to CreateDIBSection, which under
// both Windows and Wine fails late and unpredictably on absurd sizes read from a file.
constexpr int kMaxDimension = 65535;
constexpr std::uint64_t kMaxPixelBytes = std::uint64_t{1} << 30;

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kCoreHeaderSize = 12;

std::uint64_t BytesFor(int width, int height, int bpp) {
  return (static_cast<std::uint64_t>(width) * bpp + 31) / 32 * 4 * static_cast<std::uint64_t>(height);
}

void PutU16(std::uint8_t* p, std::uint16_t v) { p[0] = v & 0xFF; p[1] = v >> 8; }
void PutU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Bounds-checked little-endian reads: every field access of a loaded image goes through here.
class Reader {
 public:
  explicit Reader(std::string_view data) : data_(data) {}
  std::size_t size() const { return data_.size(); }
  bool Has(std::uint64_t offset, std::uint64_t count) const {
    return offset <= data_.size() && count <= data_.size() - offset;
  }
  std::uint32_t U16(std::uint64_t at) const { return Get(at, 2); }
  std::uint32_t U32(std::uint64_t at) const { return Get(at, 4); }
  std::int32_t I32(std::uint64_t at) const { return static_cast<std::int32_t>(Get(at, 4)); }
  const std::uint8_t* Ptr(std::uint64_t at) const { return reinterpret_cast<const std::uint8_t*>(data_.data()) + at; }

 private:
  std::uint32_t Get(std::uint64_t at, int count) const {
    if (!Has(at, count)) throw BitmapError("Bitmap image is truncated");
    std::uint32_t v = 0;
    for (int i = count - 1; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(data_[at + i]);
    return v;
  }
  std::string_view data_;
};

// One colour channel described by a bit mask, scaled to 8 bits.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  explicit Channel(std::uint32_t m) : mask(m) {
    if (!m) return;
    shift = std::countr_zero(m);
    bits = std::bit_width(m >> shift);
  }
  std::uint8_t operator()(std::uint32_t pixel) const {
    if (!mask) return 0;
    std::uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return static_cast<std::uint8_t>(v >> (bits - 8));
    return static_cast<std::uint8_t>(v * 255 / ((1u << bits) - 1));
  }
};

}  // namespace

Bitmap::Bitmap(int width, int height, PixelFormat format) { Create(width, height, format); }

Bitmap::~Bitmap() { Release(); }

Bitmap::Bitmap(Bitmap&& other) noexcept { *this = std::move(other); }

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
  if (this != &other) {
    Release();
    bitmap_ = std::exchange(other.bitmap_, nullptr);
    bits_ = std::exchange(other.bits_, nullptr);
    dc_ = std::exchange(other.dc_, nullptr);
    oldObject_ = std::exchange(other.oldObject_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    format_ = other.format_;
    modified_ = other.modified_;
  }
  return *this;
}

void Bitmap::Create(int width, int height, PixelFormat format) {
  if (width < 0 || height < 0) throw std::invalid_argument("Bitmap size must not be negative");
  Release();
  format_ = format;
  modified_ = true;
  if (width == 0 || height == 0) return;
  if (width > kMaxDimension || height > kMaxDimension ||
      BytesFor(width, height, BitsPerPixel()) > kMaxPixelBytes)
    throw BitmapError("Bitmap is too large");
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: bottom-up, the row order of a BMP file
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(BitsPerPixel());
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bmp || !bits) {
    if (bmp) DeleteObject(bmp);
    throw BitmapError("Out of system resources for a bitmap");
  }
  bitmap_ = bmp;
  bits_ = static_cast<std::uint8_t*>(bits);
  width_ = width;
  height_ = height;
}

void Bitmap::Release() {
  Dormant();
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = 0;
}

void Bitmap::Dormant() {
  if (!dc_) return;
  SelectObject(dc_, oldObject_);
  DeleteDC(dc_);
  dc_ = nullptr;
  oldObject_ = nullptr;
}

HDC Bitmap::DC() {
  if (Empty()) return nullptr;
  if (!dc_) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) throw BitmapError("Out of system resources for a device context");
    oldObject_ = SelectObject(dc, bitmap_);
    dc_ = dc;
  }
  modified_ = true;
  return dc_;
}

std::uint8_t* Bitmap::ScanLine(int y) {
  modified_ = true;
  return const_cast<std::uint8_t*>(std::as_const(*this).ScanLine(y));
}

const std::uint8_t* Bitmap::ScanLine(int y) const {
  if (y < 0 || y >= height_) throw std::out_of_range("Scan line index out of range");
  GdiFlush();  // drawing through the DC may still be queued
  return bits_ + static_cast<std::size_t>(height_ - 1 - y) * Stride();
}

void Bitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  Bitmap next(width, height, format_);
  if (!next.Empty()) {
    const std::size_t stride = next.Stride();
    std::memset(next.bits_, 0xFF, stride * next.height_);
    const std::size_t rowBytes = static_cast<std::size_t>(std::min(width, width_)) * BitsPerPixel() / 8;
    for (int y = 0; y < std::min(height, height_); ++y)
      std::memcpy(next.ScanLine(y), ScanLine(y), rowBytes);
  }
  *this = std::move(next);
  modified_ = true;
}

void Bitmap::SetFormat(PixelFormat format) {
  if (format == format_) return;
  if (Empty()) {
    format_ = format;
    modified_ = true;
    return;
  }
  Bitmap next(width_, height_, format);
  const int from = BitsPerPixel() / 8, to = next.BitsPerPixel() / 8;
  for (int y = 0; y < height_; ++y) {
    const std::uint8_t* s = std::as_const(*this).ScanLine(y);
    std::uint8_t* d = next.ScanLine(y);
    for (int x = 0; x < width_; ++x, s += from, d += to) {
      d[0] = s[0], d[1] = s[1], d[2] = s[2];
      if (to == 4) d[3] = 0xFF;
    }
  }
  *this = std::move(next);
  modified_ = true;
}

HBITMAP Bitmap::ReleaseHandle() {
  Dormant();
  HBITMAP h = std::exchange(bitmap_, nullptr);
  bits_ = nullptr;
  width_ = height_ = 0;
  modified_ = true;
  return h;
}

void Bitmap::Clear() {
  if (!Empty()) modified_ = true;
  Release();
}

void Bitmap::Assign(const Bitmap& source) {
  if (&source == this) return;
  Bitmap next(source.width_, source.height_, source.format_);
  if (!next.Empty()) {
    GdiFlush();
    std::memcpy(next.bits_, source.bits_, static_cast<std::size_t>(source.Stride()) * source.height_);
  }
  *this = std::move(next);
  modified_ = true;
}

void Bitmap::AssignHandle(HBITMAP source) {
  BITMAP info{};
  if (!source || GetObjectW(source, sizeof info, &info) == 0) throw BitmapError("Not a bitmap handle");
  Bitmap next(info.bmWidth, std::abs(info.bmHeight),
              info.bmBitsPixel == 32 ? PixelFormat::Bits32 : PixelFormat::Bits24);
  if (!next.Empty()) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = next.width_;
    bi.bmiHeader.biHeight = next.height_;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = static_cast<WORD>(next.BitsPerPixel());
    bi.bmiHeader.biCompression = BI_RGB;
    // GetDIBits rather than BitBlt: the source may be a clipboard bitmap that must not be
    // selected into a DC of ours, and it converts device-dependent formats for us.
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, source, 0, next.height_, next.bits_, &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != next.height_) throw BitmapError("Cannot read the bitmap's pixels");
  }
  *this = std::move(next);
  modified_ = true;
}

void Bitmap::SaveToStream(MemoryStream& stream) const {
  if (Empty()) return;
  GdiFlush();
  const std::uint32_t pixelBytes = static_cast<std::uint32_t>(Stride()) * height_;
  std::uint8_t header[kFileHeaderSize + kInfoHeaderSize] = {};
  header[0] = 'B';
  header[1] = 'M';
  PutU32(header + 2, sizeof header + pixelBytes);
  PutU32(header + 10, sizeof header);
  std::uint8_t* info = header + kFileHeaderSize;
  PutU32(info + 0, kInfoHeaderSize);
  PutU32(info + 4, static_cast<std::uint32_t>(width_));
  PutU32(info + 8, static_cast<std::uint32_t>(height_));
  PutU16(info + 12, 1);
  PutU16(info + 14, static_cast<std::uint16_t>(BitsPerPixel()));
  PutU32(info + 16, BI_RGB);
  PutU32(info + 20, pixelBytes);
  stream.Write(header, sizeof header);
  stream.Write(bits_, pixelBytes);
}

void Bitmap::LoadFromStream(MemoryStream& stream) {
  const std::size_t pos = std::min(stream.Position(), stream.Size());
  const std::size_t used = LoadFromMemory(stream.View().substr(pos));
  stream.SetPosition(pos + used);
}

std::size_t Bitmap::LoadFromMemory(std::string_view bytes) {
  if (bytes.empty()) {
    Clear();
    modified_ = true;
    return 0;
  }
  const Reader r(bytes);
  if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') throw BitmapError("Not a bitmap image");
  const std::uint32_t fileSize = r.U32(2);
  const std::uint32_t pixelOffset = r.U32(10);
  const std::uint32_t headerSize = r.U32(14);

  std::int64_t width = 0, height = 0;
  std::uint32_t bpp = 0, compression = BI_RGB, colorsUsed = 0, entrySize = 4;
  std::uint32_t masks[3] = {0, 0, 0};
  if (headerSize == kCoreHeaderSize) {
    width = r.U16(18);
    height = r.U16(20);
    bpp = r.U16(24);
    entrySize = 3;
  } else if (headerSize >= kInfoHeaderSize && headerSize <= 1024) {
    width = r.I32(18);
    height = r.I32(22);
    bpp = r.U16(28);
    compression = r.U32(30);
    colorsUsed = r.U32(46);
  } else {
    throw BitmapError("Unsupported bitmap header");
  }
  const std::uint64_t tableOffset = kFileHeaderSize + std::uint64_t{headerSize};
  if (!r.Has(0, tableOffset)) throw BitmapError("Bitmap image is truncated");

  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0) throw BitmapError("Bitmap has no pixels");
  if (width > kMaxDimension || height > kMaxDimension) throw BitmapError("Bitmap is too large");
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    throw BitmapError("Unsupported bitmap pixel format");
  if (compression == BI_BITFIELDS && (bpp == 16 || bpp == 32)) {
    // Masks follow a 40-byte header; larger headers carry them inside.
    for (int i = 0; i < 3; ++i) masks[i] = r.U32(kFileHeaderSize + kInfoHeaderSize + 4 * i);
  } else if (compression == BI_RGB) {
    if (bpp == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    if (bpp == 32) masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
  } else {
    throw BitmapError("Unsupported bitmap compression");
  }

  std::uint32_t paletteSize = 0;
  std::uint64_t paletteOffset = tableOffset;
  if (compression == BI_BITFIELDS && headerSize == kInfoHeaderSize) paletteOffset += 12;
  if (bpp <= 8) {
    paletteSize = 1u << bpp;
    if (colorsUsed && colorsUsed < paletteSize) paletteSize = colorsUsed;
    if (!r.Has(paletteOffset, std::uint64_t{paletteSize} * entrySize)) throw BitmapError("Bitmap image is truncated");
  }

  const std::uint64_t srcStride = (static_cast<std::uint64_t>(width) * bpp + 31) / 32 * 4;
  const std::uint64_t pixelBytes = srcStride * static_cast<std::uint64_t>(height);
  if (pixelOffset < tableOffset || !r.Has(pixelOffset, pixelBytes))
    throw BitmapError("Bitmap pixels lie outside the image");

  const PixelFormat format = bpp == 32 ? PixelFormat::Bits32 : PixelFormat::Bits24;
  Bitmap next(static_cast<int>(width), static_cast<int>(height), format);
  const int w = static_cast<int>(width);
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
  const bool plain32 = bpp == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF;
  for (int row = 0; row < height; ++row) {
    const std::uint8_t* s = r.Ptr(pixelOffset + srcStride * row);
    std::uint8_t* d = next.ScanLine(topDown ? row : static_cast<int>(height) - 1 - row);
    if (bpp == 24 || plain32) {
      std::memcpy(d, s, static_cast<std::size_t>(w) * (bpp / 8));
    } else if (bpp == 16 || bpp == 32) {
      const int step = bpp / 8;
      for (int x = 0; x < w; ++x, s += step) {
        const std::uint32_t px = bpp == 16 ? (s[0] | s[1] << 8)
                                           : (s[0] | s[1] << 8 | s[2] << 16 | std::uint32_t{s[3]} << 24);
        std::uint8_t* p = d + x * (next.BitsPerPixel() / 8);
        p[0] = blue(px), p[1] = green(px), p[2] = red(px);
        if (bpp == 32) p[3] = 0xFF;
      }
    } else {
      const std::uint32_t perByte = 8 / bpp, mask = (1u << bpp) - 1;
      for (int x = 0; x < w; ++x) {
        const std::uint32_t shift = 8 - bpp * (x % perByte + 1);
        const std::uint32_t index = (s[x / perByte] >> shift) & mask;
        std::uint8_t* p = d + 3 * x;
        if (index < paletteSize) {
          const std::uint8_t* e = r.Ptr(paletteOffset + std::uint64_t{index} * entrySize);
          p[0] = e[0], p[1] = e[1], p[2] = e[2];
        } else {
          p[0] = p[1] = p[2] = 0;
        }
      }
    }
  }
  *this = std::move(next);
  modified_ = true;
  const std::uint64_t end = pixelOffset + pixelBytes;
  return fileSize >= end && fileSize <= bytes.size() ? fileSize : static_cast<std::size_t>(end);
}

}  // namespace ui
