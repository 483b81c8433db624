// Process entry of quilletmain: one instance per session, the language object around the
// framework's lifetime, the main window and the extended editor, and the message loop.
#include "editor/ExtendEdit.h"
#include "lang/LangPARAM.h"
#include "main/CurInsWindow.h"
#include "main/Miscutils.h"
#include "shared/Protocol.h"
#include "ui/Application.h"
#include "ui/Handles.h"

#include <commctrl.h>
#include <ole2.h>

#include <exception>
#include <memory>
#include <string>

namespace {

void ShowFatal(const std::exception& e) {
  const std::string what = e.what();
  MessageBoxA(nullptr, what.c_str(), "Quillet", MB_OK | MB_ICONERROR);
}

int RunProgram() {
  auto& app = ui::Application::Instance();
  app.Title = L"Quillet";
  // The framework root owns both windows; destroying it frees them in reverse order.
  ui::Component root(nullptr, L"Application");
  auto* main = root.Make<TCurInsWindow>();
  app.MainForm = main;
  app.OnException = [main](std::exception_ptr e) { main->AppEventsException(e); };
  app.OnIdle = [main](bool& done) { done = !main->AppEventsIdle(); };
  main->FormCreate();
  main->ExtendEdit = root.Make<TF_ExtendEdit>(*main);
  main->FormShow();
  return app.Run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Owned from the start; a second instance sees it already there and leaves at once.
  HANDLE mutex = CreateMutexW(nullptr, TRUE, qbar::kMainMutexName);
  if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) {
    if (mutex) CloseHandle(mutex);
    return 1;
  }
  auto lang = std::make_unique<LangPARAM>(ProgramFolder() + L"lang.pkg");
  SetProcessLang(lang.get());

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  // OLE, not only COM: the rich edits copy and cut through the OLE clipboard and take drops
  // through OLE drag-and-drop.
  const HRESULT ole = OleInitialize(nullptr);

  int code = 0;
  try {
    code = RunProgram();
  } catch (const std::exception& e) {
    ShowFatal(e);
  } catch (...) {
    MessageBoxW(nullptr, L"Unexpected error.", L"Quillet", MB_OK | MB_ICONERROR);
  }

  if (SUCCEEDED(ole)) {
    // A clip the editors copied is still offered by this process; render it now so it stays
    // on the clipboard after we are gone.
    OleFlushClipboard();
    OleUninitialize();
  }
  SetProcessLang(nullptr);
  lang.reset();
  ReleaseMutex(mutex);
  CloseHandle(mutex);
  return code == 0 ? 0 : code;
}
