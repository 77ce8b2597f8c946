#include "support/TestSupport.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>

#include "platform/time/CalendarTime.h"

namespace testing_support {

std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

ScratchFolder::ScratchFolder()
{
    std::random_device random;
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
        m_path = base / ("velmora-test-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
        if (std::filesystem::create_directory(m_path))
            break;
    }
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

VirtualClockScope::VirtualClockScope(int64_t unixSeconds)
    : m_clock(unixSeconds)
{
    platform::InstallClock(&m_clock);
}

VirtualClockScope::~VirtualClockScope()
{
    platform::InstallClock(nullptr);
}

void VirtualClockScope::SetLocal(int year, int month, int day, int hour, int minute, int second)
{
    m_clock.SetUnixSeconds(platform::CalendarTime::FromFields(year, month, day, hour, minute, second).UnixSeconds());
}

TimeZoneScope::TimeZoneScope(const char* zone)
{
    if (const char* previous = std::getenv("TZ")) {
        m_previous = previous;
        m_hadPrevious = true;
    }
    ::setenv("TZ", zone, 1);
    ::tzset();
}

TimeZoneScope::~TimeZoneScope()
{
    if (m_hadPrevious)
        ::setenv("TZ", m_previous.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

} // namespace testing_support

// The font configuration library keeps a few allocations of its own to the end of the process
// (once Qt has asked it for a font); they are not ours to free, so the leak checker of the
// sanitizer runs ignores them. Defined here, in a file every test program links.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
