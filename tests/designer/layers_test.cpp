#include "designer_fixture.h"
#include "test_support.h"

#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "classlib/controls/trans_memo.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <QPlainTextEdit>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {
TLabel* AddText(TFrmMain* m, const QString& text)
{
    auto* l = new TLabel(m);
    l->SetCaption(text);
    l->SetAutoSize(false);
    l->SetBounds(50, 50, 60, 20);
    l->SetTag(1);
    l->SetParent(m->PNLCD);
    m->SetObjectHandlers(l);
    m->RenumberObjects();
    m->RebuildLayerList();
    return l;
}

QStringList Lines(TFrmMain* m)
{
    QStringList out;
    for (int i = 0; i < m->Vrstvy->Items()->Count(); ++i)
        out << m->Vrstvy->Items()->Strings(i).trimmed();
    return out;
}

// A drop of the selected line at a point of the list.
void DropSelectedLineAt(TFrmMain* m, int line)
{
    m->VrstvyDragDrop(m->Vrstvy, m->Vrstvy, 30, line * m->Vrstvy->ItemHeight() + 3);
}
} // namespace

TEST(Layers, ListShowsTheTopmostFirstAndRestacksByDragAndDrop)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TLabel* a = AddText(m, "A");
    TLabel* b = AddText(m, "B");
    TLabel* c = AddText(m, "C");
    EXPECT_EQ(Lines(m), QStringList({"C", "B", "A"}));
    EXPECT_EQ(m->Vrstvy->Items()->Strings(0), QString(20, QLatin1Char(' ')) + QStringLiteral("C"));
    EXPECT_EQ(m->LayerIndexOf(0), 2);
    EXPECT_EQ(m->LayerIndexOf(2), 0);
    EXPECT_EQ(m->LayerIndexOf(-1), 0);
    EXPECT_EQ(m->LayerIndexOf(3), 0);

    bool accept = false;
    m->VrstvyDragOver(m->Vrstvy, m->Vrstvy, 0, 0, dsDragMove, accept);
    EXPECT_TRUE(accept);
    m->VrstvyDragOver(m->Vrstvy, m->PNLCD, 0, 0, dsDragMove, accept);
    EXPECT_FALSE(accept);

    // A's line onto C's: B, C, A with A on top.
    m->Vrstvy->SetItemIndex(2);
    DropSelectedLineAt(m, 0);
    EXPECT_EQ(m->Components(0), b);
    EXPECT_EQ(m->Components(1), c);
    EXPECT_EQ(m->Components(2), a);
    EXPECT_EQ(Lines(m), QStringList({"A", "C", "B"}));
    EXPECT_EQ(m->Vrstvy->ItemIndex(), 0);
    EXPECT_TRUE(m->Modified);
    // The surface stacks as the components do.
    int ia = -1, ib = -1;
    for (int i = 0; i < m->PNLCD->ControlCount(); ++i) {
        if (m->PNLCD->Controls(i) == a)
            ia = i;
        if (m->PNLCD->Controls(i) == b)
            ib = i;
    }
    EXPECT_GT(ia, ib);

    // Below the last line: to the bottom, and no line selected.
    m->Modified = false;
    m->Vrstvy->SetItemIndex(1); // C
    DropSelectedLineAt(m, 10);
    EXPECT_EQ(m->Components(0), c);
    EXPECT_EQ(Lines(m), QStringList({"A", "B", "C"}));
    EXPECT_EQ(m->Vrstvy->ItemIndex(), -1);
    EXPECT_TRUE(m->Modified);
}

