#include "classlib/controls/spin_edit.h"

#include "classlib/sysutils.h"

#include <QLineEdit>
#include <QSpinBox>
#include <algorithm>
#include <climits>

namespace {
// A spin box that lets its owner put any text into the field.
class TSpinBoxWidget : public QSpinBox {
public:
    using QSpinBox::QSpinBox;
    QLineEdit* Editor() const { return lineEdit(); }
};
} // namespace

TSpinEdit::TSpinEdit(TComponent* owner) : TWinControl(owner)
{
    FWidth = 121;
    FHeight = 22;
    FTabStop = true;
    FColor = clWindow;
    FText = QStringLiteral("0");
}

QWidget* TSpinEdit::CreateWidget(QWidget* parent)
{
    auto* s = new TSpinBoxWidget(parent);
    s->setKeyboardTracking(true);
    s->setAccelerated(false);
    // Typing reaches us through the field; stepping through the spin box, which
    // updates its field with the field's signals blocked.
    QObject::connect(s->Editor(), &QLineEdit::textChanged, s, [this](const QString& t) { TextEdited(t); });
    QObject::connect(s, &QSpinBox::textChanged, s, [this, s] { TextEdited(s->Editor()->text()); });
    return s;
}

void TSpinEdit::InitWidget()
{
    TWinControl::InitWidget();
    auto* s = static_cast<TSpinBoxWidget*>(FWidget.data());
    FSyncing = true;
    ApplyRange();
    s->setSingleStep(FIncrement);
    s->setReadOnly(!FEditorEnabled);
    s->Editor()->setText(FText);
    FSyncing = false;
}

QSpinBox* TSpinEdit::SpinBox() { return static_cast<QSpinBox*>(Handle()); }

void TSpinEdit::ApplyRange()
{
    if (!FWidget)
        return;
    auto* s = static_cast<TSpinBoxWidget*>(FWidget.data());
    // The spin box rewrites its field for a new range; the text stays ours.
    const bool syncing = FSyncing;
    FSyncing = true;
    if (Limited())
        s->setRange(std::min(FMinValue, FMaxValue), std::max(FMinValue, FMaxValue));
    else
        s->setRange(INT_MIN, INT_MAX);
    s->Editor()->setText(FText);
    FSyncing = syncing;
}

int TSpinEdit::Checked(int value) const
{
    if (Limited())
        return std::clamp(value, std::min(FMinValue, FMaxValue), std::max(FMinValue, FMaxValue));
    return value;
}

int TSpinEdit::Value() const
{
    int v = 0;
    if (!TryStrToInt(FText.trimmed(), v))
        v = FMinValue;
    return Checked(v);
}

void TSpinEdit::SetValue(int value) { SetCaption(QString::number(Checked(value))); }

void TSpinEdit::SetCaption(const QString& text)
{
    if (text == FText)
        return;
    FText = text;
    if (FWidget) {
        FSyncing = true;
        static_cast<TSpinBoxWidget*>(FWidget.data())->Editor()->setText(text);
        FSyncing = false;
    }
    if (OnChange)
        OnChange(this);
}

void TSpinEdit::TextEdited(const QString& text)
{
    if (FSyncing || text == FText)
        return;
    FText = text;
    if (OnChange)
        SafeCall([this] { OnChange(this); });
}

void TSpinEdit::SetMinValue(int v)
{
    FMinValue = v;
    ApplyRange();
}

void TSpinEdit::SetMaxValue(int v)
{
    FMaxValue = v;
    ApplyRange();
}

void TSpinEdit::SetIncrement(int v)
{
    FIncrement = v;
    if (FWidget)
        static_cast<QSpinBox*>(FWidget.data())->setSingleStep(v);
}

void TSpinEdit::SetEditorEnabled(bool v)
{
    FEditorEnabled = v;
    if (FWidget)
        static_cast<QSpinBox*>(FWidget.data())->setReadOnly(!v);
}
