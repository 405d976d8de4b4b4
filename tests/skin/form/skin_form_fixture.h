#pragma once
// Skinned-form tests: a skin data component with the built-in skin registered
// with a fresh manager, windows to skin, and a recording procedure beneath the
// skinned form's (the window's own procedure as the form sees it).

#include "classlib/forms/form.h"
#include "platform/window_proc.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_manager.h"
#include "skin/form/skin_messages.h"
#include "skin/skin_data.h"

#include <QApplication>
#include <QDataStream>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace SkinFormTest {

inline void LoadDefaultSkin(TSkinData& data)
{
    data.ReadDefaultSkin();
}

// Lets posted messages (the start message) and timers run.
inline void Pump(int ms = 0)
{
    QApplication::processEvents();
    if (ms > 0)
        QTest::qWait(ms);
    QApplication::processEvents();
}

// Installed on a window before it is skinned: records the messages that reach
// the window's own procedure and, for the ones named in Swallow, stops there.
class TRecorder {
public:
    explicit TRecorder(HWND window) : FWindow(window)
    {
        FOld = SetWindowLong(window, GWL_WNDPROC, [this](TMessage& m) {
            Seen.push_back({m.Msg, m.WParam, m.LParam});
            for (unsigned s : Swallow)
                if (s == m.Msg)
                    return;
            CallWindowProc(FOld, m);
        });
    }
    ~TRecorder()
    {
        if (FWindow)
            SetWindowLong(FWindow, GWL_WNDPROC, FOld);
    }
    TRecorder(const TRecorder&) = delete;
    TRecorder& operator=(const TRecorder&) = delete;

    struct TSeen {
        unsigned Msg;
        WPARAM WParam;
        LPARAM LParam;
    };
    int Count(unsigned msg, WPARAM wParam) const
    {
        int n = 0;
        for (const TSeen& s : Seen)
            n += s.Msg == msg && s.WParam == wParam;
        return n;
    }
    int Count(unsigned msg) const
    {
        int n = 0;
        for (const TSeen& s : Seen)
            n += s.Msg == msg;
        return n;
    }
    std::vector<TSeen> Seen;
    std::vector<unsigned> Swallow;

private:
    QPointer<QWidget> FWindow;
    TWndProc FOld;
};

class SkinFormFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        FreeSkinManager();
        Data = std::make_unique<TSkinData>(nullptr);
        LoadDefaultSkin(*Data);
        Data->SetActive(true);
        Data->Loaded();
        Manager = SkinManager();
        ASSERT_TRUE(Manager);
        ASSERT_TRUE(Manager->Running());
    }
    void TearDown() override
    {
        Forms.clear();
        Data.reset();
        FreeSkinManager();
    }

    // A class-library form, shown (and so activated and skinned) unless told not to.
    TForm* MakeForm(TFormBorderStyle style = bsSizeable, bool show = true, int w = 300, int h = 200)
    {
        auto form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(style);
        form->SetBounds(50, 40, w, h);
        form->SetCaption(QStringLiteral("Okno"));
        TForm* f = form.get();
        Forms.push_back(std::move(form));
        if (show) {
            f->Show();
            Pump();
        }
        return f;
    }

    std::unique_ptr<TSkinData> Data;
    TSkinManage* Manager = nullptr;
    std::vector<std::unique_ptr<TForm>> Forms;
};

} // namespace SkinFormTest
