// Draws the main program's pictures in code and writes them as .ico and 32-bit .bmp files (with
// alpha) for the resource compiler: the program icon, the tray menu images, the banner strip,
// the tray animation, the close button and the tool bar images.
//   art-main <output folder>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Color {
  float r, g, b, a;
};
Color Rgb(int r, int g, int b, float a = 1.f) { return {r / 255.f, g / 255.f, b / 255.f, a}; }
Color Mix(Color x, Color y, float t) {
  return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

using Shape = std::function<bool(float, float)>;
using Paint = std::function<Color(float, float)>;

// A picture in a 16-unit design space, rendered at any pixel size with 4x4 supersampling.
class Canvas {
 public:
  Canvas(int w, int h, float unitsW = 16, float unitsH = 16)
      : w_(w), h_(h), sx_(unitsW / w), sy_(unitsH / h), px_(static_cast<size_t>(w * h), Color{0, 0, 0, 0}) {}

  void Fill(const Shape& s, const Paint& paint) {
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x) {
        int hits = 0;
        for (int j = 0; j < 4; ++j)
          for (int i = 0; i < 4; ++i)
            if (s((x + (i + .5f) / 4) * sx_, (y + (j + .5f) / 4) * sy_)) ++hits;
        if (!hits) continue;
        Color c = paint((x + .5f) * sx_, (y + .5f) * sy_);
        Over(x, y, c, hits / 16.f);
      }
  }
  void Fill(const Shape& s, Color c) {
    Fill(s, [c](float, float) { return c; });
  }

  // Straight BGRA, rows top down.
  std::vector<uint32_t> Pixels() const {
    std::vector<uint32_t> out;
    out.reserve(px_.size());
    for (const Color& p : px_) {
      const float a = std::clamp(p.a, 0.f, 1.f);
      auto ch = [a](float v) { return static_cast<uint32_t>(std::lround(std::clamp(a > 0 ? v / a : 0.f, 0.f, 1.f) * 255)); };
      out.push_back((static_cast<uint32_t>(std::lround(a * 255)) << 24) | (ch(p.r) << 16) | (ch(p.g) << 8) | ch(p.b));
    }
    return out;
  }
  int Width() const { return w_; }
  int Height() const { return h_; }

 private:
  void Over(int x, int y, Color c, float coverage) {
    Color& d = px_[static_cast<size_t>(y * w_ + x)];
    const float a = c.a * coverage;
    d.r = c.r * a + d.r * (1 - a);
    d.g = c.g * a + d.g * (1 - a);
    d.b = c.b * a + d.b * (1 - a);
    d.a = a + d.a * (1 - a);
  }
  int w_, h_;
  float sx_, sy_;
  std::vector<Color> px_;  // premultiplied
};

