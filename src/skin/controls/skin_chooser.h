#pragma once
// Choosing the control skinner for each control of a skinned window. On a
// class-library form the skin's Skin3rd list names a skin type per class,
// then a fixed sequence of class tests decides, each gated by a kind of the
// skin's SkinControls, so a skin author decides what is skinned. On a bare
// window (a message box, one of Qt's dialogs) each child window is chosen for
// by its class name and style bits.

#include "platform/messages.h"

#include <QString>

class TControl;
class TCustomForm;
class TSkinControl;
class TSkinData;
class TWinControl;
class TWinSkinForm;

class TSkinChooser {
public:
    TSkinChooser(TWinSkinForm* form, TSkinData* skinData);

    // Every control of the form: first its components in component order,
    // then its windowed controls in tab order.
    void SkinChildControls(TCustomForm* form);
    // The choice for one control.
    void SkinControl(TControl* control);
    // The skin type the Skin3rd list gives className; true when that decided.
    bool SkinControlByType(const QString& className, TControl* control);
    // The child windows of a bare window.
    void SkinChildWindows(HWND window);
    void SkinChildWindowByClass(HWND window);

    // Skinners attached by this chooser.
    int Attached() const { return FAttached; }

private:
    // Runs the class tests; true when one matched.
    bool ClassTests(TControl* control, const QString& upperName);
    void SkinChildren(TControl* control);
    bool Served(const TControl* control) const;
    bool ServedWindow(HWND window) const;
    // Registers and attaches s to control (or to the window for bare ones).
    bool AttachToControl(TSkinControl* s, bool setColor = true);
    bool AttachToWindow(TSkinControl* s, HWND window);
    // A test decided: attaches s when there is one; always true.
    bool Choose(TSkinControl* s);

    TWinSkinForm* FForm;
    TSkinData* FData;
    int FAttached = 0;
};

// The skin type Skin3rd gives a class (the text after "=", at most 50
// characters, lower-cased), empty when no line names it.
QString SkinTypeOf(const TSkinData* skinData, const QString& className);
