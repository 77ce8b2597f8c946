#include "resources/ModuleVersion.h"

namespace velmora {

const wchar_t* const kBuildDate = L"Jan  1 2006";

} // namespace velmora
