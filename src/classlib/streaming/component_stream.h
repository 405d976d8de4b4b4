#pragma once
// One component as one record: the writer walks the class's registered
// properties in their order, the reader creates the named class and sets the
// properties it finds, in any order.

#include "classlib/component.h"
#include "classlib/streaming/registry.h"

#include <QIODevice>
#include <QString>
#include <memory>
#include <vector>

class TReader;
class TWriter;

// Signature, class name, name, the stored properties that differ from their
// defaults, 0, and an empty child list. Throws EComponentError for a class
// that is not registered, EFileError when the device takes less than the record.
void WriteComponentRecord(QIODevice& stream, TComponent* component,
                          const TStreamRegistry& registry = TStreamRegistry::Default());
QByteArray ComponentRecordBytes(TComponent* component,
                                const TStreamRegistry& registry = TStreamRegistry::Default());

// A new component of the named class, without owner. Any fault of the record
// (signature, unknown class or property, wrong value type, cut short, a
// picture that cannot be read) throws one EReadError; nothing half-read is
// returned.
std::unique_ptr<TComponent> ReadComponentRecord(QIODevice& stream,
                                                const TStreamRegistry& registry = TStreamRegistry::Default());

// Reads records until the end of the device or the first failure; the
// components read before a failure are kept, and Error holds its message.
struct TRecordReadResult {
    std::vector<std::unique_ptr<TComponent>> Components;
    bool Failed = false;
    QString Error;
};
TRecordReadResult ReadComponentRecords(QIODevice& stream,
                                       const TStreamRegistry& registry = TStreamRegistry::Default());

// The identifier a reference is written as, seen from root.
QString ReferenceName(const TComponent* root, const TComponent* target);
