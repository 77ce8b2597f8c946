// Reads what the headless device printed: one block per tick of the item (the header line and
// the status lines under it), with the taskbar and event lines that came with it.
#pragma once

#include <string>
#include <vector>

namespace host_test {

struct TickBlock {
    std::string time;        // "14:05:10"
    int activity = 0;
    int height = 0;
    std::vector<std::string> paints; // "2,0-18,26"
    std::vector<std::string> lines;  // the status lines
    std::vector<std::string> notes;  // taskbar lines under the block ("taskbar icon at 127,5: idle")
};

struct HostOutput {
    std::vector<TickBlock> ticks;
    // Event lines ("bubble ...", "lines" blocks' contents are in prints), without their time.
    std::vector<std::string> events;
    // The contents of each "print" action.
    std::vector<std::vector<std::string>> prints;
};

HostOutput ParseHostOutput(const std::string& out);

} // namespace host_test