TEST(Layers, IconColumnsHideAndLockAndAClickElsewhereOnlySelects)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TLabel* a = AddText(m, "A");
    TLabel* b = AddText(m, "B");
    QWidget* list = m->Vrstvy->Handle();
    // Line 1 is A. A click at x 25 selects it and shows its frame.
    TestSupport::MouseClick(list, QPoint(25, 13 + 4));
    EXPECT_EQ(m->SelectedObject, a);
    EXPECT_TRUE(m->RT->Visible());
    EXPECT_TRUE(a->Visible());
    EXPECT_FALSE(m->Modified);

    // The eye column hides it, with its frame.
    TestSupport::MouseClick(list, QPoint(15, 13 + 4));
    EXPECT_FALSE(a->Visible());
    EXPECT_FALSE(m->RT->Visible());
    EXPECT_TRUE(m->Modified);
    EXPECT_EQ(m->Vrstvy->ItemIndex(), 1);
    // ...and shows it again with the frame and centre lines.
    TestSupport::MouseClick(list, QPoint(15, 13 + 4));
    EXPECT_TRUE(a->Visible());
    EXPECT_TRUE(m->RT->Visible());
    EXPECT_TRUE(m->HK->Visible());

    // The lock column locks: no frame, no centre lines; again unlocks.
    TestSupport::MouseClick(list, QPoint(40, 13 + 4));
    EXPECT_EQ(a->Tag(), 2);
    EXPECT_FALSE(m->RT->Visible());
    EXPECT_FALSE(m->HK->Visible());
    m->TxZamkniClick(m->TxZamkni);
    EXPECT_EQ(a->Tag(), 1);
    EXPECT_TRUE(m->RT->Visible());
    EXPECT_EQ(b->Tag(), 1);

    // Nothing selected: the commands do nothing.
    m->Vrstvy->SetItemIndex(-1);
    m->Modified = false;
    m->btnZobrazeniClick(m);
    EXPECT_FALSE(m->Modified);
}

TEST(Layers, DrawnLinesShowSelectionEyeAndLock)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TLabel* a = AddText(m, "A");
    AddText(m, "B");
    a->SetVisible(false);
    a->SetTag(2);
    m->Vrstvy->SetItemIndex(0);
    m->Vrstvy->SetBounds(0, 0, 200, 60);
    const QImage shot = m->Vrstvy->Handle()->grab().toImage();
    // Line 0 (B) selected in light blue, line 1 (A) white.
    EXPECT_EQ(shot.pixelColor(150, 6), QColor(199, 221, 239));
    EXPECT_EQ(shot.pixelColor(150, 13 + 6), QColor(Qt::white));
    // The icons as the image list holds them: the open eye on B, the closed eye and lock on A.
    auto iconDrawn = [&](int x, int y, int icon) {
        const QImage& img = m->ImageListV->Image(icon);
        int same = 0, inked = 0;
        for (int iy = 0; iy < 13; ++iy)
            for (int ix = 0; ix < 16; ++ix) {
                if (qAlpha(img.pixel(ix, iy)) < 255)
                    continue;
                ++inked;
                same += shot.pixelColor(x + ix, y + iy).rgb() == QColor::fromRgba(img.pixel(ix, iy)).rgb();
            }
        return inked > 0 && same == inked;
    };
    EXPECT_TRUE(iconDrawn(8, 0, 0));
    EXPECT_TRUE(iconDrawn(8, 13, 2));
    EXPECT_TRUE(iconDrawn(34, 13, 1));
    EXPECT_FALSE(iconDrawn(34, 0, 1));
}

