#pragma once
// Read-only INI parser for the skin description held in memory.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QIODevice;

class TQuickIni {
public:
    TQuickIni() = default;

    // Replaces the content with the text of data (up to a zero byte, if any).
    void LoadFromStream(const QByteArray& data);
    // Reads the stream from its position to its end; a null stream changes nothing.
    void LoadFromStream(QIODevice* stream);

    void ReadSections(QStringList& list) const;
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    int ReadInteger(const QString& section, const QString& key, int def) const;

    static QString KeyOf(const QString& line);
    static QString ValueOf(const QString& line, const QString& key);
    static bool IsSection(const QString& line);
    int FindSection(const QString& name) const;

    const QStringList& Lines() const { return FLines; }

private:
    QStringList FLines;
    QList<QPair<QString, int>> FSections;  // section line as kept, index in FLines
};
