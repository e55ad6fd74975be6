#pragma once
// What the start button asks of the dispatch timer: while it is armed and no run goes, a press
// disarms it instead of starting a run.
class ArmedTimer {
public:
  virtual ~ArmedTimer() = default;
  // Disarms the timer when it is armed; false when it was not armed.
  virtual bool disarmIfArmed() = 0;
};
