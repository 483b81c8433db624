// The refill worker: passes run on the user-interface thread, a wake-up is never lost, and a
// stop ends the worker without another pass.
#include "records/RefillWorker.h"

#include <gtest/gtest.h>

#include "records/RefillGrid.h"
#include "support/Desktop.h"
#include "ui/Application.h"

namespace {

using namespace std::chrono_literals;
using testsupport::WaitUntil;

struct Passes {
  int count = 0;
  bool offThread = false;
};

TEST(RefillWorker, RunsOnePassPerWakeUpOnTheUserInterfaceThread) {
  Passes passes;
  TThr worker(
      [&passes] {
        if (!ui::Application::Instance().IsMainThread()) passes.offThread = true;
        ++passes.count;
      },
      [](const std::function<void()>& work) { ui::Application::Instance().Synchronize(work); },
      [](HANDLE thread) { ui::Application::Instance().WaitForThread(thread); });
  EXPECT_FALSE(WaitUntil([&] { return passes.count > 0; }, 200ms)) << "no pass before the first wake-up";
  for (int expected = 1; expected <= 3; ++expected) {
    worker.Wake();
    ASSERT_TRUE(WaitUntil([&] { return passes.count == expected; })) << expected;
  }
  EXPECT_FALSE(WaitUntil([&] { return passes.count > 3; }, 200ms));
  EXPECT_FALSE(passes.offThread);
}

// A wake-up that arrives while a pass runs (before the worker waits again) brings one more pass.
TEST(RefillWorker, AWakeUpDuringAPassIsNotLost) {
  Passes passes;
  TThr* self = nullptr;
  TThr worker(
      [&] {
        ++passes.count;
        if (passes.count == 1) self->Wake();
      },
      [](const std::function<void()>& work) { ui::Application::Instance().Synchronize(work); },
      [](HANDLE thread) { ui::Application::Instance().WaitForThread(thread); });
  self = &worker;
  worker.Wake();
  EXPECT_TRUE(WaitUntil([&] { return passes.count == 2; }));
  EXPECT_FALSE(WaitUntil([&] { return passes.count > 2; }, 200ms));
}

TEST(RefillWorker, StopEndsTheWorkerWithoutAnotherPass) {
  Passes passes;
  {
    TThr worker(
        [&] { ++passes.count; },
        [](const std::function<void()>& work) { ui::Application::Instance().Synchronize(work); },
        [](HANDLE thread) { ui::Application::Instance().WaitForThread(thread); });
    worker.Wake();
    ASSERT_TRUE(WaitUntil([&] { return passes.count == 1; }));
    worker.Stop();  // the worker sleeps in its wait: the stop must reach it and end it
    EXPECT_EQ(worker.StopCount(), 0) << "set back when the worker ended";
    worker.Wake();  // after the end: nothing happens
    worker.Stop();  // twice is harmless
  }
  EXPECT_EQ(passes.count, 1);

  // Stopped before it was ever woken: it ends without a single pass.
  TThr idle(
      [&] { ++passes.count; },
      [](const std::function<void()>& work) { ui::Application::Instance().Synchronize(work); }, nullptr);
  idle.Stop();
  EXPECT_EQ(passes.count, 1);
}

TEST(RefillGrid, ColumnsAndCellsOfThePictureList) {
  const std::pair<int, int> columns[] = {{296, 4}, {120, 1}, {119, 0}, {100, 0}, {25, 0}, {24, -1}, {0, -1}};
  for (const auto& [width, expected] : columns) EXPECT_EQ(refill::GridColumns(width), expected) << width;

  refill::GridWalker wide(4), narrow(refill::GridColumns(100)), tiny(refill::GridColumns(10));
  std::vector<std::pair<int, int>> cells, narrowCells, tinyCells;
  for (int i = 0; i < 6; ++i) {
    cells.emplace_back(wide.X(), wide.Y());
    narrowCells.emplace_back(narrow.X(), narrow.Y());
    tinyCells.emplace_back(tiny.X(), tiny.Y());
    wide.Advance();
    narrow.Advance();
    tiny.Advance();
  }
  EXPECT_EQ(cells, (std::vector<std::pair<int, int>>{{-20, 0}, {28, 0}, {76, 0}, {124, 0}, {172, 0}, {-20, 48}}));
  EXPECT_EQ(narrowCells[1], std::make_pair(-20, 48));
  EXPECT_EQ(tinyCells[5], std::make_pair(-20, 240));
}

}  // namespace
