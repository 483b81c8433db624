// Build-time generator of the demo stores that a first run copies into the storage folder:
// "text_en.qdb", "text_ru.qdb" and "img.qdb". It runs on the build machine and writes the files
// through SQLite exactly as the program's stores do (UTF-16 connection, the same table
// definitions, statements and bindings, one insert per record), so that the files are the ones
// the program itself would write for these records. The pictures are drawn here in code.
//
//   make_demo_stores <output folder>
#include <sqlite3.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "make_demo_stores: %s\n", what.c_str());
  std::exit(1);
}

// UTF-8 source text to UTF-16 (the texts below are all in the Basic Multilingual Plane).
std::u16string Utf16(const std::string& s) {
  std::u16string out;
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    std::uint32_t cp;
    int len;
    if (c < 0x80) { cp = c; len = 1; }
    else if ((c >> 5) == 6) { cp = c & 0x1F; len = 2; }
    else { cp = c & 0x0F; len = 3; }
    for (int k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out.push_back(static_cast<char16_t>(cp));
    i += len;
  }
  return out;
}

// A small rich-text document: lines become paragraphs, **...** is bold, everything outside ASCII
// is written as a Unicode escape so the file is plain 7-bit RTF.
std::string Rtf(const std::string& utf8, bool russian) {
  std::string out = russian ? "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fnil\\fcharset204 Tahoma;}}\r\n"
                            : "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}}\r\n";
  out += "\\viewkind4\\uc1\\pard\\f0\\fs17 ";
  const std::u16string text = Utf16(utf8);
  bool bold = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'*' && i + 1 < text.size() && text[i + 1] == u'*') {
      bold = !bold;
      out += bold ? "\\b " : "\\b0 ";
      ++i;
    } else if (c == u'\n') {
      out += "\\par\r\n";
    } else if (c == u'\\' || c == u'{' || c == u'}') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += "\\u" + std::to_string(static_cast<std::int16_t>(c)) + "?";
    }
  }
  out += "\\par\r\n}\r\n";
  return out;
}

// ---- pictures, drawn from a colour function over the unit square

struct Rgb { double r, g, b; };
using Scene = Rgb (*)(double x, double y);

Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
double Clamp01(double v) { return v < 0 ? 0 : v > 1 ? 1 : v; }

Rgb Sunset(double x, double y) {
  const double horizon = 0.62;
  const double sunX = 0.5, sunY = 0.55, sunR = 0.13;
  if (y < horizon) {
    Rgb sky = Mix({0.16, 0.20, 0.48}, {0.98, 0.55, 0.30}, Clamp01(y / horizon));
    const double d = std::hypot((x - sunX) * 1.333, y - sunY);
    if (d < sunR) return {1.0, 0.86, 0.45};
    return Mix(sky, {1.0, 0.75, 0.40}, Clamp01(0.35 - (d - sunR) * 1.2));
  }
  const double depth = (y - horizon) / (1 - horizon);
  Rgb sea = Mix({0.20, 0.30, 0.55}, {0.06, 0.12, 0.30}, depth);
  // The sun's reflection: broken stripes under the sun.
  const double band = std::fabs(x - sunX) < 0.10 * (1 - depth * 0.5) ? 1.0 : 0.0;
  const double ripple = std::sin(y * 90.0) > 0.2 ? 1.0 : 0.0;
  return Mix(sea, {1.0, 0.78, 0.45}, 0.7 * band * ripple);
}

Rgb ColourWheel(double x, double y) {
  const double dx = x - 0.5, dy = y - 0.5, r = std::hypot(dx, dy);
  if (r > 0.46) return {1, 1, 1};
  const double hue = (std::atan2(dy, dx) / (2 * M_PI) + 0.5) * 6.0;
  const int sector = static_cast<int>(hue) % 6;
  const double f = hue - std::floor(hue);
  Rgb c;
  switch (sector) {
    case 0: c = {1, f, 0}; break;
    case 1: c = {1 - f, 1, 0}; break;
    case 2: c = {0, 1, f}; break;
    case 3: c = {0, 1 - f, 1}; break;
    case 4: c = {f, 0, 1}; break;
    default: c = {1, 0, 1 - f}; break;
  }
  return Mix({1, 1, 1}, c, Clamp01(r / 0.46));
}

