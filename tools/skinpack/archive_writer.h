#pragma once
// Builds skin archives: named entries in the container layout, packed with LZHUF.

#include <QByteArray>
#include <QList>
#include <QString>

namespace SkinPack {
struct TEntry {
    QString Name;
    QByteArray Data;
};

// The unpacked container: version, name-block length, two header words, the
// names ended by CR LF, the sizes, the entry bytes.
QByteArray BuildContainer(const QList<TEntry>& entries, int32_t version = 20000,
                          int32_t word1 = 0, int32_t word2 = 0);
// The archive file: the container packed.
QByteArray BuildArchive(const QList<TEntry>& entries, int32_t version = 20000);
} // namespace SkinPack
