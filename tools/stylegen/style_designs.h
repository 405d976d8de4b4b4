#pragma once
// The ready-made styles that lie beside the program, built as label objects
// and written as component records, the way the designer saves its objects.

#include <QByteArray>
#include <QString>
#include <vector>

struct TStyleFile {
    QString FileName; // name in the Style folder; the extension tells the template type
    QByteArray Data;
};

// Every style file, in a fixed order, byte for byte as they ship.
std::vector<TStyleFile> BuildStyleFiles();
