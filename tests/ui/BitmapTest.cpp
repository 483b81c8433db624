#include "ui/Bitmap.h"
#include "ui/MemoryStream.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

using ui::Bitmap;
using ui::BitmapError;
using ui::MemoryStream;
using ui::PixelFormat;

namespace {

std::uint32_t U32(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(s[at + i]);
  return v;
}
std::uint16_t U16(const std::string& s, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(s[at]) | static_cast<std::uint8_t>(s[at + 1]) << 8);
}
void Put32(std::string& s, std::uint32_t v) { for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>(v >> (8 * i))); }
void Put16(std::string& s, std::uint16_t v) { s.push_back(static_cast<char>(v)); s.push_back(static_cast<char>(v >> 8)); }

// A BMP file image assembled field by field, so that tests can break any one field.
struct BmpFields {
  std::int32_t width = 2;
  std::int32_t height = 2;
  std::uint16_t bpp = 24;
  std::uint32_t compression = 0;
  std::uint32_t headerSize = 40;
  std::uint32_t colorsUsed = 0;
  std::string tables;   // palette or bit-field masks, right after the header
  std::string pixels;   // rows as they lie in the file
  std::int64_t pixelOffset = -1;  // -1: right after the tables
  std::string magic = "BM";
};

std::string Build(const BmpFields& b) {
  std::string out = b.magic;
  const std::uint32_t offset = b.pixelOffset >= 0 ? static_cast<std::uint32_t>(b.pixelOffset)
                                                  : 14 + b.headerSize + static_cast<std::uint32_t>(b.tables.size());
  Put32(out, offset + static_cast<std::uint32_t>(b.pixels.size()));
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, b.headerSize);
  if (b.headerSize == 12) {
    Put16(out, static_cast<std::uint16_t>(b.width));
    Put16(out, static_cast<std::uint16_t>(b.height));
    Put16(out, 1);
    Put16(out, b.bpp);
  } else {
    Put32(out, static_cast<std::uint32_t>(b.width));
    Put32(out, static_cast<std::uint32_t>(b.height));
    Put16(out, 1);
    Put16(out, b.bpp);
    Put32(out, b.compression);
    Put32(out, static_cast<std::uint32_t>(b.pixels.size()));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, b.colorsUsed);
    Put32(out, 0);
    if (b.headerSize < 0x10000) out.resize(14 + b.headerSize, '\0');
  }
  out += b.tables;
  if (b.pixelOffset > static_cast<std::int64_t>(out.size()) && b.pixelOffset < 0x10000)
    out.resize(static_cast<std::size_t>(b.pixelOffset), '\0');
  out += b.pixels;
  return out;
}

std::string Bytes(std::initializer_list<int> v) {
  std::string s;
  for (int c : v) s.push_back(static_cast<char>(c));
  return s;
}

// B, G, R of pixel (x, y), y counted from the top.
std::string Pixel(const Bitmap& b, int x, int y) {
  const std::uint8_t* p = b.ScanLine(y) + x * (b.BitsPerPixel() / 8);
  return std::string(reinterpret_cast<const char*>(p), 3);
}

void Fill(Bitmap& b) {
  for (int y = 0; y < b.Height(); ++y) {
    std::uint8_t* row = b.ScanLine(y);
    for (int i = 0; i < b.Width() * b.BitsPerPixel() / 8; ++i) row[i] = static_cast<std::uint8_t>(y * 31 + i * 7 + 1);
  }
}

