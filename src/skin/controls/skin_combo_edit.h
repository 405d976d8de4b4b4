#pragma once
// Combo boxes and edits: the combo box's border and drop button from the
// skin's "ComboButton", "SunkEdge" and "ExtraImages", its list handed to a
// scroll-bar skinner; a flat border around edits and memos and the skinned
// up-down buddy of a spin edit. Both paint over the control's own paint.

#include "skin/controls/skin_control.h"

class TSkinScrollbarH;
class TComboxScrollBar;
class TSkinUpDown;

// The combo box information of the platform: item and button rectangles in
// the combo's client coordinates, the button's state and the three windows.
struct COMBOBOXINFO {
    unsigned cbSize = 52;
    TRect rcItem;
    TRect rcButton;
    unsigned stateButton = 0;
    HWND hwndCombo = nullptr;
    HWND hwndItem = nullptr;
    HWND hwndList = nullptr;
};
bool GetComboBoxInfo(HWND combo, COMBOBOXINFO& info);

class TSkinComBox : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinComBox)
    using TSkinControl::TSkinControl;
    ~TSkinComBox() override;

    void InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor) override;
    void InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form) override;
    void Restore() override;
    void AfterProc(TMessage& m) override;
    void DrawControl(QPainter& dc, const TRect& r) override;
    void Notification(TComponent* component, TOperation operation) override;

    // The "ComboButton" frame (from 1) for the state read at the last paint.
    int ButtonFrame() const;
    // The drop button as last painted (window coordinates), for hover.
    const TRect& ButtonRect() const { return FButtonRect; }
    bool Dropped() const { return FDropped; }
    HWND ListWindow() const { return FListWindow; }
    HWND EditWindow() const { return FEditWindow; }
    TSkinScrollbarH* ListScrollSkinner() const { return FListScroll; }
    TComboxScrollBar* DropDownSkinner() const { return FDropDownScroll; }

private:
    // Mouse tracking for hover, and the list's popup watched for its closing.
    void Prepare();
    void UnhookPopup();
    void DrawFlat(QPainter& dc, const TRect& r, bool left);
    void SubclassEdit();
    void UnsubclassEdit();
    void EditProc(TMessage& m);
    void FreeListSkinners();

    uint32_t FStyle = 0;
    uint32_t FExStyle = 0;
    QPointer<QWidget> FListWindow;
    QPointer<QWidget> FEditWindow;
    bool FDropped = false;
    TWndProc FEditProc;
    TWndProc FOldEditProc;
    TSkinScrollbarH* FListScroll = nullptr;
    TComboxScrollBar* FDropDownScroll = nullptr;
    COMBOBOXINFO FInfo;
    TRect FButtonRect;
    QPointer<QWidget> FPopup;
    TWndProc FPopupProc;
    TWndProc FOldPopupProc;
    bool FSavedTracking = false;
};

class TSkinEdit : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinEdit)
    using TSkinControl::TSkinControl;

    void AfterProc(TMessage& m) override;
    void DrawControl(QPainter& dc, const TRect& r) override;
    // The up-down skinner made for a spin buddy, null until made.
    TSkinUpDown* UpDownSkinner() const { return FUpDown; }

private:
    // The edit has a border: its client lies inside its window in both directions.
    bool HasBorder() const;
    TSkinUpDown* FUpDown = nullptr;
};
