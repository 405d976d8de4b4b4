#include "classlib/controls/std_controls.h"

#include "classlib/forms/form.h"

#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>

// ---------------------------------------------------------------- TLabel

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner)
{
    FWidth = 65;
    FHeight = 17;
    AdjustBounds();
}

void TLabel::SetAutoSize(bool v)
{
    if (v == FAutoSize)
        return;
    FAutoSize = v;
    AdjustBounds();
}

void TLabel::SetTransparent(bool v)
{
    FTransparentSet = true;
    if (v == FTransparent)
        return;
    FTransparent = v;
    Invalidate();
}

void TLabel::SetAlignment(TAlignment a)
{
    FAlignment = a;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout l)
{
    FLayout = l;
    Invalidate();
}

void TLabel::SetWordWrap(bool v)
{
    FWordWrap = v;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetShowAccelChar(bool v)
{
    FShowAccelChar = v;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetPlainText(bool v)
{
    FPlainText = v;
    AdjustBounds();
    Invalidate();
}

bool TLabel::AccelChars() const { return FShowAccelChar && !FPlainText; }

unsigned TLabel::TextFlags() const
{
    unsigned flags = DT_EXPANDTABS;
    if (FWordWrap)
        flags |= DT_WORDBREAK;
    if (FAlignment == taCenter)
        flags |= DT_CENTER;
    else if (FAlignment == taRightJustify)
        flags |= DT_RIGHT;
    if (!AccelChars())
        flags |= DT_NOPREFIX;
    return flags;
}

void TLabel::AdjustBounds()
{
    // While a record is read the size waits for the last property.
    if (!FAutoSize || (ComponentState() & csLoading))
        return;
    TCanvas measure;
    measure.SetFont(&FFont);
    QString text = FText;
    // An empty caption still measures one blank, as the platform does.
    if (text.isEmpty() || (AccelChars() && text == QLatin1String("&")))
        text += QLatin1Char(' ');
    TRect r(0, 0, FWordWrap ? FWidth : 0, 0);
    measure.DrawText(text, r, TextFlags() | DT_CALCRECT);
    int x = FLeft;
    if (FAlignment == taRightJustify)
        x = FLeft + FWidth - r.Right;
    SetBounds(x, FTop, r.Right, r.Bottom);
}

void TLabel::TextChanged() { AdjustBounds(); }

void TLabel::FontChanged()
{
    AdjustBounds();
    TControl::FontChanged();
}

void TLabel::Paint()
{
    TCanvas* c = Canvas();
    if (!FTransparent) {
        c->Brush()->SetColor(FColor);
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(ClientRect());
    }
    c->Brush()->SetStyle(bsClear);
    c->SetFont(&FFont);
    TRect r = ClientRect();
    const unsigned flags = TextFlags();
    if (FLayout != tlTop) {
        TRect calc = r;
        c->DrawText(FText, calc, flags | DT_CALCRECT);
        const int offset = FLayout == tlBottom ? r.Height() - calc.Height() : (r.Height() - calc.Height()) / 2;
        r.Top += offset;
    }
    if (!FEnabled) {
        TRect shifted(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
        c->Font()->SetColor(clBtnHighlight);
        c->DrawText(FText, shifted, flags);
        c->Font()->SetColor(clBtnShadow);
    }
    c->DrawText(FText, r, flags);
}

// ---------------------------------------------------------------- TButton

TButton::TButton(TComponent* owner) : TWinControl(owner)
{
    FWidth = 75;
    FHeight = 25;
    FTabStop = true;
    FClickEvents = false; // the push button reports its own clicks
}

QWidget* TButton::CreateWidget(QWidget* parent)
{
    auto* b = new QPushButton(FText, parent);
    b->setAutoDefault(false);
    b->setDefault(FDefault);
    QObject::connect(b, &QPushButton::clicked, b, [this] { SafeCall([this] { Click(); }); });
    return b;
}

QPushButton* TButton::Button() { return static_cast<QPushButton*>(Handle()); }

void TButton::SetDefault(bool v)
{
    FDefault = v;
    if (FWidget)
        Button()->setDefault(v);
}

void TButton::TextChanged()
{
    if (FWidget)
        Button()->setText(FText);
}

void TButton::Click()
{
    if (TCustomForm* f = ParentForm(); f && FModalResult != mrNone)
        f->SetModalResult(FModalResult);
    TWinControl::Click();
}

// ---------------------------------------------------------------- TCheckBox

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner)
{
    FWidth = 97;
    FHeight = 17;
    FTabStop = true;
    // A check box takes its parent's colour; its records write no Color.
    FParentColor = true;
    FClickEvents = false;
}

QWidget* TCheckBox::CreateWidget(QWidget* parent)
{
    auto* b = new QCheckBox(FText, parent);
    b->setTristate(FAllowGrayed);
    b->setCheckState(FState == cbChecked ? Qt::Checked : FState == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
    QObject::connect(b, &QCheckBox::stateChanged, b, [this](int st) {
        if (FSyncing)
            return;
        FState = st == Qt::Checked ? cbChecked : st == Qt::PartiallyChecked ? cbGrayed : cbUnchecked;
        SafeCall([this] { Click(); });
    });
    return b;
}

void TCheckBox::SetState(TCheckBoxState s)
{
    if (s == FState)
        return;
    FState = s;
    if (FWidget) {
        FSyncing = true;
        auto* b = static_cast<QCheckBox*>(FWidget.data());
        b->setTristate(FAllowGrayed || s == cbGrayed);
        b->setCheckState(s == cbChecked ? Qt::Checked : s == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
        FSyncing = false;
    }
    // A change of state is a click, whoever made it.
    Click();
}

void TCheckBox::TextChanged()
{
    if (FWidget)
        static_cast<QCheckBox*>(FWidget.data())->setText(FText);
}

// ---------------------------------------------------------------- TRadioButton

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner)
{
    FWidth = 113;
    FHeight = 17;
    FTabStop = true;
    // A check box takes its parent's colour; its records write no Color.
    FParentColor = true;
    FClickEvents = false;
}

QWidget* TRadioButton::CreateWidget(QWidget* parent)
{
    auto* b = new QRadioButton(FText, parent);
    b->setChecked(FChecked);
    QObject::connect(b, &QRadioButton::toggled, b, [this](bool on) {
        if (FSyncing)
            return;
        FChecked = on;
        if (on)
            SafeCall([this] { Click(); });
    });
    return b;
}

void TRadioButton::SetChecked(bool v)
{
    if (v == FChecked)
        return;
    FChecked = v;
    if (FWidget) {
        FSyncing = true;
        static_cast<QRadioButton*>(FWidget.data())->setChecked(v);
        FSyncing = false;
    }
    // Siblings follow: one radio button of a parent is checked.
    if (v && FParent)
        for (int i = 0; i < FParent->ControlCount(); ++i)
            if (auto* r = dynamic_cast<TRadioButton*>(FParent->Controls(i)); r && r != this)
                r->FChecked = false;
    if (v)
        Click();
}

void TRadioButton::TextChanged()
{
    if (FWidget)
        static_cast<QRadioButton*>(FWidget.data())->setText(FText);
}

// ---------------------------------------------------------------- TEdit

TEdit::TEdit(TComponent* owner) : TWinControl(owner)
{
    FWidth = 121;
    FHeight = 21;
    FTabStop = true;
    FColor = clWindow;
}

QWidget* TEdit::CreateWidget(QWidget* parent)
{
    auto* e = new QLineEdit(FText, parent);
    e->setReadOnly(FReadOnly);
    if (FMaxLength > 0)
        e->setMaxLength(FMaxLength);
    QObject::connect(e, &QLineEdit::textChanged, e, [this](const QString& t) {
        if (FSyncing)
            return;
        FText = t;
        if (OnChange)
            SafeCall([this] { OnChange(this); });
    });
    return e;
}

QString TEdit::Caption() const { return FText; }

void TEdit::SetCaption(const QString& text)
{
    if (text == FText)
        return;
    FText = text;
    if (FWidget) {
        FSyncing = true;
        static_cast<QLineEdit*>(FWidget.data())->setText(text);
        FSyncing = false;
    }
    if (OnChange)
        OnChange(this);
}

void TEdit::SetReadOnly(bool v)
{
    FReadOnly = v;
    if (FWidget)
        static_cast<QLineEdit*>(FWidget.data())->setReadOnly(v);
}

void TEdit::SetMaxLength(int n)
{
    FMaxLength = n;
    if (FWidget)
        static_cast<QLineEdit*>(FWidget.data())->setMaxLength(n > 0 ? n : 32767);
}

void TEdit::SelectAll()
{
    if (FWidget)
        static_cast<QLineEdit*>(FWidget.data())->selectAll();
}

// ---------------------------------------------------------------- TMemo

TMemo::TMemo(TComponent* owner) : TWinControl(owner)
{
    FWidth = 185;
    FHeight = 89;
    FTabStop = true;
    FColor = clWindow;
    FLines.OnChange = [this](TStrings*) {
        if (FSyncing)
            return;
        FText = FLines.Text();
        if (FText.endsWith(QLatin1String("\r\n")))
            FText.chop(2);
        if (FWidget) {
            FSyncing = true;
            Editor()->setPlainText(FText);
            FSyncing = false;
        }
        Change();
    };
}

TMemo::~TMemo() { FLines.OnChange = nullptr; }

QWidget* TMemo::CreateWidget(QWidget* parent)
{
    auto* e = new QPlainTextEdit(parent);
    QObject::connect(e, &QPlainTextEdit::textChanged, e, [this] {
        if (FSyncing)
            return;
        QString t = Editor()->toPlainText();
        t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        FText = t;
        FSyncing = true;
        FLines.SetText(t);
        FSyncing = false;
        SafeCall([this] { Change(); });
    });
    return e;
}

void TMemo::InitWidget()
{
    TWinControl::InitWidget();
    auto* e = Editor();
    FSyncing = true;
    QString t = FText;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    e->setPlainText(t);
    FSyncing = false;
    e->setReadOnly(FReadOnly);
    e->setLineWrapMode(FWordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    SetScrollBars(FScrollBars);
    SetBorderStyle(FBorderStyle);
    ApplyAlignment();
}

QPlainTextEdit* TMemo::Editor() { return static_cast<QPlainTextEdit*>(Handle()); }

QString TMemo::Caption() const { return FText; }

void TMemo::SetCaption(const QString& text)
{
    FLines.SetText(text);
    FText = text;
}

void TMemo::Change()
{
    if (OnChange)
        OnChange(this);
}

void TMemo::SetReadOnly(bool v)
{
    FReadOnly = v;
    if (FWidget)
        Editor()->setReadOnly(v);
}

void TMemo::SetWordWrap(bool v)
{
    FWordWrap = v;
    if (FWidget)
        Editor()->setLineWrapMode(v ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetScrollBars(TScrollStyle s)
{
    FScrollBars = s;
    if (!FWidget)
        return;
    Editor()->setVerticalScrollBarPolicy(s == ssVertical || s == ssBoth ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    Editor()->setHorizontalScrollBarPolicy(s == ssHorizontal || s == ssBoth ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TMemo::SetAlignment(TAlignment a)
{
    FAlignment = a;
    ApplyAlignment();
}

void TMemo::ApplyAlignment()
{
    if (!FWidget)
        return;
    QTextOption opt = Editor()->document()->defaultTextOption();
    opt.setAlignment(FAlignment == taCenter ? Qt::AlignHCenter : FAlignment == taRightJustify ? Qt::AlignRight : Qt::AlignLeft);
    Editor()->document()->setDefaultTextOption(opt);
}

void TMemo::SetBorderStyle(TBorderStyle s)
{
    FBorderStyle = s;
    if (FWidget)
        Editor()->setFrameShape(s == bsSingleBorder ? QFrame::StyledPanel : QFrame::NoFrame);
}

// ---------------------------------------------------------------- TComboBox

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner)
{
    FWidth = 145;
    FHeight = 21;
    FTabStop = true;
    FColor = clWindow;
    FItems.OnChange = [this](TStrings*) { SyncItems(); };
}

TComboBox::~TComboBox() { FItems.OnChange = nullptr; }

QWidget* TComboBox::CreateWidget(QWidget* parent)
{
    auto* c = new QComboBox(parent);
    c->setEditable(FStyle == csDropDown || FStyle == csSimple);
    c->setMaxVisibleItems(FDropDownCount);
    c->setInsertPolicy(QComboBox::NoInsert);
    QObject::connect(c, qOverload<int>(&QComboBox::activated), c, [this](int index) {
        if (FSyncing)
            return;
        FItemIndex = index;
        FText = index >= 0 && index < FItems.Count() ? FItems[index] : QString();
        if (OnChange)
            SafeCall([this] { OnChange(this); });
    });
    QObject::connect(c, &QComboBox::editTextChanged, c, [this](const QString& t) {
        if (FSyncing)
            return;
        FText = t;
        FItemIndex = FItems.IndexOf(t);
        if (OnChange)
            SafeCall([this] { OnChange(this); });
    });
    FSyncing = true;
    c->addItems(FItems.ToQStringList());
    c->setCurrentIndex(FItemIndex);
    if (c->isEditable())
        c->setEditText(FText);
    FSyncing = false;
    return c;
}

QComboBox* TComboBox::Combo() { return static_cast<QComboBox*>(Handle()); }

void TComboBox::SyncItems()
{
    if (FItemIndex >= FItems.Count())
        FItemIndex = -1;
    if (!FWidget)
        return;
    FSyncing = true;
    Combo()->clear();
    Combo()->addItems(FItems.ToQStringList());
    Combo()->setCurrentIndex(FItemIndex);
    FSyncing = false;
}

int TComboBox::ItemIndex() const { return FItemIndex; }

void TComboBox::SetItemIndex(int index)
{
    if (index < -1 || index >= FItems.Count())
        index = -1;
    FItemIndex = index;
    FText = index >= 0 ? FItems[index] : (FStyle == csDropDownList ? QString() : FText);
    if (FWidget) {
        FSyncing = true;
        Combo()->setCurrentIndex(index);
        FSyncing = false;
    }
}

QString TComboBox::Caption() const { return FText; }

void TComboBox::SetCaption(const QString& text)
{
    FText = text;
    FItemIndex = FItems.IndexOf(text);
    if (FWidget) {
        FSyncing = true;
        if (Combo()->isEditable())
            Combo()->setEditText(text);
        Combo()->setCurrentIndex(FItemIndex);
        FSyncing = false;
    }
}

void TComboBox::SetStyle(TComboBoxStyle s)
{
    FStyle = s;
    if (FWidget)
        Combo()->setEditable(s == csDropDown || s == csSimple);
}

bool TComboBox::DroppedDown() const
{
    return FWidget && static_cast<QComboBox*>(FWidget.data())->view()->isVisible();
}

void TComboBox::SetDroppedDown(bool v)
{
    if (v)
        Combo()->showPopup();
    else if (FWidget)
        Combo()->hidePopup();
}

void TComboBox::SetDropDownCount(int n)
{
    FDropDownCount = n;
    if (FWidget)
        Combo()->setMaxVisibleItems(n);
}

// ---------------------------------------------------------------- TGroupBox

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner)
{
    FWidth = 185;
    FHeight = 105;
}

QWidget* TGroupBox::CreateWidget(QWidget* parent) { return new QGroupBox(FText, parent); }

void TGroupBox::TextChanged()
{
    if (FWidget)
        static_cast<QGroupBox*>(FWidget.data())->setTitle(FText);
}
