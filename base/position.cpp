#include "base/position.h"

#include <chrono>
#include <thread>

thread_local volatile std::uint32_t CurrentPosition = 0;
volatile bool StepsHeld = false;

namespace {
thread_local bool goesOn = false;
}  // namespace

void WaitAtStep() {
  while (!goesOn) std::this_thread::sleep_for(std::chrono::seconds(1));
}

void LetThisThreadStepOn() { goesOn = true; }
