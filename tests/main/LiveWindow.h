// The real main window inside the test process, made as program entry makes it, and the idle
// loop run until the window rests.
#pragma once

#include "main/CurInsWindow.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "editor/ExtendEdit.h"
#include "support/Desktop.h"
#include "ui/Application.h"

class LiveWindow : public ::testing::Test {
 protected:
  // Creates the window; its stores live in `folder` (none given: the program's default).
  void OpenWindow(const std::wstring& folder = {}) {
    root_ = std::make_unique<ui::Component>(nullptr, L"Application");
    w = root_->Make<TCurInsWindow>();
    w->FormCreate();
    w->ExtendEdit = root_->Make<TF_ExtendEdit>(*w);
    w->UserDBFolder = folder;
  }
  void TearDown() override { root_.reset(); }

  // Runs the loop's idle steps until the machine rests: the refill pass has run (the worker hands
  // it over asynchronously) and the second phases are done.
  void Settle() {
    ASSERT_TRUE(testsupport::WaitUntil([&] {
      ui::Application::Instance().ProcessMessages();
      w->AppEventsIdle();
      return w->PendingAction == idle::kSteady && w->AfterRefillAction == 0 && !w->ActiveList->NeedUpdate;
    }));
  }

  std::unique_ptr<ui::Component> root_;
  TCurInsWindow* w = nullptr;
};
