// Installs a fresh simulated modem as the phone backend for one test.
#pragma once

#include "platform/phone/PhoneBackend.h"
#include "platform/phone/sim/SimModem.h"

namespace testing_support {

class SimModemScope {
public:
    SimModemScope() { platform::InstallPhoneBackend(&m_modem); }
    ~SimModemScope() { platform::InstallPhoneBackend(nullptr); }
    SimModemScope(const SimModemScope&) = delete;
    SimModemScope& operator=(const SimModemScope&) = delete;

    platform::SimModem& Modem() { return m_modem; }

private:
    platform::SimModem m_modem;
};

} // namespace testing_support
