// The resources the module hands to the platform when it is attached.
#pragma once

#include "platform/ui/Resources.h"

// Icons (both screen sizes), bitmaps, dialog templates and the string table.
platform::ModuleResources BuildModuleResources();
