// Dialog templates of the data rate monitor.
#include "resources/ModuleResources.h"

#include "resources/ResourceIds.h"
#include "resources/TemplateStyles.h"

void AddRateMonitorTemplates(platform::ModuleResources& resources)
{
    (void)resources;
}
