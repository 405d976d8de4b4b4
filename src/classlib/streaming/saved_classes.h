#pragma once
// The saved classes of the class library in the registry.

class TStreamRegistry;

void RegisterSavedClasses(TStreamRegistry& registry);
