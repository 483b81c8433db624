// The main window's idle state machine: one step runs at each idle moment of the message loop.
// Deferred commands set the state and return; the step runs them when the loop is quiet.
#pragma once

namespace idle {

enum State : int {
  kHideAndOpenPanel = 1,  // once, after start
  kSteady = 2,
  kRefillText = 3,
  kRefillImages = 4,
  kTakeFrom = 5,
  kDeleteFollowUp = 6,
  kSaveFollowUp = 7,
  kDropFollowUp = 8,
};

// The machine's fields, kept on the main window.
struct MachineState {
  bool SkipFirstIdle = true;
  int PendingAction = kHideAndOpenPanel;
  int AfterRefillAction = 0;
};

// What the states run; the main window implements these.
class Operations {
 public:
  virtual ~Operations() = default;
  virtual void HideAndOpenActivePanel() = 0;  // 1 (opening a panel sets the state to 3 or 4)
  virtual void SteadyStep() = 0;              // 2
  virtual void StartRefill(int state) = 0;    // 3, 4
  virtual void RunTakeFrom() = 0;             // 5
  virtual void RunDeleteFollowUp() = 0;       // 6, may raise
  virtual void RunSaveFollowUp() = 0;         // 7, may raise
  virtual void ReselectAfterDrop() = 0;       // 8
};

// One step of the machine. Exceptions of states 6 and 7 leave the state pending (retried at the
// next idle); other exceptions reach the caller after the state has moved on to 2.
void IdleStep(MachineState& m, Operations& ops);

// The loop's idle notification: the very first one only clears SkipFirstIdle. Returns true when
// the machine has work left (the loop should notify again before waiting for messages).
bool AppEventsIdle(MachineState& m, Operations& ops);

}  // namespace idle
