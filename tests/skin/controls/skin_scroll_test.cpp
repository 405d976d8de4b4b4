#include "skin_controls_fixture.h"

#include "classlib/controls/ext_controls.h"
#include "classlib/controls/file_ctrls.h"
#include "classlib/controls/string_grid.h"
#include "skin/controls/skin_chooser.h"
#include "skin/controls/skin_props.h"
#include "classlib/controls/list_view.h"
#include "classlib/controls/std_controls.h"
#include "classlib/graphics/types.h"
#include "platform/scroll_info.h"
#include "skin/controls/skin_scroll.h"
#include "skin/form/skin_messages.h"

#include <QHeaderView>
#include <QListWidget>
#include <QTreeWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>
#include <QWheelEvent>

using namespace SkinControlsTest;

namespace {
void Mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    const QPoint global = w->mapToGlobal(at);
    QMouseEvent e(type, QPointF(at), QPointF(global), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                  buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// A press at from, a move by delta and the release, all sent to w (the
// platform hands what follows a forwarded press on to the real bar).
void Drag(QWidget* w, QPoint from, QPoint delta)
{
    Mouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton);
    Mouse(w, QEvent::MouseMove, from + delta, Qt::LeftButton);
    Mouse(w, QEvent::MouseButtonRelease, from + delta, Qt::NoButton);
    Pump();
}

std::vector<TWScrollbar*> Overlays(QWidget* parent)
{
    std::vector<TWScrollbar*> out;
    for (QObject* o : parent->children())
        if (auto* b = dynamic_cast<TWScrollbar*>(o))
            out.push_back(b);
    return out;
}

class SkinScroll : public SkinControlsFixture {
protected:
    TListBox* List(int items, int top = 10)
    {
        auto* l = Placed(new TListBox(Form.get()), top == 10 ? "ListBox1" : "ListBox2", Form.get(), 10, top, 150, 100);
        for (int i = 0; i < items; ++i)
            l->Items()->Add(QStringLiteral("Řádek %1").arg(i));
        return l;
    }
    TSkinScrollbar* Skin(TControl* c)
    {
        auto* s = new TSkinScrollbar(c);
        s->InitScroll(c, Data.get(), SkinForm.get(), nullptr);
        Pump();
        return s;
    }
    // The real bar's rectangle in the form's client.
    static QRect RealRect(QScrollBar* bar, QWidget* parent)
    {
        return QRect(bar->mapTo(parent, QPoint(0, 0)), bar->size());
    }
    // The element's cell stretched to r's size, magenta showing the face.
    QImage Cell(int cell, QSize size) const
    {
        QImage img(size, QImage::Format_RGB32);
        img.fill(ToQColor(Data->Colours.ButtonFace));
        QPainter p(&img);
        DrawFrameStretched(p, TRect(0, 0, size.width(), size.height()), Data->Scrollbar->Image, true, 23, cell);
        return img;
    }
};
} // namespace

