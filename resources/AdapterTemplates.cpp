// Dialog templates of the Adapter page and the DHCP dialog.
#include "resources/ModuleResources.h"

#include "resources/ResourceIds.h"
#include "resources/TemplateStyles.h"

void AddAdapterTemplates(platform::ModuleResources& resources)
{
    (void)resources;
}
