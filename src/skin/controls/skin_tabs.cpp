#include "skin/controls/skin_tabs.h"

#include "classlib/controls/com_controls.h"
#include "classlib/graphics/font.h"
#include "classlib/graphics/types.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "skin/controls/skin_props.h"
#include "platform/window_info.h"
#include "skin/controls/skin_buttons.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_messages.h"
#include "skin/form/skin_primitives.h"
#include "skin/skin_data.h"

#include <QEvent>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTransform>

namespace {
const TSkinMargins kPaneMargins{4, 5, 4, 4};

int PositionOf(const QTabBar* bar)
{
    if (!bar)
        return TSkinTab::tpTop;
    switch (bar->shape()) {
    case QTabBar::RoundedSouth:
    case QTabBar::TriangularSouth:
        return TSkinTab::tpBottom;
    case QTabBar::RoundedWest:
    case QTabBar::TriangularWest:
        return TSkinTab::tpLeft;
    case QTabBar::RoundedEast:
    case QTabBar::TriangularEast:
        return TSkinTab::tpRight;
    default:
        return TSkinTab::tpTop;
    }
}
} // namespace

TSkinTab::~TSkinTab() { UnhookTabBar(); }

QTabBar* TSkinTab::TabBar() const { return qobject_cast<QTabBar*>(FTabBar.data()); }

QTabWidget* TSkinTab::TabWidget() const { return qobject_cast<QTabWidget*>(FHwnd.data()); }

void TSkinTab::InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor)
{
    if (Attached())
        return;
    TSkinControl::InitControl(form, skinData, canvas, setColor);
    if (!Attached())
        return;
    auto* pc = dynamic_cast<TPageControl*>(FControl);
    if (QTabWidget* tw = TabWidget())
        FTabBar = tw->tabBar();
    FTabPosition = PositionOf(TabBar());
    FCloseButtons = !FPlain && pc && pc->Tag() == kSkinCloseTabsTag && FTabPosition == tpTop;
    if (FPlain)
        FTabPosition = tpTop;
    Prepare();
    HookTabBar();
    SkinScrollArrows(form);
}

void TSkinTab::InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form)
{
    if (Attached())
        return;
    TSkinControl::InitHwnd(window, skinData, canvas, form);
    if (QTabWidget* tw = TabWidget())
        FTabBar = tw->tabBar();
    else
        FTabBar = qobject_cast<QTabBar*>(window);
    FTabPosition = FPlain ? tpTop : PositionOf(TabBar());
    Prepare();
    if (FTabBar != FHwnd)
        HookTabBar();
    SkinScrollArrows(form);
}

void TSkinTab::SkinScrollArrows(TWinSkinForm* form)
{
    if (!FTabBar)
        return;
    for (QToolButton* b : FTabBar->findChildren<QToolButton*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!b->objectName().startsWith(QLatin1String("Scroll")))
            continue;
        if (SendMessage(b, WM_SKINQUERY) == 1)
            continue;
        auto* arrow = new TSkinTabScroll(this);
        arrow->Horizontal = true;
        arrow->Right = !b->objectName().contains(QLatin1String("Left"));
        arrow->InitHwnd(b, FSkinData, nullptr, form);
    }
}

int TSkinTabScroll::ArrowFrame() const
{
    const TDataSkinBorder* e = FSkinData ? FSkinData->UpDownHorz.get() : nullptr;
    const int frames = e ? std::max(1, e->Frame) : 1;
    int state = 1;
    if (FHwnd && !FHwnd->isEnabled())
        state = 3;
    else if (FMouseState & msPressed)
        state = 2;
    else if (FMouseState & msHover)
        state = 4;
    // Both arrows take the same frames: the strip's later frames are not states.
    return std::min(frames, state);
}

void TSkinTabScroll::DrawControl(QPainter& dc, const TRect& r)
{
    const TDataSkinBorder* e = FSkinData ? FSkinData->UpDownHorz.get() : nullptr;
    if (!HasSkinImage(e)) {
        TSkinUpDown::DrawControl(dc, r);
        return;
    }
    FillFace(dc, r);
    DrawSkinPart(dc, r, e, ArrowFrame());
    if (!e->Image2.isNull())
        DrawFrameCentered(dc, r, e->Image2, true, 4, Right ? 4 : 3);
}

void TSkinTab::Restore()
{
    if (FLifeState != lsDestroying)
        UnhookTabBar();
    TSkinControl::Restore();
}

