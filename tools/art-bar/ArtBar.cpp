// Draws the six faces of the companion's title-bar buttons and writes them as 24 x 24 icons with
// a 256-colour palette: chevron up, chevron down, their pressed looks, camera and eye, each on a
// light lavender ground. Runs on the build machine; the icons go into the companion's resources.
//
//   art-bar <output folder>
//
// Shapes are rendered with 4 x 4 supersampling and then reduced to one palette per icon. The
// companion draws only the image (no mask), so every pixel is opaque.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int kSize = 24;
constexpr int kSub = 4;  // samples per pixel along each axis

struct Rgb {
  double r = 0, g = 0, b = 0;
};

constexpr Rgb kGround{232, 228, 250};       // light lavender
constexpr Rgb kGroundPressed{212, 206, 240};
constexpr Rgb kLight{252, 251, 255};
constexpr Rgb kShadow{150, 140, 190};
constexpr Rgb kInk{64, 52, 128};             // deep indigo
constexpr Rgb kInkSoft{104, 92, 168};
constexpr Rgb kWhite{255, 255, 255};

// Inside-tests take a sample point in pixel units (0..24).
using Shape = std::function<bool(double x, double y)>;

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  const double qx = ax + t * dx - px, qy = ay + t * dy - py;
  return std::sqrt(qx * qx + qy * qy);
}

Shape Stroke(std::vector<std::array<double, 2>> points, double halfWidth) {
  return [points, halfWidth](double x, double y) {
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
      if (SegmentDistance(x, y, points[i][0], points[i][1], points[i + 1][0], points[i + 1][1]) <= halfWidth) return true;
    return false;
  };
}

Shape Circle(double cx, double cy, double radius) {
  return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; };
}

Shape RoundRect(double left, double top, double right, double bottom, double radius) {
  return [=](double x, double y) {
    if (x < left || x > right || y < top || y > bottom) return false;
    const double cx = std::clamp(x, left + radius, right - radius);
    const double cy = std::clamp(y, top + radius, bottom - radius);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
  };
}

// The almond of an eye: the intersection of two large circles.
Shape Almond(double cx, double cy, double halfWidth, double halfHeight) {
  const double r = (halfWidth * halfWidth + halfHeight * halfHeight) / (2 * halfHeight);
  const double offset = r - halfHeight;
  return [=](double x, double y) {
    const double dx = x - cx;
    const double up = y - (cy - offset), down = y - (cy + offset);
    return dx * dx + up * up <= r * r && dx * dx + down * down <= r * r;
  };
}

class Canvas {
 public:
  Canvas() : samples_(kSize * kSub * kSize * kSub) {}

  void Fill(const Shape& shape, Rgb colour, double dx = 0, double dy = 0) {
    for (int sy = 0; sy < kSize * kSub; ++sy)
      for (int sx = 0; sx < kSize * kSub; ++sx) {
        const double x = (sx + 0.5) / kSub - dx, y = (sy + 0.5) / kSub - dy;
        if (shape(x, y)) samples_[sy * kSize * kSub + sx] = colour;
      }
  }

  // Averages the samples of each pixel; rows top to bottom.
  std::vector<Rgb> Pixels() const {
    std::vector<Rgb> out(kSize * kSize);
    for (int py = 0; py < kSize; ++py)
      for (int px = 0; px < kSize; ++px) {
        Rgb sum;
        for (int j = 0; j < kSub; ++j)
          for (int i = 0; i < kSub; ++i) {
            const Rgb& s = samples_[(py * kSub + j) * kSize * kSub + px * kSub + i];
            sum.r += s.r, sum.g += s.g, sum.b += s.b;
          }
        const double n = kSub * kSub;
        out[py * kSize + px] = {sum.r / n, sum.g / n, sum.b / n};
      }
    return out;
  }

 private:
  std::vector<Rgb> samples_;
};

// The square button face: a raised or sunken lavender tile with a one-pixel bevel.
void DrawGround(Canvas& c, bool pressed) {
  c.Fill([](double, double) { return true; }, pressed ? kGroundPressed : kGround);
  const Rgb topLeft = pressed ? kShadow : kLight;
  const Rgb bottomRight = pressed ? kLight : kShadow;
  c.Fill([](double x, double y) { return x < 1 || y < 1; }, topLeft);
  c.Fill([](double x, double y) { return x >= kSize - 1 || y >= kSize - 1; }, bottomRight);
}

void DrawChevron(Canvas& c, bool up, bool pressed) {
  const double shift = pressed ? 1 : 0;  // a pressed face moves its picture down and right
  const double tip = up ? 8.5 : 15.5, arms = up ? 15.5 : 8.5;
  c.Fill(Stroke({{6.5, arms}, {12, tip}, {17.5, arms}}, 1.7), kInk, shift, shift);
}

void DrawCamera(Canvas& c) {
  c.Fill(RoundRect(8, 5.5, 14, 9, 1), kInk);          // the top with the shutter housing
  c.Fill(RoundRect(3.5, 7.5, 20.5, 19, 2), kInk);     // body
  c.Fill(Circle(12, 13.3, 4.6), kGround);             // lens ring
  c.Fill(Circle(12, 13.3, 3.3), kInkSoft);            // lens
  c.Fill(Circle(11, 12.3, 1.1), kWhite);              // reflection
  c.Fill(RoundRect(16.5, 9.3, 18.8, 10.8, 0.5), kGround);  // flash
}

