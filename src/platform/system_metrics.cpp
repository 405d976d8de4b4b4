#include "platform/system_metrics.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
constexpr int32_t Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

const int32_t kClassicColors[31] = {
    Rgb(212, 208, 200), // scroll bar
    Rgb(58, 110, 165),  // desktop
    Rgb(10, 36, 106),   // active caption
    Rgb(128, 128, 128), // inactive caption
    Rgb(212, 208, 200), // menu
    Rgb(255, 255, 255), // window
    Rgb(0, 0, 0),       // window frame
    Rgb(0, 0, 0),       // menu text
    Rgb(0, 0, 0),       // window text
    Rgb(255, 255, 255), // caption text
    Rgb(212, 208, 200), // active border
    Rgb(212, 208, 200), // inactive border
    Rgb(128, 128, 128), // application workspace
    Rgb(10, 36, 106),   // highlight
    Rgb(255, 255, 255), // highlight text
    Rgb(212, 208, 200), // button face
    Rgb(128, 128, 128), // button shadow
    Rgb(128, 128, 128), // grey text
    Rgb(0, 0, 0),       // button text
    Rgb(212, 208, 200), // inactive caption text
    Rgb(255, 255, 255), // button highlight
    Rgb(64, 64, 64),    // 3D dark shadow
    Rgb(212, 208, 200), // 3D light
    Rgb(0, 0, 0),       // info text
    Rgb(255, 255, 225), // info background
    Rgb(181, 181, 181), // (unused index 25)
    Rgb(0, 0, 128),     // hot light
    Rgb(166, 202, 240), // gradient active caption
    Rgb(192, 192, 192), // gradient inactive caption
    Rgb(10, 36, 106),   // menu highlight
    Rgb(212, 208, 200), // menu bar
};
} // namespace

int32_t GetSysColor(int index)
{
    if (index < 0 || index >= 31)
        return 0;
    return kClassicColors[index];
}

int GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
        const QScreen* s = QGuiApplication::primaryScreen();
        if (!s)
            return index == SM_CXSCREEN ? 1024 : 768;
        return index == SM_CXSCREEN ? s->geometry().width() : s->geometry().height();
    }
    case SM_CXMAXIMIZED:
    case SM_CYMAXIMIZED: {
        const QScreen* s = QGuiApplication::primaryScreen();
        if (!s)
            return index == SM_CXMAXIMIZED ? 1032 : 776;
        // A maximised window's frame lies 4 pixels outside the work area on each side.
        return (index == SM_CXMAXIMIZED ? s->availableGeometry().width() : s->availableGeometry().height()) + 8;
    }
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
        return 16;
    case SM_CYCAPTION:
        return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CYMENU:
        return 19;
    case SM_CXMIN:
        return 112;
    case SM_CYMIN:
        return 27;
    case SM_CXSIZE:
    case SM_CYSIZE:
        return 18;
    case SM_CXFRAME:
    case SM_CYFRAME:
    case SM_CXDRAG:
    case SM_CYDRAG:
        return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CYSMCAPTION:
        return 15;
    case SM_CXSMSIZE:
    case SM_CYSMSIZE:
        return 12;
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE:
        return 18;
    default:
        return 0;
    }
}

int ScreenPixelsPerInch() { return 96; }
