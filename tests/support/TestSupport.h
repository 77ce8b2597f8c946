// Helpers shared by the tests: scratch folders and a virtual clock in local time.
#pragma once

#include <filesystem>
#include <string>

#include "platform/time/Clock.h"

namespace testing_support {

// A file's bytes as they are; empty when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& path);

// A fresh folder under the system's temporary folder, removed with the object.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// Installs a virtual clock for the lifetime of the object and restores the real one after.
class VirtualClockScope {
public:
    explicit VirtualClockScope(int64_t unixSeconds = 1141740309);
    ~VirtualClockScope();
    VirtualClockScope(const VirtualClockScope&) = delete;
    VirtualClockScope& operator=(const VirtualClockScope&) = delete;

    platform::VirtualClock& Clock() { return m_clock; }
    // Sets the clock to a local time given by its fields.
    void SetLocal(int year, int month, int day, int hour, int minute, int second);

private:
    platform::VirtualClock m_clock;
};

// Sets TZ for the lifetime of the object (tests run with TZ=UTC unless they say otherwise).
class TimeZoneScope {
public:
    explicit TimeZoneScope(const char* zone);
    ~TimeZoneScope();

private:
    std::string m_previous;
    bool m_hadPrevious = false;
};

} // namespace testing_support
