#pragma once
// INI profile files with the platform's profile-service rules: sections and keys
// ignore letter case, a missing file or key gives the default, a key present with
// an empty value gives empty text, and a write keeps the rest of the file.

#include "classlib/strings.h"

#include <QDateTime>
#include <QString>
#include <memory>

class TIniFile : public TObject {
public:
    explicit TIniFile(const QString& fileName);
    const QString& FileName() const { return FFileName; }
    // Why the file could not be read (too large, no plain file); empty when it
    // was read or is missing. Such a file reads as empty and is never written.
    QString ReadError() const;

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    int ReadInteger(const QString& section, const QString& key, int def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    double ReadFloat(const QString& section, const QString& key, double def) const;
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    // Keys of a section, in file order.
    void ReadSection(const QString& section, TStrings& keys) const;
    void ReadSections(TStrings& sections) const;
    void ReadSectionValues(const QString& section, TStrings& lines) const;
    void EraseSection(const QString& section);
    void DeleteKey(const QString& section, const QString& key);

    struct Parsed;

private:
    const Parsed& Load() const;
    void Save(const Parsed& p);
    QString FFileName;
    // The file as last read; read again when the file changes on disk.
    mutable std::shared_ptr<Parsed> FCache;
    mutable QDateTime FCacheTime;
    mutable qint64 FCacheSize = -1;
};