Rgb Meadow(double x, double y) {
  const double hill = 0.60 + 0.08 * std::sin(x * 6.0 + 0.5);
  if (y > hill) {
    const Rgb grass = Mix({0.45, 0.75, 0.30}, {0.20, 0.50, 0.18}, Clamp01((y - hill) / 0.4));
    // A few flowers.
    const double fx = std::fmod(x * 13.0 + std::floor(y * 9.0) * 0.37, 1.0), fy = std::fmod(y * 9.0, 1.0);
    if (std::hypot(fx - 0.5, fy - 0.5) < 0.12 && y > hill + 0.06) return {0.98, 0.92, 0.35};
    return grass;
  }
  const double cloud = std::hypot((x - 0.28) * 1.6, y - 0.22) < 0.10 || std::hypot((x - 0.38) * 1.6, y - 0.20) < 0.12
                           ? 1.0
                           : 0.0;
  return Mix(Mix({0.45, 0.70, 0.95}, {0.80, 0.90, 1.0}, Clamp01(y / hill)), {1, 1, 1}, cloud);
}

// A 24-bit bottom-up BMP file image, exactly as the program's bitmap saves itself.
Bytes Bmp(Scene scene, int width, int height) {
  const int stride = ((width * 24 + 31) / 32) * 4;
  const std::uint32_t pixelBytes = static_cast<std::uint32_t>(stride) * height;
  Bytes out(54 + pixelBytes, 0);
  auto u32 = [&](std::size_t at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) out[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
  };
  out[0] = 'B';
  out[1] = 'M';
  u32(2, 54 + pixelBytes);
  u32(10, 54);
  u32(14, 40);
  u32(18, static_cast<std::uint32_t>(width));
  u32(22, static_cast<std::uint32_t>(height));
  out[26] = 1;
  out[28] = 24;
  u32(34, pixelBytes);
  const int ss = 4;  // supersampling per axis, so small pictures stay smooth
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = out.data() + 54 + static_cast<std::size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      Rgb sum{0, 0, 0};
      for (int sy = 0; sy < ss; ++sy)
        for (int sx = 0; sx < ss; ++sx) {
          const Rgb c = scene((x + (sx + 0.5) / ss) / width, (y + (sy + 0.5) / ss) / height);
          sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
        }
      const double n = ss * ss;
      row[x * 3 + 0] = static_cast<std::uint8_t>(std::lround(Clamp01(sum.b / n) * 255));
      row[x * 3 + 1] = static_cast<std::uint8_t>(std::lround(Clamp01(sum.g / n) * 255));
      row[x * 3 + 2] = static_cast<std::uint8_t>(std::lround(Clamp01(sum.r / n) * 255));
    }
  }
  return out;
}

// ---- writing through SQLite as the stores do

class Store {
 public:
  Store(const std::filesystem::path& file, const char16_t* tableDefinition) {
    std::filesystem::remove(file);
    const std::u16string name = Utf16(file.string());
    if (sqlite3_open16(name.c_str(), &db_) != SQLITE_OK) Fail("cannot create " + file.string());
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare16(db_, tableDefinition, -1, &st, nullptr) != SQLITE_OK) Fail("cannot create the table");
    while (sqlite3_step(st) == SQLITE_ROW) {
    }
    sqlite3_finalize(st);
  }
  ~Store() { sqlite3_close(db_); }

  // One INSERT with its parameters bound as the program binds them: blobs (an empty one as NULL)
  // and UTF-16 texts.
  struct Param {
    bool isText;
    Bytes blob;
    std::u16string text;
  };
  void Insert(const char16_t* sql, const std::vector<Param>& params) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare16_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK) Fail("cannot prepare an insert");
    int i = 1;
    for (const Param& p : params) {
      const int rc = p.isText ? sqlite3_bind_text16(st, i, p.text.c_str(), -1, SQLITE_TRANSIENT)
                              : sqlite3_bind_blob(st, i, p.blob.empty() ? nullptr : p.blob.data(),
                                                  static_cast<int>(p.blob.size()), SQLITE_TRANSIENT);
      if (rc != SQLITE_OK) Fail("cannot bind");
      ++i;
    }
    if (sqlite3_step(st) != SQLITE_DONE) Fail("cannot insert");
    if (sqlite3_finalize(st) != SQLITE_OK) Fail("cannot finalize");
  }

 private:
  sqlite3* db_ = nullptr;
};

