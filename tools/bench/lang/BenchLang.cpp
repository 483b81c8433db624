// Loads a language package of 5 languages x (27 messages + 300 form-text lines) and reports the
// time against reading the same file's bytes, measured in the same run. Goal: well under 50 ms.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "lang/LangPARAM.h"
#include "shared/TextCodec.h"
#include "support/ZipWriter.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string Utf8Lines(const std::vector<std::wstring>& lines) {
  std::wstring all;
  for (const auto& l : lines) all += l + L"\r\n";
  return "\xEF\xBB\xBF" + qtext::WideToUtf8(all);
}

std::string BuildPackage(const std::vector<std::wstring>& names) {
  std::vector<std::wstring> desc = {L"[Files]", L"dynamic=messages.txt", L"static=forms.txt", L"[Stuff]"};
  for (const auto& n : names) desc.push_back(n + L"=" + n.substr(0, 2) + L"\\");
  desc.push_back(L"[Trans]");
  std::vector<testsupport::ZipItem> items = {{"desc.txt", Utf8Lines(desc)}};
  for (const auto& n : names) {
    std::vector<std::wstring> messages, forms;
    for (int i = 0; i < 27; ++i) messages.push_back(n + L" message number " + std::to_wstring(i) + L" – Übersetzung");
    // 300 lines: one header and two property lines per component.
    for (int c = 0; c < 100; ++c) {
      forms.push_back(L"[A_Component" + std::to_wstring(c) + L"]");
      forms.push_back(L"Caption=" + n + L" caption " + std::to_wstring(c));
      forms.push_back(L"Hint=" + n + L" hint text of component " + std::to_wstring(c));
    }
    const std::string prefix = qtext::WideToUtf8(n.substr(0, 2)) + "/";
    items.push_back({prefix + "messages.txt", Utf8Lines(messages)});
    items.push_back({prefix + "forms.txt", Utf8Lines(forms)});
  }
  return testsupport::MakeZip(items);
}

double Millis(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

template <class F>
double MedianMillis(int rounds, F&& f) {
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const auto t0 = Clock::now();
    f();
    times.push_back(Millis(Clock::now() - t0));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int wmain() {
  const std::vector<std::wstring> names = {L"English", L"Russian", L"German", L"French", L"Spanish"};
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + L"quillet_bench_lang.pkg";
  const std::string bytes = BuildPackage(names);
  {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
  }
  SetErrorBoxHandler([](const std::wstring&) {});

  constexpr int kRounds = 50;
  bool ok = true;
  const double raw = MedianMillis(kRounds, [&] {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string buf(bytes.size(), '\0');
    DWORD got = 0;
    ReadFile(f, buf.data(), static_cast<DWORD>(buf.size()), &got, nullptr);
    CloseHandle(f);
    ok = ok && got == bytes.size();
  });
  const double one = MedianMillis(kRounds, [&] {
    LangPARAM lang(path);
    ok = ok && lang.PackageLoaded && lang.SelectLanguage(L"German") && lang.MessageText(26).rfind(L"German", 0) == 0;
  });
  const double all = MedianMillis(kRounds, [&] {
    LangPARAM lang(path);
    for (const auto& n : names) ok = ok && lang.SelectLanguage(n) && lang.StaticList.Count() == 300;
  });
  DeleteFileW(path.c_str());

  std::printf("bench_lang: package of 5 languages x (27 messages + 300 form-text lines), %zu bytes, median of %d\n",
              bytes.size(), kRounds);
  std::printf("  baseline: read the file's bytes           %8.3f ms\n", raw);
  std::printf("  open package + select one language        %8.3f ms  (%.1fx baseline)\n", one, one / raw);
  std::printf("  open package + select all 5 in turn       %8.3f ms  (%.1fx baseline)  goal < 50 ms: %s\n", all,
              all / raw, all < 50.0 ? "met" : "MISSED");
  if (!ok) std::printf("  ERROR: the package did not load as built\n");
  return ok && all < 50.0 ? 0 : 1;
}