void TSkinTab::ApplyColor()
{
    Prepare();
    TSkinControl::ApplyColor();
    if (FTabBar && FTabBar != FHwnd)
        FTabBar->update();
}

void TSkinTab::Prepare()
{
    FTabImage = QImage();
    FPaneImage = QImage();
    const TDataSkinBorder* tabs = FSkinData ? FSkinData->Tabs.get() : nullptr;
    if (!HasSkinImage(tabs))
        return;
    FTabImage = tabs->Image.convertToFormat(QImage::Format_RGB32);
    if (tabs->Style == 1) {
        if (HasSkinImage(FSkinData->TabPane.get()))
            FPaneImage = FSkinData->TabPane->Image.convertToFormat(QImage::Format_RGB32);
    } else if (!tabs->Image2.isNull()) {
        FPaneImage = tabs->Image2.convertToFormat(QImage::Format_RGB32);
    }
    switch (FTabPosition) {
    case tpBottom:
        FTabImage = FTabImage.mirrored(false, true);
        FPaneImage = FPaneImage.mirrored(false, true);
        break;
    case tpLeft:
        FPaneImage = FPaneImage.transformed(QTransform().rotate(-90));
        break;
    case tpRight:
        FPaneImage = FPaneImage.transformed(QTransform().rotate(90));
        break;
    default:
        break;
    }
}

void TSkinTab::HookTabBar()
{
    if (!FTabBar || FTabBarProc)
        return;
    FTabBarProc = [this](TMessage& m) { TabBarProc(m); };
    FTabBarOldProc = SetWindowLong(FTabBar.data(), GWL_WNDPROC, FTabBarProc);
    FTabBar->update();
}

void TSkinTab::UnhookTabBar()
{
    if (FTabBarProc && FTabBar)
        SetWindowLong(FTabBar.data(), GWL_WNDPROC, FTabBarOldProc);
    FTabBarProc = nullptr;
    FTabBarOldProc = nullptr;
}

TRect TSkinTab::PaneRect() const
{
    if (!FHwnd)
        return {};
    const TRect all(0, 0, FHwnd->width(), FHwnd->height());
    if (!FTabBar || FTabBar == FHwnd)
        return all;
    const QRect bar = FTabBar->geometry();
    switch (FTabPosition) {
    case tpBottom:
        return TRect(0, 0, all.Right, bar.top());
    case tpLeft:
        return TRect(bar.right() + 1, 0, all.Right, all.Bottom);
    case tpRight:
        return TRect(0, 0, bar.left(), all.Bottom);
    default:
        return TRect(0, bar.bottom() + 1, all.Right, all.Bottom);
    }
}

void TSkinTab::DrawControl(QPainter& dc, const TRect& r)
{
    FillParentColor(dc, r);
    if (FTabBar == FHwnd) {
        DrawStrip(dc);
        return;
    }
    const TDataSkinObject* pane = FSkinData ? FSkinData->TabPane.get() : nullptr;
    const bool paneMargins = FSkinData && FSkinData->Tabs && FSkinData->Tabs->Style == 1 && pane;
    TSkinMargins m = paneMargins ? TSkinMargins{pane->LeftWidth, pane->TopHeight, pane->RightWidth, pane->BottomHeight}
                                 : kPaneMargins;
    if (FTabPosition == tpBottom)
        std::swap(m.Top, m.Bottom);
    else if (FTabPosition == tpLeft)
        m = TSkinMargins{m.Top, m.Right, m.Bottom, m.Left};
    else if (FTabPosition == tpRight)
        m = TSkinMargins{m.Bottom, m.Left, m.Top, m.Right};
    if (!FPaneImage.isNull())
        NineGridDraw(dc, PaneRect(), FPaneImage, false, false, false, 1, 1, m);
    else
        FillFace(dc, PaneRect());
}

