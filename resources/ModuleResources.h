// The resources the module hands to the platform when it is attached.
#pragma once

#include "platform/ui/Resources.h"

// Icons (both screen sizes), bitmaps, dialog templates and the string table.
platform::ModuleResources BuildModuleResources();

// Each dialog family's templates, added by BuildModuleResources.
void AddAdapterTemplates(platform::ModuleResources& resources);
void AddPingTemplates(platform::ModuleResources& resources);
void AddProfileTemplates(platform::ModuleResources& resources);
void AddRateMonitorTemplates(platform::ModuleResources& resources);
void AddUsageTemplates(platform::ModuleResources& resources);
