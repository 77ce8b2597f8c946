// Where the emulated device's screen appears. By default Qt draws offscreen (tests, the
// headless host); the host's desktop mode asks for a real window before the first window of
// the platform is made.
#pragma once

namespace platform {

// True when the device will be shown on the real display; false when it is too late (the
// platform already chose offscreen drawing).
bool UseRealDisplay();

} // namespace platform
