#pragma once
// String lists: the lines of memos, list boxes and combo boxes, and general
// lists of text with an optional object per line.

#include "classlib/component.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class TStrings : public TPersistent {
public:
    TV_CLASS_NAME(TStrings)
    std::function<void(TStrings*)> OnChange;

    int Count() const { return static_cast<int>(FItems.size()); }
    QString Strings(int index) const;
    QString operator[](int index) const { return Strings(index); }
    virtual void Put(int index, const QString& s);
    TObject* Objects(int index) const;
    void PutObject(int index, TObject* object);

    virtual int Add(const QString& s);
    int AddObject(const QString& s, TObject* object);
    virtual void Insert(int index, const QString& s);
    virtual void Delete(int index);
    virtual void Clear();
    void Move(int from, int to);
    void Exchange(int a, int b);
    virtual int IndexOf(const QString& s) const;
    void AddStrings(const TStrings& other);
    void Assign(const TPersistent* source) override;

    // Lines joined with CR LF; setting splits at CR LF, CR or LF.
    QString Text() const;
    void SetText(const QString& text);
    QString CommaText() const;
    void SetCommaText(const QString& text);
    QString Names(int index) const;
    QString Values(const QString& name) const;
    void SetValue(const QString& name, const QString& value);
    int IndexOfName(const QString& name) const;
    QStringList ToQStringList() const;
    void SetFromQStringList(const QStringList& list);

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool v) { FCaseSensitive = v; }

    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;

protected:
    struct Item {
        QString S;
        TObject* O = nullptr;
    };
    std::vector<Item> FItems;
    bool FCaseSensitive = false;
    void Changed();
    void CheckIndex(int index) const;
    bool SameText(const QString& a, const QString& b) const;

private:
    int FUpdateCount = 0;
    bool FChangedWhileUpdating = false;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
    TV_CLASS_NAME(TStringList)
    TStringList() = default;
    explicit TStringList(const QStringList& lines) { SetFromQStringList(lines); }
    int Add(const QString& s) override;
    void Insert(int index, const QString& s) override;
    void Put(int index, const QString& s) override;
    int IndexOf(const QString& s) const override;
    bool Sorted() const { return FSorted; }
    void SetSorted(bool sorted);
    void Sort();
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates d) { FDuplicates = d; }
    // Binary search of a sorted list; false with the insertion point when absent.
    bool Find(const QString& s, int& index) const;

private:
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    int Compare(const QString& a, const QString& b) const;
};
