#include "artwork.h"

#include "skin/skin_bitmaps.h"
#include "skin/skin_data.h"
#include "skin/form/skin_primitives.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace SkinPack {
namespace {
const QColor kKey(255, 0, 255);

QColor Mix(const QColor& a, const QColor& b, double t)
{
    auto ch = [t](int x, int y) { return static_cast<int>(x + (y - x) * t + 0.5); };
    return QColor(ch(a.red(), b.red()), ch(a.green(), b.green()), ch(a.blue(), b.blue()));
}
QColor Light(const QColor& c, double t) { return Mix(c, Qt::white, t); }
QColor Dark(const QColor& c, double t) { return Mix(c, Qt::black, t); }
QColor Grey(const QColor& c)
{
    const int v = (c.red() + c.green() + c.blue()) / 3;
    return Mix(QColor(v, v, v), QColor(200, 200, 200), 0.4);
}

QString Rgb(const QColor& c) { return QStringLiteral("%1 %2 %3").arg(c.red()).arg(c.green()).arg(c.blue()); }

QImage NewImage(int w, int h, const QColor& fill = kKey)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

// Painters on skin bitmaps draw hard edges: a blended edge pixel would show as
// a pink fringe around magenta-keyed parts.
class TPen : public QPainter {
public:
    explicit TPen(QImage* image) : QPainter(image) { setRenderHint(QPainter::Antialiasing, false); }
};

void VGradient(QPainter& p, const QRect& r, const QColor& top, const QColor& bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
}

void HGradient(QPainter& p, const QRect& r, const QColor& left, const QColor& right)
{
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, left);
    g.setColorAt(1, right);
    p.fillRect(r, g);
}