// Copies the image to the very end of a page followed by an inaccessible page: a read past the
// data crashes the test instead of passing unnoticed.
class GuardedBuffer {
 public:
  explicit GuardedBuffer(const std::string& bytes) {
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    page_ = si.dwPageSize;
    pages_ = (bytes.size() + page_ - 1) / page_ + 1;
    base_ = static_cast<char*>(VirtualAlloc(nullptr, pages_ * page_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old;
    VirtualProtect(base_ + (pages_ - 1) * page_, page_, PAGE_NOACCESS, &old);
    data_ = base_ + (pages_ - 1) * page_ - bytes.size();
    std::memcpy(data_, bytes.data(), bytes.size());
    size_ = bytes.size();
  }
  ~GuardedBuffer() { VirtualFree(base_, 0, MEM_RELEASE); }
  std::string_view view() const { return {data_, size_}; }

 private:
  std::size_t page_ = 0, pages_ = 0, size_ = 0;
  char* base_ = nullptr;
  char* data_ = nullptr;
};

}  // namespace

TEST(Bitmap, SavesABmpFileImageAndLoadsItBack) {
  for (PixelFormat format : {PixelFormat::Bits24, PixelFormat::Bits32}) {
    for (int width : {1, 3, 5}) {  // odd widths exercise the row padding of 24-bit images
      SCOPED_TRACE(testing::Message() << "bpp " << (format == PixelFormat::Bits32 ? 32 : 24) << " width " << width);
      Bitmap b(width, 3, format);
      Fill(b);
      MemoryStream s;
      b.SaveToStream(s);
      const std::string img = s.Bytes();
      const int bpp = b.BitsPerPixel();
      const std::uint32_t stride = ((width * bpp + 31) / 32) * 4;
      ASSERT_EQ(img.size(), 54 + stride * 3);
      EXPECT_EQ(img.substr(0, 2), "BM");
      EXPECT_EQ(U32(img, 2), img.size());
      EXPECT_EQ(U32(img, 6), 0u);
      EXPECT_EQ(U32(img, 10), 54u);
      EXPECT_EQ(U32(img, 14), 40u);
      EXPECT_EQ(U32(img, 18), static_cast<std::uint32_t>(width));
      EXPECT_EQ(U32(img, 22), 3u);  // positive: bottom-up rows
      EXPECT_EQ(U16(img, 26), 1);
      EXPECT_EQ(U16(img, 28), bpp);
      EXPECT_EQ(U32(img, 30), 0u);  // BI_RGB
      EXPECT_EQ(U32(img, 34), stride * 3);
      // The first row in the file is the bottom row of the picture.
      EXPECT_EQ(img.substr(54, width * bpp / 8),
                std::string(reinterpret_cast<const char*>(b.ScanLine(2)), width * bpp / 8));

      Bitmap c;
      s.SetPosition(0);
      c.LoadFromStream(s);
      EXPECT_EQ(s.Position(), img.size());
      EXPECT_EQ(c.Width(), width);
      EXPECT_EQ(c.Height(), 3);
      EXPECT_EQ(c.Format(), format);
      for (int y = 0; y < 3; ++y)
        EXPECT_EQ(std::memcmp(c.ScanLine(y), b.ScanLine(y), width * bpp / 8), 0) << "row " << y;
    }
  }
}

TEST(Bitmap, ImagesFollowingEachOtherInOneStreamLoadInTurn) {
  Bitmap a(4, 2), b(2, 5, PixelFormat::Bits32);
  MemoryStream s;
  a.SaveToStream(s);
  b.SaveToStream(s);
  s.SetPosition(0);
  Bitmap x, y, z(3, 3);
  x.LoadFromStream(s);
  y.LoadFromStream(s);
  z.LoadFromStream(s);  // nothing left: empty
  EXPECT_EQ(x.Width(), 4);
  EXPECT_EQ(y.Height(), 5);
  EXPECT_TRUE(z.Empty());
}

TEST(Bitmap, DrawingThroughTheDcShowsInTheRowsCountedFromTheTop) {
  for (PixelFormat format : {PixelFormat::Bits24, PixelFormat::Bits32}) {
    Bitmap b(4, 4, format);
    RECT top{0, 0, 4, 1};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(b.DC(), &top, red);
    DeleteObject(red);
    SetPixel(b.DC(), 3, 3, RGB(0, 0, 255));
    EXPECT_EQ(Pixel(b, 0, 0), Bytes({0, 0, 255}));
    EXPECT_EQ(Pixel(b, 3, 3), Bytes({255, 0, 0}));
    EXPECT_EQ(Pixel(b, 0, 1), Bytes({0, 0, 0}));
    b.Dormant();
    EXPECT_EQ(Pixel(b, 0, 0), Bytes({0, 0, 255}));
  }
}

TEST(Bitmap, ModifiedFlagFollowsChanges) {
  Bitmap b(2, 2);
  EXPECT_TRUE(b.Modified());
  b.SetModified(false);
  const Bitmap& view = b;
  view.ScanLine(0);
  EXPECT_FALSE(b.Modified()) << "reading a row is no change";
  b.ScanLine(0);
  EXPECT_TRUE(b.Modified());

  MemoryStream s;
  b.SaveToStream(s);
  s.SetPosition(0);
  b.SetModified(false);
  b.SaveToStream(s);
  EXPECT_FALSE(b.Modified()) << "saving is no change";
  s.SetPosition(0);
  b.LoadFromStream(s);
  EXPECT_TRUE(b.Modified());
  b.SetModified(false);
  b.SetSize(3, 3);
  EXPECT_TRUE(b.Modified());
  b.SetModified(false);
  b.SetSize(3, 3);
  EXPECT_FALSE(b.Modified()) << "same size";
  b.DC();
  EXPECT_TRUE(b.Modified());
}

TEST(Bitmap, ResizeKeepsTheTopLeftAndConversionKeepsColours) {
  Bitmap b(2, 2);
  std::memcpy(b.ScanLine(0), "\x01\x02\x03\x04\x05\x06", 6);
  std::memcpy(b.ScanLine(1), "\x07\x08\x09\x0a\x0b\x0c", 6);
  b.SetSize(3, 1);
  EXPECT_EQ(Pixel(b, 0, 0), Bytes({1, 2, 3}));
  EXPECT_EQ(Pixel(b, 1, 0), Bytes({4, 5, 6}));
  EXPECT_EQ(Pixel(b, 2, 0), Bytes({255, 255, 255}));
  b.SetFormat(PixelFormat::Bits32);
  EXPECT_EQ(b.Format(), PixelFormat::Bits32);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.ScanLine(0)), 8), Bytes({1, 2, 3, 255, 4, 5, 6, 255}));
  b.SetSize(0, 0);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Handle(), nullptr);
  MemoryStream s;
  b.SaveToStream(s);
  EXPECT_EQ(s.Size(), 0u) << "an empty bitmap writes nothing";
}