void TSkinTab::DrawStrip(QPainter& dc)
{
    QTabBar* bar = TabBar();
    if (!bar)
        return;
    const QSize size(std::max(1, bar->width()), std::max(1, bar->height()));
    if (FWorkBitmap.size() != size)
        FWorkBitmap = QImage(size, QImage::Format_RGB32);
    FCloseRects.assign(static_cast<size_t>(bar->count()), TRect());
    {
        QPainter p(&FWorkBitmap);
        FillParentColor(p, TRect(0, 0, size.width(), size.height()));
        // A font of our own: the tab cells colour it, and the control must
        // not hear of that (it would repaint, and its font would stop
        // following its parent's).
        TFont font;
        if (FControl)
            font.Assign(FControl->Font());
        else
            font = FontOfWidget(bar);
        const bool sideways = FTabPosition == tpLeft || FTabPosition == tpRight;
        const int selected = bar->currentIndex();
        for (int i = 0; i < bar->count(); ++i) {
            const QRect at = bar->tabRect(i);
            if (at.isEmpty())
                continue;
            // Sideways tabs are drawn lying down, then turned into place.
            const QSize flat = sideways ? at.size().transposed() : at.size();
            QImage cell(flat, QImage::Format_RGB32);
            {
                QPainter c(&cell);
                const TRect cr(0, 0, flat.width(), flat.height());
                c.drawImage(0, 0, FWorkBitmap.copy(at).transformed(QTransform().rotate(sideways ? (FTabPosition == tpLeft ? 90 : -90) : 0)));
                DrawTabCell(c, cr, i, i == selected, font);
            }
            if (sideways)
                cell = cell.transformed(QTransform().rotate(FTabPosition == tpLeft ? -90 : 90));
            p.drawImage(at.topLeft(), cell);
            if (FCloseButtons) {
                const TRect cross(at.right() + 1 - 8, at.top() + 2, at.right() + 1 - 2, at.top() + 8);
                FCloseRects[static_cast<size_t>(i)] = cross;
                p.setPen(QPen(ToQColor(font.Color()), 1));
                p.drawLine(cross.Left, cross.Top, cross.Right - 1, cross.Bottom - 1);
                p.drawLine(cross.Left, cross.Bottom - 1, cross.Right - 1, cross.Top);
            }
        }
    }
    dc.drawImage(0, 0, FWorkBitmap);
}

void TSkinTab::DrawTabCell(QPainter& c, const TRect& cr, int index, bool selected, TFont& font)
{
    const TDataSkinBorder* tabs = FSkinData ? FSkinData->Tabs.get() : nullptr;
    const TSkinMargins margins =
        tabs ? TSkinMargins{tabs->LeftWidth, tabs->TopHeight, tabs->RightWidth, tabs->BottomHeight} : TSkinMargins{};
    if (!FTabImage.isNull())
        NineGridDraw(c, cr, FTabImage, false, tabs && tabs->Tile != 0, tabs && tabs->Trans == 1,
                     std::max(1, tabs ? tabs->Frame : 1), selected ? 2 : 1, margins);
    TRect textArea = cr;
    QTabBar* bar = TabBar();
    const QIcon icon = bar ? bar->tabIcon(index) : QIcon();
    if (!icon.isNull()) {
        const QSize is = bar->iconSize();
        c.drawPixmap(4, (cr.Height() - is.height()) / 2, icon.pixmap(is));
        textArea.Left += is.width() + 4;
    }
    if (tabs)
        font.SetColor(selected ? tabs->MouseOverColour2 : tabs->NormalColour2);
    QString text = bar ? bar->tabText(index) : QString();
    DrawSkinCaption(c, font, text, textArea, true, false, RtlFlag());
}

void TSkinTabBtn::DrawTabCell(QPainter& c, const TRect& cr, int index, bool selected, TFont& font)
{
    const TDataSkinButton* b = FSkinData ? FSkinData->Buttons.get() : nullptr;
    DrawSkinPart(c, cr, b, selected ? 2 : 1);
    QString text = TabBar() ? TabBar()->tabText(index) : QString();
    DrawSkinCaption(c, font, text, cr, true, false, RtlFlag());
}

bool TSkinTab::CloseClick(const TMessage& m)
{
    if (!FCloseButtons || m.Msg != WM_LBUTTONDOWN)
        return false;
    const int x = LoWordSigned(m.LParam), y = HiWordSigned(m.LParam);
    for (size_t i = 0; i < FCloseRects.size(); ++i) {
        if (!FCloseRects[i].Contains(x, y))
            continue;
        HWND formWindow = FSkinForm && FSkinForm->Handle() ? FSkinForm->Handle() : (FHwnd ? FHwnd->window() : nullptr);
        const LRESULT answer = formWindow ? SendMessage(formWindow, WM_SKINCONTROL, WParamOf(FHwnd.data()),
                                                        static_cast<LPARAM>(i))
                                          : 0;
        if (answer == 0)
            if (auto* pc = dynamic_cast<TPageControl*>(FControl); pc && static_cast<int>(i) < pc->PageCount())
                delete pc->Pages(static_cast<int>(i));
        return true;
    }
    return false;
}