TEST(Layers, AMultiLineTextShowsItsLinesApartAndOnlyAnOpenTextCountsAsShown)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    // A hidden shape whose hint happens to read "1", under the text.
    auto* s = new TShape(m);
    s->SetTag(1);
    s->SetParent(m->PNLCD);
    s->SetBounds(10, 10, 20, 20);
    s->SetHint(QStringLiteral("1"));
    s->SetVisible(false);
    m->SetObjectHandlers(s);
    m->AddTextObject(QStringLiteral("Seznam skladeb\r\n1. Příliš"), 0);
    const QString prefix(20, QLatin1Char(' '));
    EXPECT_EQ(m->Vrstvy->Items()->Strings(0), prefix + QStringLiteral("Seznam skladeb 1. Příliš"));

    // A line typed in the editor keeps the lines apart too.
    m->txt2Click(m->txt2);
    ASSERT_TRUE(m->EditMemo->Visible());
    QWidget* editor = m->EditMemo->Editor();
    QTest::keyClick(editor, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, QStringLiteral("2. Dva"));
    EXPECT_EQ(m->Vrstvy->Items()->Strings(0), QStringLiteral("2:") + QString(18, QLatin1Char(' ')) +
                                                  QStringLiteral("Seznam skladeb 1. Příliš 2. Dva"));

    // While the text is open in the editor its eye stays open; the shape's stays closed.
    m->Vrstvy->SetBounds(0, 0, 200, 60);
    const QImage shot = m->Vrstvy->Handle()->grab().toImage();
    auto iconDrawn = [&](int y, int icon) {
        const QImage& img = m->ImageListV->Image(icon);
        int same = 0, inked = 0;
        for (int iy = 0; iy < 13; ++iy)
            for (int ix = 0; ix < 16; ++ix) {
                if (qAlpha(img.pixel(ix, iy)) < 255)
                    continue;
                ++inked;
                same += shot.pixelColor(8 + ix, y + iy).rgb() == QColor::fromRgba(img.pixel(ix, iy)).rgb();
            }
        return inked > 0 && same == inked;
    };
    EXPECT_TRUE(iconDrawn(0, 0));
    EXPECT_TRUE(iconDrawn(13, 2));
    EXPECT_FALSE(iconDrawn(13, 0));
}

TEST(SidePanel, PanelsRollUpAndDownBySixPixelSteps)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    EXPECT_EQ(m->PP2->Top(), 130);
    EXPECT_EQ(m->pnlVlastnosti->Top(), 150);
    EXPECT_EQ(m->PnlPozadi->Top(), 293);
    EXPECT_EQ(m->PnlSablony->Top(), 411);
    EXPECT_TRUE(m->i1up->Visible());
    m->i1upClick(m->i1up);
    EXPECT_EQ(m->pnlVrstvy->Height(), -2);
    EXPECT_EQ(m->PanelOffset1, -66);
    EXPECT_EQ(m->PP2->Top(), 130 - 66);
    EXPECT_EQ(m->i2up->Top(), 129 - 66);
    EXPECT_EQ(m->TPnlPozadi->Top(), 257 - 66);
    EXPECT_EQ(m->PnlSablony->Top(), 411 - 66);
    EXPECT_FALSE(m->i1up->Visible());
    EXPECT_TRUE(m->i1down->Visible());
    m->i2upClick(m->i2up); // 100 -> -2 in 17 steps
    EXPECT_EQ(m->PanelOffset2, -102);
    EXPECT_EQ(m->PnlSablony->Top(), 411 - 66 - 102);
    m->i1downClick(m->i1down);
    EXPECT_EQ(m->pnlVrstvy->Height(), 64);
    EXPECT_EQ(m->PanelOffset1, 0);
    EXPECT_EQ(m->PP2->Top(), 130);
    EXPECT_TRUE(m->i1up->Visible());
    m->i2downClick(m->i2down);
    EXPECT_EQ(m->pnlVlastnosti->Height(), 100);
    EXPECT_EQ(m->PnlSablony->Top(), 411);
    // The last panel moves nothing below it.
    m->i4upClick(m->i4up);
    EXPECT_EQ(m->PnlSablony->Top(), 411);
    EXPECT_LT(m->PnlSablony->Height(), 1);
}

