// Text bytes from files and blobs: byte-order-mark detection and the system ANSI code page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qtext {

enum class Encoding { Ansi, Utf8, Utf16LE, Utf16BE };

// Detects a byte-order mark (UTF-8, UTF-16 LE or BE); without one the bytes are in the system's
// ANSI code page. `bomSize` receives the length of the mark.
Encoding DetectEncoding(std::string_view bytes, std::size_t* bomSize = nullptr);

// Decodes the whole text. A UTF-16 text of odd length loses its last, incomplete byte; invalid
// UTF-8 becomes U+FFFD rather than failing.
std::wstring DecodeText(std::string_view bytes);

// Splits at CR LF, LF or CR. A final line break does not add an empty line.
std::vector<std::wstring> SplitLines(std::wstring_view text);

inline std::vector<std::wstring> TextToLines(std::string_view bytes) { return SplitLines(DecodeText(bytes)); }

// The system ANSI code page both ways; characters it lacks become its default character.
std::string WideToAnsi(std::wstring_view text);
std::wstring AnsiToWide(std::string_view bytes);

std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view bytes);

// Trims characters up to and including the blank at both ends, as the program's texts expect.
std::wstring Trim(std::wstring_view text);

}  // namespace qtext