TEST(Bitmap, AssignCopiesAndReleaseHandleHandsOverTheDib) {
  Bitmap a(3, 2, PixelFormat::Bits32);
  Fill(a);
  Bitmap b;
  b.Assign(a);
  EXPECT_EQ(std::memcmp(a.ScanLine(1), b.ScanLine(1), 12), 0);
  EXPECT_NE(a.Handle(), b.Handle());

  Bitmap c;
  c.AssignHandle(a.Handle());
  EXPECT_EQ(c.Format(), PixelFormat::Bits32);
  EXPECT_EQ(std::memcmp(a.ScanLine(1), c.ScanLine(1), 12), 0);

  // A device-dependent bitmap, as the clipboard hands out.
  HDC screen = GetDC(nullptr);
  HBITMAP ddb = CreateCompatibleBitmap(screen, 5, 4);
  HDC mem = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(mem, ddb);
  PatBlt(mem, 0, 0, 5, 4, WHITENESS);
  SetPixel(mem, 0, 3, RGB(10, 20, 30));
  SelectObject(mem, old);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  Bitmap d;
  d.AssignHandle(ddb);
  DeleteObject(ddb);
  EXPECT_EQ(d.Width(), 5);
  EXPECT_EQ(d.Height(), 4);
  EXPECT_EQ(Pixel(d, 0, 3), Bytes({30, 20, 10}));
  EXPECT_EQ(Pixel(d, 1, 3), Bytes({255, 255, 255}));
  EXPECT_THROW(d.AssignHandle(nullptr), BitmapError);

  HBITMAP h = a.ReleaseHandle();
  EXPECT_TRUE(a.Empty());
  BITMAP info{};
  EXPECT_EQ(GetObjectW(h, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmWidth, 3);
  DeleteObject(h);
}

TEST(Bitmap, LoadsOtherCommonLayouts) {
  // Pixel (0,0) is the top-left in every case; the expected colours are B, G, R.
  struct Case { const char* name; BmpFields fields; std::string topLeft, bottomRight; PixelFormat format; };
  std::vector<Case> cases;
  {
    BmpFields s;  // 8-bit palette, two entries used
    s.bpp = 8;
    s.colorsUsed = 2;
    s.tables = Bytes({10, 20, 30, 0, 40, 50, 60, 0});
    s.pixels = Bytes({0, 1, 0, 0, /*top row*/ 1, 0, 0, 0});
    cases.push_back({"8-bit", s, Bytes({40, 50, 60}), Bytes({40, 50, 60}), PixelFormat::Bits24});
  }
  {
    BmpFields s;  // top-down 24-bit
    s.height = -2;
    s.pixels = Bytes({1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0});
    cases.push_back({"top-down", s, Bytes({1, 2, 3}), Bytes({10, 11, 12}), PixelFormat::Bits24});
  }
  {
    BmpFields s;  // 16-bit 5-5-5: pure red and pure blue
    s.bpp = 16;
    s.pixels = Bytes({0, 0, 0x00, 0x7C, /*top row*/ 0x1F, 0x00, 0, 0});
    cases.push_back({"16-bit", s, Bytes({255, 0, 0}), Bytes({0, 0, 255}), PixelFormat::Bits24});
  }
  {
    BmpFields s;  // 32-bit bit fields in R, G, B, x byte order
    s.bpp = 32;
    s.compression = BI_BITFIELDS;
    s.tables = Bytes({0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0});
    s.pixels = Bytes({1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0});
    cases.push_back({"bitfields", s, Bytes({9, 8, 7}), Bytes({6, 5, 4}), PixelFormat::Bits32});
  }
  {
    BmpFields s;  // 1-bit, core header with 3-byte palette entries
    s.bpp = 1;
    s.headerSize = 12;
    s.tables = Bytes({0, 0, 0, 200, 100, 50});
    s.pixels = Bytes({0x40, 0, 0, 0, 0x80, 0, 0, 0});
    cases.push_back({"1-bit core", s, Bytes({200, 100, 50}), Bytes({200, 100, 50}), PixelFormat::Bits24});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bitmap b;
    ASSERT_NO_THROW(b.LoadFromMemory(Build(c.fields)));
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Height(), 2);
    EXPECT_EQ(b.Format(), c.format);
    EXPECT_EQ(Pixel(b, 0, 0), c.topLeft);
    EXPECT_EQ(Pixel(b, 1, 1), c.bottomRight);
  }
}

