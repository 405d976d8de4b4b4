#include "designer/objects/param_string.h"

#include "classlib/sysutils.h"

#include <algorithm>
#include <limits>

int GetParamField(const QString& s, int n)
{
    QString rest = s;
    QString field;
    for (int i = 0; i <= n; ++i) {
        if (rest.isEmpty())
            rest = QStringLiteral("0;");
        const qsizetype semi = rest.indexOf(QLatin1Char(';'));
        // Without a ";" the field is empty and nothing is consumed, so every
        // later field reads empty as well.
        field = semi < 0 ? QString() : rest.left(semi);
        if (semi >= 0)
            rest.remove(0, semi + 1);
    }
    if (field.isEmpty())
        return 0;
    return StrToInt(field);
}

QString SetParamField(const QString& s, int value, int n)
{
    if (n < 0)
        return s;
    QString rest = s;
    QString out;
    int i = 0;
    bool replaced = false;
    for (qsizetype semi = rest.indexOf(QLatin1Char(';')); semi >= 0; semi = rest.indexOf(QLatin1Char(';'))) {
        if (i == n) {
            out += IntToStr(value) + QLatin1Char(';');
            replaced = true;
        } else {
            out += rest.left(semi + 1);
        }
        rest.remove(0, semi + 1);
        ++i;
    }
    return replaced ? out : s;
}

QString ShiftParamField(const QString& s, long long delta, int n)
{
    const long long v = std::clamp<long long>(static_cast<long long>(GetParamField(s, n)) + delta,
                                              std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    return SetParamField(s, static_cast<int>(v), n);
}
