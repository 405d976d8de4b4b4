#include "classlib/streaming/saved_classes.h"

#include "classlib/streaming/registry.h"

void RegisterSavedClasses(TStreamRegistry& registry)
{
    (void)registry;
}
