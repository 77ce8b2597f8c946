// The one Qt application object of the process, created when the backend is loaded. Without
// the real display chosen by the host, Qt draws offscreen: tests and the headless host run on
// machines without a display, and nothing appears on a developer's screen by accident.
#pragma once

class QApplication;

namespace platform::qt {

QApplication& EnsureApplication(bool realDisplay);

} // namespace platform::qt
