#pragma once
// Drag and drop between controls: a drag starts at once or after the mouse has
// moved a few pixels with the button down; targets accept it in OnDragOver and
// take it in OnDragDrop.

class TControl;
class QObject;

class TDragManager {
public:
    static void Begin(TControl* source, bool immediate);
    static void End(bool drop);
    static void Cancel();
    static TControl* Source();
    static bool Active();
    // Pixels the mouse must travel before a deferred drag starts.
    static constexpr int Threshold = 5;
};
