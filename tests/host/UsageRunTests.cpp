// Usage logging from the first start: the hour's record in the month file of the device root.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "DeviceRunSupport.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"

using host_test::DeviceRun;
using host_test::ProgramResult;

TEST(UsageRun, TheHoursRecordIsWrittenWhenTheHourHasPassed)
{
    DeviceRun device;
    ProgramResult run = device.Simulate("clock 2006-03-07 14:59:50\n" + DeviceRun::Lan()
            + "rate NE20001 in=1200 out=300\n",
        { "--ticks", "15" });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::filesystem::path month = device.DeviceFile("Program Files/Velmora/UsageData200603.txt");
    ASSERT_TRUE(std::filesystem::exists(month));
    std::ifstream file(month, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    std::string text = WideToUtf8(DecodeUtf16Le(bytes.str()));
    // The first tick (14:59:51) takes the counters' starting point; nine seconds of hour 14
    // follow before the record is due.
    EXPECT_EQ(text, "2006-3-7-14 *1* \tne20001 2700 10800 \r\n");
}