void TSkinTab::TabBarProc(TMessage& m)
{
    if (!FSkinningOn || !FTabBar) {
        CallWindowProc(FTabBarOldProc, m);
        return;
    }
    if (m.Msg == WM_PAINT) {
        if (m.WParam) {
            DrawStrip(*reinterpret_cast<QPainter*>(m.WParam));
        } else if (m.Event && m.Event->type() == QEvent::Paint) {
            QPainter p(FTabBar.data());
            DrawStrip(p);
        }
        return;
    }
    if (m.Msg == WM_ERASEBKGND) {
        m.Result = 1;
        return;
    }
    if (CloseClick(m))
        return;
    TWndProc old = FTabBarOldProc;
    CallWindowProc(old, m);
}

bool TSkinTab::BeforeProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT:
        PaintNow(reinterpret_cast<QPainter*>(m.WParam));
        return false;
    case WM_ERASEBKGND:
        m.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
        if (FTabBar == FHwnd && CloseClick(m))
            return false;
        return TSkinControl::BeforeProc(m);
    default:
        return TSkinControl::BeforeProc(m);
    }
}

// ---------------------------------------------------------------- TSkinTabSheet

bool TSkinTabSheet::BeforeProc(TMessage& m)
{
    if (FCustomFlag == 0) {
        switch (m.Msg) {
        case WM_ERASEBKGND:
            if (m.WParam && FHwnd)
                FillFace(*reinterpret_cast<QPainter*>(m.WParam), TRect(0, 0, FHwnd->width(), FHwnd->height()));
            m.Result = 1;
            return false;
        case WM_PAINT:
        case WM_PRINT: {
            auto* wc = dynamic_cast<TWinControl*>(FControl);
            auto paint = [&](QPainter& p) {
                FillFace(p, TRect(0, 0, FHwnd->width(), FHwnd->height()));
                if (wc)
                    wc->PaintControls(p, QRect());
            };
            if (!FHwnd)
                return false;
            if (m.WParam) {
                paint(*reinterpret_cast<QPainter*>(m.WParam));
            } else if (InWindowPaint()) {
                QPainter p(FHwnd.data());
                paint(p);
            }
            return false;
        }
        default:
            break;
        }
    }
    return TSkinControl::BeforeProc(m);
}

// ---------------------------------------------------------------- TSkinAdvPage

namespace {
const char* const kAdvPictures[2] = {"TabBackGround", "TabBackGroundActive"};
}

TSkinAdvPage::~TSkinAdvPage()
{
    if (FAssigned && FControl && Owner() == FControl)
        Restore();
}

void TSkinAdvPage::InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor)
{
    if (Attached())
        return;
    TSkinControl::InitControl(form, skinData, canvas, setColor);
    if (!FControl)
        return;
    for (int i = 0; i < 2; ++i)
        if (auto* pic = dynamic_cast<TPicture*>(GetObjectProp(FControl, QString::fromLatin1(kAdvPictures[i])))) {
            FSaved[i] = std::make_unique<TPicture>();
            FSaved[i]->Assign(pic);
        }
    AssignPictures();
}

QImage TSkinAdvPage::TabRendering(int frame) const
{
    QImage img(100, 21, QImage::Format_RGB32);
    img.fill(ToQColor(FaceColour()));
    QPainter p(&img);
    DrawSkinPart(p, TRect(0, 0, 100, 21), FSkinData ? FSkinData->Tabs.get() : nullptr, frame);
    return img;
}

void TSkinAdvPage::AssignPictures()
{
    if (!FControl || !FSkinData || !HasSkinImage(FSkinData->Tabs.get()))
        return;
    for (int i = 0; i < 2; ++i) {
        auto* pic = dynamic_cast<TPicture*>(GetObjectProp(FControl, QString::fromLatin1(kAdvPictures[i])));
        if (!pic)
            continue;
        TBitmap bmp;
        bmp.SetSize(100, 21);
        bmp.Image() = TabRendering(i + 1);
        pic->SetGraphic(&bmp);
        FAssigned = true;
    }
    FControl->Invalidate();
}

void TSkinAdvPage::ApplyColor()
{
    AssignPictures();
    TSkinControl::ApplyColor();
}

void TSkinAdvPage::Restore()
{
    if (FControl && FAssigned) {
        for (int i = 0; i < 2; ++i)
            if (auto* pic = dynamic_cast<TPicture*>(GetObjectProp(FControl, QString::fromLatin1(kAdvPictures[i])));
                pic && FSaved[i])
                pic->Assign(FSaved[i].get());
        FAssigned = false;
    }
    TSkinControl::Restore();
}