void DrawEye(Canvas& c) {
  c.Fill(Almond(12, 12, 9.5, 6), kInk);
  c.Fill(Almond(12, 12, 8.0, 4.7), kWhite);
  c.Fill(Circle(12, 12, 3.9), kInkSoft);
  c.Fill(Circle(12, 12, 1.9), kInk);
  c.Fill(Circle(10.8, 10.8, 0.9), kWhite);
}

struct Colour8 {
  std::uint8_t r, g, b;
  bool operator<(const Colour8& o) const { return std::tie(r, g, b) < std::tie(o.r, o.g, o.b); }
  bool operator==(const Colour8& o) const { return r == o.r && g == o.g && b == o.b; }
};

Colour8 ToColour8(Rgb c) {
  auto q = [](double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); };
  return {q(c.r), q(c.g), q(c.b)};
}

int Distance(const Colour8& a, const Colour8& b) {
  const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return dr * dr + dg * dg + db * db;
}

// One palette of at most 256 entries: the exact colours when they fit, else the closest pairs are
// merged until they do (never needed for these faces, but a new drawing must not break the icon).
std::vector<Colour8> MakePalette(const std::vector<Colour8>& pixels) {
  std::map<Colour8, int> counts;
  for (const auto& p : pixels) ++counts[p];
  std::vector<std::pair<Colour8, int>> colours(counts.begin(), counts.end());
  while (colours.size() > 256) {
    std::size_t bi = 0, bj = 1;
    int best = 1 << 30;
    for (std::size_t i = 0; i < colours.size(); ++i)
      for (std::size_t j = i + 1; j < colours.size(); ++j) {
        const int d = Distance(colours[i].first, colours[j].first);
        if (d < best) best = d, bi = i, bj = j;
      }
    auto& keep = colours[colours[bi].second >= colours[bj].second ? bi : bj];
    const std::size_t drop = &keep == &colours[bi] ? bj : bi;
    keep.second += colours[drop].second;
    colours.erase(colours.begin() + static_cast<std::ptrdiff_t>(drop));
  }
  std::vector<Colour8> palette;
  for (const auto& c : colours) palette.push_back(c.first);
  return palette;
}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// An .ico file with one 24 x 24 image of 8 bits per pixel and an all-opaque mask.
std::vector<std::uint8_t> EncodeIcon(const std::vector<Rgb>& image) {
  std::vector<Colour8> pixels;
  for (const auto& p : image) pixels.push_back(ToColour8(p));
  const auto palette = MakePalette(pixels);
  auto indexOf = [&](const Colour8& c) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < palette.size(); ++i)
      if (Distance(palette[i], c) < Distance(palette[best], c)) best = i;
    return static_cast<std::uint8_t>(best);
  };

  constexpr int xorStride = (kSize + 3) / 4 * 4;            // 8 bits per pixel, rows of 4-byte units
  constexpr int andStride = ((kSize + 31) / 32) * 4;        // 1 bit per pixel
  constexpr std::uint32_t imageBytes = 40 + 256 * 4 + xorStride * kSize + andStride * kSize;

  std::vector<std::uint8_t> out;
  Put16(out, 0);  // ICONDIR
  Put16(out, 1);
  Put16(out, 1);
  out.push_back(kSize);  // ICONDIRENTRY
  out.push_back(kSize);
  out.push_back(0);  // 256 colours
  out.push_back(0);
  Put16(out, 1);
  Put16(out, 8);
  Put32(out, imageBytes);
  Put32(out, 6 + 16);
  Put32(out, 40);  // BITMAPINFOHEADER; the height counts the image and the mask
  Put32(out, kSize);
  Put32(out, 2 * kSize);
  Put16(out, 1);
  Put16(out, 8);
  Put32(out, 0);
  Put32(out, xorStride * kSize + andStride * kSize);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 256);
  Put32(out, 0);
  for (int i = 0; i < 256; ++i) {
    const Colour8 c = i < static_cast<int>(palette.size()) ? palette[i] : Colour8{0, 0, 0};
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
    out.push_back(0);
  }
  for (int y = kSize - 1; y >= 0; --y) {  // bottom-up rows
    for (int x = 0; x < kSize; ++x) out.push_back(indexOf(pixels[y * kSize + x]));
    for (int x = kSize; x < xorStride; ++x) out.push_back(0);
  }
  out.insert(out.end(), andStride * kSize, 0);
  return out;
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: art-bar <output folder>\n");
    return 2;
  }
  const std::string folder = argv[1];
  struct Face {
    const char* file;
    std::function<void(Canvas&)> draw;
  };
  const Face faces[] = {
      {"bar_up.ico", [](Canvas& c) { DrawGround(c, false), DrawChevron(c, true, false); }},
      {"bar_down.ico", [](Canvas& c) { DrawGround(c, false), DrawChevron(c, false, false); }},
      {"bar_up_pressed.ico", [](Canvas& c) { DrawGround(c, true), DrawChevron(c, true, true); }},
      {"bar_down_pressed.ico", [](Canvas& c) { DrawGround(c, true), DrawChevron(c, false, true); }},
      {"bar_camera.ico", [](Canvas& c) { DrawGround(c, false), DrawCamera(c); }},
      {"bar_eye.ico", [](Canvas& c) { DrawGround(c, false), DrawEye(c); }},
  };
  for (const auto& face : faces) {
    Canvas canvas;
    face.draw(canvas);
    const std::string path = folder + "/" + face.file;
    if (!WriteFile(path, EncodeIcon(canvas.Pixels()))) {
      std::fprintf(stderr, "art-bar: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