TEST(SidePanel, BackgroundListWalksTheFolderWithEndMarks)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    const QString app = TestSupport::MakeTempDir();
    QDir(app).mkpath(QStringLiteral("Background"));
    for (const char* name : {"b.jpg", "a.JPG", "c.png"}) {
        TBitmap bmp;
        bmp.SetSize(4, 3);
        bmp.SaveToFile(app + QStringLiteral("/Background/") + QString::fromLatin1(name) + QStringLiteral(".bmp"));
        QFile::rename(app + QStringLiteral("/Background/") + QString::fromLatin1(name) + QStringLiteral(".bmp"),
                      app + QStringLiteral("/Background/") + QString::fromLatin1(name));
    }
    m->AppDir = app;
    m->sZadnePozadi = QStringLiteral("Žádné");
    m->FillBackgroundList();
    ASSERT_EQ(m->lComboPozadi->Items()->Count(), 3);
    EXPECT_EQ(m->lComboPozadi->Items()->Strings(1), QStringLiteral("a.JPG"));
    EXPECT_EQ(m->NazevPozadi->Caption(), QStringLiteral("Žádné"));
    EXPECT_EQ(m->SLblBack->HelpContext(), 100);
    EXPECT_EQ(m->SLblBack->Font()->Color(), m->DisableFont->Font()->Color());
    EXPECT_TRUE(m->SLblNext->Enabled());

    // The files are bitmaps under a .jpg name: the reader tells by content or fails cleanly.
    try {
        m->LbtnR1Click(m);
    } catch (...) {
    }
    EXPECT_EQ(m->lComboPozadi->ItemIndex(), 1);
    EXPECT_EQ(m->NazevPozadi->Caption(), QStringLiteral("a.JPG"));
    EXPECT_EQ(m->SLblBack->HelpContext(), 0);
    try {
        m->LbtnR1Click(m);
        m->LbtnR1Click(m); // at the last: stays
    } catch (...) {
    }
    EXPECT_EQ(m->lComboPozadi->ItemIndex(), 2);
    EXPECT_EQ(m->SLblNext->HelpContext(), 100);
    // Under the mouse a disabled link keeps its look; an enabled one changes.
    m->LinkMouseMove(m->SLblNext, 0, 1, 1);
    EXPECT_FALSE(m->SLblNext->Font()->Style() & FontStyleBit(fsUnderline));
    m->LinkMouseMove(m->SLblBack, 0, 1, 1);
    EXPECT_TRUE(m->SLblBack->Font()->Style() & FontStyleBit(fsUnderline));
    m->LinkMouseLeave(m->SLblBack);
    EXPECT_FALSE(m->SLblBack->Font()->Style() & FontStyleBit(fsUnderline));

    m->Modified = false;
    m->P3L1Click(m);
    EXPECT_EQ(m->lComboPozadi->ItemIndex(), 0);
    EXPECT_EQ(m->IMGBck->Picture()->Width(), m->BilyImg->Picture()->Width());
    EXPECT_TRUE(m->Modified);
    m->LbtnL1Click(m); // at the first: stays, re-applied
    EXPECT_EQ(m->lComboPozadi->ItemIndex(), 0);

    // A missing folder: the message, and the list holds entry 0 alone.
    QString shown;
    SetMessageBoxHook([&shown](const QString& text, const QString&, unsigned) {
        shown = text;
        return IDOK;
    });
    m->AppDir = app + QStringLiteral("/nothing");
    m->sChybaCteniPozadi = QStringLiteral("Nelze číst pozadí");
    m->FillBackgroundList();
    EXPECT_EQ(shown, QStringLiteral("Nelze číst pozadí"));
    EXPECT_EQ(m->lComboPozadi->Items()->Count(), 1);
    EXPECT_FALSE(m->SLblNext->Enabled());
}

