// Dialog templates of the usage report page, the export and the usage settings dialogs.
#include "resources/ModuleResources.h"

#include "resources/ResourceIds.h"
#include "resources/TemplateStyles.h"

void AddUsageTemplates(platform::ModuleResources& resources)
{
    (void)resources;
}
