#include "UsageScriptLogs.h"

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/text/Utf16.h"

namespace host_test {

void WriteMonthOfLogs(const DeviceRun& device)
{
    std::wstring march;
    for (int day = 1; day <= 20; ++day)
        for (int hour = 0; hour < 24; ++hour)
            march += L"2026-3-" + std::to_wstring(day) + L"-" + std::to_wstring(hour) + L" *1* \tne20001 "
                + std::to_wstring((hour + 1) * 20000 + day * 1000) + L" " + std::to_wstring((hour + 3) * 90000 + day * 7000)
                + L" \r\n";
    std::filesystem::path logs = device.DeviceFile("Program Files/Velmora");
    std::filesystem::create_directories(logs);
    std::ofstream(logs / "UsageData202603.txt", std::ios::binary) << EncodeUtf16Le(march);
    std::ofstream(logs / "UsageData202602.txt", std::ios::binary) << EncodeUtf16Le(L"2026-2-14-9 *1* \tne20001 5000 60000 \r\n");
}

} // namespace host_test
