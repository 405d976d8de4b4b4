#include "classlib/strings.h"

#include "classlib/sysutils.h"

#include <QFile>
#include <algorithm>

QString TStrings::Strings(int index) const
{
    CheckIndex(index);
    return FItems[static_cast<size_t>(index)].S;
}

void TStrings::Put(int index, const QString& s)
{
    CheckIndex(index);
    FItems[static_cast<size_t>(index)].S = s;
    Changed();
}

TObject* TStrings::Objects(int index) const
{
    CheckIndex(index);
    return FItems[static_cast<size_t>(index)].O;
}

void TStrings::PutObject(int index, TObject* object)
{
    CheckIndex(index);
    FItems[static_cast<size_t>(index)].O = object;
    Changed();
}

int TStrings::Add(const QString& s)
{
    Insert(Count(), s);
    return Count() - 1;
}

int TStrings::AddObject(const QString& s, TObject* object)
{
    const int i = Add(s);
    if (i >= 0 && i < Count())
        FItems[static_cast<size_t>(i)].O = object;
    return i;
}

void TStrings::Insert(int index, const QString& s)
{
    if (index < 0 || index > Count())
        throw EComponentError(QStringLiteral("Položka seznamu %1 neexistuje").arg(index));
    FItems.insert(FItems.begin() + index, Item{s, nullptr});
    Changed();
}

