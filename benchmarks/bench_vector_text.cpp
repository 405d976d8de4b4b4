// bench-layer: tv_designer
// Drawing time of the two picture-text kinds: text drawn from glyph outlines
// in each style and rotation, and circular text. Prints medians.
// Usage: bench_vector_text
#include <QGuiApplication>
#include <cstdio>

#include "designer/objects/circ_text_image.h"
#include "designer/objects/text_image.h"
#include "designer/vector_text/circular_text.h"
#include "designer/vector_text/text_image_render.h"
#include "designer/vector_text/text_measure.h"
#include "median.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetSize(20);
    font.SetStyle(FontStyleBit(fsBold));
    const QString text = QStringLiteral("Tessavik - label designer 2024");
    const QSize ext = LabelTextExtent(font, text);
    constexpr int kRuns = 41;

    std::printf("text as picture, \"%s\", measured %d x %d px\n", qPrintable(text), ext.width(), ext.height());
    for (int scale : {1, 3}) {
        for (int flags : {0, 3, 4, 7}) {
            TFImage o(nullptr);
            o.SetBounds(0, 0, ext.width() * scale, ext.height() * scale);
            const double ms = MedianMs(kRuns, [&] { RenderTextImage(&o, &font, 0, text, flags, ext); });
            std::printf("  %4d x %-4d flags %d: %8.3f ms\n", o.Width(), o.Height(), flags, ms);
        }
    }
    for (int angle : {90, 180, 270}) {
        TFImage o(nullptr);
        if (angle == 180)
            o.SetBounds(0, 0, ext.width(), ext.height());
        else
            o.SetBounds(0, 0, ext.height(), ext.width());
        const double ms = MedianMs(kRuns, [&] { RenderTextImage(&o, &font, angle, text, 7, ext); });
        std::printf("  %4d x %-4d angle %3d flags 7: %8.3f ms\n", o.Width(), o.Height(), angle, ms);
    }

    std::printf("circular text, %lld characters on a 530 x 530 bitmap\n", static_cast<long long>(text.size()));
    for (int radius : {60, 150, 250}) {
        TCFImage o(nullptr);
        o.SetBounds(0, 0, 530, 530);
        o.Canvas()->SetFont(&font);
        o.SetHint(text);
        o.SetHelpKeyword(QStringLiteral("265;265;%1;0;").arg(radius));
        TCircTextHost host;
        const double ms = MedianMs(kRuns, [&] {
            o.SetBounds(0, 0, 530, 530);
            RenderCircularText(&o, radius, 0, text, host);
        });
        std::printf("  radius %3d: %8.3f ms\n", radius, ms);
    }
    return 0;
}
