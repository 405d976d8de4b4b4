// fuzz-layer: tv_designer
// A project or style file from arbitrary bytes, read and checked as opening
// it does before anything of the design changes: the records, the template
// numbers and circle parameters of a project, and the places and sizes every
// object rebuilt from a record takes. No window is built, so that a run
// covers many inputs; building from checked records is the designer tests'
// part. An exception leaving the reading, a crash or undefined behaviour is
// a find.
#include "classlib/controls/control.h"
#include "classlib/streaming/saved_classes.h"
#include "classlib/sysutils.h"
#include "designer/main/frm_main.h"
#include "designer/objects/object_stream_classes.h"

#include <QFile>
#include <QApplication>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>

namespace {
QTemporaryDir* Folder = nullptr;

bool InRange(int v) { return v >= MinRecordCoordinate && v <= MaxRecordCoordinate; }
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Fonts and pictures of the records need the application; no window is shown.
    static QApplication app(*argc, *argv);
    RegisterObjectStreamClasses();
    Folder = new QTemporaryDir();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString file = Folder->path() + QStringLiteral("/f.tvk");
    {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly))
            abort();
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    TFrmMain::TRecordList records;
    QString refusal;
    try {
        // A style applies what was read before a damaged record; a project
        // goes on only with every record read and its numbers checked.
        const bool whole = TFrmMain::ReadRecordFile(file, records, refusal);
        double outer = 118.0, hole = 44.0;
        double box[8] = {};
        if (whole && TFrmMain::CheckProjectRecords(records, outer, hole, box)) {
            for (double mm : {outer, hole, box[0], box[1], box[2], box[3], box[4], box[5], box[6], box[7]})
                if (!std::isfinite(mm) || std::fabs(mm) > 1000.0)
                    abort();
        }
    } catch (...) {
        abort(); // reading and checking end in a result, never an exception
    }
    // Every control a record gives is placed within the coordinate range, so
    // its edges, its selection frame and its handles cannot overflow.
    for (const auto& c : records) {
        auto* control = dynamic_cast<TControl*>(c.get());
        if (!control)
            continue;
        if (!InRange(control->Left()) || !InRange(control->Top()) || !InRange(control->Width()) ||
            !InRange(control->Height()))
            abort();
        const TRect r = control->BoundsRect();
        if (r.Width() != control->Width() || r.Height() != control->Height())
            abort();
    }
    return 0;
}
