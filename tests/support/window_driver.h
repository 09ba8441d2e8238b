// Runs a window of this process as a user meets it: the window on the caller's thread, a body that
// plays the user on a driver thread of its own, and afterwards whatever the body left open closed,
// so that a failing test ends in seconds instead of waiting on a window that never returns.
#pragma once

#include <functional>

namespace testing_win {

// Calls run on this thread while body drives its windows from a driver thread. Once body has
// ended, normally or at a failed ASSERT_*, the windows run's thread still shows are closed until
// run returns: message boxes and dialogs are answered with Cancel, No or OK (or WM_CLOSE when they
// have none of these), the other windows are asked to close. A run that still has not returned
// 30 s after body ended ends the test program with a message.
void DriveWindow(const std::function<void()>& run, const std::function<void()>& body);

}  // namespace testing_win
