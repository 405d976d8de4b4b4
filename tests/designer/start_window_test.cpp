// The start window closed from the keyboard ends the program.

#include "designer_fixture.h"

#include "designer/forms/frm_start.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

TEST(StartWindowKeys, AltF4EndsTheProgram)
{
    TMainWindowFixture f;
    f.ShowWindow();
    ASSERT_TRUE(f.Main()->Visible());
    TFrmStart w(nullptr);
    bool shownWithRing = false;
    QTimer::singleShot(10, [&w, &shownWithRing] {
        shownWithRing = w.Visible() && w.StartWindowOpen && w.WindowRgn().has_value();
        // Plain F4 is no close.
        QTest::keyClick(w.Window(), Qt::Key_F4);
        if (w.Visible())
            QTest::keyClick(w.Window(), Qt::Key_F4, Qt::AltModifier);
    });
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, [&w] {
        w.StartWindowOpen = false;
        w.Close();
    });
    fallback.start(3000);
    w.ShowModal();
    EXPECT_TRUE(shownWithRing);
    EXPECT_TRUE(fallback.isActive()); // closed by the key, not by the fallback
    EXPECT_FALSE(w.StartWindowOpen);
    EXPECT_FALSE(f.Main()->Visible());
}