// Raised (or sunken) 3-D edge one pixel wide inside r.
void Edge(QPainter& p, const QRect& r, const QColor& light, const QColor& dark)
{
    p.setPen(light);
    p.drawLine(r.left(), r.top(), r.right() - 1, r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
    p.setPen(dark);
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

// A box with rounded corners over the key colour, filled top to bottom.
void RoundBox(QPainter& p, const QRect& r, int radius, const QColor& border, const QColor& top, const QColor& bottom,
              bool gloss)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(r).adjusted(0, 0, -1, -1), radius, radius);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(path);
    if (gloss) {
        p.setClipPath(path);
        p.fillRect(QRect(r.left(), r.top(), r.width(), r.height() / 2), QColor(255, 255, 255, 60));
        p.setClipping(false);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(border);
    p.drawPath(path);
}

// A small solid triangle pointing in direction (0 up, 1 down, 2 left, 3 right),
// size pixels from tip to base.
void Arrow(QPainter& p, const QPoint& centre, int size, int direction, const QColor& colour)
{
    p.setPen(colour);
    for (int i = 0; i < size; ++i) {
        const int at = -size / 2 + i;  // distance from the centre along the arrow
        const bool tipFirst = direction == 0 || direction == 2;
        const int half = tipFirst ? i : size - 1 - i;
        if (direction <= 1)
            p.drawLine(centre.x() - half, centre.y() + at, centre.x() + half, centre.y() + at);
        else
            p.drawLine(centre.x() + at, centre.y() - half, centre.x() + at, centre.y() + half);
    }
}

// The four looks of a state strip: normal, pressed, disabled, hover (then focused).
struct TLook {
    QColor Top;
    QColor Bottom;
    QColor Border;
    QColor Glyph;
};

TLook StateLook(const TTheme& t, int frame)
{
    const QColor face = t.Face;
    switch (frame) {
    case 2:  // pressed
        return {Dark(face, 0.18), Light(face, 0.1), Dark(t.Accent, 0.3), t.Text};
    case 3:  // disabled: light enough for the grey text of disabled captions
        return {Light(Grey(face), 0.35), Light(Grey(face), 0.35), Grey(Dark(face, 0.3)), Grey(Dark(face, 0.45))};
    case 4:  // hover
        return {Light(Mix(face, t.Accent, 0.25), 0.5), Mix(face, t.Accent, 0.2), t.Accent, t.Text};
    case 5:  // focused
        return {Light(face, 0.7), Dark(face, 0.06), Dark(t.Accent, 0.1), t.Text};
    default:
        return {Light(face, 0.7), Dark(face, 0.08), Dark(face, 0.45), t.Text};
    }
}

class TBuilder {
public:
    explicit TBuilder(const TTheme& theme) : T(theme) {}
    TSkinArt Build();

private:
    QString Add(const QString& name, const QImage& image)
    {
        FArt.Bitmaps.append({name, BmpBytes(image)});
        return name;
    }
    void Section(const QString& name) { FLines << QString() << QLatin1Char('[') + name + QLatin1Char(']'); }
    void Key(const QString& key, const QString& value) { FLines << key + QLatin1Char('=') + value; }
    void Key(const QString& key, int value) { Key(key, QString::number(value)); }
    void Comment(const QString& text) { FLines << QStringLiteral("; ") + text; }
    void Margins(int l, int t, int r, int b)
    {
        Key(QStringLiteral("LeftWidth"), l);
        Key(QStringLiteral("TopHeight"), t);
        Key(QStringLiteral("RightWidth"), r);
        Key(QStringLiteral("BottomHeight"), b);
    }
    void TextColours(const QColor& normal, const QColor& over, const QColor& pressed)
    {
        Key(QStringLiteral("NormalColour2"), Rgb(normal));
        Key(QStringLiteral("MouseOverColour2"), Rgb(over));
        Key(QStringLiteral("PressedColour2"), Rgb(pressed));
    }

    void Frame();
    void Caption();
    void CaptionButtons();
    void Colours();
    void PushButtons();
    void Controls();
    void ScrollBars();
    void TrackBars();

    QImage StateStrip(int frames, int w, int h, int radius, bool gloss);

    const TTheme& T;
    TSkinArt FArt;
    QStringList FLines;
};

QImage TBuilder::StateStrip(int frames, int w, int h, int radius, bool gloss)
{
    QImage img = NewImage(frames * w, h);
    TPen p(&img);
    for (int f = 1; f <= frames; ++f) {
        const TLook look = StateLook(T, f);
        RoundBox(p, QRect((f - 1) * w, 0, w, h), radius, look.Border, look.Top, look.Bottom, gloss && f != 3);
    }
    return img;
}

// Window frame: the sides hold the rounded outer corners; the top strip is the
// caption between them.
void TBuilder::Frame()
{
    const int caption = 26;
    const int border = 4;
    auto sideFrame = [&](bool right, bool active) {
        QImage img = NewImage(border, 60);
        TPen p(&img);
        const QColor c = active ? T.Caption : T.CaptionInactive;
        VGradient(p, QRect(0, 0, border, caption), Light(c, 0.35), c);
        p.fillRect(QRect(0, caption, border, 60 - caption), Dark(c, 0.1));
        const QColor outline = Dark(c, 0.5);
        p.setPen(outline);
        const int outer = right ? border - 1 : 0;
        p.drawLine(outer, 0, outer, 59);
        p.setPen(Light(c, 0.4));
        p.drawLine(right ? border - 2 : 1, 1, right ? border - 2 : 1, 58);
        p.setPen(Dark(c, 0.3));
        p.drawLine(right ? 0 : border - 1, caption, right ? 0 : border - 1, 59 - border + 1);
        p.setPen(outline);
        p.drawLine(0, 59, border - 1, 59);
        // Rounded outer top corner, cut out in the key colour.
        for (int y = 0; y < T.Radius; ++y)
            for (int x = 0; x < T.Radius - y; ++x)
                img.setPixel(right ? border - 1 - x : x, y, kKey.rgb());
        p.setPen(outline);
        for (int i = 0; i < T.Radius; ++i)
            img.setPixel(right ? border - 1 - (T.Radius - 1 - i) : T.Radius - 1 - i, i, outline.rgb());
        return img;
    };
    auto side = [&](bool right) {
        QImage img = NewImage(2 * border, 60);
        TPen p(&img);
        p.drawImage(0, 0, sideFrame(right, true));
        p.drawImage(border, 0, sideFrame(right, false));
        return img;
    };
    QImage top = NewImage(120, 2 * caption);
    {
        TPen p(&top);
        for (int f = 0; f < 2; ++f) {
            const QColor c = f == 0 ? T.Caption : T.CaptionInactive;
            const QRect r(0, f * caption, 120, caption);
            VGradient(p, r, Light(c, 0.35), c);
            if (T.Glossy)
                p.fillRect(QRect(0, f * caption, 120, caption / 2), QColor(255, 255, 255, 45));
            p.setPen(Dark(c, 0.5));
            p.drawLine(0, f * caption, 119, f * caption);
            p.setPen(Light(c, 0.45));
            p.drawLine(0, f * caption + 1, 119, f * caption + 1);
            p.setPen(Dark(c, 0.25));
            p.drawLine(0, f * caption + caption - 1, 119, f * caption + caption - 1);
        }
    }
    QImage bottom = NewImage(60, 2 * border);
    {
        TPen p(&bottom);
        for (int f = 0; f < 2; ++f) {
            const QColor c = f == 0 ? T.Caption : T.CaptionInactive;
            p.fillRect(QRect(0, f * border, 60, border), Dark(c, 0.1));
            p.setPen(Dark(c, 0.3));
            p.drawLine(0, f * border, 59, f * border);
            p.setPen(Light(c, 0.3));
            p.drawLine(0, f * border + border - 2, 59, f * border + border - 2);
            p.setPen(Dark(c, 0.5));
            p.drawLine(0, f * border + border - 1, 59, f * border + border - 1);
        }
    }

    Section(QStringLiteral("Personality"));
    Key(QStringLiteral("Top"), Add(QStringLiteral("Top.bmp"), top));
    Key(QStringLiteral("TopTopHeight"), 20);
    Key(QStringLiteral("TopBotHeight"), 20);
    Key(QStringLiteral("TopFrame"), 2);
    Key(QStringLiteral("TopStretch"), T.TileCaption ? 0 : 1);
    Key(QStringLiteral("TopTrans"), 0);
    Key(QStringLiteral("Left"), Add(QStringLiteral("Left.bmp"), side(false)));
    Key(QStringLiteral("LeftTopHeight"), caption);
    Key(QStringLiteral("LeftBotHeight"), border);
    Key(QStringLiteral("LeftFrame"), 2);
    Key(QStringLiteral("LeftStretch"), 1);
    Key(QStringLiteral("LeftTrans"), 1);
    Key(QStringLiteral("Right"), Add(QStringLiteral("Right.bmp"), side(true)));
    Key(QStringLiteral("RightTopHeight"), caption);
    Key(QStringLiteral("RightBotHeight"), border);
    Key(QStringLiteral("RightFrame"), 2);
    Key(QStringLiteral("RightStretch"), 1);
    Key(QStringLiteral("RightTrans"), 1);
    Key(QStringLiteral("Bottom"), Add(QStringLiteral("Bottom.bmp"), bottom));
    Key(QStringLiteral("BottomTopHeight"), 4);
    Key(QStringLiteral("BottomBotHeight"), 4);
    Key(QStringLiteral("BottomFrame"), 2);
    Key(QStringLiteral("BottomStretch"), 1);
    Key(QStringLiteral("BottomTrans"), 0);
}

void TBuilder::Caption()
{
    // Text background: a pill behind the title, two frames stacked.
    QImage back = NewImage(40, 36);
    {
        TPen p(&back);
        for (int f = 0; f < 2; ++f) {
            const QColor c = f == 0 ? T.Caption : T.CaptionInactive;
            RoundBox(p, QRect(0, f * 18 + 1, 40, 16), 7, Dark(c, 0.35), Dark(c, 0.15), Dark(c, 0.05), false);
        }
    }
    // Menu bar: the active and the inactive window's strip, stacked.
    QImage menu = NewImage(40, 38, T.Face);
    {
        TPen p(&menu);
        VGradient(p, QRect(0, 0, 40, 19), Light(T.Face, 0.5), T.Face);
        p.setPen(Dark(T.Face, 0.2));
        p.drawLine(0, 18, 39, 18);
        VGradient(p, QRect(0, 19, 40, 19), Light(T.Face, 0.3), Light(T.Face, 0.1));
        p.setPen(Dark(T.Face, 0.1));
        p.drawLine(0, 37, 39, 37);
    }
    Key(QStringLiteral("TextBack"), Add(QStringLiteral("TextBack.bmp"), back));
    Key(QStringLiteral("TXTBackleft"), 8);
    Key(QStringLiteral("TXTBackRight"), 8);
    Key(QStringLiteral("Textbackground"), 1);
    Key(QStringLiteral("TextShift"), 26);
    Key(QStringLiteral("TextShiftVert"), 0);
    Key(QStringLiteral("TextRightClip"), 72);
    Key(QStringLiteral("TextAlignment"), 0);
    Key(QStringLiteral("ActiveTextR"), T.CaptionText.red());
    Key(QStringLiteral("ActiveTextG"), T.CaptionText.green());
    Key(QStringLiteral("ActiveTextB"), T.CaptionText.blue());
    Key(QStringLiteral("InActiveTextR"), T.CaptionTextInactive.red());
    Key(QStringLiteral("InActiveTextG"), T.CaptionTextInactive.green());
    Key(QStringLiteral("InActiveTextB"), T.CaptionTextInactive.blue());
    Key(QStringLiteral("menuBar"), Add(QStringLiteral("MenuBar.bmp"), menu));
    Key(QStringLiteral("TileMenu"), 1);
    Key(QStringLiteral("TileLeftMenu"), 2);
    Key(QStringLiteral("TileRightMenu"), 2);

    Section(QStringLiteral("Fonts"));
    Key(QStringLiteral("FontHeight"), 14);
}

void TBuilder::CaptionButtons()
{
    // Frames: normal, pressed, hover, inactive.
    auto strip = [&](int frames, int w, int h, const std::function<void(QPainter&, const QRect&, const QColor&)>& glyph,
                     bool danger) {
        QImage img = NewImage(frames * w, h);
        TPen p(&img);
        const QColor base = danger ? QColor(196, 64, 52) : Light(T.Caption, 0.15);
        const QColor looks[4][2] = {{Light(base, 0.35), base},
                                    {Dark(base, 0.25), Dark(base, 0.05)},
                                    {Light(base, 0.55), Light(base, 0.2)},
                                    {Light(T.CaptionInactive, 0.3), T.CaptionInactive}};
        for (int f = 0; f < frames; ++f) {
            const QRect r(f * w, 0, w, h);
            RoundBox(p, r, 3, Dark(base, 0.45), looks[f][0], looks[f][1], T.Glossy && f != 1);
            glyph(p, r, f == 3 ? Light(T.CaptionInactive, 0.6) : QColor(Qt::white));
        }
        return img;
    };
    auto close = [](QPainter& p, const QRect& r, const QColor& c) {
        p.setPen(QPen(c, 2));
        const QPoint m = r.center();
        p.drawLine(m.x() - 3, m.y() - 3, m.x() + 3, m.y() + 3);
        p.drawLine(m.x() - 3, m.y() + 3, m.x() + 3, m.y() - 3);
    };
    auto maximise = [](QPainter& p, const QRect& r, const QColor& c) {
        const QRect box(r.center().x() - 4, r.center().y() - 4, 8, 8);
        p.setPen(c);
        p.drawRect(box);
        p.drawLine(box.left(), box.top() + 1, box.right(), box.top() + 1);
    };
    auto restore = [](QPainter& p, const QRect& r, const QColor& c) {
        const int x = r.center().x();
        const int y = r.center().y();
        p.setPen(c);
        // The window behind: only its top and right edges show.
        p.drawLine(x - 2, y - 2, x - 2, y - 5);
        p.drawLine(x - 2, y - 5, x + 4, y - 5);
        p.drawLine(x - 2, y - 4, x + 4, y - 4);
        p.drawLine(x + 4, y - 5, x + 4, y + 1);
        p.drawLine(x + 4, y + 1, x + 2, y + 1);
        p.drawRect(QRect(x - 5, y - 2, 7, 7));
        p.drawLine(x - 5, y - 1, x + 2, y - 1);
    };
    auto minimise = [](QPainter& p, const QRect& r, const QColor& c) {
        p.fillRect(QRect(r.center().x() - 4, r.center().y() + 2, 8, 2), c);
    };

    Comment(QStringLiteral("Caption buttons in the order they are read"));
    Section(QStringLiteral("BUTTON0"));
    Key(QStringLiteral("Action"), 0);
    Key(QStringLiteral("Align"), 1);
    Key(QStringLiteral("Xcoord"), 24);
    Key(QStringLiteral("Ycoord"), 5);
    Key(QStringLiteral("Visibility"), 0);
    Key(QStringLiteral("frame"), 4);
    Key(QStringLiteral("ButtonImage"), Add(QStringLiteral("Close.bmp"), strip(4, 18, 16, close, true)));
    Section(QStringLiteral("BUTTON1"));
    Key(QStringLiteral("Action"), 1);
    Key(QStringLiteral("Align"), 1);
    Key(QStringLiteral("Xcoord"), 44);
    Key(QStringLiteral("Ycoord"), 5);
    Key(QStringLiteral("Visibility"), 2);
    Key(QStringLiteral("Visibility1"), 6);
    Key(QStringLiteral("frame"), 4);
    Key(QStringLiteral("ButtonImage"), Add(QStringLiteral("Maximize.bmp"), strip(4, 18, 16, maximise, false)));
    Section(QStringLiteral("BUTTON3"));
    Key(QStringLiteral("Action"), 1);
    Key(QStringLiteral("Align"), 1);
    Key(QStringLiteral("Xcoord"), 44);
    Key(QStringLiteral("Ycoord"), 5);
    Key(QStringLiteral("Visibility"), 1);
    Key(QStringLiteral("Visibility1"), 6);
    Key(QStringLiteral("frame"), 4);
    Key(QStringLiteral("ButtonImage"), Add(QStringLiteral("Restore.bmp"), strip(4, 18, 16, restore, false)));
    Section(QStringLiteral("BUTTON4"));
    Key(QStringLiteral("Action"), 2);
    Key(QStringLiteral("Align"), 1);
    Key(QStringLiteral("Xcoord"), 64);
    Key(QStringLiteral("Ycoord"), 5);
    Key(QStringLiteral("Visibility"), 8);
    Key(QStringLiteral("Visibility1"), 8);
    Key(QStringLiteral("frame"), 4);
    Key(QStringLiteral("ButtonImage"), Add(QStringLiteral("Minimize.bmp"), strip(4, 18, 16, minimise, false)));
    Section(QStringLiteral("BUTTON5"));
    Comment(QStringLiteral("a decoration, never a button"));
    Key(QStringLiteral("Action"), -1);
    Key(QStringLiteral("ButtonImage"), QStringLiteral("Close.bmp"));
    Section(QStringLiteral("Button2"));
    Comment(QStringLiteral("the window icon"));
    Key(QStringLiteral("Action"), 3);
    Key(QStringLiteral("Align"), 0);
    Key(QStringLiteral("Xcoord"), 6);
    Key(QStringLiteral("Ycoord"), 5);
    Key(QStringLiteral("Visibility"), 0);
    Key(QStringLiteral("ButtonImage"), QStringLiteral("0"));

    if (T.MdiButtons) {
        // Minimise, restore and close of a maximised MDI child: 4 frames each.
        QImage mdi = NewImage(12 * 16, 14);
        {
            TPen p(&mdi);
            const std::function<void(QPainter&, const QRect&, const QColor&)> glyphs[3] = {minimise, restore, close};
            for (int b = 0; b < 3; ++b) {
                for (int f = 0; f < 4; ++f) {
                    const TLook look = StateLook(T, f == 3 ? 3 : f == 2 ? 4 : f + 1);
                    const QRect r((4 * b + f) * 16, 0, 16, 14);
                    RoundBox(p, r, 2, look.Border, look.Top, look.Bottom, false);
                    glyphs[b](p, r, look.Glyph);
                }
            }
        }
        Section(QStringLiteral("MDICONTROLS"));
        Key(QStringLiteral("Image"), Add(QStringLiteral("MdiControls.bmp"), mdi));
    }
    // Sections that look like caption buttons but are not.
    Section(QStringLiteral("Button.Checkbox"));
    Key(QStringLiteral("Action"), 0);
    Section(QStringLiteral("Button.Radio"));
    Key(QStringLiteral("Action"), 0);
}

void TBuilder::Colours()
{
    const QColor hilight = T.Accent;
    Section(QStringLiteral("Colours"));
    Key(QStringLiteral("WindowText"), Rgb(T.Text));
    Key(QStringLiteral("ButtonFace"), Rgb(T.Face));
    Key(QStringLiteral("Scrollbar"), Rgb(Light(T.Face, 0.4)));
    Key(QStringLiteral("HilightText"), Rgb(Qt::white));
    Key(QStringLiteral("Hilight"), Rgb(hilight));
    Key(QStringLiteral("Menubar"), Rgb(T.Face));
    Key(QStringLiteral("Menu"), Rgb(Light(T.Face, 0.5)));
    Key(QStringLiteral("MenuText"), Rgb(T.Text));
    Key(QStringLiteral("ButtonText"), Rgb(T.Text));
    Key(QStringLiteral("ButtonHilight"), Rgb(Light(T.Face, 0.8)));
    Key(QStringLiteral("Buttonlight"), Rgb(Light(T.Face, 0.5)));
    Key(QStringLiteral("ButtonShadow"), Rgb(Dark(T.Face, 0.35)));
    Key(QStringLiteral("ButtonDkShadow"), Rgb(Dark(T.Face, 0.65)));
    Key(QStringLiteral("MenuBarText"), Rgb(T.Text));
    Key(QStringLiteral("TitleTextActive"), Rgb(T.CaptionText));
    Key(QStringLiteral("TitleTextNoActive"), Rgb(T.CaptionTextInactive));
    const QColor table[6] = {T.Caption, T.CaptionInactive, T.Face, T.Accent, T.Window, T.Text};
    for (int i = 0; i < 6; ++i) {
        Section(QStringLiteral("COLOUR%1").arg(i));
        Key(QStringLiteral("color"), Rgb(table[i]));
    }
    Section(QStringLiteral("Customcolors"));
    for (int i = 0; i < 10; ++i)
        Key(QStringLiteral("Color%1").arg(i), Rgb(Mix(T.Caption, T.Accent, i / 9.0)));
}

void TBuilder::PushButtons()
{
    QImage check = NewImage(4 * 13, 13);
    QImage radio = NewImage(4 * 13, 13);
    {
        TPen pc(&check);
        TPen pr(&radio);
        for (int c = 0; c < 4; ++c) {
            const bool on = c == 1 || c == 3;
            const bool off = c >= 2;
            const QColor border = off ? Grey(Dark(T.Face, 0.4)) : Dark(T.Accent, 0.35);
            const QColor fill = off ? Grey(T.Face) : T.Window;
            const QColor mark = off ? Grey(Dark(T.Face, 0.5)) : Dark(T.Accent, 0.2);
            const QRect r(c * 13, 0, 13, 13);
            pc.fillRect(r.adjusted(0, 0, -1, -1), border);
            VGradient(pc, r.adjusted(1, 1, -2, -2), Dark(fill, 0.08), fill);
            if (on) {
                pc.setPen(QPen(mark, 2));
                pc.drawLine(r.left() + 3, r.top() + 6, r.left() + 5, r.top() + 8);
                pc.drawLine(r.left() + 5, r.top() + 8, r.left() + 9, r.top() + 3);
            }
            pr.setPen(border);
            pr.setBrush(fill);
            pr.drawEllipse(r.adjusted(0, 0, -1, -1));
            if (on) {
                pr.setPen(Qt::NoPen);
                pr.setBrush(mark);
                pr.drawEllipse(r.adjusted(4, 4, -5, -5));
            }
            pr.setBrush(Qt::NoBrush);
        }
    }
    Section(QStringLiteral("Buttons"));
    Key(QStringLiteral("Bitmap"), Add(QStringLiteral("Button.bmp"), StateStrip(5, 24, 22, T.Radius, T.Glossy)));
    Margins(4, 4, 4, 4);
    Key(QStringLiteral("Trans"), 1);
    Key(QStringLiteral("Tile"), 0);
    Key(QStringLiteral("CheckButton"), Add(QStringLiteral("Check.bmp"), check));
    Key(QStringLiteral("RadioButton"), Add(QStringLiteral("Radio.bmp"), radio));
    Key(QStringLiteral("NormalColour"), -1);
    Key(QStringLiteral("MouseOverColour"), -1);
    Key(QStringLiteral("PressedColour"), -1);
    TextColours(T.Text, Dark(T.Accent, 0.4), T.Text);
}

void TBuilder::Controls()
{
    // Progress: the bar and its fill.
    // With chunks (style 1) the picture is the bar alone.
    QImage progress = NewImage(T.ChunkProgress ? 20 : 40, 14, T.Face);
    {
        TPen p(&progress);
        p.fillRect(QRect(0, 0, 20, 14), Dark(T.Face, 0.4));
        VGradient(p, QRect(1, 1, 18, 12), Dark(T.Window, 0.08), T.Window);
        if (!T.ChunkProgress) {
            p.fillRect(QRect(20, 0, 20, 14), Dark(T.Accent, 0.35));
            VGradient(p, QRect(21, 1, 18, 12), Light(T.Accent, 0.45), T.Accent);
            if (T.Glossy)
                p.fillRect(QRect(21, 1, 18, 5), QColor(255, 255, 255, 70));
        }
    }
    QImage chunk = NewImage(8, 10, T.Window);
    {
        TPen p(&chunk);
        VGradient(p, QRect(0, 0, 7, 10), Light(T.Accent, 0.45), T.Accent);
    }
    Section(QStringLiteral("Progress"));
    Key(QStringLiteral("Bitmap"), Add(QStringLiteral("Progress.bmp"), progress));
    Key(QStringLiteral("Style"), T.ChunkProgress ? 1 : 0);
    Margins(3, 3, 3, 3);
    Key(QStringLiteral("Trans"), 0);
    Key(QStringLiteral("Tile"), 0);
    Section(QStringLiteral("Progress.Chunk"));
    Key(QStringLiteral("Image"), Add(QStringLiteral("ProgressChunk.bmp"), chunk));
    Key(QStringLiteral("Frame"), 1);
    Key(QStringLiteral("Tile"), 1);

    // Group box edge (etched) and caption background.
    QImage edge = NewImage(32, 16, T.Face);
    {
        TPen p(&edge);
        for (int f = 0; f < 2; ++f) {
            const QRect r(f * 16, 0, 16, 16);
            p.setPen(f == 0 ? Dark(T.Face, 0.3) : Grey(Dark(T.Face, 0.2)));
            p.drawRoundedRect(r.adjusted(0, 0, -2, -2), 3, 3);
            p.setPen(Light(T.Face, 0.7));
            p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 3, 3);
        }
    }
    QImage label = NewImage(40, 20);
    {
        TPen p(&label);
        RoundBox(p, QRect(0, 0, 40, 20), 5, Dark(T.Caption, 0.2), Light(T.Caption, 0.5), Light(T.Caption, 0.25),
                 false);
    }
    Section(QStringLiteral("GroupBoxEdge"));
    Key(QStringLiteral("Image"), Add(QStringLiteral("GroupEdge.bmp"), edge));
    Margins(4, 4, 4, 4);
    Section(QStringLiteral("GroupBox"));
    Key(QStringLiteral("Image"), Add(QStringLiteral("GroupLabel.bmp"), label));
    Margins(6, 4, 6, 4);
    Key(QStringLiteral("Trans"), 1);
    Key(QStringLiteral("BackgroundAlignment"), 0);
    Key(QStringLiteral("BackgroundLeftShift"), 4);
    Key(QStringLiteral("BackgroundRightShift"), 4);
    TextColours(T.CaptionText, T.CaptionText, T.CaptionText);

    // Tabs: normal, selected, disabled, hover, focused; the pane under them.
    QImage tabs = NewImage(150, 22);
    {
        TPen p(&tabs);
        for (int f = 1; f <= 5; ++f) {
            const TLook look = StateLook(T, f == 2 ? 5 : f);
            const QRect r((f - 1) * 30, f == 2 ? 0 : 2, 30, f == 2 ? 22 : 20);
            RoundBox(p, r.adjusted(0, 0, 0, 4), 3, look.Border, f == 2 ? Light(T.Face, 0.75) : look.Top,
                     f == 2 ? Light(T.Face, 0.4) : look.Bottom, false);
            if (f == 2)
                p.fillRect(QRect(r.left() + 2, 1, 26, 2), T.Accent);
        }
    }
    QImage pane = NewImage(40, 40, Light(T.Face, 0.4));
    {
        TPen p(&pane);
        Edge(p, QRect(0, 0, 40, 40), Light(T.Face, 0.8), Dark(T.Face, 0.45));
        Edge(p, QRect(1, 1, 38, 38), Light(T.Face, 0.6), Dark(T.Face, 0.25));
    }
    const QString paneName = Add(QStringLiteral("TabPane.bmp"), pane);
    Section(QStringLiteral("Tabs"));
    Key(QStringLiteral("Image"), Add(QStringLiteral("Tabs.bmp"), tabs));
    Key(QStringLiteral("Border"), paneName);
    Key(QStringLiteral("Style"), T.PaneTabs ? 1 : 0);
    Margins(4, 4, 4, 2);
    Key(QStringLiteral("Trans"), 1);
    TextColours(T.Text, Dark(T.Accent, 0.4), T.Text);
    Section(QStringLiteral("Tab.Pane"));
    Key(QStringLiteral("Image"), paneName);
    Comment(QStringLiteral("margins above 4 are read as 4"));
    Margins(6, 6, 6, 6);

    // Status bar panels: lowered, raised, flat.
    QImage status = NewImage(48, 18, T.Face);
    {
        TPen p(&status);
        Edge(p, QRect(0, 0, 16, 18), Dark(T.Face, 0.35), Light(T.Face, 0.8));
        Edge(p, QRect(16, 0, 16, 18), Light(T.Face, 0.8), Dark(T.Face, 0.35));
        p.setPen(Dark(T.Face, 0.15));
        p.drawLine(32, 17, 47, 17);
    }
    Section(QStringLiteral("StatusBarEdges"));
    Key(QStringLiteral("Image"), Add(QStringLiteral("StatusBar.bmp"), status));
    Margins(2, 2, 2, 2);
    TextColours(T.Text, T.Text, T.Text);

    // Tool-bar buttons and header items share one strip.
    const QString toolName = Add(QStringLiteral("ToolButton.bmp"), StateStrip(5, 24, 22, 2, T.Glossy));
    Section(QStringLiteral("ToolBars"));
    Key(QStringLiteral("Image"), toolName);
    Margins(3, 3, 3, 3);
    Key(QStringLiteral("Trans"), 1);
    TextColours(T.Text, T.Text, T.Text);
    Section(QStringLiteral("Headerbar"));
    Key(QStringLiteral("Image"), toolName);
    Margins(3, 3, 3, 3);
    Key(QStringLiteral("Trans"), 1); // the strip's rounded corners are magenta
    TextColours(T.Text, Dark(T.Accent, 0.4), T.Text);

    // Combo box: the drop button, the sunken edit edge, the arrow glyph.
    QImage comboButton = NewImage(4 * 17, 21);
    {
        TPen p(&comboButton);
        for (int f = 1; f <= 4; ++f) {
            const TLook look = StateLook(T, f);
            const QRect r((f - 1) * 17, 0, 17, 21);
            RoundBox(p, r.adjusted(0, 1, 0, -1), 2, look.Border, look.Top, look.Bottom, false);
            if (!T.SunkenCombo)
                Arrow(p, QPoint(r.center().x(), r.center().y() + 1), 4, 1, look.Glyph);
        }
    }
    Section(QStringLiteral("ComboButton"));
    Key(QStringLiteral("Image"), Add(QStringLiteral("ComboButton.bmp"), comboButton));
    Margins(2, 2, 2, 2);
    Key(QStringLiteral("Trans"), 1);
    if (T.SunkenCombo) {
        QImage sunk = NewImage(4 * 20, 21, T.Window);
        // The combo's arrow in its four states, then the size grip of status
        // bars: the cell after the combo's frames.
        QImage arrow = NewImage(5 * 12, 12);
        {
            TPen p(&sunk);
            for (int f = 1; f <= 4; ++f) {
                const QRect r((f - 1) * 20, 0, 20, 21);
                const QColor border = f == 4 ? T.Accent : f == 3 ? Grey(Dark(T.Face, 0.3)) : Dark(T.Face, 0.4);
                p.fillRect(r, f == 3 ? Grey(T.Face) : T.Window);
                p.setPen(border);
                p.drawRect(r.adjusted(0, 0, -1, -1));
                p.setPen(Dark(T.Face, 0.1));
                p.drawLine(r.left() + 1, 1, r.right() - 1, 1);
            }
            TPen a(&arrow);
            for (int f = 1; f <= 4; ++f)
                Arrow(a, QPoint((f - 1) * 12 + 6, 6), 4, 1, StateLook(T, f).Glyph);
            // Three diagonal ridges in the bottom-right corner of the last cell.
            const int x0 = 4 * 12;
            for (int k = 0; k < 3; ++k)
                for (int i = 0; i <= 3 * k + 2; ++i) {
                    const int x = x0 + 11 - i, y = 11 - (3 * k + 2) + i;
                    a.fillRect(QRect(x, y, 1, 1), Dark(T.Face, 0.45));
                    if (x + 1 <= x0 + 11 && y + 1 <= 11)
                        a.fillRect(QRect(x + 1, y + 1, 1, 1), Light(T.Face, 0.8));
                }
        }
        Section(QStringLiteral("SunkEdge"));
        Key(QStringLiteral("Image"), Add(QStringLiteral("SunkEdge.bmp"), sunk));
        Margins(2, 2, 2, 2);
        Section(QStringLiteral("ExtraImages"));
        Key(QStringLiteral("Image"), Add(QStringLiteral("ComboArrow.bmp"), arrow));
        Key(QStringLiteral("Frame"), 5);
        Key(QStringLiteral("Trans"), 1);
    }

    // Menus: items (normal, separator, disabled, selected, focused; magenta
    // lets the menu's background through) and the background. A separator
    // shows the frame's bottom rows: its line lies in the lowest eight.
    QImage item = NewImage(150, 20, QColor(255, 0, 255));
    {
        TPen p(&item);
        p.fillRect(QRect(33, 15, 24, 1), Dark(T.Face, 0.35));
        p.fillRect(QRect(33, 16, 24, 1), Light(T.Face, 0.9));
        RoundBox(p, QRect(90, 0, 30, 20), 2, Dark(T.Accent, 0.2), Light(T.Accent, 0.45), Light(T.Accent, 0.15), false);
    }
    QImage menuBack = NewImage(40, 40, Light(T.Face, 0.5));
    {
        TPen p(&menuBack);
        HGradient(p, QRect(0, 0, 22, 40), Light(T.Face, 0.2), Light(T.Face, 0.4));
        Edge(p, QRect(0, 0, 40, 40), Light(T.Face, 0.8), Dark(T.Face, 0.5));
    }
    Section(QStringLiteral("MenuItem"));
    Key(QStringLiteral("Image"), Add(QStringLiteral("MenuItem.bmp"), item));
    Margins(3, 3, 3, 3);
    Key(QStringLiteral("Trans"), 1);
    TextColours(T.Text, T.Text, Qt::white);
    Section(QStringLiteral("MenuBackground"));
    Key(QStringLiteral("Image"), Add(QStringLiteral("MenuBackground.bmp"), menuBack));
    Margins(2, 2, 2, 2);
    Key(QStringLiteral("Tile"), 0);
}

