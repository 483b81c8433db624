// Pixel arithmetic of the thumbnail and rescaling routines, over plain pixel rows so that it
// can be checked without any bitmap or device context. Only the step tables use floating point.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qimg {

// Rows of 3-byte (blue, green, red) or 4-byte (blue, green, red, reserved) pixels.
struct PixelView {
  std::uint8_t* bits = nullptr;  // first byte of the top row
  int width = 0;
  int height = 0;
  std::ptrdiff_t stride = 0;  // bytes from a row to the one below it; negative for bottom-up DIBs
  int bytesPerPixel = 3;

  std::uint8_t* Row(int y) const { return bits + y * stride; }
  std::uint8_t* Pixel(int x, int y) const { return Row(y) + static_cast<std::ptrdiff_t>(x) * bytesPerPixel; }
};

// Box step of the thumbnail reduction: 1 / (size / side), rounded to single precision. The
// rounding is deliberate: it makes a 100-pixel side span 99 pixels, and stored thumbnails
// depend on it.
float ThumbBoxStep(int sourceSide, std::uint16_t size);

// Box boundaries b(0..size): trunc(k * step), never beyond the source side.
std::vector<int> ThumbBoxBounds(int sourceSide, std::uint16_t size);

// Averages the boxes of `source` into every pixel of `dest` (both 3-byte pixels), column boxes
// from dest.width, row boxes from dest.height, in 16.16 fixed point: (sum * (65535 / n)) >> 16.
void AverageBoxes(const PixelView& source, const PixelView& dest);

// Sharpens the inner pixels in place, top to bottom: 12 * centre minus the four diagonal
// neighbours, divided by 8 toward zero and clamped. The row above is already sharpened when a
// row is computed; borders stay as they are. Views with fewer than 3 rows are left alone.
void SharpenInPlace(const PixelView& image);

// How a rectangle of sw x sh pixels is rescaled into one of dw x dh pixels.
enum class ScanPath {
  Nothing,     // an empty rectangle: nothing to copy
  Sampling,    // both sides shrink or stay, the width shrinks: nearest-pixel sampling
  Repetition,  // both sides grow or stay (or only the height shrinks at equal width): repetition
  Stretch,     // one side grows and the other shrinks: left to the system's stretch
};
ScanPath ChooseScanPath(int sw, int sh, int dw, int dh);

// Sampling positions px(k) = (gx * k + 32767) >> 16 for k = 0..dest-1, gx = round(s / d * 65536).
std::vector<std::uint32_t> SamplePositions(int sourceSide, int destSide);

// Repetition counts of the source pixels 0..source-1; they add up to destSide.
std::vector<int> RepeatCounts(int sourceSide, int destSide);

// Rescales `rs` of `source` into `rd` of `dest` (same pixel size) on one of the integer paths and
// returns the path taken. Returns ScanPath::Stretch without touching anything when only the
// system's stretch can do it. Throws std::invalid_argument for rectangles the integer paths
// cannot address (outside the pixels, 65536 pixels or more, mismatched pixel sizes).
ScanPath CopyScansRect(const PixelView& source, const PixelView& dest, const RECT& rs, const RECT& rd);

}  // namespace qimg
