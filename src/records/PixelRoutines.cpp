#include "records/PixelRoutines.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace qimg {

namespace {

constexpr int kMaxFixedPointSide = 65535;  // 16.16 positions of larger sides overflow 32 bits

// round(numerator / denominator * 65536), halves to even. The exact quotient is never a half
// for sides below 65536, so double precision gives the same steps as any wider type.
std::uint32_t FixedStep(int numerator, int denominator) {
  return static_cast<std::uint32_t>(
      std::llrint(static_cast<double>(numerator) / static_cast<double>(denominator) * 65536.0));
}

std::uint8_t Clamp255(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

}  // namespace

float ThumbBoxStep(int sourceSide, std::uint16_t size) {
  // Extended precision for the quotient, then single precision for the stored step.
  const long double ratio = static_cast<long double>(size) / static_cast<long double>(std::max(sourceSide, 1));
  return static_cast<float>(1.0L / ratio);
}

std::vector<int> ThumbBoxBounds(int sourceSide, std::uint16_t size) {
  std::vector<int> bounds(static_cast<std::size_t>(size) + 1, 0);
  if (size == 0) return bounds;
  const long double step = ThumbBoxStep(sourceSide, size);
  const int limit = std::max(sourceSide, 0);
  for (int k = 0; k <= size; ++k) {
    bounds[k] = std::min(limit, static_cast<int>(std::trunc(static_cast<long double>(k) * step)));
  }
  return bounds;
}

void AverageBoxes(const PixelView& source, const PixelView& dest) {
  if (source.bytesPerPixel != 3 || dest.bytesPerPixel != 3) {
    throw std::invalid_argument("box averaging works on 24-bit pixels");
  }
  if (dest.width <= 0 || dest.height <= 0) return;
  if (dest.width > 0xFFFF || dest.height > 0xFFFF) throw std::invalid_argument("thumbnail too large");
  const std::vector<int> cols = ThumbBoxBounds(source.width, static_cast<std::uint16_t>(dest.width));
  const std::vector<int> rows = ThumbBoxBounds(source.height, static_cast<std::uint16_t>(dest.height));

  std::vector<std::uint32_t> sums(static_cast<std::size_t>(dest.width) * 3);
  for (int j = 0; j < dest.height; ++j) {
    std::fill(sums.begin(), sums.end(), 0u);
    for (int y = rows[j]; y < rows[j + 1]; ++y) {
      // Boxes are contiguous from column 0, so one pass along the row feeds every box.
      const std::uint8_t* p = source.Row(y);
      std::uint32_t* s = sums.data();
      for (int i = 0; i < dest.width; ++i, s += 3) {
        std::uint32_t b = 0, g = 0, r = 0;
        for (int x = cols[i]; x < cols[i + 1]; ++x, p += 3) {
          b += p[0];
          g += p[1];
          r += p[2];
        }
        s[0] += b;
        s[1] += g;
        s[2] += r;
      }
    }
    const int h = rows[j + 1] - rows[j];
    std::uint8_t* out = dest.Row(j);
    const std::uint32_t* s = sums.data();
    for (int i = 0; i < dest.width; ++i, s += 3, out += 3) {
      long long n = static_cast<long long>(cols[i + 1] - cols[i]) * h;
      if (n <= 0) n = 1;
      const std::uint64_t f = 65535 / static_cast<std::uint64_t>(n);
      out[0] = static_cast<std::uint8_t>((s[0] * f) >> 16);
      out[1] = static_cast<std::uint8_t>((s[1] * f) >> 16);
      out[2] = static_cast<std::uint8_t>((s[2] * f) >> 16);
    }
  }
}

void SharpenInPlace(const PixelView& image) {
  if (image.height < 3 || image.width < 3) return;
  const int bpp = image.bytesPerPixel;
  for (int y = 1; y <= image.height - 2; ++y) {
    const std::uint8_t* above = image.Row(y - 1);  // already sharpened
    std::uint8_t* row = image.Row(y);
    const std::uint8_t* below = image.Row(y + 1);  // not yet sharpened
    for (int x = 1; x <= image.width - 2; ++x) {
      const int l = (x - 1) * bpp, c = x * bpp, r = (x + 1) * bpp;
      for (int ch = 0; ch < 3; ++ch) {
        const int v = (12 * row[c + ch] - above[l + ch] - above[r + ch] - below[l + ch] - below[r + ch]) / 8;
        row[c + ch] = Clamp255(v);
      }
    }
  }
}

ScanPath ChooseScanPath(int sw, int sh, int dw, int dh) {
  if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return ScanPath::Nothing;
  if ((dw <= sw && dh <= sh) || (dw >= sw && dh >= sh)) {
    return dw < sw ? ScanPath::Sampling : ScanPath::Repetition;
  }
  return ScanPath::Stretch;
}

std::vector<std::uint32_t> SamplePositions(int sourceSide, int destSide) {
  std::vector<std::uint32_t> positions;
  if (sourceSide <= 0 || destSide <= 0) return positions;
  const std::uint32_t step = FixedStep(sourceSide, destSide);
  positions.resize(destSide);
  for (int k = 0; k < destSide; ++k) positions[k] = (step * static_cast<std::uint32_t>(k) + 32767u) >> 16;
  return positions;
}

std::vector<int> RepeatCounts(int sourceSide, int destSide) {
  std::vector<int> counts;
  if (sourceSide <= 0 || destSide <= 0) return counts;
  const std::uint32_t step = FixedStep(destSide, sourceSide);
  std::vector<int> ends(static_cast<std::size_t>(sourceSide) + 1);
  ends[0] = 0;
  ends[1] = static_cast<int>((step + 32767u) >> 16);
  for (int k = 2; k <= sourceSide; ++k) {
    ends[k] = std::min(destSide, static_cast<int>((step * static_cast<std::uint32_t>(k) + 32767u) >> 16));
  }
  counts.resize(sourceSide);
  for (int i = 0; i < sourceSide; ++i) counts[i] = ends[i + 1] - ends[i];
  if (ends[sourceSide] < destSide) {
    // Rounding left the last few out: the last source pixel takes half of them, the first the rest.
    const int missing = destSide - ends[sourceSide];
    counts[sourceSide - 1] += missing / 2;
    counts[0] += missing - missing / 2;
  }
  return counts;
}

namespace {

void CheckInside(int first, int last, int size, const char* what) {
  if (first < 0 || last >= size) throw std::invalid_argument(what);
}

void Sample(const PixelView& source, const PixelView& dest, const RECT& rs, const RECT& rd) {
  const int sw = rs.right - rs.left, sh = rs.bottom - rs.top;
  const int dw = rd.right - rd.left, dh = rd.bottom - rd.top;
  const std::vector<std::uint32_t> px = SamplePositions(sw, dw);
  const std::vector<std::uint32_t> py = SamplePositions(sh, dh);
  // Centre the sampled positions in the rectangle, as far as the bitmap's edges allow.
  const int hx = std::min(std::max(static_cast<int>(-rs.left), (sw - static_cast<int>(px.back())) / 2),
                          static_cast<int>(source.width - rs.right));
  const int vy = std::min(std::max(static_cast<int>(-rs.top), (sh - static_cast<int>(py.back())) / 2),
                          static_cast<int>(source.height - rs.bottom));
  const int x0 = rs.left + hx, y0 = rs.top + vy;
  CheckInside(x0 + static_cast<int>(px.front()), x0 + static_cast<int>(px.back()), source.width,
              "source rectangle outside the bitmap");
  CheckInside(y0 + static_cast<int>(py.front()), y0 + static_cast<int>(py.back()), source.height,
              "source rectangle outside the bitmap");

  const int bpp = source.bytesPerPixel;
  std::vector<std::ptrdiff_t> offsets(dw);
  for (int i = 0; i < dw; ++i) offsets[i] = static_cast<std::ptrdiff_t>(x0 + static_cast<int>(px[i])) * bpp;
  for (int j = 0; j < dh; ++j) {
    const std::uint8_t* in = source.Row(y0 + static_cast<int>(py[j]));
    std::uint8_t* out = dest.Pixel(rd.left, rd.top + j);
    if (bpp == 3) {
      for (int i = 0; i < dw; ++i, out += 3) std::memcpy(out, in + offsets[i], 3);
    } else {
      for (int i = 0; i < dw; ++i, out += 4) std::memcpy(out, in + offsets[i], 4);
    }
  }
}

void Repeat(const PixelView& source, const PixelView& dest, const RECT& rs, const RECT& rd) {
  const int sw = rs.right - rs.left, sh = rs.bottom - rs.top;
  const int dw = rd.right - rd.left;
  CheckInside(rs.left, rs.right - 1, source.width, "source rectangle outside the bitmap");
  CheckInside(rs.top, rs.bottom - 1, source.height, "source rectangle outside the bitmap");
  const std::vector<int> rx = RepeatCounts(sw, dw);
  const std::vector<int> ry = RepeatCounts(sh, rd.bottom - rd.top);

  const int bpp = source.bytesPerPixel;
  const std::size_t rowBytes = static_cast<std::size_t>(dw) * bpp;
  int y = rd.top;
  for (int j = 0; j < sh; ++j) {
    if (ry[j] == 0) continue;
    const std::uint8_t* in = source.Pixel(rs.left, rs.top + j);
    std::uint8_t* first = dest.Pixel(rd.left, y);
    std::uint8_t* out = first;
    for (int i = 0; i < sw; ++i, in += bpp) {
      for (int r = 0; r < rx[i]; ++r, out += bpp) std::memcpy(out, in, bpp);
    }
    for (int r = 1; r < ry[j]; ++r) std::memcpy(dest.Pixel(rd.left, y + r), first, rowBytes);
    y += ry[j];
  }
}

}  // namespace

ScanPath CopyScansRect(const PixelView& source, const PixelView& dest, const RECT& rs, const RECT& rd) {
  const int sw = rs.right - rs.left, sh = rs.bottom - rs.top;
  const int dw = rd.right - rd.left, dh = rd.bottom - rd.top;
  const ScanPath path = ChooseScanPath(sw, sh, dw, dh);
  if (path == ScanPath::Nothing || path == ScanPath::Stretch) return path;

  if (source.bytesPerPixel != dest.bytesPerPixel || (source.bytesPerPixel != 3 && source.bytesPerPixel != 4)) {
    throw std::invalid_argument("rescaling needs 24- or 32-bit pixels of the same size on both sides");
  }
  if (sw > kMaxFixedPointSide || sh > kMaxFixedPointSide || dw > kMaxFixedPointSide || dh > kMaxFixedPointSide) {
    throw std::invalid_argument("rectangles must be narrower and lower than 65536 pixels");
  }
  CheckInside(rd.left, rd.right - 1, dest.width, "destination rectangle outside the bitmap");
  CheckInside(rd.top, rd.bottom - 1, dest.height, "destination rectangle outside the bitmap");

  if (path == ScanPath::Sampling) {
    Sample(source, dest, rs, rd);
  } else {
    Repeat(source, dest, rs, rd);
  }
  return path;
}

}  // namespace qimg