TEST(Bitmap, MalformedImagesAreRefusedWithoutReadingOutsideTheData) {
  // A valid 2 x 2 24-bit image with one field changed.
  auto with = [](auto change) {
    BmpFields s;
    s.pixels = std::string(16, '\x11');
    change(s);
    return Build(s);
  };
  const std::string good = with([](BmpFields&) {});
  struct Case { const char* name; std::string bytes; };
  std::vector<Case> cases = {
      {"bad magic", with([](BmpFields& s) { s.magic = "MB"; })},
      {"one byte", "B"},
      {"file header only", good.substr(0, 14)},
      {"header cut short", good.substr(0, 30)},
      {"unknown header size", with([](BmpFields& s) { s.headerSize = 20; })},
      {"huge header size", with([](BmpFields& s) { s.headerSize = 0xFFFFFFF0u; })},
      {"zero width", with([](BmpFields& s) { s.width = 0; })},
      {"negative width", with([](BmpFields& s) { s.width = -2; })},
      {"most negative height", with([](BmpFields& s) { s.height = INT_MIN; })},
      {"width overflowing the row size", with([](BmpFields& s) { s.width = 0x7FFFFFFF, s.height = 1, s.bpp = 32; })},
      {"rows overflowing 32 bits", with([](BmpFields& s) { s.width = 60000, s.height = 60000, s.bpp = 32; })},
      {"pixels beyond the data", good.substr(0, good.size() - 1)},
      {"pixel offset beyond the data", with([](BmpFields& s) { s.pixelOffset = 0x7FFFFFF0; })},
      {"pixel offset inside the header", with([](BmpFields& s) { s.pixelOffset = 20; })},
      {"run-length compression", with([](BmpFields& s) { s.bpp = 8, s.compression = BI_RLE8, s.tables = std::string(1024, 0); })},
      {"bit fields on 24 bits", with([](BmpFields& s) { s.compression = BI_BITFIELDS, s.tables = std::string(12, 0); })},
      {"PNG inside", with([](BmpFields& s) { s.compression = BI_PNG; })},
      {"odd bit count", with([](BmpFields& s) { s.bpp = 7; })},
      {"palette beyond the data", with([](BmpFields& s) { s.bpp = 8, s.pixels = std::string(8, 0); })},
      {"bit-field masks beyond the data",
       with([](BmpFields& s) { s.bpp = 32, s.compression = BI_BITFIELDS, s.pixels.clear(); }).substr(0, 56)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bitmap b(1, 1);
    std::memcpy(b.ScanLine(0), "\x05\x06\x07", 3);
    GuardedBuffer buffer(c.bytes);
    EXPECT_THROW(b.LoadFromMemory(buffer.view()), BitmapError);
    // A failed load leaves the picture as it was.
    ASSERT_EQ(b.Width(), 1);
    EXPECT_EQ(Pixel(b, 0, 0), Bytes({5, 6, 7}));
  }
  Bitmap ok;
  GuardedBuffer buffer(good);
  EXPECT_NO_THROW(ok.LoadFromMemory(buffer.view()));
}
