#pragma once
// Attaching the skinners of this folder to the controls of a skinned window,
// until the full choice of a skinner per control joins: the class tests and
// the skin types for push, glyph, speed and menu buttons, tab and page
// controls and their sheets, group boxes, panels, status bars, progress and
// track bars and up-down buttons; and the child windows of a bare dialog.

class QWidget;
class TCustomForm;
class TSkinData;
class TWinSkinForm;

// Every control among the form's components (in component order) that one of
// these skinners serves gets it, unless its Tag is the skin's DisableTag or it
// is already skinned. Returns the number of skinners attached.
int SkinControlsOf(TWinSkinForm* skinForm, TCustomForm* form, TSkinData* skinData);
// The child windows of a bare window (a system dialog) by class name and style.
int SkinChildWindowsOf(TWinSkinForm* skinForm, QWidget* window, TSkinData* skinData);
