#include "shared/TextCodec.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace qtext {

namespace {

std::wstring Convert(UINT codePage, DWORD flags, std::string_view bytes) {
  std::wstring out;
  if (bytes.empty()) return out;
  // MultiByteToWideChar takes an int length: convert very large inputs in slices.
  constexpr std::size_t kSlice = 1u << 28;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t len = std::min(kSlice, bytes.size() - pos);
    // Never cut a UTF-8 sequence in two.
    if (codePage == CP_UTF8 && pos + len < bytes.size())
      while (len > 0 && (static_cast<unsigned char>(bytes[pos + len]) & 0xC0) == 0x80) --len;
    const int n = MultiByteToWideChar(codePage, flags, bytes.data() + pos, static_cast<int>(len), nullptr, 0);
    if (n > 0) {
      const std::size_t at = out.size();
      out.resize(at + static_cast<std::size_t>(n));
      MultiByteToWideChar(codePage, flags, bytes.data() + pos, static_cast<int>(len), out.data() + at, n);
    }
    pos += len;
  }
  return out;
}

std::string ConvertBack(UINT codePage, std::wstring_view text) {
  std::string out;
  if (text.empty() || text.size() > INT_MAX / 4) return out;
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return out;
  out.resize(static_cast<std::size_t>(n));
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

Encoding DetectEncoding(std::string_view b, std::size_t* bomSize) {
  auto at = [&](std::size_t i) { return static_cast<unsigned char>(b[i]); };
  std::size_t size = 0;
  Encoding e = Encoding::Ansi;
  if (b.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) {
    e = Encoding::Utf8;
    size = 3;
  } else if (b.size() >= 2 && at(0) == 0xFF && at(1) == 0xFE) {
    e = Encoding::Utf16LE;
    size = 2;
  } else if (b.size() >= 2 && at(0) == 0xFE && at(1) == 0xFF) {
    e = Encoding::Utf16BE;
    size = 2;
  }
  if (bomSize) *bomSize = size;
  return e;
}

std::wstring DecodeText(std::string_view bytes) {
  std::size_t bom = 0;
  const Encoding e = DetectEncoding(bytes, &bom);
  bytes.remove_prefix(bom);
  switch (e) {
    case Encoding::Utf8:
      return Convert(CP_UTF8, 0, bytes);
    case Encoding::Utf16LE:
    case Encoding::Utf16BE: {
      std::wstring out(bytes.size() / 2, L'\0');
      for (std::size_t i = 0; i < out.size(); ++i) {
        const auto a = static_cast<unsigned char>(bytes[2 * i]);
        const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
        out[i] = static_cast<wchar_t>(e == Encoding::Utf16LE ? (a | (b << 8)) : ((a << 8) | b));
      }
      return out;
    }
    case Encoding::Ansi:
      break;
  }
  return Convert(CP_ACP, 0, bytes);
}

std::vector<std::wstring> SplitLines(std::wstring_view text) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c != L'\r' && c != L'\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string WideToAnsi(std::wstring_view text) { return ConvertBack(CP_ACP, text); }
std::wstring AnsiToWide(std::string_view bytes) { return Convert(CP_ACP, 0, bytes); }
std::string WideToUtf8(std::wstring_view text) { return ConvertBack(CP_UTF8, text); }
std::wstring Utf8ToWide(std::string_view bytes) { return Convert(CP_UTF8, 0, bytes); }

std::wstring Trim(std::wstring_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && text[b] <= L' ') ++b;
  while (e > b && text[e - 1] <= L' ') --e;
  return std::wstring(text.substr(b, e - b));
}

}  // namespace qtext
