// Device paths come from stored settings and from what the user types: parsing must never
// fail unsafely, and a parsed path must read back as itself.
#include <cstdint>
#include <cstdlib>

#include "platform/files/DevicePath.h"
#include "platform/files/NamePattern.h"
#include "platform/text/Utf16.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::wstring text = DecodeUtf16Le(data, size);

    platform::DevicePath path;
    if (platform::DevicePath::Parse(text, path) == ERROR_SUCCESS) {
        platform::DevicePath again;
        if (platform::DevicePath::Parse(path.ToString(), again) != ERROR_SUCCESS || !(again == path))
            std::abort();
        for (const std::wstring& name : path.Names())
            if (!platform::IsValidEntryName(name))
                std::abort();
    }

    platform::DevicePath folder;
    std::wstring pattern;
    if (platform::DevicePath::ParseSearch(text, folder, pattern) == ERROR_SUCCESS) {
        // A pattern without wildcards matches the name it spells, in any case.
        if (!pattern.empty() && pattern.find_first_of(L"*?") == std::wstring::npos
            && !platform::MatchesNamePattern(pattern, pattern))
            std::abort();
    }
    size_t cut = text.size() / 2;
    (void)platform::MatchesNamePattern(text.substr(0, cut), text.substr(cut));
    return 0;
}
