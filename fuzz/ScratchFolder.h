// A folder for a fuzz target that works on real files: made once per process under the
// temporary folder, emptied by the target for each input, removed at exit.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

inline const std::filesystem::path& FuzzScratchFolder()
{
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        // Kept in a plain buffer: the path object is gone by the time exit handlers run.
        static char removeAtExit[4096];
        std::snprintf(removeAtExit, sizeof removeAtExit, "%s", pattern.c_str());
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(removeAtExit, ignored);
        });
        return std::filesystem::path(pattern);
    }();
    return folder;
}

// Removes whatever the last input left in the folder.
inline void EmptyFuzzScratchFolder()
{
    for (const auto& entry : std::filesystem::directory_iterator(FuzzScratchFolder()))
        std::filesystem::remove_all(entry.path());
}