void TBuilder::ScrollBars()
{
    // 23 cells of 16 x 16: four arrows with four states each, two grips with
    // three, and the size grip.
    const int c = 16;
    QImage cells = NewImage(23 * c, c, T.Face);
    {
        TPen p(&cells);
        const int directions[4] = {2, 3, 0, 1};  // left, right, up, down
        const int states[4] = {1, 2, 3, 4};       // normal, pressed, disabled, hover
        for (int a = 0; a < 4; ++a) {
            for (int s = 0; s < 4; ++s) {
                const QRect r((a * 4 + s) * c, 0, c, c);
                const TLook look = StateLook(T, states[s]);
                RoundBox(p, r, 2, look.Border, look.Top, look.Bottom, T.Glossy && s != 2);
                Arrow(p, r.center(), 4, directions[a], look.Glyph);
            }
        }
        for (int g = 0; g < 2; ++g) {
            for (int s = 0; s < 3; ++s) {
                const QRect r((16 + g * 3 + s) * c, 0, c, c);
                const QColor line = s == 0 ? Dark(T.Face, 0.35) : s == 1 ? Dark(T.Accent, 0.3) : T.Accent;
                p.setPen(line);
                for (int i = -2; i <= 2; i += 2) {
                    if (g == 0)
                        p.drawLine(r.center().x() + i, r.top() + 5, r.center().x() + i, r.bottom() - 5);
                    else
                        p.drawLine(r.left() + 5, r.center().y() + i, r.right() - 5, r.center().y() + i);
                }
            }
        }
        const QRect grip(22 * c, 0, c, c);
        p.setPen(Dark(T.Face, 0.4));
        for (int i = 4; i < c; i += 4)
            p.drawLine(grip.left() + i, grip.bottom() - 1, grip.right() - 1, grip.top() + i);
    }
    auto track = [&](bool vertical) {
        QImage img = vertical ? NewImage(4 * 16, 20, T.Face) : NewImage(4 * 20, 16, T.Face);
        TPen p(&img);
        for (int f = 0; f < 4; ++f) {
            const QRect r = vertical ? QRect(f * 16, 0, 16, 20) : QRect(f * 20, 0, 20, 16);
            const QColor fill = f == 2 ? Grey(Light(T.Face, 0.3)) : Light(T.Face, 0.35 - 0.05 * f);
            p.fillRect(r, fill);
            p.setPen(Dark(T.Face, 0.15));
            if (vertical) {
                p.drawLine(r.left(), r.top(), r.left(), r.bottom());
                p.drawLine(r.right(), r.top(), r.right(), r.bottom());
            } else {
                p.drawLine(r.left(), r.top(), r.right(), r.top());
                p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
            }
        }
        return img;
    };
    auto thumb = [&](bool vertical) {
        QImage img = vertical ? NewImage(3 * 16, 20) : NewImage(3 * 20, 16);
        TPen p(&img);
        const int looks[3] = {1, 2, 4};
        for (int f = 0; f < 3; ++f) {
            const QRect r = vertical ? QRect(f * 16, 0, 16, 20) : QRect(f * 20, 0, 20, 16);
            const TLook look = StateLook(T, looks[f]);
            if (vertical)
                RoundBox(p, r.adjusted(1, 0, -1, 0), 3, look.Border, look.Top, look.Bottom, T.Glossy);
            else
                RoundBox(p, r.adjusted(0, 1, 0, -1), 3, look.Border, look.Top, look.Bottom, T.Glossy);
        }
        return img;
    };
    Section(QStringLiteral("Scrollbar"));
    Key(QStringLiteral("Image"), Add(QStringLiteral("Scrollbar.bmp"), cells));
    Key(QStringLiteral("Trans"), 1);
    Section(QStringLiteral("HorzScroll"));
    Key(QStringLiteral("Image"), Add(QStringLiteral("HorzScroll.bmp"), track(false)));
    Margins(3, 0, 3, 0);
    Section(QStringLiteral("VertScroll"));
    Key(QStringLiteral("Image"), Add(QStringLiteral("VertScroll.bmp"), track(true)));
    Margins(0, 3, 0, 3);
    Section(QStringLiteral("HorzScrollThumb"));
    Key(QStringLiteral("Image"), Add(QStringLiteral("HorzThumb.bmp"), thumb(false)));
    Margins(4, 3, 4, 3);
    Key(QStringLiteral("Trans"), 1);
    Key(QStringLiteral("FrameCount"), 3);
    Section(QStringLiteral("VertScrollThumb"));
    Key(QStringLiteral("Image"), Add(QStringLiteral("VertThumb.bmp"), thumb(true)));
    Margins(3, 4, 3, 4);
    Key(QStringLiteral("Trans"), 1);
    Key(QStringLiteral("FrameCount"), 3);
}