TEST(SidePanel, StyleListFollowsTheTemplateType)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    const QString app = TestSupport::MakeTempDir();
    QDir(app).mkpath(QStringLiteral("Style"));
    for (const char* name : {"one.cd", "two.bok", "three.BOK", "four.dvd"}) {
        QFile file(app + QStringLiteral("/Style/") + QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    m->AppDir = app;
    m->FillStyleList();
    EXPECT_EQ(m->lComboStyly->Items()->Count(), 2);
    m->DeleteTemplateParams();
    m->CreateTemplateParams(false, false, 118, 44, 0, 0, 0, 0, 0, 0, 2, QStringLiteral("Booklet"));
    m->FillStyleList();
    ASSERT_EQ(m->lComboStyly->Items()->Count(), 3);
    EXPECT_EQ(m->lComboStyly->Items()->Strings(1), QStringLiteral("three.BOK"));
    EXPECT_EQ(m->lComboStyly->Items()->Strings(2), QStringLiteral("two.bok"));
    EXPECT_EQ(m->SbLblBack->HelpContext(), 100);
    m->DeleteTemplateParams();
    m->CreateTemplateParams(false, false, 118, 44, 0, 0, 0, 0, 0, 0, 7, QStringLiteral("?"));
    m->FillStyleList();
    EXPECT_EQ(m->lComboStyly->Items()->Count(), 2); // any other type lists "*.cd"
    // The status bar shows the hint and the template's name.
    Application->SetHint(QStringLiteral("Nápověda"));
    m->ApplicationHint(Application);
    EXPECT_EQ(m->StatusBar->PanelText(0), QStringLiteral("Nápověda"));
    EXPECT_EQ(m->StatusBar->PanelText(1), QStringLiteral("?"));
}

TEST(SidePanel, PropertyLinksMirrorTheSelectionsMenu)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    auto links = [m] {
        QStringList out;
        for (int i = 0; i < m->pnlVlastnosti->ControlCount(); ++i)
            if (auto* l = dynamic_cast<TLabel*>(m->pnlVlastnosti->Controls(i)))
                out << QStringLiteral("%1@%2,%3").arg(l->Caption()).arg(l->Left()).arg(l->Top());
        return out;
    };
    m->BuildPropertyLinks();
    EXPECT_EQ(links(), QStringList({"Objektový mód@16,11", "Pomocná mřížka@16,32", "Ořez CD@16,53"}));

    m->btnRect->Click();
    m->VK1TMouseDown(m->TopVSA, mbLeft, 0, 100, 100);
    m->VK1TMouseUp(m->TopVSA, mbLeft, 0, 100, 100);
    ASSERT_EQ(m->ObjectCount(), 1);
    EXPECT_EQ(links(), QStringList({"Vlastnosti objektu@16,11", "Barva pozadí@16,32", "Barva okraje@16,53",
                                    "Smazat@16,74"}));
    // Every command of the shape popup is offered: its link lights up on hover.
    for (int i = 0; i < m->pnlVlastnosti->ControlCount(); ++i)
        if (auto* l = dynamic_cast<TLabel*>(m->pnlVlastnosti->Controls(i))) {
            EXPECT_EQ(l->HelpContext(), 0) << l->Caption().toStdString();
            m->LinkMouseMove(l, 0, 1, 1);
            EXPECT_EQ(l->Font()->Color(), m->MouseFont->Font()->Color());
        }
    // The "Smazat" link deletes the shape (the link itself goes away later, safely).
    TLabel* del = nullptr;
    for (int i = 0; i < m->pnlVlastnosti->ControlCount(); ++i)
        if (auto* l = dynamic_cast<TLabel*>(m->pnlVlastnosti->Controls(i)); l && l->Caption() == QStringLiteral("Smazat"))
            del = l;
    ASSERT_NE(del, nullptr);
    del->Click();
    EXPECT_EQ(m->ObjectCount(), 0);
    EXPECT_EQ(links().size(), 3);
    QCoreApplication::processEvents();

    // The grid link toggles the bleed view.
    for (int i = 0; i < m->pnlVlastnosti->ControlCount(); ++i)
        if (auto* l = dynamic_cast<TLabel*>(m->pnlVlastnosti->Controls(i)); l && l->Caption() == QStringLiteral("Pomocná mřížka"))
            l->Click();
    EXPECT_TRUE(m->btnKriz->Down());
}

TEST(SidePanel, ResizeCentresTheSurfaceButNeverLeftOfOne)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    m->FormResize(m);
    EXPECT_EQ(m->PNLCD->Left(), std::max(m->ScrollBox->Width() / 2 - 461 / 2, 1));
    EXPECT_EQ(m->BckImg->Left(), m->PNLCD->Left());
    EXPECT_EQ(m->StatusBar->Panel(0).Width, m->Width() - 250);
    m->SetBounds(m->Left(), m->Top(), 400, 300);
    m->FormResize(m);
    EXPECT_EQ(m->PNLCD->Left(), 1);
    EXPECT_EQ(m->PNLCD->Top(), 1);
}

