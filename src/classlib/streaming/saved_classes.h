#pragma once
// The saved classes of the class library in the registry: TLabel, TShape,
// TCheckBox and TImage, each with its published properties in the fixed order
// of its records. The designer registers TFImage and TCFImage itself by
// extending the TImage list:
//
//   auto b = ExtendStreamClass<TFImage>("TImage", "TFImage", [] { return std::make_unique<TFImage>(nullptr); });
//   AddFontProperties(b, "MFFont", [](TFImage& o) -> TFont& { return *o.MFFont(); }, [](TFImage&) { return true; });
//   b.Boolean("Aliasing", ...).Default(0);
//   TStreamRegistry::Default().Register(b.Build());

#include "classlib/streaming/registry.h"

void RegisterSavedClasses(TStreamRegistry& registry);

// Names of the control enumerations and sets, in the order of their values.
QStringList AlignNames();
QStringList AnchorNames();
QStringList DragKindNames();
QStringList DragModeNames();
QStringList HelpTypeNames();
QStringList AlignmentNames();
QStringList BiDiModeNames();
