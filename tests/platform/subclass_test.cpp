// Subclassing bare Qt windows through their window procedures, undone in
// either order.
#include "platform/window_info.h"
#include "platform/window_proc.h"
#include "test_support.h"

#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {
// A subclasser as the skin objects are: saves the old procedure, counts what
// it sees, passes everything on.
struct TRecorder {
    HWND Window = nullptr;
    TWndProc Old;
    std::vector<unsigned> Seen;
    bool PassOn = true;
    void Attach(HWND w)
    {
        Window = w;
        Old = SetWindowLong(w, GWL_WNDPROC, [this](TMessage& m) {
            Seen.push_back(m.Msg);
            if (PassOn)
                CallWindowProc(Old, m);
        });
    }
    void Detach() { SetWindowLong(Window, GWL_WNDPROC, Old); }
    int Count(unsigned msg) const { return static_cast<int>(std::count(Seen.begin(), Seen.end(), msg)); }
};

void SetText(HWND w, const QString& text) { SendMessage(w, WM_SETTEXT, 0, LParamOf(&text)); }
} // namespace

TEST(Subclass, MessageBoxChainSurvivesRestoringInEitherOrder)
{
    for (const bool outOfOrder : {false, true}) {
        QMessageBox box;
        TWindowBridge* bridge = TWindowBridge::Of(&box);
        TRecorder a, b;
        a.Attach(&box);
        b.Attach(&box);
        EXPECT_EQ(bridge->SubclassCount(), 2);

        SetText(&box, QStringLiteral("one"));
        EXPECT_EQ(a.Count(WM_SETTEXT), 1);
        EXPECT_EQ(b.Count(WM_SETTEXT), 1);
        EXPECT_EQ(box.windowTitle(), QStringLiteral("one")); // the native end was reached

        if (outOfOrder) {
            a.Detach(); // A leaves while B still sits above it
            SetText(&box, QStringLiteral("two"));
            EXPECT_EQ(a.Count(WM_SETTEXT), 1) << "A's procedure must be out of the chain";
            EXPECT_EQ(b.Count(WM_SETTEXT), 2);
            EXPECT_EQ(box.windowTitle(), QStringLiteral("two")); // B's saved procedure leads past A
            EXPECT_EQ(bridge->SubclassCount(), 1);
            b.Detach();
        } else {
            b.Detach();
            SetText(&box, QStringLiteral("two"));
            EXPECT_EQ(b.Count(WM_SETTEXT), 1);
            EXPECT_EQ(a.Count(WM_SETTEXT), 2);
            a.Detach();
        }
        EXPECT_EQ(bridge->SubclassCount(), 0);
        SetText(&box, QStringLiteral("three"));
        EXPECT_EQ(a.Count(WM_SETTEXT) + b.Count(WM_SETTEXT), 3); // neither is called any more
        EXPECT_EQ(box.windowTitle(), QStringLiteral("three"));
        // A stale saved procedure called later still ends at the native handling.
        TMessage m;
        m.Msg = WM_SETTEXT;
        const QString four = QStringLiteral("four");
        m.LParam = LParamOf(&four);
        CallWindowProc(b.Old, m);
        EXPECT_EQ(box.windowTitle(), four);
    }
}

TEST(Subclass, ButtonInsideMessageBoxGetsRealMouseAndCanSuppressIt)
{
    QMessageBox box;
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    box.show();
    QSignalSpy clicked(ok, &QPushButton::clicked);
    const QPoint centre = ok->rect().center();

    TRecorder outer, inner;
    outer.Attach(ok);
    inner.Attach(ok);
    TestSupport::MouseClick(ok, centre);
    EXPECT_EQ(outer.Count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(inner.Count(WM_LBUTTONUP), 1);
    EXPECT_EQ(clicked.count(), 1); // the button's own handling ran at the end of the chain

    // The newer subclasser swallows the mouse: the button does not click.
    inner.PassOn = false;
    TestSupport::MouseClick(ok, centre);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(outer.Count(WM_LBUTTONDOWN), 1);

    // Undo the first one first; the swallowing one stays in force.
    outer.Detach();
    TestSupport::MouseClick(ok, centre);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(inner.Count(WM_LBUTTONDOWN), 3);
    inner.PassOn = true;
    TestSupport::MouseClick(ok, centre);
    EXPECT_EQ(clicked.count(), 2);
    EXPECT_EQ(outer.Count(WM_LBUTTONDOWN), 1);
    inner.Detach();
    TestSupport::MouseClick(ok, centre);
    EXPECT_EQ(clicked.count(), 3);
    EXPECT_EQ(inner.Count(WM_LBUTTONDOWN), 4);
}

TEST(Subclass, SubclasserHearsTheWindowGo)
{
    auto* box = new QMessageBox;
    TRecorder r;
    r.Attach(box);
    bool restored = false;
    // Unsubclassing from inside WM_NCDESTROY, as the skinned form does.
    TWndProc old = SetWindowLong(box, GWL_WNDPROC, [&](TMessage& m) {
        if (m.Msg == WM_NCDESTROY) {
            SetWindowLong(box, GWL_WNDPROC, old);
            restored = true;
        }
        CallWindowProc(old, m);
    });
    delete box;
    EXPECT_TRUE(restored);
    EXPECT_EQ(r.Count(WM_DESTROY), 1);
    EXPECT_EQ(r.Count(WM_NCDESTROY), 1);
}
