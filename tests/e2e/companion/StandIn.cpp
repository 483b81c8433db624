// Plays "quilletmain.exe" for the companion's start-up test: notes that it was started, with its
// command line, in "started.txt" next to itself, and stays until it is ended (at most a minute),
// so that the test can also see it among the running processes.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t path[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  std::wstring folder(path, n);
  folder = folder.substr(0, folder.find_last_of(L"\\/") + 1);
  const std::wstring line = GetCommandLineW();
  const std::string text(line.begin(), line.end());  // the companion passes a plain ASCII name
  HANDLE file = CreateFileW((folder + L"started.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  HANDLE end = CreateEventW(nullptr, TRUE, FALSE, L"QuilletStandInEnd");
  WaitForSingleObject(end, 60000);
  CloseHandle(end);
  return 0;
}
