#pragma once
// Standard controls: labels, buttons, check boxes, radio buttons, edits,
// memos, combo boxes and group boxes.

#include "classlib/controls/control.h"
#include "classlib/strings.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class TLabel : public TGraphicControl {
public:
    TV_CLASS_NAME(TLabel)
    explicit TLabel(TComponent* owner);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    bool TransparentSet() const { return FTransparentSet; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout l);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool v);
    // Text shown as it stands, "&" included, whatever ShowAccelChar says: for
    // labels whose caption is the user's own text. Never stored.
    bool PlainText() const { return FPlainText; }
    void SetPlainText(bool v);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* c) { FFocusControl = c; }
    // Sizes the label to its text (what AutoSize does on every change).
    void AdjustBounds();

protected:
    void Paint() override;
    void TextChanged() override;
    void FontChanged() override;
    unsigned TextFlags() const;
    bool AccelChars() const;

private:
    bool FAutoSize = true;
    bool FTransparent = false;
    bool FTransparentSet = false;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    bool FPlainText = false;
    TWinControl* FFocusControl = nullptr;
};

class TButton : public TWinControl {
public:
    TV_CLASS_NAME(TButton)
    explicit TButton(TComponent* owner);
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int r) { FModalResult = r; }
    bool Default() const { return FDefault; }
    void SetDefault(bool v);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool v) { FCancel = v; }
    void Click() override;
    QPushButton* Button();

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void TextChanged() override;

private:
    int FModalResult = 0;
    bool FDefault = false;
    bool FCancel = false;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TWinControl {
public:
    TV_CLASS_NAME(TCheckBox)
    explicit TCheckBox(TComponent* owner);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState s);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool v) { FAllowGrayed = v; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a) { FAlignment = a; }
    bool WordWrap() const { return false; }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void TextChanged() override;

private:
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = taRightJustify;
    bool FSyncing = false;
};

class TRadioButton : public TWinControl {
public:
    TV_CLASS_NAME(TRadioButton)
    explicit TRadioButton(TComponent* owner);
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void TextChanged() override;

private:
    bool FChecked = false;
    bool FSyncing = false;
};

enum TBorderStyle { bsNoneBorder, bsSingleBorder };

class TEdit : public TWinControl {
public:
    TV_CLASS_NAME(TEdit)
    explicit TEdit(TComponent* owner);
    QString Caption() const override;
    void SetCaption(const QString& text) override;
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int n);
    void SelectAll();
    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget(QWidget* parent) override;

private:
    bool FReadOnly = false;
    int FMaxLength = 0;
    bool FSyncing = false;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TWinControl {
public:
    TV_CLASS_NAME(TMemo)
    explicit TMemo(TComponent* owner);
    ~TMemo() override;
    TStrings* Lines() { return &FLines; }
    QString Caption() const override;
    void SetCaption(const QString& text) override;
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle s);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle s);
    QPlainTextEdit* Editor();
    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void InitWidget() override;
    // Called for every change of the text, by the user or by code.
    virtual void Change();
    void ApplyAlignment();

    TStringList FLines;
    bool FReadOnly = false;
    bool FWordWrap = true;
    TScrollStyle FScrollBars = ssNone;
    TAlignment FAlignment = taLeftJustify;
    TBorderStyle FBorderStyle = bsSingleBorder;
    bool FSyncing = false;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TComboBox : public TWinControl {
public:
    TV_CLASS_NAME(TComboBox)
    explicit TComboBox(TComponent* owner);
    ~TComboBox() override;
    TStrings* Items() { return &FItems; }
    int ItemIndex() const;
    void SetItemIndex(int index);
    QString Caption() const override;
    void SetCaption(const QString& text) override;
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle s);
    bool DroppedDown() const;
    void SetDroppedDown(bool v);
    bool Sorted() const { return FItems.Sorted(); }
    void SetSorted(bool v) { FItems.SetSorted(v); }
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int n);
    QComboBox* Combo();
    // Fired when the user picks an entry or types (not when code sets the index).
    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void SyncItems();

    TStringList FItems;
    TComboBoxStyle FStyle = csDropDown;
    int FDropDownCount = 8;
    int FItemIndex = -1;
    bool FSyncing = false;
};

class TGroupBox : public TWinControl {
public:
    TV_CLASS_NAME(TGroupBox)
    explicit TGroupBox(TComponent* owner);

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void TextChanged() override;
};