Store::Param Blob(const std::string& s) { return {false, Bytes(s.begin(), s.end()), {}}; }
Store::Param Blob(Bytes b) { return {false, std::move(b), {}}; }
Store::Param Text(const std::u16string& s) { return {true, {}, s}; }

const char16_t* kTextTable = u"CREATE TABLE IF NOT EXISTS text(id INTEGER PRIMARY KEY AUTOINCREMENT,text BLOB, catg TEXT)";
const char16_t* kImgTable =
    u"CREATE TABLE IF NOT EXISTS img(id INTEGER PRIMARY KEY AUTOINCREMENT,text BLOB, size TEXT, catg TEXT, "
    u"small BLOB, big BLOB)";

// Oldest first: the list shows the last one at the top.
const char* kEnglishClips[] = {
    "Best regards,\n[Your name]",
    "Thank you for your message. I will get back to you within one working day.",
    "**Meeting notes**\nDate:\nAttendees:\nDecisions:\nNext steps:",
    "**Tips**\nCtrl+Alt+U copies the selection of the window in front into a new clip.\n"
    "Ctrl+Alt+J opens your clips next to the caret.\n"
    "Ctrl+Alt+S keeps a screenshot of the window in front.\n"
    "The two small buttons in a window's title bar do the same with the mouse.",
    "**Welcome to Quillet!** Select a clip and press Enter to paste it into the window you came from.",
};

const char* kRussianClips[] = {
    "С уважением,\n[Ваше имя]",
    "Спасибо за ваше письмо. Я отвечу вам в течение одного рабочего дня.",
    "**Протокол встречи**\nДата:\nУчастники:\nРешения:\nДальнейшие шаги:",
    "**Советы**\nCtrl+Alt+U копирует выделенный текст активного окна в новую запись.\n"
    "Ctrl+Alt+J открывает ваши записи рядом с курсором.\n"
    "Ctrl+Alt+S сохраняет снимок активного окна.\n"
    "Две маленькие кнопки в заголовке окна делают то же самое мышью.",
    "**Добро пожаловать в Quillet!** Выберите запись и нажмите Enter, чтобы вставить её в окно, из которого вы пришли.",
};

struct Picture {
  Scene scene;
  int width, height;
  const char* comment;  // ASCII: the store keeps comments in the ANSI code page
};

const Picture kPictures[] = {
    {ColourWheel, 160, 160, ""},
    {Meadow, 200, 150, "Spring meadow"},
    {Sunset, 240, 180, "Sunset over the sea"},
};

void WriteTextStore(const std::filesystem::path& file, const char* const* clips, std::size_t count, bool russian) {
  Store store(file, kTextTable);
  for (std::size_t i = 0; i < count; ++i)
    store.Insert(u"INSERT INTO text(text, catg) VALUES(?,?)", {Blob(Rtf(clips[i], russian)), Text(u"")});
}

void WritePictureStore(const std::filesystem::path& file) {
  Store store(file, kImgTable);
  for (const Picture& p : kPictures) {
    const std::string comment = p.comment;
    const std::u16string size = Utf16(std::to_string(p.width) + "x" + std::to_string(p.height) + "\n" + comment);
    store.Insert(u"INSERT INTO img(text, size, catg, small, big) VALUES(?,?,?,?,?)",
                 {Blob(comment), Text(size), Text(u""), Blob(Bmp(p.scene, 48, 48)), Blob(Bmp(p.scene, p.width, p.height))});
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) Fail("usage: make_demo_stores <output folder>");
  const std::filesystem::path out = argv[1];
  std::filesystem::create_directories(out);
  WriteTextStore(out / "text_en.qdb", kEnglishClips, std::size(kEnglishClips), false);
  WriteTextStore(out / "text_ru.qdb", kRussianClips, std::size(kRussianClips), true);
  WritePictureStore(out / "img.qdb");
  return 0;
}