void TBuilder::TrackBars()
{
    // Thumb pointing down, five states; the others are turned copies of it.
    QImage down = NewImage(5 * 11, 19);
    {
        TPen p(&down);
        for (int f = 1; f <= 5; ++f) {
            const TLook look = StateLook(T, f);
            const int x = (f - 1) * 11;
            QPolygon shape;
            shape << QPoint(x, 0) << QPoint(x + 10, 0) << QPoint(x + 10, 13) << QPoint(x + 5, 18)
                  << QPoint(x, 13);
            QLinearGradient g(QPoint(x, 0), QPoint(x + 10, 0));
            g.setColorAt(0, look.Top);
            g.setColorAt(1, look.Bottom);
            p.setBrush(g);
            p.setPen(look.Border);
            p.drawPolygon(shape);
        }
    }
    QImage up = down;
    FlipBitmap(up);
    // Vertical thumbs: each frame turned on its own, so the frames stay in order.
    auto turned = [&](bool pointRight) {
        QImage strip = NewImage(5 * 19, 11);
        TPen p(&strip);
        for (int f = 0; f < 5; ++f) {
            QImage cell = down.copy(f * 11, 0, 11, 19);
            if (pointRight)
                RotateBitmapLeft(cell);
            else
                RotateBitmapRight(cell);
            p.drawImage(f * 19, 0, cell);
        }
        return strip;
    };
    const QString downName = Add(QStringLiteral("ThumbDown.bmp"), down);
    const QString rightName = Add(QStringLiteral("ThumbRight.bmp"), turned(true));
    const QString sections[6][2] = {
        {QStringLiteral("Trackbar.ThumbHorz"), downName},
        {QStringLiteral("Trackbar.ThumbVert"), rightName},
        {QStringLiteral("Trackbar.ThumbLeft"), Add(QStringLiteral("ThumbLeft.bmp"), turned(false))},
        {QStringLiteral("Trackbar.ThumbRight"), rightName},
        {QStringLiteral("Trackbar.ThumbUp"), Add(QStringLiteral("ThumbUp.bmp"), up)},
        {QStringLiteral("Trackbar.ThumbDown"), downName},
    };
    for (const auto& s : sections) {
        Section(s[0]);
        Key(QStringLiteral("Image"), s[1]);
        Key(QStringLiteral("Trans"), 1);
    }

    // Up-down halves: eight states; their glyph strips hold up, down, left, right.
    auto updown = [&](bool horizontal) {
        const int w = horizontal ? 12 : 16;
        const int h = horizontal ? 16 : 9;
        QImage img = NewImage(8 * w, h);
        TPen p(&img);
        for (int f = 1; f <= 8; ++f) {
            const TLook look = StateLook(T, (f - 1) % 5 + 1);
            RoundBox(p, QRect((f - 1) * w, 0, w, h), 2, look.Border, look.Top, look.Bottom, false);
        }
        return img;
    };
    auto glyphs = [&](int size) {
        QImage img = NewImage(4 * size, size);
        TPen p(&img);
        for (int d = 0; d < 4; ++d)
            Arrow(p, QPoint(d * size + size / 2, size / 2), size / 2, d, T.Text);
        return img;
    };
    Section(QStringLiteral("UpDown.Horz"));
    Key(QStringLiteral("Image"), Add(QStringLiteral("UpDownHorz.bmp"), updown(true)));
    Key(QStringLiteral("GlyphImage"), Add(QStringLiteral("UpDownHorzGlyph.bmp"), glyphs(7)));
    Margins(2, 2, 2, 2);
    Key(QStringLiteral("Trans"), 1);
    Section(QStringLiteral("UpDown.Vert"));
    Key(QStringLiteral("Image"), Add(QStringLiteral("UpDownVert.bmp"), updown(false)));
    Key(QStringLiteral("GlyphImage"), Add(QStringLiteral("UpDownVertGlyph.bmp"), glyphs(5)));
    Margins(2, 2, 2, 2);
    Key(QStringLiteral("Trans"), 1);

    if (T.OwnTrack) {
        Section(QStringLiteral("Track"));
        Key(QStringLiteral("Image"), Add(QStringLiteral("Track.bmp"), DrawTrackBitmap(false)));
        Margins(3, 3, 3, 3);
        Key(QStringLiteral("Frame"), 1);
        Section(QStringLiteral("TRACKVERT"));
        Key(QStringLiteral("Image"), Add(QStringLiteral("TrackVert.bmp"), DrawTrackBitmap(true)));
        Margins(3, 3, 3, 3);
        Key(QStringLiteral("Frame"), 1);
    }
}

