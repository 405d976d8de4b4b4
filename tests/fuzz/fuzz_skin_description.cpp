// fuzz-layer: tv_skin
// Skin descriptions read into skin elements, with a few pictures to name, and
// then used: a skinned window with caption buttons and a menu bar takes the
// skin, lays out its frame, buttons and bar, paints them and answers hit tests
// at several sizes.
#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QThread>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "classlib/forms/application.h"
#include "classlib/forms/form.h"
#include "classlib/forms/menus.h"
#include "platform/messages.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_manager.h"
#include "skin/form/skin_menu_bar.h"
#include "skin/form/skin_messages.h"
#include "skin/quick_ini.h"
#include "skin/skin_data.h"
#include "skin/skin_message.h"
#include "skin/skin_reader.h"

namespace {
void AppendInt32(QByteArray& out, int32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
}

QByteArray Bmp(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, (x + y) % 3 == 0 ? qRgb(255, 0, 255) : qRgb(x * 5, y * 7, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "BMP");
    return bytes;
}

// A container with pictures "a.bmp" .. "d.bmp" of assorted shapes.
TSkinReader& Pictures()
{
    static TSkinReader reader = [] {
        const QByteArray pics[] = {Bmp(54, 18), Bmp(120, 10), Bmp(3, 40), Bmp(1, 1)};
        const QByteArray names = "a.bmp\r\nb.bmp\r\nc.bmp\r\nd.bmp\r\n";
        QByteArray c;
        AppendInt32(c, 20000);
        AppendInt32(c, static_cast<int32_t>(names.size()));
        AppendInt32(c, 0);
        AppendInt32(c, 0);
        c += names;
        for (const QByteArray& p : pics)
            AppendInt32(c, static_cast<int32_t>(p.size()));
        for (const QByteArray& p : pics)
            c += p;
        TSkinReader r;
        r.LoadFromUnpacked(c);
        return r;
    }();
    return reader;
}


TSkinData* Skin = nullptr;
TForm* Window = nullptr;
TWinSkinForm* Skinned = nullptr;

void PaintAndHitTest(int w, int h)
{
    HWND window = Window->Window();
    window->resize(w, h);
    Skinned->LayoutSysButtons();
    if (Skinned->MenuBar())
        Skinned->MenuBar()->LayoutButtons();
    QImage image(std::max(1, w), std::max(1, h), QImage::Format_RGB32);
    {
        QPainter p(&image);
        SendMessage(window, WM_SKINPAINTDC, WParamOf(&p), kSkinMagic);
    }
    const QPoint origin = window->mapToGlobal(QPoint(0, 0));
    for (const QPoint at : {QPoint(0, 0), QPoint(w / 2, 2), QPoint(w - 3, 8), QPoint(10, 30), QPoint(w - 1, h - 1)})
        SendMessage(window, WM_NCHITTEST, 0, MakeLParam(origin.x() + at.x(), origin.y() + at.y()));
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    TApplication::InitializeExisting();
    SetSkinMessageHandler([](const QString&) {});
    Skin = new TSkinData(nullptr);
    Skin->ReadDefaultSkin();
    Skin->SetActive(true);
    Skin->Loaded();
    Window = new TForm(nullptr);
    Window->SetBounds(40, 40, 320, 200);
    Window->SetCaption(QStringLiteral("Okno"));
    auto* menu = new TMainMenu(Window);
    for (const char* caption : {"&Soubor", "Úpravy", "Nápověda"}) {
        auto* item = new TMenuItem(Window);
        item->SetCaption(QString::fromUtf8(caption));
        menu->Items()->Add(item);
        auto* sub = new TMenuItem(Window);
        sub->SetCaption(QStringLiteral("Příkaz"));
        item->Add(sub);
    }
    Window->SetMenu(menu);
    Window->Show();
    // The manager skins the window on its timer.
    QElapsedTimer clock;
    clock.start();
    while (!Skinned && clock.elapsed() < 5000) {
        QApplication::processEvents();
        QThread::msleep(10);
        if (TSkinManage* manager = SkinManager())
            Skinned = manager->FindForm(Window->Window());
    }
    if (!Skinned)
        abort();
    // Windows and the skin manager go before the application does at exit.
    std::atexit([] {
        delete Window;
        FreeSkinManager();
        delete Skin;
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TQuickIni ini;
    ini.LoadFromStream(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    Skin->ReadSkin(ini, Pictures());
    Skinned->RefreshSkin();
    PaintAndHitTest(320, 200);
    PaintAndHitTest(12, 9);
    PaintAndHitTest(900, 40);
    return 0;
}
