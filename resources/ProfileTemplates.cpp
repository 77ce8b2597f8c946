// Dialog templates of the Profiles page and the profile editor.
#include "resources/ModuleResources.h"

#include "resources/ResourceIds.h"
#include "resources/TemplateStyles.h"

void AddProfileTemplates(platform::ModuleResources& resources)
{
    (void)resources;
}
