#include "main/IdleMachine.h"

namespace idle {

void IdleStep(MachineState& m, Operations& ops) {
  int state = m.PendingAction;
  if (state < kHideAndOpenPanel || state > kDropFollowUp) state = m.PendingAction = kSteady;
  switch (state) {
    case kHideAndOpenPanel:
      // Opening the panel installs the refill state; without it the machine rests.
      m.PendingAction = kSteady;
      ops.HideAndOpenActivePanel();
      break;
    case kSteady:
      ops.SteadyStep();
      break;
    case kRefillText:
    case kRefillImages:
      // Runs the panel's expand handler when the panel is closed, which asks for this same
      // refill again: the step itself ends the request.
      try {
        ops.StartRefill(state);
      } catch (...) {
        m.PendingAction = kSteady;
        throw;
      }
      m.PendingAction = kSteady;
      break;
    case kTakeFrom:
      m.PendingAction = kSteady;
      ops.RunTakeFrom();
      break;
    case kDeleteFollowUp:
    case kSaveFollowUp:
      m.PendingAction = kSteady;
      try {
        if (state == kDeleteFollowUp)
          ops.RunDeleteFollowUp();
        else
          ops.RunSaveFollowUp();
      } catch (...) {
        // Retried at the next idle until it succeeds or another command changes the state.
        if (m.PendingAction == kSteady) m.PendingAction = state;
      }
      break;
    case kDropFollowUp:
      m.PendingAction = kSteady;
      try {
        ops.ReselectAfterDrop();
      } catch (...) {
      }
      break;
  }
}

bool AppEventsIdle(MachineState& m, Operations& ops) {
  if (m.SkipFirstIdle) {
    m.SkipFirstIdle = false;
    return true;
  }
  IdleStep(m, ops);
  return m.PendingAction != kSteady && m.PendingAction != kDeleteFollowUp && m.PendingAction != kSaveFollowUp;
}

}  // namespace idle