TSkinArt TBuilder::Build()
{
    FLines << QStringLiteral("; Skin description of \"%1\", drawn by skinpack").arg(T.SkinName);
    Section(QStringLiteral("TitlebarSkin"));
    Key(QStringLiteral("SkinName"), T.SkinName);
    Frame();
    Caption();
    CaptionButtons();
    Colours();
    PushButtons();
    Controls();
    ScrollBars();
    TrackBars();
    FArt.Ini = FLines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
    return FArt;
}
} // namespace

QList<TEntry> TSkinArt::Entries() const
{
    QList<TEntry> all;
    all.append({IniName, Ini});
    all.append(Bitmaps);
    return all;
}

QByteArray BmpBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP");
    return bytes;
}

TTheme DefaultTheme()
{
    TTheme t;
    t.FileName = QStringLiteral("default");
    t.SkinName = QStringLiteral("Tessavik");
    t.Caption = QColor(59, 97, 131);
    t.CaptionInactive = QColor(128, 140, 152);
    t.Face = QColor(222, 226, 231);
    t.Window = QColor(255, 255, 255);
    t.Accent = QColor(74, 135, 190);
    t.Text = QColor(20, 28, 38);
    t.CaptionText = QColor(255, 255, 255);
    t.CaptionTextInactive = QColor(222, 226, 231);
    t.Radius = 3;
    return t;
}

