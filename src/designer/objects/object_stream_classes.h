#pragma once
// The designer's two saved classes in the component stream: TFImage and
// TCFImage extend the TImage property list with their own properties.

#include "classlib/streaming/registry.h"

// Adds TFImage (then MFFont, Aliasing, Filling) and TCFImage (then MFFont)
// when TImage is registered. Registering again replaces them.
void RegisterObjectStreamClasses(TStreamRegistry& registry = TStreamRegistry::Default());
