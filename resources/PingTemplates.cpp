// Dialog templates of the ping dialog.
#include "resources/ModuleResources.h"

#include "resources/ResourceIds.h"
#include "resources/TemplateStyles.h"

void AddPingTemplates(platform::ModuleResources& resources)
{
    (void)resources;
}
