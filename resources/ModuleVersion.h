// The plug-in's version and build date as the About page and the diagnostic report show them.
#pragma once

namespace velmora {

constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 9;
// The build date in the platform compiler's __DATE__ form (two spaces before a one-digit day).
extern const wchar_t* const kBuildDate;

} // namespace velmora
