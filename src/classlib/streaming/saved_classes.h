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

// A control's position or size as a record gives it, held to the range a
// mouse message can carry (16-bit coordinates). Every design lies well within
// it (a metre-long label sheet is under 4,000 pixels at 96 dpi), and nothing
// that adds a position to a size can overflow afterwards.
inline constexpr int MinRecordCoordinate = -32768;
inline constexpr int MaxRecordCoordinate = 32767;
int RecordCoordinate(int64_t value);

// Names of the control enumerations and sets, in the order of their values.
QStringList AlignNames();
QStringList AnchorNames();
QStringList DragKindNames();
QStringList DragModeNames();
QStringList HelpTypeNames();
QStringList AlignmentNames();
QStringList BiDiModeNames();
