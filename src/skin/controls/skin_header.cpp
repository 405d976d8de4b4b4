#include "skin/controls/skin_header.h"

#include "classlib/graphics/font.h"
#include "classlib/graphics/types.h"
#include "skin/controls/skin_buttons.h"
#include "skin/skin_data.h"

#include <QEvent>
#include <QHeaderView>
#include <QIcon>

TSkinHeader::~TSkinHeader() { Unhook(); }

void TSkinHeader::InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form)
{
    if (Attached())
        return;
    TSkinControl::InitHwnd(window, skinData, canvas, form);
    FHotItem = -1;
    auto* header = qobject_cast<QHeaderView*>(window);
    if (!header)
        return;
    // The items are painted on the header's viewport, which also has the mouse.
    FViewport = header->viewport();
    FHadTracking = FViewport->hasMouseTracking();
    FViewport->setMouseTracking(true);
    FViewportProc = [this](TMessage& m) { ViewportProc(m); };
    FViewportOldProc = SetWindowLong(FViewport.data(), GWL_WNDPROC, FViewportProc);
    FViewport->update();
}

void TSkinHeader::Unhook()
{
    if (FViewportProc && FViewport) {
        SetWindowLong(FViewport.data(), GWL_WNDPROC, FViewportOldProc);
        FViewport->setMouseTracking(FHadTracking);
        FViewport->update();
    }
    FViewportProc = nullptr;
    FViewportOldProc = nullptr;
}

void TSkinHeader::Restore()
{
    if (FLifeState != lsDestroying)
        Unhook();
    TSkinControl::Restore();
}

bool TSkinHeader::BeforeProc(TMessage& m)
{
    if (m.Msg == WM_ERASEBKGND && FSkinData && HasSkinImage(FSkinData->Headerbar.get())) {
        m.Result = 1;
        return false;
    }
    return TSkinControl::BeforeProc(m);
}

void TSkinHeader::ViewportProc(TMessage& m)
{
    if (!FSkinningOn || !FViewport) {
        CallWindowProc(FViewportOldProc, m);
        return;
    }
    switch (m.Msg) {
    case WM_PAINT: {
        const TRect r(0, 0, FViewport->width(), FViewport->height());
        if (m.WParam) {
            DrawControl(*reinterpret_cast<QPainter*>(m.WParam), r);
        } else if (m.Event && m.Event->type() == QEvent::Paint) {
            QPainter p(FViewport.data());
            DrawControl(p, r);
        }
        return;
    }
    case WM_ERASEBKGND:
        m.Result = 1;
        return;
    default:
        break;
    }
    TWndProc old = FViewportOldProc;
    CallWindowProc(old, m);
    if (m.Msg == WM_MOUSEMOVE) {
        const int x = LoWordSigned(m.LParam), y = HiWordSigned(m.LParam);
        int hot = -1;
        for (size_t i = 0; i < FItemRects.size(); ++i)
            if (FItemRects[i].Contains(x, y))
                hot = static_cast<int>(i);
        if (hot != FHotItem) {
            FHotItem = hot;
            FViewport->update();
        }
    } else if (m.Msg == WM_MOUSELEAVE || m.Msg == CM_MOUSELEAVE) {
        FHotItem = -1;
        FViewport->update();
    }
}

void TSkinHeader::DrawControl(QPainter& dc, const TRect& r)
{
    auto* header = qobject_cast<QHeaderView*>(FHwnd.data());
    const TDataSkinObject* bar = FSkinData ? FSkinData->Headerbar.get() : nullptr;
    FillFace(dc, r);
    FItemRects.clear();
    if (!header || !header->model())
        return;
    const bool horizontal = header->orientation() == Qt::Horizontal;
    TFont font = FontOfWidget(header);
    font.SetColor(FSkinData ? FSkinData->Colours.ButtonText : clBtnText);
    const int count = header->count();
    FItemRects.assign(static_cast<size_t>(count), TRect());
    for (int logical = 0; logical < count; ++logical) {
        if (header->isSectionHidden(logical))
            continue;
        const int pos = header->sectionViewportPosition(logical), size = header->sectionSize(logical);
        const TRect item = horizontal ? Bounds(pos, 0, size, r.Height()) : Bounds(0, pos, r.Width(), size);
        FItemRects[static_cast<size_t>(logical)] = item;
        if (HasSkinImage(bar))
            DrawSkinPart(dc, item, bar, logical == FHotItem ? 2 : 1);
        const QAbstractItemModel* model = header->model();
        const Qt::Orientation o = header->orientation();
        const QString text = model->headerData(logical, o, Qt::DisplayRole).toString().left(200);
        QVariant align = model->headerData(logical, o, Qt::TextAlignmentRole);
        const Qt::Alignment a = align.isValid() ? Qt::Alignment(align.toInt()) : header->defaultAlignment();
        TRect textArea(item.Left + 4, item.Top, item.Right - 4, item.Bottom);
        const QIcon icon = qvariant_cast<QIcon>(model->headerData(logical, o, Qt::DecorationRole));
        if (!icon.isNull()) {
            const int is = std::min(16, item.Height());
            dc.drawPixmap(textArea.Left, item.Top + (item.Height() - is) / 2, icon.pixmap(is, is));
            textArea.Left += is + 2;
        }
        unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | RtlFlag();
        if (a & Qt::AlignHCenter)
            flags |= DT_CENTER;
        else if (a & Qt::AlignRight)
            flags |= DT_RIGHT;
        SkinText(dc, font, text, textArea, flags);
    }
}
