#pragma once
// Drag and drop between controls: a drag starts at once or after the mouse has
// moved a few pixels with the button down; targets accept it in OnDragOver and
// take it in OnDragDrop.

#include "platform/win_types.h"

#include <optional>

class TControl;
class QObject;

class TDragManager {
public:
    // start: the screen point of the press (the pointer's position when not given).
    static void Begin(TControl* source, bool immediate, std::optional<TPoint> start = std::nullopt);
    static void End(bool drop);
    static void Cancel();
    static TControl* Source();
    static bool Active();
    // True once for the source's button release that ended its drag.
    static bool TakeEndingRelease(const TControl* source);
    // A control going away leaves no trace in the drag state.
    static void Forget(const TControl* control);
    // Pixels the mouse must travel before a deferred drag starts.
    static constexpr int Threshold = 5;
};
