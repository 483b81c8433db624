// How long a record thumbnail of a 4K picture takes, next to what the system's StretchBlt needs
// for the same reduction, all measured in this run on this machine.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include "records/Image_procs.h"

namespace {

constexpr int kWidth = 3840, kHeight = 2160;

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / frequency;
}

// Median of `runs` timed calls, in milliseconds, after one untimed warm-up call.
double MedianMs(int runs, const std::function<void()>& prepare, const std::function<void()>& work) {
  prepare();
  work();
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    prepare();
    const double start = Now();
    work();
    times.push_back((Now() - start) * 1000.0);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// A photograph-like picture: smooth gradients with some fine detail.
void Paint(ui::Bitmap& picture) {
  const int bpp = picture.BitsPerPixel() / 8;
  std::uint32_t seed = 12345;
  for (int y = 0; y < picture.Height(); ++y) {
    std::uint8_t* row = picture.ScanLine(y);
    for (int x = 0; x < picture.Width(); ++x, row += bpp) {
      seed = seed * 1664525u + 1013904223u;
      row[0] = static_cast<std::uint8_t>(x * 255 / kWidth);
      row[1] = static_cast<std::uint8_t>(y * 255 / kHeight);
      row[2] = static_cast<std::uint8_t>((x ^ y) + (seed >> 28));
      if (bpp == 4) row[3] = 0xFF;
    }
  }
}

}  // namespace

int main() {
  const int runs = 15;
  ui::Bitmap picture(kWidth, kHeight, ui::PixelFormat::Bits24);
  Paint(picture);
  ui::Bitmap thumbnail;

  const double thumb24 = MedianMs(runs, [] {}, [&] { MakeThumbNail(picture, thumbnail, ThumbnailSize); });

  // A 32-bit picture (as the clipboard often gives them) is converted to 24 bits first.
  ui::Bitmap picture32;
  const double thumb32 = MedianMs(
      runs,
      [&] {
        picture32 = ui::Bitmap(kWidth, kHeight, ui::PixelFormat::Bits32);
        Paint(picture32);
      },
      [&] {
        if (MakeRecordThumbnail(&picture32, thumbnail) == nullptr) std::printf("thumbnail failed\n");
      });

  // The conversion alone, to see how much of the 32-bit figure it is.
  const double convert = MedianMs(
      runs,
      [&] {
        picture32 = ui::Bitmap(kWidth, kHeight, ui::PixelFormat::Bits32);
        Paint(picture32);
      },
      [&] { picture32.SetFormat(ui::PixelFormat::Bits24); });

  ui::Bitmap target(ThumbnailSize, ThumbnailSize, ui::PixelFormat::Bits24);
  auto stretch = [&](int mode) {
    HDC to = target.DC();
    SetStretchBltMode(to, mode);
    if (mode == HALFTONE) SetBrushOrgEx(to, 0, 0, nullptr);
    if (!StretchBlt(to, 0, 0, ThumbnailSize, ThumbnailSize, picture.DC(), 0, 0, kWidth, kHeight, SRCCOPY)) {
      std::printf("StretchBlt failed in mode %d\n", mode);
    }
    GdiFlush();
  };
  const double plain = MedianMs(runs, [] {}, [&] { stretch(COLORONCOLOR); });
  const double halftone = MedianMs(runs, [] {}, [&] { stretch(HALFTONE); });

  // Lower bound: reading every byte of the picture once.
  volatile std::uint32_t sink = 0;
  const double read = MedianMs(runs, [] {}, [&] {
    std::uint32_t sum = 0;
    // The DIB is one block (bottom-up): the last row starts it.
    const std::uint8_t* bits = std::as_const(picture).ScanLine(kHeight - 1);
    const std::size_t bytes = static_cast<std::size_t>(picture.Stride()) * kHeight;
    for (std::size_t i = 0; i < bytes; ++i) sum += bits[i];
    sink = sink + sum;
  });

  std::printf("thumbnail of a %d x %d picture, median of %d runs\n", kWidth, kHeight, runs);
  std::printf("  MakeThumbNail, 24-bit picture:                     %8.2f ms\n", thumb24);
  std::printf("  MakeRecordThumbnail, 32-bit picture (converts):    %8.2f ms\n", thumb32);
  std::printf("    of which the 32- to 24-bit conversion:           %8.2f ms\n", convert);
  std::printf("  baseline StretchBlt COLORONCOLOR (samples pixels): %8.2f ms   thumbnail = %.2f x\n", plain,
              thumb24 / plain);
  std::printf("  baseline StretchBlt HALFTONE:                      %8.2f ms   thumbnail = %.2f x\n", halftone,
              thumb24 / halftone);
  std::printf("  baseline one read pass over the pixels:            %8.2f ms   thumbnail = %.2f x\n", read,
              thumb24 / read);
  return 0;
}
