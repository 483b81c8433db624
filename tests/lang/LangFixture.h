// Language packages built in code, and a recorder for the package's error notices.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lang/Extractor.h"
#include "shared/TextCodec.h"
#include "support/TempFolder.h"
#include "support/ZipWriter.h"

namespace langtest {

inline std::vector<std::wstring>& ShownErrors() {
  static std::vector<std::wstring> shown;
  return shown;
}
inline void RecordError(const std::wstring& text) { ShownErrors().push_back(text); }

inline std::string Utf8(const std::wstring& text) { return qtext::WideToUtf8(text); }
inline std::string Utf8Bom(const std::wstring& text) { return "\xEF\xBB\xBF" + Utf8(text); }

inline std::string JoinLines(const std::vector<std::wstring>& lines) {
  std::wstring all;
  for (const auto& l : lines) all += l + L"\r\n";
  return Utf8Bom(all);
}

// desc.txt naming messages.txt and forms.txt, with English, Russian and German in folders en\, ru\, de\.
inline std::string StandardDesc() {
  return JoinLines({L"[Files]", L"dynamic=messages.txt", L"static=forms.txt", L"[Stuff]", L"English=en\\",
                    L"Russian=ru\\", L"German=de\\", L"[Trans]", L"Übersetzer=Jan"});
}

// A message file of `count` lines: "<tag> <n>".
inline std::string Messages(const std::wstring& tag, int count) {
  std::vector<std::wstring> lines;
  for (int i = 0; i < count; ++i) lines.push_back(tag + L" " + std::to_wstring(i));
  return JoinLines(lines);
}

inline std::vector<testsupport::ZipItem> StandardPackage() {
  return {
      {"desc.txt", StandardDesc()},
      {"en/messages.txt", Messages(L"en", 27)},
      {"en/forms.txt", JoinLines({L"[CurInsWindow]", L"Caption=Quillet"})},
      {"de/messages.txt", Messages(L"de", 27)},
      {"de/forms.txt", JoinLines({L"[CurInsWindow]", L"Caption=Quillet DE", L"[A_VurivuZu]", L"Caption=Einfügen"})},
      {"ru/messages.txt", Messages(L"ru", 27)},
      {"ru/forms.txt", JoinLines({L"[CurInsWindow]", L"Caption=Квиллет"})},
  };
}

class LangTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ShownErrors().clear();
    previous_ = SetErrorBoxHandler(&RecordError);
  }
  void TearDown() override { SetErrorBoxHandler(previous_); }

  std::wstring WritePackage(const std::vector<testsupport::ZipItem>& items) {
    return WriteBytes(testsupport::MakeZip(items));
  }
  std::wstring WriteBytes(const std::string& bytes) {
    const std::wstring path = folder_ / L"lang.pkg";
    testsupport::WriteFileBytes(path, bytes);
    return path;
  }

  testsupport::TempFolder folder_{L"lang"};

 private:
  ErrorBoxHandler previous_ = nullptr;
};

}  // namespace langtest
