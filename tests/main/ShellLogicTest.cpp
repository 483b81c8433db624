#include "main/IdleMachine.h"
#include "main/Placement.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr placement::Size kScreen{1280, 800};
constexpr placement::Size kWindow{300, 345};

TEST(Placement, NearPoint) {
  struct Case {
    const char* what;
    bool hasTarget;
    RECT target;
    POINT caret;
    POINT expected;
  };
  const POINT centre{(1280 - 300) / 2, (800 - 345) / 2};
  const Case cases[] = {
      {"caret with room right and below", true, {0, 0, 1280, 800}, {100, 120}, {100, 120}},
      {"caret near the right edge of a narrow target opens left of it", true, {500, 100, 760, 600}, {700, 200},
       {400, 200}},
      {"caret near the screen's foot opens above it", true, {0, 0, 1280, 800}, {100, 700}, {100, 355}},
      {"a target beyond the screen's edge bounds by the screen", true, {900, 0, 1900, 800}, {1100, 50}, {800, 50}},
      {"no caret centres over the target", true, {100, 100, 700, 600}, {0, 0}, {250, 177}},
      {"no caret and a target too small near the corner centres on the screen", true, {0, 0, 200, 200}, {0, 0},
       centre},
      {"without a target the caret is ignored", false, {0, 0, 1280, 800}, {100, 120}, centre},
      {"a caret far off the screen centres", true, {0, 0, 1280, 800}, {5000, 100}, centre},
      {"a caret far below the screen centres", true, {0, 0, 1280, 800}, {100, 3000}, centre},
  };
  for (const Case& c : cases) {
    const POINT p = placement::NearPoint(c.hasTarget, c.target, c.caret, kWindow, kScreen);
    EXPECT_EQ(p.x, c.expected.x) << c.what;
    EXPECT_EQ(p.y, c.expected.y) << c.what;
  }
}

TEST(Placement, CentreTruncatesTowardZero) {
  const POINT p = placement::Centre({301, 346}, {1280, 800});
  EXPECT_EQ(p.x, 489);
  EXPECT_EQ(p.y, 227);
  // A window larger than the screen gets a negative corner, truncated toward zero.
  const POINT big = placement::Centre({1283, 803}, {1280, 800});
  EXPECT_EQ(big.x, -1);
  EXPECT_EQ(big.y, -1);
}

TEST(Placement, TrayItemWidthIsAtLeast175AndOtherwise1Point6TimesTheWidestCaption) {
  EXPECT_EQ(placement::TrayItemWidth(0), 175);
  EXPECT_EQ(placement::TrayItemWidth(60), 175);
  EXPECT_EQ(placement::TrayItemWidth(109), 175);  // 174.4
  EXPECT_EQ(placement::TrayItemWidth(110), 176);
  EXPECT_EQ(placement::TrayItemWidth(201), 321);  // 321.6 truncated
}

TEST(Placement, TopLevelAncestorOfNothingIsNothing) { EXPECT_EQ(TopLevelAncestor(nullptr), nullptr); }

// Records what the machine runs; the delete and save follow-ups fail while `failures` lasts.
class Recorder : public idle::Operations {
 public:
  std::vector<std::string> log;
  int failures = 0;
  idle::MachineState* m = nullptr;

  void HideAndOpenActivePanel() override {
    log.push_back("hide+open");
    m->PendingAction = idle::kRefillText;  // as the Text panel's expand handler does
  }
  void SteadyStep() override { log.push_back("steady"); }
  void StartRefill(int state) override {
    log.push_back("refill" + std::to_string(state));
    m->PendingAction = state;  // the collapsed panel's expand handler asks again
  }
  void RunTakeFrom() override { log.push_back("takefrom"); }
  void RunDeleteFollowUp() override { Fallible("delete"); }
  void RunSaveFollowUp() override { Fallible("save"); }
  void ReselectAfterDrop() override {
    log.push_back("reselect");
    throw std::runtime_error("no such row");
  }

 private:
  void Fallible(const char* what) {
    log.push_back(what);
    if (failures > 0) {
      --failures;
      throw std::runtime_error("not yet");
    }
  }
};

struct Machine : ::testing::Test {
  idle::MachineState m;
  Recorder ops;
  Machine() { ops.m = &m; }
};

TEST_F(Machine, StartUpSkipsOneIdleThenHidesOpensTheTextPanelAndRefills) {
  EXPECT_TRUE(idle::AppEventsIdle(m, ops));
  EXPECT_TRUE(ops.log.empty()) << "the first idle only clears the flag";
  EXPECT_FALSE(m.SkipFirstIdle);

  EXPECT_TRUE(idle::AppEventsIdle(m, ops)) << "a refill is pending: run again before waiting";
  EXPECT_EQ(ops.log, (std::vector<std::string>{"hide+open"}));
  EXPECT_EQ(m.PendingAction, idle::kRefillText);

  EXPECT_FALSE(idle::AppEventsIdle(m, ops));
  EXPECT_EQ(ops.log.back(), "refill3");
  EXPECT_EQ(m.PendingAction, idle::kSteady) << "the refill step ends its own request";

  EXPECT_FALSE(idle::AppEventsIdle(m, ops));
  EXPECT_EQ(ops.log.back(), "steady");
  EXPECT_EQ(m.PendingAction, idle::kSteady);
}

TEST_F(Machine, UnknownStatesBehaveAsTheSteadyState) {
  m.SkipFirstIdle = false;
  for (int state : {0, -1, 9, 1000}) {
    m.PendingAction = state;
    idle::IdleStep(m, ops);
    EXPECT_EQ(ops.log.back(), "steady") << state;
    EXPECT_EQ(m.PendingAction, idle::kSteady) << state;
  }
}

TEST_F(Machine, FollowUpsOfDeleteAndSaveStayPendingWhileTheyRaise) {
  m.SkipFirstIdle = false;
  for (int state : {idle::kDeleteFollowUp, idle::kSaveFollowUp}) {
    ops.failures = 2;
    m.PendingAction = state;
    idle::IdleStep(m, ops);
    EXPECT_EQ(m.PendingAction, state);
    idle::IdleStep(m, ops);
    EXPECT_EQ(m.PendingAction, state);
    idle::IdleStep(m, ops);
    EXPECT_EQ(m.PendingAction, idle::kSteady) << "succeeded on the third try";
  }
  EXPECT_EQ(ops.log, (std::vector<std::string>{"delete", "delete", "delete", "save", "save", "save"}));
}

TEST_F(Machine, OtherStatesRunOnceAndRest) {
  m.SkipFirstIdle = false;
  m.PendingAction = idle::kTakeFrom;
  idle::IdleStep(m, ops);
  EXPECT_EQ(m.PendingAction, idle::kSteady);
  m.PendingAction = idle::kDropFollowUp;
  EXPECT_NO_THROW(idle::IdleStep(m, ops)) << "a failed re-selection is ignored";
  EXPECT_EQ(m.PendingAction, idle::kSteady);
  m.PendingAction = idle::kRefillImages;
  idle::IdleStep(m, ops);
  EXPECT_EQ(ops.log, (std::vector<std::string>{"takefrom", "reselect", "refill4"}));
  EXPECT_EQ(m.PendingAction, idle::kSteady);
}

}  // namespace
