#pragma once
// TSpinEdit: a whole-number edit with up and down arrows. Minimum and maximum
// both 0 mean no limits. The value is read from the text, so whatever the user
// left in the field counts; text that is no whole number reads as the minimum.

#include "classlib/controls/control.h"

class QSpinBox;

class TSpinEdit : public TWinControl {
public:
    TV_CLASS_NAME(TSpinEdit)
    explicit TSpinEdit(TComponent* owner);

    int Value() const;
    void SetValue(int value);
    int MinValue() const { return FMinValue; }
    void SetMinValue(int v);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int v);
    int Increment() const { return FIncrement; }
    void SetIncrement(int v);
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool v);
    // The text of the field as it stands (also while the user is typing).
    QString Caption() const override { return FText; }
    void SetCaption(const QString& text) override;
    QSpinBox* SpinBox();
    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void InitWidget() override;

private:
    bool Limited() const { return FMinValue != FMaxValue; }
    int Checked(int value) const;
    void ApplyRange();
    void TextEdited(const QString& text);

    int FMinValue = 0;
    int FMaxValue = 0;
    int FIncrement = 1;
    bool FEditorEnabled = true;
    bool FSyncing = false;
};