// The frame and the cross of a selection raised in the list stay on top of
// it, and a click beside the surface clears the selection with its frame.
TEST(Layers, RaisedObjectKeepsItsMarksOnTopAndAClickBesideClearsTheSelection)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TLabel* a = AddText(m, "A");
    AddText(m, "B"); // over A, same bounds
    m->Vrstvy->SetItemIndex(1);
    m->VrstvyClick(m->Vrstvy);
    ASSERT_EQ(m->SelectedObject, a);
    DropSelectedLineAt(m, 0);
    ASSERT_EQ(Lines(m), QStringList({"A", "B"}));
    // The frame lines and the centre cross are what the eye meets first; the
    // mouse meets the frame lines, while the centre cross lets it through to A.
    ASSERT_TRUE(m->HK->Visible() && m->RT->Visible());
    auto stackIndex = [m](TControl* c) {
        for (int i = 0; i < m->PNLCD->ControlCount(); ++i)
            if (m->PNLCD->Controls(i) == c)
                return i;
        return -1;
    };
    EXPECT_GT(stackIndex(m->HK), stackIndex(a));
    EXPECT_EQ(m->PNLCD->ControlAtPos(m->HK->Left(), m->HK->Top() + 2), a);
    EXPECT_EQ(m->PNLCD->ControlAtPos(m->RT->Left() + 5, m->RT->Top()), m->RT);

    m->ScrollBoxClick(m->ScrollBox);
    EXPECT_EQ(m->SelectedObject, m->SizeLabel);
    EXPECT_EQ(m->Vrstvy->ItemIndex(), -1);
    EXPECT_FALSE(m->RT->Visible() || m->HK->Visible());
    // The side panel offers what an empty surface offers.
    QStringList links;
    for (int i = 0; i < m->pnlVlastnosti->ControlCount(); ++i)
        if (auto* l = dynamic_cast<TLabel*>(m->pnlVlastnosti->Controls(i)); l && l->Visible())
            links << l->Caption();
    EXPECT_FALSE(links.isEmpty());
    EXPECT_FALSE(links.contains(m->mnuSmazat1->Caption()));
}

TEST(SidePanel, DeleteLinkWorksAfterTheTextPopupWasOpenedInEditMode)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    m->AddTextObject(QStringLiteral("A"), 0);
    m->AddTextObject(QStringLiteral("B"), 0);
    TControl* b = m->SelectedObject;
    ASSERT_EQ(m->ObjectCount(), 2);

    // Edit mode; the text's popup opens at a right click on it and is closed with Escape.
    m->txt2Click(m->txt2);
    ASSERT_TRUE(m->TextEditMode);
    QWidget* at = m->EditMemo->Visible() ? m->EditMemo->Editor()->viewport() : m->PNLCD->Handle();
    const QPoint p = at == m->PNLCD->Handle() ? QPoint(b->Left() + 3, b->Top() + 3) : QPoint(3, 3);
    bool popped = false;
    QTimer::singleShot(50, [&] {
        if (QWidget* menu = QApplication::activePopupWidget()) {
            popped = true;
            QTest::keyClick(menu, Qt::Key_Escape);
        }
    });
    QContextMenuEvent right(QContextMenuEvent::Mouse, p, at->mapToGlobal(p));
    QCoreApplication::sendEvent(at, &right);
    ASSERT_TRUE(popped);
    m->txt1Click(m->txt1);
    ASSERT_FALSE(m->TextEditMode);

    // The other text, chosen in the layer list: its "Smazat" link is live.
    TestSupport::MouseClick(m->Vrstvy->Handle(), QPoint(25, 13 + 4));
    ASSERT_NE(m->SelectedObject, b);
    TLabel* del = nullptr;
    for (int i = 0; i < m->pnlVlastnosti->ControlCount(); ++i)
        if (auto* l = dynamic_cast<TLabel*>(m->pnlVlastnosti->Controls(i)); l && l->Caption() == QStringLiteral("Smazat"))
            del = l;
    ASSERT_NE(del, nullptr);
    EXPECT_EQ(del->HelpContext(), 0);
    EXPECT_EQ(del->Font()->Color(), m->NormalFont->Font()->Color());
    TestSupport::MouseMove(m->pnlVlastnosti->Handle(), QPoint(del->Left() + 4, del->Top() + 4));
    EXPECT_EQ(del->Font()->Color(), m->MouseFont->Font()->Color());
    TestSupport::MouseClick(m->pnlVlastnosti->Handle(), QPoint(del->Left() + 4, del->Top() + 4));
    EXPECT_EQ(m->ObjectCount(), 1);
    QCoreApplication::processEvents();
}