// ---- shapes
Shape Rect(float x0, float y0, float x1, float y1) {
  return [=](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}
Shape RoundRect(float x0, float y0, float x1, float y1, float r) {
  return [=](float x, float y) {
    if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
    const float cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
  };
}
Shape Circle(float cx, float cy, float r) {
  return [=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}
Shape Ellipse(float cx, float cy, float rx, float ry) {
  return [=](float x, float y) { return ((x - cx) / rx) * ((x - cx) / rx) + ((y - cy) / ry) * ((y - cy) / ry) <= 1; };
}
// Angles in degrees, 0 = east, counter-clockwise (y grows downwards on screen).
Shape Arc(float cx, float cy, float r0, float r1, float from = 0, float to = 360) {
  return [=](float x, float y) {
    const float d = std::hypot(x - cx, y - cy);
    if (d < r0 || d > r1) return false;
    float a = std::atan2(cy - y, x - cx) * 180.f / 3.14159265f;
    if (a < 0) a += 360;
    if (from <= to) return a >= from && a <= to;
    return a >= from || a <= to;
  };
}
Shape Line(float x0, float y0, float x1, float y1, float width) {
  return [=](float x, float y) {
    const float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0;
    t = std::clamp(t, 0.f, 1.f);
    const float px = x0 + t * dx - x, py = y0 + t * dy - y;
    return px * px + py * py <= width * width / 4;
  };
}
Shape Polygon(std::vector<std::pair<float, float>> pts) {
  return [pts](float x, float y) {
    bool in = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      const auto [xi, yi] = pts[i];
      const auto [xj, yj] = pts[j];
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
  };
}
Shape Minus(Shape a, Shape b) {
  return [=](float x, float y) { return a(x, y) && !b(x, y); };
}
Shape Outline(float x0, float y0, float x1, float y1, float r, float w) {
  return Minus(RoundRect(x0, y0, x1, y1, r), RoundRect(x0 + w, y0 + w, x1 - w, y1 - w, std::max(0.f, r - w)));
}
Paint VGradient(Color top, Color bottom, float y0 = 0, float y1 = 16) {
  return [=](float, float y) { return Mix(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.f, 1.f)); };
}

// ---- palette
const Color kInk = Rgb(52, 64, 84);
const Color kBlue = Rgb(46, 118, 214);
const Color kBlueDark = Rgb(28, 78, 160);
const Color kBlueLight = Rgb(120, 180, 245);
const Color kGreen = Rgb(56, 160, 72);
const Color kRed = Rgb(214, 58, 48);
const Color kRedDark = Rgb(160, 32, 28);
const Color kOrange = Rgb(240, 150, 30);
const Color kYellow = Rgb(246, 196, 60);
const Color kPaper = Rgb(255, 255, 255);
const Color kPaperEdge = Rgb(130, 140, 158);
const Color kGrey = Rgb(128, 134, 146);

// ---- glyphs (16-unit space)
void Document(Canvas& c, bool lines = true) {
  c.Fill(Polygon({{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}}), kPaperEdge);
  c.Fill(Polygon({{4, 2}, {9.5f, 2}, {12, 4.5f}, {12, 14}, {4, 14}}), VGradient(kPaper, Rgb(236, 240, 246)));
  c.Fill(Polygon({{9.5f, 2}, {12, 4.5f}, {9.5f, 4.5f}}), Rgb(200, 208, 222));
  if (lines)
    for (float y : {6.f, 8.5f, 11.f}) c.Fill(Rect(5.5f, y, y < 10 ? 10.5f : 9, y + 1), Rgb(120, 140, 170));
}
void PlusBadge(Canvas& c, Color col) {
  c.Fill(Circle(11.5f, 11.5f, 4.2f), kPaper);
  c.Fill(Circle(11.5f, 11.5f, 3.5f), col);
  c.Fill(Rect(9.5f, 11, 13.5f, 12), kPaper);
  c.Fill(Rect(11, 9.5f, 12, 13.5f), kPaper);
}
void PictureFrame(Canvas& c) {
  c.Fill(RoundRect(1, 3, 15, 14, 1.2f), kPaperEdge);
  c.Fill(Rect(2, 4, 14, 13), VGradient(Rgb(150, 205, 250), Rgb(220, 240, 255), 4, 13));
  c.Fill(Circle(10.5f, 6.5f, 1.4f), kYellow);
  c.Fill([](float x, float y) { return y > 13 - 4 * std::exp(-(x - 6) * (x - 6) / 8) && y < 13 && x > 2 && x < 14; },
         kGreen);
  c.Fill([](float x, float y) { return y > 13 - 2.5f * std::exp(-(x - 12) * (x - 12) / 5) && y < 13 && x > 2 && x < 14; },
         Rgb(90, 185, 90));
}
void Gear(Canvas& c, Color col) {
  c.Fill(
      [](float x, float y) {
        const float dx = x - 8, dy = y - 8, d = std::hypot(dx, dy);
        const float a = std::atan2(dy, dx);
        const float tooth = std::cos(a * 8) > 0.2f ? 7 : 5.4f;
        return d <= tooth && d >= 2.3f;
      },
      col);
  c.Fill(Arc(8, 8, 3.4f, 4.2f), Mix(col, kPaper, .35f));
}
void Globe(Canvas& c) {
  c.Fill(Circle(8, 8, 7), VGradient(Rgb(90, 160, 235), Rgb(30, 90, 180)));
  const Color line = Rgb(220, 238, 255, .9f);
  c.Fill(Minus(Ellipse(8, 8, 3.2f, 7), Ellipse(8, 8, 2.3f, 6.3f)), line);
  c.Fill(Rect(1, 7.5f, 15, 8.5f), line);
  c.Fill([](float x, float y) { return std::fabs(y - 4.3f) < .45f && std::hypot(x - 8, y - 8) < 7; }, line);
  c.Fill([](float x, float y) { return std::fabs(y - 11.7f) < .45f && std::hypot(x - 8, y - 8) < 7; }, line);
  c.Fill(Rect(7.5f, 1, 8.5f, 15), line);
}
void Flag(Canvas& c, const std::vector<std::pair<Color, float>>& bands, bool vertical) {
  c.Fill(RoundRect(0.5f, 2.5f, 15.5f, 13.5f, 1), Rgb(90, 90, 90, .8f));
  float pos = 0;
  for (auto& [col, share] : bands) {
    if (vertical)
      c.Fill(Rect(1 + pos * 14, 3, 1 + (pos + share) * 14, 13), col);
    else
      c.Fill(Rect(1, 3 + pos * 10, 15, 3 + (pos + share) * 10), col);
    pos += share;
  }
  c.Fill(Rect(1, 3, 15, 5.5f), Rgb(255, 255, 255, .18f));
}
void FlagUK(Canvas& c) {
  c.Fill(RoundRect(0.5f, 2.5f, 15.5f, 13.5f, 1), Rgb(90, 90, 90, .8f));
  c.Fill(Rect(1, 3, 15, 13), Rgb(20, 50, 130));
  c.Fill(Line(1, 3, 15, 13, 2.2f), kPaper);
  c.Fill(Line(15, 3, 1, 13, 2.2f), kPaper);
  c.Fill(Line(1, 3, 15, 13, .8f), kRed);
  c.Fill(Line(15, 3, 1, 13, .8f), kRed);
  c.Fill(Rect(6.3f, 3, 9.7f, 13), kPaper);
  c.Fill(Rect(1, 6.3f, 15, 9.7f), kPaper);
  c.Fill(Rect(7.1f, 3, 8.9f, 13), kRed);
  c.Fill(Rect(1, 7.1f, 15, 8.9f), kRed);
}
void Window(Canvas& c) {
  c.Fill(RoundRect(1, 2, 15, 14, 1.2f), kBlueDark);
  c.Fill(Rect(2, 5, 14, 13), VGradient(kPaper, Rgb(232, 238, 248), 5, 13));
  c.Fill(Rect(2, 3, 14, 5), VGradient(kBlueLight, kBlue, 3, 5));
  c.Fill(Circle(12.3f, 4, .7f), kPaper);
}
void Clipboard(Canvas& c) {
  c.Fill(RoundRect(2, 2, 14, 15, 1.3f), Rgb(170, 120, 70));
  c.Fill(Rect(3.5f, 4, 12.5f, 13.8f), kPaper);
  c.Fill(RoundRect(5.5f, 1, 10.5f, 4.5f, 1), kGrey);
  for (float y : {6.5f, 9.f, 11.5f}) c.Fill(Rect(5, y, 11, y + .9f), Rgb(140, 150, 170));
}
void Power(Canvas& c) {
  c.Fill(Circle(8, 8, 7), VGradient(Rgb(235, 90, 80), kRedDark));
  c.Fill(Arc(8, 8.5f, 3, 4.4f, 125, 55), kPaper);
  c.Fill(Line(8, 3.3f, 8, 8, 1.5f), kPaper);
}
void Question(Canvas& c) {
  c.Fill(Circle(8, 8, 7), VGradient(kBlueLight, kBlueDark));
  c.Fill(Arc(8, 6.2f, 1.6f, 3, 340, 180), kPaper);
  c.Fill(Line(9.9f, 7.3f, 8, 9.2f, 1.4f), kPaper);
  c.Fill(Rect(7.3f, 9, 8.7f, 10.3f), kPaper);
  c.Fill(Circle(8, 12, .9f), kPaper);
}
void Refresh(Canvas& c, Color col) {
  c.Fill(Arc(8, 8, 4, 5.8f, 60, 320), col);
  c.Fill(Polygon({{9.2f, 1.2f}, {13.8f, 4.8f}, {8.6f, 6.6f}}), col);
}
void Key(Canvas& c) {
  c.Fill(RoundRect(1, 3, 15, 14, 2), Rgb(120, 126, 140));
  c.Fill(RoundRect(2, 3.8f, 14, 12, 1.6f), VGradient(Rgb(252, 252, 254), Rgb(214, 218, 228), 4, 12));
  c.Fill(Line(5.5f, 6, 5.5f, 10, 1.2f), kInk);
  c.Fill(Line(5.5f, 8, 9, 6, 1.2f), kInk);
  c.Fill(Line(6.5f, 7.8f, 9, 10, 1.2f), kInk);
  c.Fill(Rect(10, 9, 12, 10), kInk);
}
void Folder(Canvas& c) {
  c.Fill(Polygon({{1, 3}, {6, 3}, {7.5f, 4.5f}, {15, 4.5f}, {15, 14}, {1, 14}}), Rgb(200, 150, 40));
  c.Fill(Polygon({{1, 6.5f}, {15, 6.5f}, {15, 14}, {1, 14}}), VGradient(Rgb(255, 214, 110), Rgb(240, 180, 50), 6, 14));
}
void Database(Canvas& c) {
  const Paint body = [](float x, float) { return Mix(Rgb(120, 150, 200), Rgb(60, 90, 150), std::fabs(x - 8) / 6); };
  c.Fill([](float x, float y) { return x >= 2 && x <= 14 && y >= 3.5f && y <= 12.5f; }, body);
  c.Fill(Ellipse(8, 12.5f, 6, 2), body);
  for (float y : {9.f, 6.f}) c.Fill(Minus(Ellipse(8, y, 6, 2), Ellipse(8, y - .7f, 6, 2)), Rgb(230, 240, 255, .8f));
  c.Fill(Ellipse(8, 3.5f, 6, 2), Rgb(170, 195, 235));
}
void Trash(Canvas& c) {
  c.Fill(Polygon({{3.5f, 5}, {12.5f, 5}, {11.5f, 15}, {4.5f, 15}}), VGradient(Rgb(150, 158, 172), Rgb(96, 104, 120)));
  c.Fill(RoundRect(2, 3, 14, 5, .6f), Rgb(90, 98, 114));
  c.Fill(RoundRect(6, 1.5f, 10, 3.2f, .5f), Rgb(90, 98, 114));
  for (float x : {6.f, 8.f, 10.f}) c.Fill(Rect(x - .4f, 7, x + .4f, 13.5f), Rgb(230, 234, 240));
}
void Eye(Canvas& c) {
  const Shape lens = [](float x, float y) {
    const float dx = (x - 8) / 7;
    return std::fabs(y - 8) <= 4.5f * (1 - dx * dx) && std::fabs(dx) < 1;
  };
  c.Fill(lens, kInk);
  c.Fill([lens](float x, float y) { return std::fabs((x - 8) / 6.2f) < 1 && std::fabs(y - 8) <= 3.6f * (1 - (x - 8) * (x - 8) / 38.4f); },
         kPaper);
  c.Fill(Circle(8, 8, 2.8f), kBlue);
  c.Fill(Circle(8, 8, 1.3f), kInk);
  c.Fill(Circle(7, 7, .6f), kPaper);
}
void TitleButtons(Canvas& c) {
  c.Fill(RoundRect(1, 3, 15, 13, 1), kBlueDark);
  c.Fill(Rect(2, 4, 14, 12), Rgb(236, 241, 250));
  c.Fill(Rect(2, 4, 14, 6.5f), kBlue);
  c.Fill(RoundRect(7, 4.3f, 9.6f, 6.2f, .4f), kOrange);
  c.Fill(RoundRect(9.9f, 4.3f, 12.5f, 6.2f, .4f), kOrange);
  c.Fill(Polygon({{6, 10}, {8.5f, 7.5f}, {11, 10}}), kInk);
}
void Bubbles(Canvas& c) {
  c.Fill(RoundRect(1, 2, 11, 9, 2), kBlue);
  c.Fill(Polygon({{3, 8}, {5, 8}, {2.5f, 11}}), kBlue);
  c.Fill(RoundRect(6, 6, 15, 12.5f, 2), kGreen);
  c.Fill(Polygon({{12, 12}, {14, 12}, {14.5f, 15}}), kGreen);
  c.Fill(Line(3.5f, 5.5f, 8.5f, 5.5f, .9f), kPaper);
  c.Fill(Line(8.5f, 9.3f, 12.5f, 9.3f, .9f), kPaper);
}
void Checkbox(Canvas& c) {
  c.Fill(RoundRect(1.5f, 1.5f, 14.5f, 14.5f, 2), kBlueDark);
  c.Fill(RoundRect(2.5f, 2.5f, 13.5f, 13.5f, 1.4f), VGradient(kPaper, Rgb(226, 234, 248)));
  c.Fill(Line(4.5f, 8.3f, 7, 11, 2), kGreen);
  c.Fill(Line(7, 11, 11.7f, 4.8f, 2), kGreen);
}
void Magnifier(Canvas& c) {
  c.Fill(Circle(6.5f, 6.5f, 4.2f), Rgb(210, 230, 250, .8f));
  c.Fill(Arc(6.5f, 6.5f, 4, 5.3f), kInk);
  c.Fill(Line(10, 10, 14, 14, 2.4f), Rgb(150, 100, 50));
}
void Disk(Canvas& c) {
  c.Fill(RoundRect(1.5f, 1.5f, 14.5f, 14.5f, 1.4f), VGradient(kBlue, kBlueDark));
  c.Fill(Rect(4, 2, 12, 6.5f), Rgb(226, 232, 242));
  c.Fill(Rect(9.5f, 2.8f, 11, 5.6f), kBlueDark);
  c.Fill(RoundRect(3.5f, 9, 12.5f, 14.5f, .6f), kPaper);
}
void Pencil(Canvas& c, float dx = 0, float dy = 0) {
  c.Fill(Line(4 + dx, 12 + dy, 12 + dx, 4 + dy, 3), kOrange);
  c.Fill(Line(10.8f + dx, 5.2f + dy, 12.6f + dx, 3.4f + dy, 3), Rgb(230, 110, 120));
  c.Fill(Polygon({{2 + dx, 14 + dy}, {2.6f + dx, 10.6f + dy}, {5.4f + dx, 13.4f + dy}}), Rgb(240, 210, 160));
  c.Fill(Polygon({{2 + dx, 14 + dy}, {2.3f + dx, 12.6f + dy}, {3.4f + dx, 13.7f + dy}}), kInk);
}
void Cross(Canvas& c, Color col, float w = 2.2f) {
  c.Fill(Line(4, 4, 12, 12, w), col);
  c.Fill(Line(12, 4, 4, 12, w), col);
}
void Scissors(Canvas& c) {
  c.Fill(Arc(4.5f, 12, 1.3f, 2.4f), kRed);
  c.Fill(Arc(11.5f, 12, 1.3f, 2.4f), kRed);
  c.Fill(Line(5.5f, 10.3f, 11, 2, 1.3f), kGrey);
  c.Fill(Line(10.5f, 10.3f, 5, 2, 1.3f), kGrey);
}
void Undo(Canvas& c) {
  c.Fill(Arc(8.5f, 9, 3.2f, 4.8f, 270, 100), kBlue);
  c.Fill(Polygon({{1.5f, 5}, {7, 1.2f}, {7, 8.5f}}), kBlue);
}
void Expand(Canvas& c) {
  c.Fill(RoundRect(1, 2, 13, 13, 1), kPaperEdge);
  c.Fill(Rect(2, 3, 12, 12), kPaper);
  for (float y : {5.f, 7.f, 9.f}) c.Fill(Rect(3.5f, y, 8.5f, y + .8f), Rgb(140, 150, 170));
  c.Fill(Line(9, 8, 14, 3, 1.4f), kGreen);
  c.Fill(Polygon({{10.5f, 1.5f}, {15, 1.5f}, {15, 6}}), kGreen);
}
void InsertArrow(Canvas& c) {
  Document(c);
  c.Fill(Circle(11.5f, 11.5f, 4.2f), kPaper);
  c.Fill(Circle(11.5f, 11.5f, 3.5f), kBlue);
  c.Fill(Polygon({{9.3f, 10.5f}, {13.7f, 10.5f}, {11.5f, 13.6f}}), kPaper);
  c.Fill(Rect(10.8f, 8.6f, 12.2f, 11), kPaper);
}
void Comment(Canvas& c) {
  c.Fill(RoundRect(1, 2, 15, 11.5f, 2.5f), kYellow);
  c.Fill(Polygon({{4, 11}, {7.5f, 11}, {3.5f, 14.5f}}), kYellow);
  c.Fill(Outline(1, 2, 15, 11.5f, 2.5f, .8f), Rgb(190, 140, 30));
  for (float y : {5.f, 7.5f}) c.Fill(Rect(4, y, 12, y + .9f), Rgb(150, 110, 30));
}

// The program's mark: a rounded blue tile with a clip card and a down-chevron, as on the title bar buttons.
void ProgramMark(Canvas& c, bool busy = false, float busyPhase = 0) {
  c.Fill(RoundRect(.5f, .5f, 15.5f, 15.5f, 3.2f), VGradient(Rgb(70, 150, 235), Rgb(24, 80, 170)));
  c.Fill(RoundRect(3.3f, 2.6f, 12.7f, 12.6f, 1.3f), Rgb(0, 0, 40, .25f));
  c.Fill(RoundRect(3, 2.2f, 12.5f, 12.2f, 1.3f), VGradient(kPaper, Rgb(228, 236, 250)));
  c.Fill(Rect(5, 4.7f, 10.5f, 5.6f), Rgb(130, 150, 190));
  c.Fill(Rect(5, 6.7f, 9, 7.6f), Rgb(130, 150, 190));
  c.Fill(Circle(11.6f, 11.6f, 3.9f), kOrange);
  c.Fill(Line(9.9f, 10.7f, 11.6f, 12.6f, 1.3f), kPaper);
  c.Fill(Line(11.6f, 12.6f, 13.3f, 10.7f, 1.3f), kPaper);
  if (busy) {
    c.Fill(Circle(4.5f, 11.5f, 4), kPaper);
    c.Fill(Arc(4.5f, 11.5f, 1.6f, 3.3f, busyPhase, busyPhase + 270 > 360 ? busyPhase - 90 : busyPhase + 270), kGreen);
  }
}

// ---- writers
void Put16(std::vector<uint8_t>& b, uint32_t v) { b.push_back(v & 0xFF), b.push_back((v >> 8) & 0xFF); }
void Put32(std::vector<uint8_t>& b, uint32_t v) { Put16(b, v & 0xFFFF), Put16(b, v >> 16); }

std::vector<uint8_t> DibBody(const std::vector<uint32_t>& px, int w, int h, bool withMask) {
  std::vector<uint8_t> b;
  Put32(b, 40), Put32(b, static_cast<uint32_t>(w)), Put32(b, static_cast<uint32_t>(withMask ? h * 2 : h));
  Put16(b, 1), Put16(b, 32), Put32(b, 0), Put32(b, 0), Put32(b, 0), Put32(b, 0), Put32(b, 0), Put32(b, 0);
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < w; ++x) Put32(b, px[static_cast<size_t>(y * w + x)]);
  if (withMask) {
    const int stride = ((w + 31) / 32) * 4;
    for (int y = h - 1; y >= 0; --y) {
      std::vector<uint8_t> row(static_cast<size_t>(stride), 0);
      for (int x = 0; x < w; ++x)
        if ((px[static_cast<size_t>(y * w + x)] >> 24) == 0) row[static_cast<size_t>(x / 8)] |= 0x80 >> (x % 8);
      b.insert(b.end(), row.begin(), row.end());
    }
  }
  return b;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& data) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  return std::fclose(f) == 0 && ok;
}

