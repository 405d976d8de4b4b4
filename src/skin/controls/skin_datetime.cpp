#include "skin/controls/skin_datetime.h"

#include "platform/system_metrics.h"
#include "platform/window_info.h"
#include "skin/skin_data.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

TArrowButton::TArrowButton(TSkinDateTime* owner, QWidget* picker) : QWidget(picker), FOwner(owner), FPicker(picker)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    Place();
    show();
    raise();
}

int TArrowButton::Frame() const
{
    const TDataSkinObject* e = FOwner->SkinData() ? FOwner->SkinData()->ComboxArrow.get() : nullptr;
    const int frames = e ? std::max(1, e->Frame) : 1;
    return FHot && frames >= 4 ? 4 : 1;
}

void TArrowButton::Place()
{
    if (!FPicker)
        return;
    const TDataSkinObject* e = FOwner->SkinData() ? FOwner->SkinData()->ComboxArrow.get() : nullptr;
    int w = e && HasSkinImage(e) ? e->FrameWidth() : 0;
    if (w <= 0)
        w = GetSystemMetrics(SM_CXVSCROLL);
    const int h = std::max(0, FPicker->height() - 2);
    w = std::min(w, std::max(0, FPicker->width() - 2));
    const bool left = static_cast<uint32_t>(GetWindowLong(FPicker, GWL_EXSTYLE)) & WS_EX_LEFTSCROLLBAR;
    setGeometry(left ? 1 : FPicker->width() - 1 - w, 1, w, h);
}

void TArrowButton::paintEvent(QPaintEvent*)
{
    if (!FOwner->SkinningOn()) {
        // Skinning switched off for the picker: its own drop button shows.
        QTimer::singleShot(0, this, [this] { hide(); });
        return;
    }
    QPainter p(this);
    const TDataSkinObject* e = FOwner->SkinData() ? FOwner->SkinData()->ComboxArrow.get() : nullptr;
    p.fillRect(rect(), ToQColor(FOwner->FaceColour()));
    if (HasSkinImage(e))
        DrawSkinPart(p, TRect(0, 0, width(), height()), e, Frame());
}

void TArrowButton::enterEvent(QEnterEvent*)
{
    FHot = true;
    update();
}

void TArrowButton::leaveEvent(QEvent*)
{
    FHot = false;
    update();
}

void TArrowButton::Forward(QMouseEvent* event)
{
    if (!FPicker)
        return;
    const QPointF at = mapTo(FPicker.data(), event->position().toPoint());
    QMouseEvent copy(event->type(), at, event->globalPosition(), event->button(), event->buttons(), event->modifiers());
    QCoreApplication::sendEvent(FPicker.data(), &copy);
    event->accept();
}

void TArrowButton::mousePressEvent(QMouseEvent* event) { Forward(event); }
void TArrowButton::mouseReleaseEvent(QMouseEvent* event) { Forward(event); }
void TArrowButton::mouseDoubleClickEvent(QMouseEvent* event) { Forward(event); }

TSkinDateTime::~TSkinDateTime() { delete FButton.data(); }

void TSkinDateTime::InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor)
{
    if (Attached())
        return;
    TSkinControl::InitControl(form, skinData, canvas, setColor);
    if (Attached())
        MakeButton();
}

void TSkinDateTime::InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form)
{
    if (Attached())
        return;
    TSkinControl::InitHwnd(window, skinData, canvas, form);
    if (Attached())
        MakeButton();
}

void TSkinDateTime::MakeButton()
{
    if (FHwnd && !FButton)
        FButton = new TArrowButton(this, FHwnd.data());
}

void TSkinDateTime::Restore()
{
    delete FButton.data();
    TSkinControl::Restore();
}

void TSkinDateTime::AfterProc(TMessage& m)
{
    TSkinControl::AfterProc(m);
    switch (m.Msg) {
    case WM_SIZE:
    case WM_SHOWWINDOW:
    case WM_STYLECHANGED:
        if (FButton)
            FButton->Place();
        break;
    case WM_PAINT:
        // Skinning of the picker is on again.
        if (FButton && FButton->isHidden())
            FButton->show();
        break;
    default:
        break;
    }
}