QList<TTheme> FolderThemes()
{
    TTheme mx = DefaultTheme();
    mx.FileName = QStringLiteral("mxskin20");
    mx.SkinName = QStringLiteral("MX 2.0");
    mx.Caption = QColor(44, 78, 138);
    mx.CaptionInactive = QColor(112, 124, 150);
    mx.Face = QColor(234, 236, 240);
    mx.Accent = QColor(240, 140, 30);
    mx.Radius = 4;
    mx.Glossy = true;

    TTheme green = DefaultTheme();
    green.FileName = QStringLiteral("zelena");
    green.SkinName = QString::fromUtf8("Zelená");
    green.Caption = QColor(52, 118, 70);
    green.CaptionInactive = QColor(136, 150, 138);
    green.Face = QColor(229, 236, 224);
    green.Accent = QColor(96, 164, 58);
    green.Text = QColor(24, 40, 24);
    green.ChunkProgress = true;
    green.PaneTabs = true;
    green.TileCaption = true;

    TTheme graphite = DefaultTheme();
    graphite.FileName = QStringLiteral("grafit");
    graphite.SkinName = QStringLiteral("Grafit");
    graphite.Caption = QColor(58, 60, 66);
    graphite.CaptionInactive = QColor(120, 122, 126);
    // Light enough for the grey of disabled links and of the mask's hatching.
    graphite.Face = QColor(232, 233, 236);
    graphite.Window = QColor(246, 246, 246);
    graphite.Accent = QColor(226, 118, 28);
    graphite.Text = QColor(16, 16, 16);
    graphite.CaptionTextInactive = QColor(200, 200, 200);
    graphite.Radius = 2;
    graphite.SunkenCombo = false;
    graphite.MdiButtons = false;
    graphite.OwnTrack = false;
    return {mx, green, graphite};
}