bool WriteBmp(const std::string& path, const std::vector<uint32_t>& px, int w, int h) {
  std::vector<uint8_t> body = DibBody(px, w, h, false);
  std::vector<uint8_t> file;
  file.push_back('B'), file.push_back('M');
  Put32(file, static_cast<uint32_t>(14 + body.size())), Put32(file, 0), Put32(file, 14 + 40);
  file.insert(file.end(), body.begin(), body.end());
  return WriteFile(path, file);
}

// Cells side by side in one strip.
bool WriteStrip(const std::string& path, const std::vector<Canvas>& cells) {
  const int w = cells.front().Width(), h = cells.front().Height(), n = static_cast<int>(cells.size());
  std::vector<uint32_t> px(static_cast<size_t>(w * n * h));
  for (int i = 0; i < n; ++i) {
    const auto cell = cells[static_cast<size_t>(i)].Pixels();
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) px[static_cast<size_t>(y * w * n + i * w + x)] = cell[static_cast<size_t>(y * w + x)];
  }
  return WriteBmp(path, px, w * n, h);
}

bool WriteIco(const std::string& path, const std::vector<Canvas>& sizes) {
  std::vector<uint8_t> file;
  Put16(file, 0), Put16(file, 1), Put16(file, static_cast<uint32_t>(sizes.size()));
  std::vector<std::vector<uint8_t>> bodies;
  for (const Canvas& c : sizes) bodies.push_back(DibBody(c.Pixels(), c.Width(), c.Height(), true));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * sizes.size());
  for (size_t i = 0; i < sizes.size(); ++i) {
    const int s = sizes[i].Width();
    file.push_back(static_cast<uint8_t>(s >= 256 ? 0 : s)), file.push_back(static_cast<uint8_t>(s >= 256 ? 0 : s));
    file.push_back(0), file.push_back(0);
    Put16(file, 1), Put16(file, 32), Put32(file, static_cast<uint32_t>(bodies[i].size())), Put32(file, offset);
    offset += static_cast<uint32_t>(bodies[i].size());
  }
  for (auto& b : bodies) file.insert(file.end(), b.begin(), b.end());
  return WriteFile(path, file);
}

