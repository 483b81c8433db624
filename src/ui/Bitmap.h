// A picture held in a GDI DIB section: 24-bit (B, G, R) or 32-bit (B, G, R, reserved) pixels,
// drawable through a memory DC and readable row by row, saved and loaded as a BMP file image.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace ui {

class MemoryStream;

enum class PixelFormat { Bits24, Bits32 };

// A BMP image that cannot be loaded (bad header, sizes that do not fit, unsupported coding).
class BitmapError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height, PixelFormat format = PixelFormat::Bits24);
  ~Bitmap();
  Bitmap(Bitmap&& other) noexcept;
  Bitmap& operator=(Bitmap&& other) noexcept;
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  PixelFormat Format() const { return format_; }
  int BitsPerPixel() const { return format_ == PixelFormat::Bits32 ? 32 : 24; }
  // Bytes per pixel row, padded to a multiple of 4 as in every DIB.
  int Stride() const { return StrideFor(width_, BitsPerPixel()); }

  // Every change of size, format or content sets it; the owner clears it after saving or loading
  // into an editor. Handing out the DC or a writable row counts as a change.
  bool Modified() const { return modified_; }
  void SetModified(bool value) { modified_ = value; }

  // Keeps the overlapping top-left part of the picture; new pixels are white. 0 x 0 frees the image.
  void SetSize(int width, int height);
  // Converts the pixels; going to 32 bits sets the reserved byte to 0xFF.
  void SetFormat(PixelFormat format);

  // Rows are numbered from the top (y = 0). The DIB itself is bottom-up, as in a BMP file, so
  // row y + 1 lies Stride() bytes *below* row y in memory. Flushes pending GDI drawing first.
  std::uint8_t* ScanLine(int y);
  const std::uint8_t* ScanLine(int y) const;

  // A memory DC with the picture selected, kept until Dormant() or a size or format change.
  // Null for an empty bitmap.
  HDC DC();
  void Dormant();

  // The DIB section; stays owned by the bitmap.
  HBITMAP Handle() const { return bitmap_; }
  // Gives up the DIB section to the caller (the clipboard, an image list); the bitmap becomes empty.
  HBITMAP ReleaseHandle();
  // Frees everything: the bitmap becomes 0 x 0 and owns no GDI object.
  void Clear();

  void Assign(const Bitmap& source);
  // Copies a device-dependent or DIB bitmap (for example the clipboard's CF_BITMAP); 32-bit
  // sources stay 32-bit, everything else becomes 24-bit.
  void AssignHandle(HBITMAP source);

  // The BMP file image: file header, BITMAPINFOHEADER (40 bytes, BI_RGB, bottom-up, no palette)
  // and the rows. An empty bitmap writes nothing. Writes at the stream's position.
  void SaveToStream(MemoryStream& stream) const;
  // Reads one BMP file image from the stream's position and leaves the position after it.
  // Nothing left to read gives an empty bitmap. Accepts 1, 4, 8, 16, 24 and 32 bits per pixel,
  // uncompressed or with bit fields, top-down or bottom-up; 32-bit images load as 32-bit,
  // all others as 24-bit. Throws BitmapError for anything malformed, never reading outside the data.
  void LoadFromStream(MemoryStream& stream);
  // Returns the number of bytes the image took.
  std::size_t LoadFromMemory(std::string_view bytes);

  static int StrideFor(int width, int bitsPerPixel) { return ((width * bitsPerPixel + 31) / 32) * 4; }

 private:
  void Create(int width, int height, PixelFormat format);
  void Release();

  HBITMAP bitmap_ = nullptr;
  std::uint8_t* bits_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ oldObject_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  PixelFormat format_ = PixelFormat::Bits24;
  bool modified_ = false;
};

}  // namespace ui
