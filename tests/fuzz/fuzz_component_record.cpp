// fuzz-layer: tv_classlib
// Component records from arbitrary bytes: the generic form over the whole
// input, then the registry reader with stand-in classes record after record.
// Any outcome but EReadError (a crash, another exception, an over-read) is a find.
#include "../classlib/stream_test_classes.h"
#include "classlib/streaming/component_stream.h"
#include "classlib/streaming/record.h"
#include "classlib/sysutils.h"

#include <QBuffer>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    {
        QBuffer buf(&bytes);
        buf.open(QIODevice::ReadOnly);
        try {
            while (!buf.atEnd()) {
                const qint64 start = buf.pos();
                const TComponentRecord r = ReadRecord(buf);
                // What was read writes back, and that reads and writes to the same bytes.
                const QByteArray once = RecordBytes(r);
                QByteArray copy = once;
                QBuffer b2(&copy);
                b2.open(QIODevice::ReadOnly);
                if (RecordBytes(ReadRecord(b2)) != once || !b2.atEnd() || buf.pos() <= start)
                    abort();
            }
        } catch (const EReadError&) {
        }
    }
    {
        QBuffer buf(&bytes);
        buf.open(QIODevice::ReadOnly);
        const TRecordReadResult r = ReadComponentRecords(buf, StreamTest::FakeRegistry());
        for (const auto& c : r.Components) {
            // A component that read must write.
            (void)ComponentRecordBytes(c.get(), StreamTest::FakeRegistry());
        }
    }
    return 0;
}