TSkinArt DrawSkin(const TTheme& theme)
{
    TBuilder builder(theme);
    return builder.Build();
}

QByteArray PackSkin(const TSkinArt& art) { return BuildArchive(art.Entries()); }

QImage DrawTrackBitmap(bool vertical)
{
    // A sunken channel with margins of 3.
    const QColor face(212, 208, 200);
    QImage img = vertical ? NewImage(8, 30, face) : NewImage(30, 8, face);
    TPen p(&img);
    const QRect r = img.rect();
    p.fillRect(r.adjusted(1, 1, -1, -1), QColor(255, 255, 255));
    Edge(p, r, QColor(128, 128, 128), QColor(255, 255, 255));
    Edge(p, r.adjusted(1, 1, -1, -1), QColor(64, 64, 64), QColor(212, 208, 200));
    return img;
}

QImage DrawMenuGlyphs()
{
    // 16 x 16 glyphs on white (the mask colour): restore, maximise, minimise, close.
    QImage img = NewImage(64, 16, Qt::white);
    TPen p(&img);
    const QColor ink(0, 0, 0);
    p.setPen(ink);
    p.drawRect(QRect(6, 3, 6, 6));
    p.drawLine(6, 4, 11, 4);
    p.fillRect(QRect(3, 6, 7, 7), Qt::white);
    p.drawRect(QRect(3, 6, 6, 6));
    p.drawLine(3, 7, 8, 7);
    p.drawRect(QRect(19, 3, 9, 9));
    p.drawLine(19, 4, 28, 4);
    p.fillRect(QRect(36, 10, 7, 2), ink);
    p.setPen(QPen(ink, 2));
    p.drawLine(52, 4, 59, 11);
    p.drawLine(52, 11, 59, 4);
    return img;
}

