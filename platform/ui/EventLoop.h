// The host's main loop on the real-time driver: dispatches messages on Qt's event loop until
// WM_QUIT, and returns its exit code (-1 when no message can arrive any more).
#pragma once

namespace platform {

int RunEventLoop();

} // namespace platform