// A user drags a line with the mouse: press, moves past the drag threshold, release.
TEST(Layers, DraggingALineWithTheMouseRestacksWhereTheLineIsDropped)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    std::vector<TLabel*> objects; // bottom first
    for (int i = 0; i < 12; ++i)
        objects.push_back(AddText(m, QStringLiteral("T%1").arg(i)));
    QWidget* list = m->Vrstvy->Handle();
    const int h = m->Vrstvy->ItemHeight();
    auto lineAt = [h](int line) { return QPoint(30, line * h + h / 2); };
    auto drag = [&](int from, int to) {
        TestSupport::TSystemMouse mouse;
        mouse.Press(list, lineAt(from), 600);
        mouse.Move(list, lineAt(from) + QPoint(0, 3));
        mouse.Move(list, (lineAt(from) + lineAt(to)) / 2);
        mouse.Move(list, lineAt(to));
        mouse.Release(list, lineAt(to));
    };

    // The surface stacks the objects as the list shows them, topmost first.
    auto surfaceOrder = [m] {
        QStringList top;
        for (int i = m->PNLCD->ControlCount() - 1; i >= 0; --i)
            if (auto* l = dynamic_cast<TLabel*>(m->PNLCD->Controls(i)); l && m->IsObject(l))
                top << l->Caption();
        return top.join(' ');
    };

    // Line 1 (T10) dropped on line 10 (T1): it goes down to T1's place.
    drag(1, 10);
    EXPECT_EQ(surfaceOrder(), Lines(m).join(' '));
    EXPECT_EQ(Lines(m).join(' '), QStringLiteral("T11 T9 T8 T7 T6 T5 T4 T3 T2 T1 T10 T0"));
    EXPECT_EQ(m->Components(1), objects[10]);
    EXPECT_EQ(m->Vrstvy->ItemIndex(), 10);
    EXPECT_TRUE(m->Modified);
    EXPECT_TRUE(objects[10]->Visible()); // the release was no click in the eye column

    // And back: line 10 onto line 1.
    drag(10, 1);
    EXPECT_EQ(Lines(m).join(' '), QStringLiteral("T11 T10 T9 T8 T7 T6 T5 T4 T3 T2 T1 T0"));
    EXPECT_EQ(m->Components(10), objects[10]);
    EXPECT_EQ(m->Vrstvy->ItemIndex(), 1);
    EXPECT_EQ(surfaceOrder(), Lines(m).join(' '));

    // The top line dragged down one line.
    drag(0, 1);
    EXPECT_EQ(Lines(m).mid(0, 2).join(' '), QStringLiteral("T10 T11"));

    // Below the last line: to the bottom, with no line selected.
    ASSERT_LT(12 * h + h / 2, m->Vrstvy->Height());
    drag(2, 12);
    EXPECT_EQ(Lines(m).last(), QStringLiteral("T9"));
    EXPECT_EQ(m->Components(0), objects[9]);
    EXPECT_EQ(m->Vrstvy->ItemIndex(), -1);
    drag(11, 2); // and back above T8
    EXPECT_EQ(Lines(m).join(' '), QStringLiteral("T10 T11 T9 T8 T7 T6 T5 T4 T3 T2 T1 T0"));

    // A release in the eye column ends the drag only: the object stays shown.
    TestSupport::TSystemMouse mouse;
    mouse.Press(list, lineAt(3), 600);
    mouse.Move(list, QPoint(15, 5 * h + 3));
    mouse.Release(list, QPoint(15, 5 * h + 3));
    EXPECT_EQ(Lines(m).at(5), QStringLiteral("T8"));
    for (TLabel* o : objects)
        EXPECT_TRUE(o->Visible()) << o->Caption().toStdString();
}
