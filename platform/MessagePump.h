#pragma once

namespace platform {

// A quit or a close of the main window is waiting: busy waits end.
constexpr int PUMP_QUIT = -2;

// Dispatches what the user-interface thread has waiting, blocking at most a
// few milliseconds for something to arrive. 1, or PUMP_QUIT while the
// closing flag is set.
int PumpMessages();

// Pumps until the time has passed: 1, or PUMP_QUIT as soon as the pump says so.
int WaitWithMessages(int seconds, int milliseconds);

// Set by the main window when it starts closing (clear it again when the
// close is refused); stands for the quit or close message waiting in the queue.
void SetClosing(bool closing);
bool IsClosing();

} // namespace platform
