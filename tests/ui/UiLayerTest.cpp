// The UI layer's own guarantees: idle notifications, exceptions never crossing a window
// procedure, work handed from a worker thread, actions and shortcuts, components by name,
// and the notification popups.
#include "ui/Action.h"
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/NotifyPopup.h"
#include "ui/PopupMenu.h"
#include "ui/Timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace {

ui::Application& App() { return ui::Application::Instance(); }

// Restores the application's events after each test.
class Ui : public ::testing::Test {
 protected:
  void TearDown() override {
    App().OnIdle = nullptr;
    App().OnException = nullptr;
    App().MainForm = nullptr;
  }
};

class Throwing : public ui::Window {
 public:
  Throwing() {
    RegisterWindowClass(L"QuilletTestThrowing");
    CreateOwn(0, L"QuilletTestThrowing", L"", WS_POPUP, 0, 0, 10, 10, nullptr);
  }
  using ui::Window::Handle;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_APP) throw std::runtime_error("from a handler");
    return ui::Window::HandleMessage(msg, wp, lp);
  }
};

TEST_F(Ui, ExceptionsInWindowProceduresReachTheExceptionEventOnly) {
  int seen = 0;
  std::string what;
  App().OnException = [&](std::exception_ptr e) {
    ++seen;
    try {
      std::rethrow_exception(e);
    } catch (const std::exception& x) {
      what = x.what();
    }
  };
  Throwing w;
  EXPECT_EQ(SendMessageW(w.Handle(), WM_APP, 0, 0), 0);
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(what, "from a handler");
  App().OnException = nullptr;
  EXPECT_NO_THROW(SendMessageW(w.Handle(), WM_APP, 0, 0)) << "no handler: discarded";
}

TEST_F(Ui, IdleRunsWhenTheQueueEmptiesAndAgainWhileWorkIsLeft) {
  ui::Component root(nullptr, L"root");
  auto* timer = root.Make<ui::Timer>(L"Tmr", 10);
  std::vector<int> seen;  // number of messages handled before each idle
  int handled = 0, idles = 0;
  timer->OnTimer = [&](ui::Timer& t) {
    ++handled;
    if (handled == 3) t.SetEnabled(false);
  };
  App().OnIdle = [&](bool& done) {
    ++idles;
    seen.push_back(handled);
    // Asks for one extra run right after the start, then waits for messages.
    done = idles != 1;
    if (handled == 3) App().Terminate(7);
  };
  PostMessageW(nullptr, WM_NULL, 0, 0);
  timer->SetEnabled(true);
  EXPECT_EQ(App().Run(), 7);
  ASSERT_GE(seen.size(), 4u);
  EXPECT_EQ(seen[0], 0);
  EXPECT_EQ(seen[1], 0) << "done = false runs idle again without waiting";
  EXPECT_EQ(seen.back(), 3);
  EXPECT_LE(idles, 10) << "idle does not spin while the loop waits";
}

TEST_F(Ui, SynchronizeRunsWorkOnTheUiThreadAndCarriesItsException) {
  const DWORD ui = GetCurrentThreadId();
  struct Shared {
    std::atomic<DWORD> ranOn{0};
    bool rethrown = false;
  } shared;
  HANDLE h = CreateThread(
      nullptr, 0,
      [](void* p) -> DWORD {
        auto* s = static_cast<Shared*>(p);
        App().Synchronize([s] { s->ranOn = GetCurrentThreadId(); });
        try {
          App().Synchronize([] { throw std::runtime_error("refill failed"); });
        } catch (const std::runtime_error&) {
          s->rethrown = true;
        }
        return 0;
      },
      &shared, 0, nullptr);
  ASSERT_NE(h, nullptr);
  App().WaitForThread(h);  // serves the worker's calls while waiting
  CloseHandle(h);
  auto& ranOn = shared.ranOn;
  const bool rethrown = shared.rethrown;
  EXPECT_EQ(ranOn.load(), ui);
  EXPECT_TRUE(rethrown);
}

TEST_F(Ui, ActionsUpdateBeforeTheyExecuteAndDisabledOnesDoNotRun) {
  ui::ActionList list(nullptr, L"ActMan");
  auto* a = list.Make<ui::Action>(L"A_Thing", L"Thing", ui::MakeShortCut('Q', true));
  int runs = 0;
  bool allow = false;
  ui::Component* actedThrough = nullptr;
  a->OnUpdate = [&](ui::Action& s) { s.SetEnabled(allow); };
  a->OnExecute = [&](ui::Action& s) {
    ++runs;
    actedThrough = s.ActionComponent;
  };
  EXPECT_FALSE(a->Execute());
  EXPECT_FALSE(list.ExecuteShortCut(ui::MakeShortCut('Q', true))) << "a disabled action lets its key through";
  allow = true;
  EXPECT_TRUE(list.ExecuteShortCut(ui::MakeShortCut('Q', true)));
  EXPECT_FALSE(list.ExecuteShortCut(ui::MakeShortCut('Q', false)));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(actedThrough, nullptr);

  // A menu item runs its action with itself as the acting component.
  ui::MenuItem item(nullptr, L"MI_Thing", L"", a);
  item.Click();
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(actedThrough, &item);
  EXPECT_EQ(item.Caption(), L"Thing") << "an item without its own caption shows the action's";
  EXPECT_EQ(ui::ShortCutText(a->GetShortCut()), L"Ctrl+Q");
}

TEST_F(Ui, ComponentsAreFoundByNameIgnoringCaseAndTakeTheirTextsByProperty) {
  ui::Component owner(nullptr, L"Owner");
  auto* a = owner.Make<ui::Action>(L"A_ShowHelp", L"Show help");
  auto* popup = owner.Make<ui::NotifyPopup>(L"MW_TrayPopUp");
  EXPECT_EQ(owner.FindComponent(L"a_showhelp"), a);
  EXPECT_EQ(owner.FindComponent(L"A_Missing"), nullptr);
  EXPECT_EQ(owner.FindComponent(L""), nullptr);
  EXPECT_TRUE(a->SetStringProperty(L"caption", L"Hilfe anzeigen"));
  EXPECT_EQ(a->Caption(), L"Hilfe anzeigen");
  EXPECT_TRUE(a->SetStringProperty(L"HINT", L"F1"));
  EXPECT_EQ(a->GetStringProperty(L"Hint"), L"F1");
  EXPECT_FALSE(a->SetStringProperty(L"URL", L"x")) << "actions have no address";
  EXPECT_TRUE(popup->SetStringProperty(L"url", L"https://example.invalid/quillet"));
  EXPECT_EQ(popup->URL, L"https://example.invalid/quillet");
  EXPECT_FALSE(popup->SetStringProperty(L"Caption", L"x"));
}

TEST_F(Ui, NotificationPopupsCascadeAndCloseTogether) {
  ui::Component owner(nullptr, L"Owner");
  auto* popup = owner.Make<ui::NotifyPopup>(L"MW_TrayPopUp");
  popup->AllowScroll = false;  // appear in place
  popup->ShowPopup(L"Version", L"3.1.0 is available");
  popup->ShowPopup(L"Version", L"3.2.0 is available");
  EXPECT_EQ(popup->OpenCount(), 2);
  HWND first = FindWindowW(L"QuilletNotifyPopup", nullptr);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(GetWindowLongPtrW(first, GWL_EXSTYLE) & WS_EX_TOPMOST);
  popup->ClosePopups();
  EXPECT_EQ(popup->OpenCount(), 0);
  EXPECT_EQ(FindWindowW(L"QuilletNotifyPopup", nullptr), nullptr);
}

}  // namespace