TEST_F(SkinScroll, OverlayLiesOverTheRealBarThroughResizesAndShowing)
{
    ASSERT_TRUE(HasSkinImage(Data->Scrollbar.get()));
    TListBox* list = List(3);
    ShowForm();
    TSkinScrollbar* s = Skin(list);
    QWidget* client = list->Handle()->parentWidget();
    QScrollBar* bar = ScrollBarOf(list->Handle(), SB_VERT);
    ASSERT_NE(bar, nullptr);
    // Three lines fit: no bar, no overlay.
    EXPECT_FALSE(s->VertBar()->Shown());
    EXPECT_FALSE(s->VertBar()->isVisible());
    for (int i = 0; i < 30; ++i)
        list->Items()->Add(QStringLiteral("další %1").arg(i));
    Pump();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_TRUE(s->VertBar()->isVisible());
    EXPECT_EQ(s->VertBar()->geometry(), RealRect(bar, client));
    EXPECT_FALSE(s->HorzBar()->isVisible());
    list->SetBounds(30, 40, 200, 180);
    Pump();
    EXPECT_EQ(s->VertBar()->geometry(), RealRect(bar, client));
    // Directly above the list in the z-order.
    // Directly above the list in the z-order (only overlays between).
    auto directlyAbove = [&] {
        const QObjectList& kids = client->children();
        const qsizetype at = kids.indexOf(s->VertBar()), below = kids.indexOf(list->Handle());
        if (at <= below)
            return false;
        for (qsizetype i = below + 1; i < at; ++i)
            if (kids.at(i)->isWidgetType() && !dynamic_cast<TWScrollbar*>(kids.at(i)))
                return false;
        return true;
    };
    EXPECT_TRUE(directlyAbove());
    list->BringToFront();
    Pump();
    EXPECT_TRUE(directlyAbove());
    list->Items()->Clear();
    Pump();
    EXPECT_FALSE(s->VertBar()->isVisible());
    list->SetVisible(false);
    list->Items()->Add(QStringLiteral("x"));
    Pump();
    EXPECT_FALSE(s->VertBar()->isVisible());

    // A memo with both bars: two overlays and the corner between them.
    auto* memo = Placed(new TMemo(Form.get()), "Memo1", Form.get(), 200, 10, 180, 120);
    memo->SetScrollBars(ssBoth);
    memo->SetWordWrap(false);
    memo->SetCaption(QString(QStringLiteral("dlouhý řádek ")).repeated(20));
    Pump();
    TSkinScrollbar* ms = Skin(memo);
    auto* area = static_cast<QPlainTextEdit*>(memo->Handle());
    EXPECT_EQ(ms->HorzBar()->geometry(), RealRect(area->horizontalScrollBar(), client));
    EXPECT_EQ(ms->VertBar()->geometry(), RealRect(area->verticalScrollBar(), client));
    memo->SetBounds(200, 10, 150, 150);
    Pump();
    EXPECT_EQ(ms->HorzBar()->geometry(), RealRect(area->horizontalScrollBar(), client));
    EXPECT_EQ(ms->VertBar()->geometry(), RealRect(area->verticalScrollBar(), client));
    // The scroll area hides and shows its bar containers: the overlays follow.
    memo->SetScrollBars(ssVertical);
    Pump();
    EXPECT_FALSE(ms->HorzBar()->isVisible());
    EXPECT_EQ(ms->VertBar()->geometry(), RealRect(area->verticalScrollBar(), client));
    memo->SetScrollBars(ssBoth);
    Pump();
    EXPECT_TRUE(ms->HorzBar()->isVisible());
    EXPECT_EQ(ms->HorzBar()->geometry(), RealRect(area->horizontalScrollBar(), client));
}

