#include "ui/ImageList.h"

#include <cstring>

namespace ui {

namespace {

HBITMAP CreateDib(int w, int h, void** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

std::uint32_t Premultiply(std::uint32_t p) {
  const std::uint32_t a = p >> 24;
  const std::uint32_t r = ((p >> 16) & 0xFF) * a / 255, g = ((p >> 8) & 0xFF) * a / 255, b = (p & 0xFF) * a / 255;
  return (a << 24) | (r << 16) | (g << 8) | b;
}

}  // namespace

ImageList::ImageList(Component* owner, std::wstring name, int width, int height)
    : Component(owner, std::move(name)), width_(width), height_(height) {}

int ImageList::Add(const std::vector<std::uint32_t>& pixels) {
  if (pixels.size() != static_cast<size_t>(width_ * height_)) return -1;
  images_.push_back(pixels);
  system_.reset();
  return Count() - 1;
}

bool ImageList::AddStripResource(const wchar_t* resourceName) {
  BitmapHandle bmp(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), resourceName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!bmp) return false;
  DIBSECTION ds{};
  if (GetObjectW(bmp.get(), sizeof ds, &ds) != sizeof ds || ds.dsBm.bmBitsPixel != 32 || !ds.dsBm.bmBits)
    return false;
  const int w = ds.dsBm.bmWidth, h = ds.dsBm.bmHeight;
  if (h != height_ || w < width_) return false;
  const bool bottomUp = ds.dsBmih.biHeight > 0;
  const auto* bits = static_cast<const std::uint32_t*>(ds.dsBm.bmBits);
  const int stride = ds.dsBm.bmWidthBytes / 4;
  for (int cell = 0; cell + 1 <= w / width_; ++cell) {
    std::vector<std::uint32_t> px(static_cast<size_t>(width_ * height_));
    for (int y = 0; y < height_; ++y) {
      const std::uint32_t* row = bits + static_cast<ptrdiff_t>(bottomUp ? h - 1 - y : y) * stride;
      std::memcpy(&px[static_cast<size_t>(y * width_)], row + cell * width_, sizeof(std::uint32_t) * width_);
    }
    images_.push_back(std::move(px));
  }
  system_.reset();
  return true;
}

HBITMAP ImageList::MakeBitmap(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  void* bits = nullptr;
  HBITMAP bmp = CreateDib(width_, height_, &bits);
  if (!bmp) return nullptr;
  auto* out = static_cast<std::uint32_t*>(bits);
  const auto& in = images_[static_cast<size_t>(index)];
  for (size_t i = 0; i < in.size(); ++i) out[i] = Premultiply(in[i]);
  return bmp;
}

void ImageList::Draw(HDC dc, int index, int x, int y, int w, int h) const {
  BitmapHandle bmp(MakeBitmap(index));
  if (!bmp) return;
  MemoryDcHandle mem(CreateCompatibleDC(dc));
  Selection sel(mem.get(), bmp.get());
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, x, y, w ? w : width_, h ? h : height_, mem.get(), 0, 0, width_, height_, bf);
}

HICON ImageList::MakeIcon(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  void* bits = nullptr;
  BitmapHandle color(CreateDib(width_, height_, &bits));
  if (!color) return nullptr;
  const auto& in = images_[static_cast<size_t>(index)];
  std::memcpy(bits, in.data(), in.size() * sizeof(std::uint32_t));
  BitmapHandle mask(CreateBitmap(width_, height_, 1, 1, nullptr));
  ICONINFO ii{TRUE, 0, 0, mask.get(), color.get()};
  return CreateIconIndirect(&ii);
}

HIMAGELIST ImageList::SystemList() {
  if (!system_) {
    system_.reset(ImageList_Create(width_, height_, ILC_COLOR32, Count(), 16));
    for (int i = 0; i < Count(); ++i) {
      void* bits = nullptr;
      BitmapHandle bmp(CreateDib(width_, height_, &bits));
      const auto& in = images_[static_cast<size_t>(i)];
      std::memcpy(bits, in.data(), in.size() * sizeof(std::uint32_t));
      ImageList_Add(system_.get(), bmp.get(), nullptr);
    }
  }
  return system_.get();
}

}  // namespace ui
