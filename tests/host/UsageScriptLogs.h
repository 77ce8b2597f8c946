// The month files the usage scripts read: twenty days of March 2026 and a day of February at the
// default UsageLogPath, every hour of a day with a different amount, more received than sent.
#pragma once

#include "DeviceRunSupport.h"

namespace host_test {

void WriteMonthOfLogs(const DeviceRun& device);

} // namespace host_test