TEST_F(SkinScroll, ClicksAndDragsOnTheOverlayScrollAsOnTheRealBar)
{
    TListBox* list = List(200);
    TListBox* twin = List(200, 130);
    ShowForm();
    TSkinScrollbar* s = Skin(list);
    QScrollBar* bar = ScrollBarOf(list->Handle(), SB_VERT);
    QScrollBar* plain = ScrollBarOf(twin->Handle(), SB_VERT);
    TWScrollbar* o = s->VertBar();
    ASSERT_TRUE(o->isVisible());
    const int w = o->width(), h = o->height();
    // The second arrow steps once.
    Mouse(o, QEvent::MouseButtonPress, QPoint(w / 2, h - 3), Qt::LeftButton);
    EXPECT_TRUE(o->Pressed());
    EXPECT_EQ(o->HotPart(), TWScrollbar::hpSecondArrow);
    Mouse(o, QEvent::MouseButtonRelease, QPoint(w / 2, h - 3), Qt::NoButton);
    Pump();
    EXPECT_EQ(bar->value(), bar->singleStep());
    EXPECT_FALSE(o->Pressed());
    Mouse(o, QEvent::MouseButtonPress, QPoint(w / 2, 2), Qt::LeftButton);
    Mouse(o, QEvent::MouseButtonRelease, QPoint(w / 2, 2), Qt::NoButton);
    Pump();
    EXPECT_EQ(bar->value(), 0);
    // Held down, the arrow repeats.
    Mouse(o, QEvent::MouseButtonPress, QPoint(w / 2, h - 3), Qt::LeftButton);
    QTest::qWait(800);
    Mouse(o, QEvent::MouseButtonRelease, QPoint(w / 2, h - 3), Qt::NoButton);
    Pump();
    EXPECT_GT(bar->value(), 2 * bar->singleStep());
    bar->setValue(0);
    Pump();
    // A track click below the thumb pages once.
    Mouse(o, QEvent::MouseButtonPress, QPoint(w / 2, h - o->ArrowSize() - 2), Qt::LeftButton);
    EXPECT_EQ(o->HotPart(), TWScrollbar::hpPageAfter);
    Mouse(o, QEvent::MouseButtonRelease, QPoint(w / 2, h - o->ArrowSize() - 2), Qt::NoButton);
    Pump();
    EXPECT_EQ(bar->value(), bar->pageStep());
    bar->setValue(0);
    Pump();
    // The thumb dragged by 25 pixels moves the list as far as the same drag of a plain bar.
    const QPoint thumb(w / 2, (o->ThumbStart() + o->ThumbEnd()) / 2);
    Drag(o, thumb, QPoint(0, 25));
    Drag(plain, thumb, QPoint(0, 25));
    EXPECT_GT(plain->value(), 0);
    EXPECT_EQ(bar->value(), plain->value());
    EXPECT_EQ(list->TopIndex(), twin->TopIndex());
    EXPECT_FALSE(o->Pressed());
    // The wheel over the overlay scrolls as over the bar.
    auto wheel = [](QWidget* target) {
        const QPoint at(target->width() / 2, target->height() / 2);
        QWheelEvent e(QPointF(at), QPointF(target->mapToGlobal(at)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &e);
    };
    const int before = bar->value();
    wheel(o);
    wheel(plain);
    EXPECT_GT(bar->value(), before);
    EXPECT_EQ(bar->value(), plain->value());
    // And over the lines themselves, skinned or not.
    const int overLines = bar->value();
    wheel(list->Handle());
    wheel(twin->Handle());
    EXPECT_GT(bar->value(), overLines);
    EXPECT_EQ(bar->value(), plain->value());
    EXPECT_EQ(list->TopIndex(), bar->value());
}

TEST_F(SkinScroll, PaintedFromTheSkinStrip)
{
    TListBox* list = List(100);
    ShowForm();
    TSkinScrollbar* s = Skin(list);
    TWScrollbar* o = s->VertBar();
    const int w = o->width(), a = o->ArrowSize();
    const QRect first(0, 0, w, a);
    auto arrowMatches = [&](int cell) {
        const QImage painted = Grab(o).copy(first);
        return Differences(painted, Cell(cell, first.size()), QRect(QPoint(0, 0), first.size()));
    };
    EXPECT_EQ(arrowMatches(9), 0);
    const QImage down = Grab(o).copy(0, o->height() - a, w, a);
    EXPECT_EQ(Differences(down, Cell(13, down.size()), down.rect()), 0);
    // Hovered: + 3; pressed: + 1.
    Mouse(o, QEvent::MouseMove, QPoint(w / 2, 3), Qt::NoButton);
    EXPECT_EQ(arrowMatches(12), 0);
    Mouse(o, QEvent::MouseButtonPress, QPoint(w / 2, 3), Qt::LeftButton);
    EXPECT_EQ(arrowMatches(10), 0);
    Mouse(o, QEvent::MouseButtonRelease, QPoint(w / 2, 3), Qt::NoButton);
    Pump();
    // The thumb's top-left corner is frame 1 of the thumb element (its keyed
    // pixels show the track).
    const QImage painted = Grab(o);
    const TDataSkinObject& thumb = *Data->VertScrollThumb;
    const QImage corner = StripFrame(thumb, 1);
    int cornerBad = 0, cornerSeen = 0;
    for (int y = 0; y < std::max(1, thumb.TopHeight); ++y)
        for (int x = 0; x < std::max(1, thumb.LeftWidth); ++x) {
            const QRgb want = corner.pixel(x, y) & 0xFFFFFF;
            if (thumb.Trans == 1 && want == 0xFF00FF)
                continue;
            ++cornerSeen;
            cornerBad += (painted.pixel(x, o->ThumbStart() + y) & 0xFFFFFF) != want;
        }
    EXPECT_GT(cornerSeen, 0);
    EXPECT_EQ(cornerBad, 0);
    // Disabled: the track's frame 3 where the thumb was.
    list->SetEnabled(false);
    Pump();
    const QImage off = Grab(o);
    const QRect trackRect(0, a, w, o->height() - 2 * a);
    const QImage track = ExpectedPart(*Data->VertScroll, 3, trackRect.width(), trackRect.height(), Data->Colours.ButtonFace);
    EXPECT_EQ(Differences(off.copy(trackRect), track, track.rect()), 0);

    // A bar shorter than its two arrows draws each at half its length.
    QImage tiny(w, 20, QImage::Format_RGB32);
    tiny.fill(ToQColor(Data->Colours.ButtonFace));
    {
        QPainter p(&tiny);
        DrawSkinScrollbar(p, Data.get(), tiny.size(), TWScrollbar::kVertical, a, a, a, false, TWScrollbar::hpNone, false);
    }
    EXPECT_EQ(Differences(tiny.copy(0, 0, w, 10), Cell(9, QSize(w, 10)), QRect(0, 0, w, 10)), 0);
    EXPECT_EQ(Differences(tiny.copy(0, 10, w, 10), Cell(13, QSize(w, 10)), QRect(0, 0, w, 10)), 0);
}

TEST_F(SkinScroll, ThumbOfAScrollBarControl)
{
    int start = 0, end = 0;
    // A page far smaller than the range: a bare bar keeps an 8-pixel thumb,
    // a class-library bar the computed length.
    ControlThumb(200, 16, 0, 10000, 2, 5000, false, start, end);
    EXPECT_EQ(end - start, 8);
    EXPECT_EQ(start, 16 + (200 - 32 - 8) / 2);
    ControlThumb(200, 16, 0, 10000, 2, 5000, true, start, end);
    EXPECT_EQ(end - start, 0);
    ControlThumb(200, 16, 0, 100, 50, 0, true, start, end);
    EXPECT_EQ(start, 16);
    EXPECT_EQ(end - start, 82);
    // No page: an arrow-long thumb over the track less one arrow.
    ControlThumb(200, 16, 0, 100, 0, 100, true, start, end);
    EXPECT_EQ(start, 200 - 2 * 16);
    EXPECT_EQ(end - start, 16);
    // Nothing to scroll: the thumb fills the track instead of a division by zero.
    ControlThumb(200, 16, 5, 5, 0, 5, true, start, end);
    EXPECT_EQ(start, 16);
    EXPECT_EQ(end, 184);
}

TEST_F(SkinScroll, RestoreAndRebuildLeaveNoOverlayBehind)
{
    TListBox* list = List(100);
    auto* memo = Placed(new TMemo(Form.get()), "Memo1", Form.get(), 200, 10, 180, 120);
    memo->SetScrollBars(ssVertical);
    ShowForm();
    QWidget* client = list->Handle()->parentWidget();
    Skin(list);
    Skin(memo);
    EXPECT_EQ(Overlays(client).size(), 4u);
    // The control rebuilt its bars: the skinned form is asked to give it a fresh skinner.
    SkinForm->SetWindow(Form->Handle(), QStringLiteral("TForm"));
    WPARAM asked = 0;
    TWndProc old;
    old = SetWindowProc(Form->Handle(), [&](TMessage& m) {
        if (m.Msg == WM_SKINSCROLLFIX)
            asked = m.WParam;
        CallWindowProc(old, m);
    });
    SendMessage(memo->Handle(), 0xB033);
    Pump();
    SetWindowProc(Form->Handle(), old);
    EXPECT_EQ(asked, WParamOf(memo->Handle()));
    SkinForm->ScrollFix(memo->Handle());
    Pump();
    int memoSkinners = 0;
    for (TComponent* c : SkinForm->Controls())
        if (auto* sc = dynamic_cast<TSkinScrollbar*>(c); sc && sc->Control() == memo) {
            ++memoSkinners;
            EXPECT_TRUE(sc->VertBar()->isVisible());
        }
    EXPECT_EQ(memoSkinners, 1);
    EXPECT_EQ(Overlays(client).size(), 4u);
    SkinForm->RestoreControls(true);
    Pump();
    EXPECT_TRUE(Overlays(client).empty());
    EXPECT_TRUE(SkinForm->Controls().empty());
    // The list scrolls by itself again.
    QScrollBar* bar = ScrollBarOf(list->Handle(), SB_VERT);
    Mouse(bar, QEvent::MouseButtonPress, QPoint(bar->width() / 2, bar->height() - 3), Qt::LeftButton);
    Mouse(bar, QEvent::MouseButtonRelease, QPoint(bar->width() / 2, bar->height() - 3), Qt::NoButton);
    EXPECT_EQ(bar->value(), bar->singleStep());

    // A control destroyed while skinned takes its overlays away.
    TListBox* other = List(100, 130);
    Skin(other);
    EXPECT_EQ(Overlays(client).size(), 2u);
    delete other;
    Pump();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(Overlays(client).empty());
}

TEST_F(SkinScroll, DropDownListDragsItsThumbToTheEnd)
{
    auto* view = new QListWidget(Form->Handle());
    for (int i = 0; i < 100; ++i)
        view->addItem(QStringLiteral("Položka %1").arg(i));
    view->setGeometry(10, 10, 150, 120);
    ShowForm();
    view->show();
    Pump();
    auto* s = new TComboxScrollBar(SkinForm.get());
    s->InitHwnd(view, Data.get(), nullptr, SkinForm.get());
    QScrollBar* bar = view->verticalScrollBar();
    SCROLLBARINFO info;
    ASSERT_TRUE(GetScrollBarInfo(view, OBJID_VSCROLL, info));
    const int mid = (info.xyThumbTop + info.xyThumbBottom) / 2;
    EXPECT_FALSE(s->StartThumbDrag(info.xyThumbBottom + 5));
    ASSERT_TRUE(s->StartThumbDrag(mid));
    EXPECT_EQ(s->DragPosition(10000), bar->maximum());
    EXPECT_EQ(s->DragPosition(-10000), bar->minimum());
    Mouse(bar, QEvent::MouseButtonRelease, QPoint(bar->width() / 2, mid), Qt::NoButton);
    EXPECT_FALSE(s->Dragging());
    // Dragged through the bar itself: the list follows and ends at the last page.
    Mouse(bar, QEvent::MouseButtonPress, QPoint(bar->width() / 2, mid), Qt::LeftButton);
    EXPECT_TRUE(s->Dragging());
    Mouse(bar, QEvent::MouseMove, QPoint(bar->width() / 2, mid + 1000), Qt::LeftButton);
    EXPECT_EQ(bar->value(), bar->maximum());
    Mouse(bar, QEvent::MouseButtonRelease, QPoint(bar->width() / 2, mid + 1000), Qt::NoButton);
    Pump();
    EXPECT_FALSE(s->Dragging());
    EXPECT_EQ(bar->value(), bar->maximum());
    // Its bar shows the skin: the first arrow is cell 9.
    const QImage painted = Grab(bar);
    const int a = info.dxyLineButton;
    EXPECT_EQ(Differences(painted.copy(0, 0, bar->width(), a), Cell(9, QSize(bar->width(), a)),
                          QRect(0, 0, bar->width(), a)),
              0);
    s->Restore();
    delete s;
}

TEST_F(SkinScroll, ListViewBarsAndOneHeaderSkinnerThroughARebuild)
{
    auto* lv = Placed(new TListView(Form.get()), "ListView1", Form.get(), 10, 10, 300, 150);
    lv->Columns()->Add()->SetCaption(QStringLiteral("Interpret"));
    lv->Columns()->Add()->SetCaption(QStringLiteral("Album"));
    for (int i = 0; i < 60; ++i)
        lv->Items()->Add()->SetCaption(QStringLiteral("Skladba %1").arg(i));
    ShowForm();
    auto* s = new TSkinListView(lv);
    s->InitScroll(lv, Data.get(), SkinForm.get(), nullptr);
    Pump();
    QTreeWidget* tree = lv->Tree();
    EXPECT_EQ(s->VertBar()->geometry(), RealRect(tree->verticalScrollBar(), lv->Handle()->parentWidget()));
    ASSERT_NE(s->HeaderSkinner(), nullptr);
    EXPECT_EQ(SendMessage(tree->header(), WM_SKINQUERY), 1);
    SkinForm->ScrollFix(lv->Handle());
    Pump();
    int headers = 0, lists = 0;
    for (TComponent* c : SkinForm->Controls()) {
        headers += dynamic_cast<TSkinControl*>(c)->Hwnd() == tree->header();
        lists += dynamic_cast<TSkinListView*>(c) != nullptr;
    }
    EXPECT_EQ(headers, 1);
    EXPECT_EQ(lists, 1);
}

TEST_F(SkinScroll, BareListsAndScrollBarControls)
{
    auto* view = new QListWidget(Form->Handle());
    for (int i = 0; i < 100; ++i)
        view->addItem(QStringLiteral("Položka %1").arg(i));
    view->setGeometry(10, 10, 150, 120);
    auto* bare = new QScrollBar(Qt::Horizontal, Form->Handle());
    bare->setGeometry(10, 150, 200, 16);
    bare->setRange(0, 50);
    ShowForm();
    view->show();
    bare->show();
    Pump();
    QWidget* client = Form->Handle();
    // The list of a simple combo box: a bare window with both overlays.
    auto* list = new TSkinScrollbarH(SkinForm.get());
    list->InitHwnd(view, Data.get(), nullptr, SkinForm.get());
    Pump();
    EXPECT_EQ(list->VertBar()->geometry(), RealRect(view->verticalScrollBar(), client));
    EXPECT_FALSE(list->HorzBar()->isVisible());
    // A scroll-bar control: one overlay over the whole bar; a press on its
    // second arrow goes on to the bar.
    auto* sc = new TSkinScControl(SkinForm.get());
    sc->InitHwnd(bare, Data.get(), nullptr, SkinForm.get());
    Pump();
    TWScrollbar* o = sc->Bar();
    EXPECT_EQ(o->Direction(), TWScrollbar::kHorizontal);
    EXPECT_EQ(o->geometry(), bare->geometry());
    Mouse(o, QEvent::MouseButtonPress, QPoint(o->width() - 3, 8), Qt::LeftButton);
    Mouse(o, QEvent::MouseButtonRelease, QPoint(o->width() - 3, 8), Qt::NoButton);
    EXPECT_EQ(bare->value(), bare->singleStep());
    // A list in a splitter: the splitter gains no pane, the overlay lies over the bar.
    auto* splitter = new QSplitter(Form->Handle());
    auto* pane = new QListWidget;
    for (int i = 0; i < 100; ++i)
        pane->addItem(QStringLiteral("Soubor %1").arg(i));
    splitter->addWidget(pane);
    splitter->setGeometry(220, 10, 150, 120);
    splitter->show();
    Pump();
    auto* inSplitter = new TSkinScrollbarH(SkinForm.get());
    inSplitter->InitHwnd(pane, Data.get(), nullptr, SkinForm.get());
    Pump();
    EXPECT_EQ(splitter->count(), 1);
    TWScrollbar* v = inSplitter->VertBar();
    EXPECT_TRUE(v->isVisible());
    EXPECT_EQ(QRect(v->mapToGlobal(QPoint(0, 0)), v->size()),
              QRect(pane->verticalScrollBar()->mapToGlobal(QPoint(0, 0)), pane->verticalScrollBar()->size()));
    list->Restore();
    sc->Restore();
    inSplitter->Restore();
    Pump();
    EXPECT_TRUE(Overlays(client).empty());
    EXPECT_TRUE(Overlays(pane).empty());
    delete list;
    delete sc;
    delete inSplitter;
}

TEST_F(SkinScroll, GridsListViewsAndFolderTreesTakeTheSkinnedBorderUnlessBorderless)
{
    auto* grid = Placed(new TStringGrid(Form.get()), "StringGrid1", Form.get(), 10, 10, 120, 80);
    auto* list = Placed(new TListView(Form.get()), "ListView1", Form.get(), 140, 10, 120, 80);
    auto* tree = Placed(new TShellTreeView(Form.get()), "ShellTreeView1", Form.get(), 270, 10, 120, 80);
    auto* bare = Placed(new TStringGrid(Form.get()), "StringGrid2", Form.get(), 10, 100, 120, 80);
    ShowForm();
    qobject_cast<QFrame*>(bare->Handle())->setFrameShape(QFrame::NoFrame); // BorderStyle bsNone
    Pump();
    const QImage bareBefore = Grab(bare->Handle());
    for (TWinControl* c : {static_cast<TWinControl*>(grid), static_cast<TWinControl*>(list),
                           static_cast<TWinControl*>(tree), static_cast<TWinControl*>(bare)})
        TSkinChooser(SkinForm.get(), Data.get()).SkinControl(c);
    Pump();
    const QRgb shadow = ToQColor(Data->Colours.ButtonShadow).rgb() & 0xFFFFFF;
    const QRgb face = Face() & 0xFFFFFF;
    for (TWinControl* c : {static_cast<TWinControl*>(grid), static_cast<TWinControl*>(list),
                           static_cast<TWinControl*>(tree)}) {
        const QImage img = Grab(c->Handle());
        const int w = img.width(), h = img.height();
        int outer = 0, inner = 0, count = 0;
        // Outer line in the shadow colour, the line inside it in the face colour, all round.
        for (int x = 2; x < w - 2; x += 7) {
            outer += (img.pixel(x, 0) & 0xFFFFFF) == shadow && (img.pixel(x, h - 1) & 0xFFFFFF) == shadow;
            inner += (img.pixel(x, 1) & 0xFFFFFF) == face && (img.pixel(x, h - 2) & 0xFFFFFF) == face;
            ++count;
        }
        for (int y = 2; y < h - 2; y += 7) {
            outer += (img.pixel(0, y) & 0xFFFFFF) == shadow && (img.pixel(w - 1, y) & 0xFFFFFF) == shadow;
            inner += (img.pixel(1, y) & 0xFFFFFF) == face && (img.pixel(w - 2, y) & 0xFFFFFF) == face;
            ++count;
        }
        EXPECT_EQ(outer, count) << c->ClassName().toStdString();
        EXPECT_EQ(inner, count) << c->ClassName().toStdString();
    }
    EXPECT_EQ(GetPropValue(bare, QStringLiteral("BorderStyle")), QStringLiteral("bsNone"));
    // A borderless grid gets no shadow line round it (its fixed cells take the face colour).
    const QImage bareAfter = Grab(bare->Handle());
    int shadowEdge = 0;
    for (int y = 2; y < bareAfter.height() - 2; y += 7)
        shadowEdge += (bareAfter.pixel(0, y) & 0xFFFFFF) == shadow;
    EXPECT_EQ(shadowEdge, 0);
    EXPECT_NE(bareBefore.pixel(0, 10) & 0xFFFFFF, shadow);
}

TEST_F(SkinScroll, TheDesignSurfacesScrollBoxTakesSkinnedBarsWhenItsContentOutgrowsIt)
{
    // As the main window has it: a scroll box filling the client, its
    // content smaller at first, the window then made smaller than it.
    auto* box = Placed(new TScrollBox(Form.get()), "ScrollBox", Form.get(), 0, 0, 400, 280);
    auto* content = Placed(new TPanel(Form.get()), "PNLCD", box, 20, 20, 300, 200);
    content->SetColor(clWhite);
    ShowForm();
    TSkinChooser(SkinForm.get(), Data.get()).SkinControl(box);
    Pump();
    ASSERT_EQ(SendMessage(box->Handle(), WM_SKINQUERY), 1);
    box->SetBounds(0, 0, 150, 120);
    Pump();
    auto* area = qobject_cast<QAbstractScrollArea*>(box->Handle()->parentWidget()->parentWidget());
    ASSERT_TRUE(area);
    ASSERT_TRUE(area->verticalScrollBar()->isVisible());
    int shown = 0;
    for (TWScrollbar* b : Overlays(Form->ClientWidget()))
        if (b->Shown() && b->isVisible()) {
            ++shown;
            QScrollBar* real = b->Kind() == TWScrollbar::kVertical ? area->verticalScrollBar() : area->horizontalScrollBar();
            EXPECT_EQ(b->geometry(), RealRect(real, Form->ClientWidget()));
        }
    EXPECT_EQ(shown, 2);
}

TEST_F(SkinScroll, AScrollBoxGetsSkinnedBarsWhoseThumbFollowsTheValue)
{
    auto* box = Placed(new TScrollBox(Form.get()), "ScrollBox1", Form.get(), 10, 10, 200, 150);
    Placed(new TPanel(Form.get()), "Panel1", box, 0, 0, 600, 400);
    ShowForm();
    TSkinScrollbar* s = Skin(box);
    QScrollBar* bar = box->Area()->horizontalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    TWScrollbar* o = s->HorzBar();
    // The overlay lies over the area's own bar, not somewhere inside the box.
    ASSERT_TRUE(o->isVisible());
    EXPECT_EQ(QRect(o->mapToGlobal(QPoint(0, 0)), o->size()), QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size()));
    // The thumb's left edge is frame 1 of the thumb element, wherever the thumb is.
    const TDataSkinObject& thumb = *Data->HorzScrollThumb;
    const QImage corner = StripFrame(thumb, 1);
    auto cornerAt = [&](int x0) {
        const QImage painted = Grab(o);
        int bad = 0;
        for (int y = 0; y < std::max(1, thumb.TopHeight); ++y)
            for (int x = 0; x < std::max(1, thumb.LeftWidth); ++x) {
                const QRgb want = corner.pixel(x, y) & 0xFFFFFF;
                if (!(thumb.Trans == 1 && want == 0xFF00FF))
                    bad += (painted.pixel(x0 + x, y) & 0xFFFFFF) != want;
            }
        return bad;
    };
    const int startBefore = o->ThumbStart();
    EXPECT_EQ(cornerAt(startBefore), 0);
    // A click on the track after the thumb scrolls the box and moves the painted thumb.
    const QPoint track(o->width() - o->ArrowSize() - 3, o->height() / 2);
    QTest::mouseClick(o, Qt::LeftButton, Qt::NoModifier, track);
    Pump();
    EXPECT_GT(bar->value(), 0);
    EXPECT_EQ(box->HorzPosition(), bar->value());
    EXPECT_GT(o->ThumbStart(), startBefore);
    EXPECT_EQ(cornerAt(o->ThumbStart()), 0);
    EXPECT_NE(cornerAt(startBefore), 0);
}
