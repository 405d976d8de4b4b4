// The common dialogs driven as a user drives them: the real Qt dialog opens,
// is read and answered with mouse and key events.

#include "classlib/forms/dialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {
// Runs the font dialog; while it is open, act gets the Qt dialog, then its
// OK button is clicked.
bool RunFontDialog(TFontDialog& d, const std::function<void(QFontDialog*)>& act)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        seen = true;
        act(dlg);
        auto* box = dlg->findChild<QDialogButtonBox*>();
        QPushButton* ok = box ? box->button(QDialogButtonBox::Ok) : nullptr;
        if (ok)
            QTest::mouseClick(ok, Qt::LeftButton);
        else
            dlg->reject();
    });
    const bool result = d.Execute();
    EXPECT_TRUE(seen);
    return result;
}

QLineEdit* EditShowing(QFontDialog* dlg, const QString& text)
{
    for (QLineEdit* e : dlg->findChildren<QLineEdit*>())
        if (e->text() == text)
            return e;
    return nullptr;
}
} // namespace

TEST(FontDialog, OpensOnTheFontItIsGivenAndOkWithoutAChangeKeepsItExactly)
{
    struct TCase {
        const char* Name;
        int Height;
        TFontStyles Style;
    };
    // Arial is drawn with a metric twin, Tahoma with whatever fontconfig
    // picks; the heights are not whole point sizes at 96 pixels per inch.
    const TCase cases[] = {
        {"Arial", -27, FontStyleBit(fsBold)},
        {"Tahoma", -15, TFontStyles(FontStyleBit(fsItalic) | FontStyleBit(fsUnderline))},
        {"DejaVu Serif", -16, TFontStyles(FontStyleBit(fsBold) | FontStyleBit(fsItalic))},
    };
    for (const TCase& c : cases) {
        TFontDialog d(nullptr);
        TFont* font = d.Font();
        font->SetName(QString::fromLatin1(c.Name));
        font->SetHeight(c.Height);
        font->SetStyle(c.Style);
        font->SetColor(clNavy);
        const QString drawnFamily = QFontInfo(font->ToQFont()).family();
        QFont shown;
        ASSERT_TRUE(RunFontDialog(d, [&](QFontDialog* dlg) { shown = dlg->currentFont(); })) << c.Name;
        // The dialog shows the face that draws the font, its style and size.
        EXPECT_EQ(shown.family().toStdString(), drawnFamily.toStdString()) << c.Name;
        EXPECT_EQ(shown.bold(), (c.Style & FontStyleBit(fsBold)) != 0) << c.Name;
        EXPECT_EQ(shown.italic(), (c.Style & FontStyleBit(fsItalic)) != 0) << c.Name;
        EXPECT_EQ(shown.pointSize(), font->Size()) << c.Name;
        // OK gives back the font as it was, its stored name included.
        EXPECT_EQ(font->Name().toStdString(), c.Name);
        EXPECT_EQ(font->Height(), c.Height) << c.Name;
        EXPECT_EQ(font->Style(), c.Style) << c.Name;
        EXPECT_EQ(font->Color(), clNavy) << c.Name;
    }
}

TEST(FontDialog, AnotherSizeTypedKeepsTheFaceNameAndStyle)
{
    TFontDialog d(nullptr);
    TFont* font = d.Font();
    font->SetName(QStringLiteral("Arial"));
    font->SetSize(20);
    font->SetStyle(FontStyleBit(fsBold));
    ASSERT_TRUE(RunFontDialog(d, [](QFontDialog* dlg) {
        QLineEdit* size = EditShowing(dlg, QStringLiteral("20"));
        ASSERT_NE(size, nullptr);
        size->setFocus();
        QTest::keyClick(size, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(size, QStringLiteral("24"));
    }));
    EXPECT_EQ(font->Name().toStdString(), "Arial");
    EXPECT_EQ(font->Size(), 24);
    EXPECT_EQ(font->Style(), FontStyleBit(fsBold));
}