Canvas Draw(int w, int h, const std::function<void(Canvas&)>& f, float uw = 16, float uh = 16) {
  Canvas c(w, h, uw, uh);
  f(c);
  return c;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: art-main <output folder>\n");
    return 2;
  }
  const std::string out = std::string(argv[1]) + "/";
  bool ok = true;

  // Program icon.
  std::vector<Canvas> icon;
  for (int s : {16, 20, 24, 32, 40, 48, 64, 256}) icon.push_back(Draw(s, s, [](Canvas& c) { ProgramMark(c); }));
  ok &= WriteIco(out + "quillet.ico", icon);

  // Tray menu images, by the indexes the menu uses.
  std::vector<std::function<void(Canvas&)>> tray(30, [](Canvas& c) { Document(c); });
  tray[0] = Checkbox;
  tray[1] = [](Canvas& c) { Document(c), PlusBadge(c, kBlue); };
  tray[2] = Clipboard;
  tray[3] = [](Canvas& c) { Gear(c, Rgb(96, 108, 130)); };
  tray[4] = Power;
  tray[5] = FlagUK;
  tray[6] = [](Canvas& c) { Flag(c, {{kPaper, 1 / 3.f}, {Rgb(0, 57, 166), 1 / 3.f}, {Rgb(213, 43, 30), 1 / 3.f}}, false); };
  tray[7] = [](Canvas& c) { Refresh(c, kGreen); };
  tray[8] = TitleButtons;
  tray[9] = Magnifier;
  tray[10] = Question;
  tray[11] = Bubbles;
  tray[12] = Key;
  tray[13] = Eye;
  tray[14] = Window;
  tray[15] = Key;
  tray[16] = Folder;
  tray[17] = Database;
  tray[18] = Trash;
  tray[19] = [](Canvas& c) {
    Folder(c);
    c.Fill(Line(5, 10.5f, 11, 10.5f, 1.5f), kBlueDark);
    c.Fill(Polygon({{10, 8}, {13, 10.5f}, {10, 13}}), kBlueDark);
  };
  tray[20] = Database;
  tray[21] = Trash;
  tray[22] = [](Canvas& c) { Flag(c, {{Rgb(0, 35, 149), 1 / 3.f}, {kPaper, 1 / 3.f}, {Rgb(237, 41, 57), 1 / 3.f}}, true); };
  tray[23] = [](Canvas& c) { Flag(c, {{Rgb(170, 21, 27), .25f}, {Rgb(241, 191, 0), .5f}, {Rgb(170, 21, 27), .25f}}, false); };
  tray[24] = [](Canvas& c) { Flag(c, {{Rgb(20, 20, 20), 1 / 3.f}, {Rgb(221, 0, 0), 1 / 3.f}, {Rgb(255, 206, 0), 1 / 3.f}}, false); };
  tray[25] = [](Canvas& c) { Document(c), PlusBadge(c, kGreen); };
  tray[26] = PictureFrame;
  tray[27] = [](Canvas& c) { Document(c); };
  tray[28] = Globe;
  tray[29] = Eye;
  std::vector<Canvas> trayCells;
  for (auto& f : tray) trayCells.push_back(Draw(16, 16, f));
  ok &= WriteStrip(out + "il_tray.bmp", trayCells);

  // Banner strip pictures (image 1 is stretched down the menu's left edge).
  ok &= WriteStrip(out + "il_traybar.bmp",
                   {Draw(20, 20, [](Canvas& c) { c.Fill(Rect(0, 0, 16, 16), VGradient(Rgb(70, 90, 120), Rgb(40, 56, 84))); }),
                    Draw(20, 20, [](Canvas& c) {
                      c.Fill(Rect(0, 0, 16, 16), [](float x, float y) {
                        const Color top = Rgb(34, 52, 92), bottom = Rgb(58, 110, 180);
                        Color m = Mix(top, bottom, y / 16);
                        return Mix(m, Rgb(255, 255, 255), std::max(0.f, .12f - std::fabs(x - 5) * .03f));
                      });
                      c.Fill(Rect(15.2f, 0, 16, 16), Rgb(20, 30, 60, .6f));
                    })});

  // Tray animation: 0 resting, 1-7 turning, 8 busy.
  std::vector<Canvas> anime;
  anime.push_back(Draw(16, 16, [](Canvas& c) { ProgramMark(c); }));
  for (int i = 1; i <= 8; ++i) anime.push_back(Draw(16, 16, [i](Canvas& c) { ProgramMark(c, true, static_cast<float>((i * 45) % 360)); }));
  ok &= WriteStrip(out + "il_trayanime.bmp", anime);

  // Close button: normal, hover, pressed (14 px).
  ok &= WriteStrip(out + "il_close.bmp",
                   {Draw(14, 14, [](Canvas& c) { Cross(c, Rgb(110, 96, 70), 1.7f); }),
                    Draw(14, 14, [](Canvas& c) { c.Fill(RoundRect(0, 0, 16, 16, 3), Rgb(220, 70, 60)), Cross(c, kPaper, 1.9f); }),
                    Draw(14, 14, [](Canvas& c) { c.Fill(RoundRect(0, 0, 16, 16, 3), Rgb(160, 40, 34)), Cross(c, kPaper, 1.9f); })});

  // Tool bar images.
  const std::vector<std::function<void(Canvas&)>> tools = {
      InsertArrow,                                       // 0 insert
      [](Canvas& c) { Document(c), PlusBadge(c, kGreen); },  // 1 add
      [](Canvas& c) { Document(c, false), Pencil(c, 1, 0); },  // 2 edit
      [](Canvas& c) { Cross(c, kRed, 3); },              // 3 delete
      [](Canvas& c) { Refresh(c, kBlue); },              // 4 refresh
      Disk,                                              // 5 save
      Undo,                                              // 6 cancel
      Scissors,                                          // 7 cut
      [](Canvas& c) {                                    // 8 copy
        c.Fill(RoundRect(1, 1, 10, 11, .8f), kPaperEdge), c.Fill(Rect(2, 2, 9, 10), kPaper);
        c.Fill(RoundRect(6, 5, 15, 15, .8f), kPaperEdge), c.Fill(Rect(7, 6, 14, 14), kPaper);
        for (float y : {8.f, 10.f, 12.f}) c.Fill(Rect(8.5f, y, 12.5f, y + .8f), Rgb(140, 150, 170));
      },
      Clipboard,                                         // 9 paste
      Undo,                                              // 10 undo
      Expand,                                            // 11 edit+
      Magnifier,                                         // 12 preview
      Comment,                                           // 13 comment
      [](Canvas& c) { Disk(c), Pencil(c, 2, 1); },       // 14 save as
  };
  std::vector<Canvas> toolCells;
  for (auto& f : tools) toolCells.push_back(Draw(16, 16, f));
  ok &= WriteStrip(out + "il_tool.bmp", toolCells);

  // The text list's item image (18 x 20): a small clip card.
  ok &= WriteStrip(out + "il_oneitem.bmp", {Draw(18, 20, [](Canvas& c) {
                     c.Fill(RoundRect(4, 4.5f, 14, 15.5f, 1.2f), kPaperEdge);
                     c.Fill(RoundRect(5, 5.5f, 13, 14.5f, .8f), kPaper);
                     for (float y : {7.5f, 9.5f, 11.5f}) c.Fill(Rect(6.5f, y, 11.5f, y + .8f), kBlue);
                   }, 18, 20)});

  // Popup menu images of the editors and lists, one strip per panel with the same indexes: the
  // text panel's add and edit show a document, the picture panel's a picture.
  auto copyPages = [](Canvas& c) {
    c.Fill(RoundRect(1, 1, 10, 11, .8f), kPaperEdge), c.Fill(Rect(2, 2, 9, 10), kPaper);
    c.Fill(RoundRect(6, 5, 15, 15, .8f), kPaperEdge), c.Fill(Rect(7, 6, 14, 14), kPaper);
    for (float y : {8.f, 10.f, 12.f}) c.Fill(Rect(8.5f, y, 12.5f, y + .8f), Rgb(140, 150, 170));
  };
  auto selectAll = [](Canvas& c) {
    for (float y : {4.f, 7.f, 10.f}) c.Fill(Rect(4, y, 12, y + 1.4f), kBlue);
    for (float t = 1; t < 15; t += 2.5f) {
      c.Fill(Rect(t, 1, std::min(t + 1.4f, 15.f), 2), kInk), c.Fill(Rect(t, 14, std::min(t + 1.4f, 15.f), 15), kInk);
      c.Fill(Rect(1, t, 2, std::min(t + 1.4f, 15.f)), kInk), c.Fill(Rect(14, t, 15, std::min(t + 1.4f, 15.f)), kInk);
    }
  };
  // Four lines of text, aligned left (0), centred (1) or right (2).
  auto alignLines = [](Canvas& c, int align) {
    const float widths[] = {12, 8, 12, 6};
    for (int i = 0; i < 4; ++i) {
      const float w = widths[i], x = align == 0 ? 2 : align == 1 ? 8 - w / 2 : 14 - w, y = 2.5f + i * 3.2f;
      c.Fill(Rect(x, y, x + w, y + 1.4f), kInk);
    }
  };
  for (const bool pictures : {false, true}) {
    auto subject = [pictures](Canvas& c) {
      if (pictures)
        PictureFrame(c);
      else
        Document(c);
    };
    const std::vector<std::function<void(Canvas&)>> menu = {
        InsertArrow,                                                   // 0 insert
        [subject](Canvas& c) { subject(c), PlusBadge(c, kGreen); },    // 1 add
        [subject](Canvas& c) { subject(c), Pencil(c, 1, 0); },         // 2 edit
        [](Canvas& c) { Cross(c, kRed, 3); },                          // 3 delete
        [](Canvas& c) { Refresh(c, kBlue); },                          // 4 refresh
        Scissors,                                                      // 5 cut
        copyPages,                                                     // 6 copy
        Clipboard,                                                     // 7 paste
        Undo,                                                          // 8 undo
        Expand,                                                        // 9 edit+
        Magnifier,                                                     // 10 preview
        [](Canvas& c) { Disk(c), Pencil(c, 2, 1); },                   // 11 save as
        selectAll,                                                     // 12 select all
        // The extended editor's formatting buttons take these from the text panel's strip.
        [](Canvas& c) {                                                // 13 underline
          c.Fill(Rect(4, 2, 6, 9), kInk), c.Fill(Rect(10, 2, 12, 9), kInk);
          c.Fill(Arc(8, 9, 2, 4, 180, 360), kInk);
          c.Fill(Rect(3, 14, 13, 15.2f), kBlue);
        },
        [alignLines](Canvas& c) { alignLines(c, 2); },                          // 14 right align
        [alignLines](Canvas& c) { alignLines(c, 0); },                          // 15 left align
        [](Canvas& c) {                                                // 16 italic
          c.Fill(Line(9.5f, 2.5f, 6.5f, 13.5f, 2), kInk);
          c.Fill(Rect(7, 2, 13, 3.2f), kInk), c.Fill(Rect(3, 12.8f, 9, 14), kInk);
        },
        [alignLines](Canvas& c) { alignLines(c, 1); },                          // 17 centre align
        [](Canvas& c) {                                                // 18 bullets
          for (float y : {3.5f, 8.f, 12.5f}) c.Fill(Circle(3, y, 1.4f), kBlue), c.Fill(Rect(6, y - .6f, 14, y + .6f), kInk);
        },
        [](Canvas& c) {                                                // 19 bold
          c.Fill(Rect(4, 2, 7, 14), kInk);
          c.Fill(Arc(8, 5, 1.2f, 3.3f, 270, 90), kInk), c.Fill(Rect(6, 1.7f, 8, 3.7f), kInk), c.Fill(Rect(6, 6.3f, 8, 8.3f), kInk);
          c.Fill(Arc(8.5f, 10.8f, 1.3f, 3.5f, 270, 90), kInk), c.Fill(Rect(6, 12.1f, 8.5f, 14.3f), kInk);
        },
    };
    std::vector<Canvas> cells;
    for (auto& f : menu) cells.push_back(Draw(16, 16, f));
    ok &= WriteStrip(out + (pictures ? "il_icons2.bmp" : "il_icons1.bmp"), cells);
  }

  if (!ok) {
    std::fprintf(stderr, "art-main: could not write into %s\n", out.c_str());
    return 1;
  }
  return 0;
}
