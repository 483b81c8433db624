#include "records/Image_procs.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <type_traits>
#include <vector>

#include "records/PixelRoutines.h"

namespace {

qimg::PixelView ViewOf(const ui::Bitmap& bitmap) {
  if (bitmap.Empty()) return {};
  // The DIB is bottom-up: row 0 is the last in memory and each lower row lies one stride before.
  // The const row keeps a read-only source from counting as changed; only `dest` views are written.
  return qimg::PixelView{const_cast<std::uint8_t*>(bitmap.ScanLine(0)), bitmap.Width(), bitmap.Height(),
                         -static_cast<std::ptrdiff_t>(bitmap.Stride()), bitmap.BitsPerPixel() / 8};
}

qimg::PixelView WritableViewOf(ui::Bitmap& bitmap) {
  if (bitmap.Empty()) return {};
  bitmap.ScanLine(0);  // marks the bitmap as changed
  return ViewOf(bitmap);
}

struct ReleaseScreenDc {
  void operator()(HDC dc) const { ReleaseDC(nullptr, dc); }
};
using ScreenDc = std::unique_ptr<std::remove_pointer_t<HDC>, ReleaseScreenDc>;

struct DeletePalette {
  void operator()(HPALETTE palette) const { DeleteObject(palette); }
};
using PaletteHandle = std::unique_ptr<std::remove_pointer_t<HPALETTE>, DeletePalette>;

// The system palette of a palette screen, so that a copy keeps the colours it shows.
PaletteHandle SystemPalette(HDC screen) {
  const int entries = std::min(256, static_cast<int>(GetSystemPaletteEntries(screen, 0, 256, nullptr)));
  if (entries <= 0) return nullptr;
  std::vector<std::uint8_t> storage(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * entries);
  auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = static_cast<WORD>(GetSystemPaletteEntries(screen, 0, entries, palette->palPalEntry));
  if (palette->palNumEntries == 0) return nullptr;
  return PaletteHandle(CreatePalette(palette));
}

}  // namespace

ui::Bitmap* MakeRecordThumbnail(ui::Bitmap* picture, ui::Bitmap& thumbnail) noexcept {
  try {
    if (picture == nullptr || picture->Empty()) return nullptr;
    if (picture->Width() > ThumbnailSize && picture->Height() > ThumbnailSize) {
      MakeThumbNail(*picture, thumbnail, ThumbnailSize);
    } else {
      thumbnail.SetSize(ThumbnailSize, ThumbnailSize);
      DeleteScansRect(*picture, thumbnail, RECT{0, 0, picture->Width(), picture->Height()},
                      RECT{0, 0, ThumbnailSize, ThumbnailSize});
    }
    return &thumbnail;
  } catch (...) {
    // Save then writes no picture at all rather than one without its thumbnail.
    return nullptr;
  }
}

void MakeThumbNail(ui::Bitmap& source, ui::Bitmap& dest, std::uint16_t size) {
  if (source.Format() != ui::PixelFormat::Bits24) source.SetFormat(ui::PixelFormat::Bits24);
  if (dest.Format() != ui::PixelFormat::Bits24) dest.SetFormat(ui::PixelFormat::Bits24);
  dest.SetSize(size, size);
  if (source.Width() <= size && source.Height() <= size) {
    dest.Assign(source);
    return;
  }
  const qimg::PixelView d = WritableViewOf(dest);
  qimg::AverageBoxes(ViewOf(source), d);
  qimg::SharpenInPlace(d);
}

void DeleteScansRect(ui::Bitmap& source, ui::Bitmap& dest, const RECT& sourceRect, const RECT& destRect) {
  // Both formats the bitmap class holds are ones the integer paths handle, so the source keeps its own.
  if (dest.Format() != source.Format()) dest.SetFormat(source.Format());
  const qimg::ScanPath path = qimg::ChooseScanPath(sourceRect.right - sourceRect.left, sourceRect.bottom - sourceRect.top,
                                                   destRect.right - destRect.left, destRect.bottom - destRect.top);
  if (path == qimg::ScanPath::Nothing) return;
  if (path != qimg::ScanPath::Stretch) {
    qimg::CopyScansRect(ViewOf(source), WritableViewOf(dest), sourceRect, destRect);
    return;
  }
  // Handing out a DC counts as a change; reading the source through it is none.
  const bool sourceModified = source.Modified();
  HDC from = source.DC();
  source.SetModified(sourceModified);
  HDC to = dest.DC();
  if (from == nullptr || to == nullptr) throw std::runtime_error("no device context for the stretch");
  SetStretchBltMode(to, COLORONCOLOR);
  const BOOL stretched =
      StretchBlt(to, destRect.left, destRect.top, destRect.right - destRect.left, destRect.bottom - destRect.top, from,
                 sourceRect.left, sourceRect.top, sourceRect.right - sourceRect.left,
                 sourceRect.bottom - sourceRect.top, SRCCOPY);
  GdiFlush();
  if (!stretched) throw std::runtime_error("StretchBlt failed");
}

void WndScreenShot(int x, int y, int width, int height, ui::Bitmap& bitmap) {
  // A reversed rectangle would otherwise make a DIB with a negative size.
  if (width <= 0 || height <= 0) return;
  bitmap.SetSize(width, height);
  ScreenDc screen(GetDC(nullptr));
  if (!screen) return;
  HDC target = bitmap.DC();
  if (target == nullptr) return;
  PaletteHandle palette;
  HPALETTE previous = nullptr;
  if (GetDeviceCaps(screen.get(), RASTERCAPS) & RC_PALETTE) {
    // Our DIBs carry no colour table; mapping through the screen's palette keeps the shown colours.
    palette = SystemPalette(screen.get());
    if (palette) {
      previous = SelectPalette(target, palette.get(), FALSE);
      RealizePalette(target);
    }
  }
  BitBlt(target, 0, 0, width, height, screen.get(), x, y, SRCCOPY);
  GdiFlush();
  if (palette) SelectPalette(target, previous, FALSE);
}