void TStrings::Delete(int index)
{
    CheckIndex(index);
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TStrings::Clear()
{
    if (FItems.empty())
        return;
    FItems.clear();
    Changed();
}

void TStrings::Move(int from, int to)
{
    CheckIndex(from);
    CheckIndex(to);
    if (from == to)
        return;
    Item it = FItems[static_cast<size_t>(from)];
    FItems.erase(FItems.begin() + from);
    FItems.insert(FItems.begin() + to, it);
    Changed();
}

void TStrings::Exchange(int a, int b)
{
    CheckIndex(a);
    CheckIndex(b);
    std::swap(FItems[static_cast<size_t>(a)], FItems[static_cast<size_t>(b)]);
    Changed();
}

bool TStrings::SameText(const QString& a, const QString& b) const
{
    return a.compare(b, FCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

int TStrings::IndexOf(const QString& s) const
{
    for (int i = 0; i < Count(); ++i)
        if (SameText(FItems[static_cast<size_t>(i)].S, s))
            return i;
    return -1;
}

void TStrings::AddStrings(const TStrings& other)
{
    BeginUpdate();
    for (int i = 0; i < other.Count(); ++i)
        AddObject(other.FItems[static_cast<size_t>(i)].S, other.FItems[static_cast<size_t>(i)].O);
    EndUpdate();
}

void TStrings::Assign(const TPersistent* source)
{
    const auto* s = dynamic_cast<const TStrings*>(source);
    if (!s) {
        TPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    FItems.clear();
    for (const Item& it : s->FItems)
        FItems.push_back(it);
    FChangedWhileUpdating = true;
    EndUpdate();
}

QString TStrings::Text() const
{
    QString out;
    for (const Item& it : FItems) {
        out += it.S;
        out += QLatin1String("\r\n");
    }
    return out;
}

void TStrings::SetText(const QString& text)
{
    BeginUpdate();
    FItems.clear();
    for (const QString& l : SplitLines(text))
        FItems.push_back(Item{l, nullptr});
    FChangedWhileUpdating = true;
    EndUpdate();
}

QString TStrings::CommaText() const
{
    QStringList parts;
    for (const Item& it : FItems) {
        QString s = it.S;
        if (s.isEmpty() || s.contains(QLatin1Char(' ')) || s.contains(QLatin1Char(',')) || s.contains(QLatin1Char('"'))) {
            s.replace(QLatin1String("\""), QLatin1String("\"\""));
            s = QLatin1Char('"') + s + QLatin1Char('"');
        }
        parts << s;
    }
    return parts.join(QLatin1Char(','));
}

void TStrings::SetCommaText(const QString& text)
{
    BeginUpdate();
    FItems.clear();
    int i = 0;
    const int n = text.size();
    while (i < n) {
        while (i < n && text[i] <= QLatin1Char(' '))
            ++i;
        if (i >= n)
            break;
        QString item;
        if (text[i] == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (text[i] == QLatin1Char('"')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                        item += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i < n && text[i] > QLatin1Char(' ') && text[i] != QLatin1Char(','))
                item += text[i++];
        }
        FItems.push_back(Item{item, nullptr});
        while (i < n && text[i] <= QLatin1Char(' '))
            ++i;
        if (i < n && text[i] == QLatin1Char(','))
            ++i;
    }
    FChangedWhileUpdating = true;
    EndUpdate();
}

QString TStrings::Names(int index) const
{
    const QString s = Strings(index);
    const int eq = s.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : s.left(eq);
}

int TStrings::IndexOfName(const QString& name) const
{
    for (int i = 0; i < Count(); ++i) {
        const QString& s = FItems[static_cast<size_t>(i)].S;
        const int eq = s.indexOf(QLatin1Char('='));
        if (eq >= 0 && SameText(s.left(eq), name))
            return i;
    }
    return -1;
}

QString TStrings::Values(const QString& name) const
{
    const int i = IndexOfName(name);
    if (i < 0)
        return QString();
    const QString& s = FItems[static_cast<size_t>(i)].S;
    return s.mid(s.indexOf(QLatin1Char('=')) + 1);
}

void TStrings::SetValue(const QString& name, const QString& value)
{
    const int i = IndexOfName(name);
    if (value.isEmpty()) {
        if (i >= 0)
            Delete(i);
        return;
    }
    if (i < 0)
        Add(name + QLatin1Char('=') + value);
    else
        Put(i, name + QLatin1Char('=') + value);
}

QStringList TStrings::ToQStringList() const
{
    QStringList l;
    for (const Item& it : FItems)
        l << it.S;
    return l;
}

void TStrings::SetFromQStringList(const QStringList& list)
{
    BeginUpdate();
    FItems.clear();
    for (const QString& s : list)
        FItems.push_back(Item{s, nullptr});
    FChangedWhileUpdating = true;
    EndUpdate();
}

void TStrings::EndUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
    if (FUpdateCount == 0 && FChangedWhileUpdating) {
        FChangedWhileUpdating = false;
        Changed();
    }
}

void TStrings::Changed()
{
    if (FUpdateCount > 0) {
        FChangedWhileUpdating = true;
        return;
    }
    if (OnChange)
        OnChange(this);
}

void TStrings::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EComponentError(QStringLiteral("Položka seznamu %1 neexistuje").arg(index));
}

void TStrings::LoadFromFile(const QString& fileName)
{
    QFile f;
    OpenFileForReading(f, fileName);
    SetText(DecodeText(f.readAll()));
}

void TStrings::SaveToFile(const QString& fileName) const
{
    SaveFileSafely(fileName, [this](QIODevice& f) { f.write(Text().toUtf8()); });
}

int TStringList::Compare(const QString& a, const QString& b) const
{
    return a.compare(b, FCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

bool TStringList::Find(const QString& s, int& index) const
{
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = Compare(FItems[static_cast<size_t>(mid)].S, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (FDuplicates != dupAccept)
                    lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

int TStringList::Add(const QString& s)
{
    if (!FSorted) {
        TStrings::Insert(Count(), s);
        return Count() - 1;
    }
    int index = 0;
    if (Find(s, index)) {
        if (FDuplicates == dupIgnore)
            return index;
        if (FDuplicates == dupError)
            throw EComponentError(QStringLiteral("Seznam nepřipouští stejné položky"));
    }
    TStrings::Insert(index, s);
    return index;
}

void TStringList::Insert(int index, const QString& s)
{
    if (FSorted)
        throw EComponentError(QStringLiteral("V seřazeném seznamu tuto operaci nelze provést"));
    TStrings::Insert(index, s);
}

void TStringList::Put(int index, const QString& s)
{
    if (FSorted)
        throw EComponentError(QStringLiteral("V seřazeném seznamu tuto operaci nelze provést"));
    TStrings::Put(index, s);
}

int TStringList::IndexOf(const QString& s) const
{
    if (!FSorted)
        return TStrings::IndexOf(s);
    int index = 0;
    return Find(s, index) ? index : -1;
}

void TStringList::SetSorted(bool sorted)
{
    if (sorted == FSorted)
        return;
    if (sorted)
        Sort();
    FSorted = sorted;
}

void TStringList::Sort()
{
    std::stable_sort(FItems.begin(), FItems.end(), [this](const Item& a, const Item& b) { return Compare(a.S, b.S) < 0; });
    Changed();
}