QImage DrawPreview(const QByteArray& archive, const QString& title)
{
    TSkinData data(nullptr);
    QByteArray property;
    const auto n = static_cast<uint32_t>(archive.size());
    for (int i = 0; i < 4; ++i)
        property.append(static_cast<char>((n >> (8 * i)) & 0xFF));
    property += archive;
    QDataStream in(property);
    data.ReadSkinStream(in);
    if (data.SkinLoading())
        return QImage();

    const int W = 200;
    const int H = 150;
    QImage img(W, H, QImage::Format_RGB32);
    img.fill(QColor(90, 110, 130));
    QPainter p(&img);
    const auto side = [](const TDataSkinObject& o) {
        return TSkinMargins{o.LeftWidth, o.TopHeight, o.RightWidth, o.BottomHeight};
    };
    const int lw = data.Left->Image.width() / std::max(1, data.Left->Frame);
    const int rw = data.Right->Image.width() / std::max(1, data.Right->Frame);
    const int th = data.Top->Image.height() / std::max(1, data.Top->Frame);
    const int bh = data.Bottom->Image.height() / std::max(1, data.Bottom->Frame);
    const TRect win(8, 8, W - 8, H - 8);
    p.fillRect(QRect(win.Left, win.Top, win.Width(), win.Height()), ToQColor(data.Colours.ButtonFace));
    NineGridDraw(p, TRect(win.Left, win.Top, win.Left + lw, win.Bottom), data.Left->Image, false,
                 data.Left->Tile != 1, true, data.Left->Frame, 1, side(*data.Left));
    NineGridDraw(p, TRect(win.Right - rw, win.Top, win.Right, win.Bottom), data.Right->Image, false,
                 data.Right->Tile != 1, true, data.Right->Frame, 1, side(*data.Right));
    NineGridDraw(p, TRect(win.Left + lw, win.Bottom - bh, win.Right - rw, win.Bottom), data.Bottom->Image, true,
                 data.Bottom->Tile != 1, false, data.Bottom->Frame, 1, side(*data.Bottom));
    NineGridDraw(p, TRect(win.Left + lw, win.Top, win.Right - rw, win.Top + th), data.Top->Image, true,
                 data.Top->Tile != 1, false, data.Top->Frame, 1, side(*data.Top));
    // Title and caption buttons.
    QFont font = data.CaptionFont.ToQFont();
    p.setFont(font);
    p.setPen(ToQColor(data.Title->ActiveTextColour == clNone ? data.Colours.TitleTextActive
                                                               : data.Title->ActiveTextColour));
    p.drawText(QRect(win.Left + data.Title->LeftWidth, win.Top, 100, th), Qt::AlignVCenter | Qt::AlignLeft, title);
    for (const auto& b : data.CaptionButtons) {
        if (b->Image.isNull() || b->Align != 1 || b->Visibility == 1 || b->Visibility == 100)
            continue;
        const int fw = b->Image.width() / std::max(1, b->Frame);
        DrawTransparentBitmap(p, Bounds(win.Right - b->Xcoord, win.Top + b->Ycoord, fw, b->Image.height()),
                              b->Image.copy(0, 0, fw, b->Image.height()), clFuchsia);
    }
    // Menu bar strip.
    const int menuTop = win.Top + th;
    if (data.MenuBar)
        NineGridDraw(p, TRect(win.Left + lw, menuTop, win.Right - rw, menuTop + 19), data.MenuBar->Image, true,
                     data.MenuBar->Tile == 1, false, data.MenuBar->Frame, 1, side(*data.MenuBar));
    p.setPen(ToQColor(data.Colours.MenuBarText));
    p.setFont(QFont(font.family(), 8));
    p.drawText(QRect(win.Left + lw + 6, menuTop, 170, 19), Qt::AlignVCenter, QString::fromUtf8("Soubor  Úpravy  Nápověda"));
    // A few controls.
    const TDataSkinButton& b = *data.Buttons;
    NineGridDraw(p, Bounds(24, 70, 64, 24), b.Image, false, b.Tile == 1, b.Trans == 1, b.Frame, 1, side(b));
    NineGridDraw(p, Bounds(100, 70, 64, 24), b.Image, false, b.Tile == 1, b.Trans == 1, b.Frame, 4, side(b));
    p.setPen(ToQColor(b.NormalColour2));
    p.drawText(QRect(24, 70, 64, 24), Qt::AlignCenter, QStringLiteral("OK"));
    p.drawText(QRect(100, 70, 64, 24), Qt::AlignCenter, QStringLiteral("Storno"));
    if (!b.CheckImage.isNull()) {
        const int cw = b.CheckImage.width() / std::max(1, b.CheckButtonFrame);
        DrawTransparentBitmap(p, Bounds(24, 104, cw, b.CheckImage.height()),
                              b.CheckImage.copy(cw, 0, cw, b.CheckImage.height()), clFuchsia);
    }
    if (!b.RadioImage.isNull()) {
        const int cw = b.RadioImage.width() / std::max(1, b.RadioButtonFrame);
        DrawTransparentBitmap(p, Bounds(100, 104, cw, b.RadioImage.height()),
                              b.RadioImage.copy(cw, 0, cw, b.RadioImage.height()), clFuchsia);
    }
    p.setPen(ToQColor(data.Colours.WindowText));
    p.drawText(QRect(42, 100, 50, 20), Qt::AlignVCenter, QStringLiteral("Volba"));
    p.drawText(QRect(118, 100, 50, 20), Qt::AlignVCenter, QStringLiteral("Výběr"));
    if (data.Progress) {
        const TDataSkinObject& pr = *data.Progress;
        NineGridDraw(p, Bounds(24, 122, 140, 8), pr.Image, false, false, false, pr.Frame, 1, side(pr));
        if (pr.Style == 1 && data.ProgressChunk) {
            const QImage& chunk = data.ProgressChunk->Image;
            for (int x = 26; x + chunk.width() <= 114; x += chunk.width())
                p.drawImage(QRect(x, 124, chunk.width(), 4), chunk);
        } else if (pr.Frame >= 2) {
            NineGridDraw(p, Bounds(24, 122, 90, 8), pr.Image, false, false, false, pr.Frame, 2, side(pr));
        }
    }
    return img;
}

namespace {
bool Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "skinpack: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}
} // namespace

bool BuildAll(const QString& skinDir, const QString& resourceDir)
{
    if (!QDir().mkpath(skinDir) || !QDir().mkpath(resourceDir))
        return false;
    bool ok = true;
    ok &= Write(QDir(resourceDir).filePath(QStringLiteral("track.bmp")), BmpBytes(DrawTrackBitmap(false)));
    ok &= Write(QDir(resourceDir).filePath(QStringLiteral("trackvert.bmp")), BmpBytes(DrawTrackBitmap(true)));
    ok &= Write(QDir(resourceDir).filePath(QStringLiteral("pellimomenu.bmp")), BmpBytes(DrawMenuGlyphs()));
    ok &= Write(QDir(resourceDir).filePath(QStringLiteral("default.skn")), PackSkin(DrawSkin(DefaultTheme())));
    for (const TTheme& theme : FolderThemes()) {
        const QByteArray archive = PackSkin(DrawSkin(theme));
        ok &= Write(QDir(skinDir).filePath(theme.FileName + QStringLiteral(".skn")), archive);
        const QImage preview = DrawPreview(archive, theme.SkinName);
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        if (preview.isNull() || !preview.save(&buffer, "JPG", 90)) {
            std::fprintf(stderr, "skinpack: no preview for %s\n", qPrintable(theme.FileName));
            ok = false;
            continue;
        }
        ok &= Write(QDir(skinDir).filePath(theme.FileName + QStringLiteral(".jpg")), jpeg);
    }
    return ok;
}
} // namespace SkinPack
