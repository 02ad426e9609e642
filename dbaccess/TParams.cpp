#include "TParams.h"

#include "EUniError.h"

TParam* TParams::FindParam(const QString& Name)
{
    for (auto& p : FItems)
        if (p.Name().compare(Name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

const TParam* TParams::FindParam(const QString& Name) const
{
    return const_cast<TParams*>(this)->FindParam(Name);
}

TParam& TParams::ParamByName(const QString& Name)
{
    if (TParam* p = FindParam(Name))
        return *p;
    throw EUniError(QStringLiteral("Parameter '%1' not found").arg(Name));
}

void TParams::Rebuild(const QStringList& Names)
{
    QList<TParam> rebuilt;
    for (const QString& name : Names) {
        TParam p(name);
        if (const TParam* old = FindParam(name))
            p.SetValue(old->Value());
        rebuilt.append(p);
    }
    FItems = rebuilt;
}

namespace {
bool IsNameStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool IsNameChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }


// The end of the literal, quoted identifier or comment that starts at I, or I when none does.
int SkipQuoted(const QString& Sql, int I, bool BackslashEscapes)
{
    const int n = int(Sql.size());
    const QChar c = Sql[I];
    if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('[')) {
        const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
        int j = I + 1;
        while (j < n) {
            if (BackslashEscapes && Sql[j] == QLatin1Char('\\') && close == QLatin1Char('\'') && j + 1 < n) {
                j += 2; // backslash escape, as MySQL reads it
                continue;
            }
            if (Sql[j] == close) {
                if (close != QLatin1Char(']') && j + 1 < n && Sql[j + 1] == close) {
                    j += 2; // doubled quote inside the literal
                    continue;
                }
                break;
            }
            ++j;
        }
        return qMin(n, j + 1);
    }
    if (c == QLatin1Char('-') && I + 1 < n && Sql[I + 1] == QLatin1Char('-')) {
        const int j = Sql.indexOf(QLatin1Char('\n'), I);
        return j < 0 ? n : j;
    }
    if (c == QLatin1Char('/') && I + 1 < n && Sql[I + 1] == QLatin1Char('*')) {
        const int j = Sql.indexOf(QLatin1String("*/"), I + 2);
        return j < 0 ? n : j + 2;
    }
    return I;
}

} // namespace

TParsedSql ParseParameters(const QString& Sql)
{
    TParsedSql parsed;
    const int n = int(Sql.size());
    int i = 0;
    while (i < n) {
        const QChar c = Sql[i];
        if (const int end = SkipQuoted(Sql, i, false); end != i) {
            parsed.Sql += Sql.mid(i, end - i);
            i = end;
        } else if (c == QLatin1Char(':') && i + 1 < n && Sql[i + 1] == QLatin1Char(':')) {
            parsed.Sql += QLatin1String("::");
            i += 2;
        } else if (c == QLatin1Char(':') && i + 1 < n && IsNameStart(Sql[i + 1])
                   && (i == 0 || !IsNameChar(Sql[i - 1]))) {
            int j = i + 1;
            while (j < n && IsNameChar(Sql[j]))
                ++j;
            const QString name = Sql.mid(i + 1, j - i - 1);
            parsed.Sql += QLatin1Char('?');
            parsed.Occurrences << name;
            bool known = false;
            for (const QString& k : parsed.Names)
                known = known || k.compare(name, Qt::CaseInsensitive) == 0;
            if (!known)
                parsed.Names << name;
            i = j;
        } else {
            parsed.Sql += c;
            ++i;
        }
    }
    return parsed;
}

QString ReplacePlaceholders(const QString& Sql, const QStringList& Values, bool BackslashEscapes)
{
    QString out;
    const int n = int(Sql.size());
    int i = 0;
    int next = 0;
    while (i < n) {
        if (const int end = SkipQuoted(Sql, i, BackslashEscapes); end != i) {
            out += Sql.mid(i, end - i);
            i = end;
        } else if (Sql[i] == QLatin1Char('?') && next < Values.size()) {
            out += Values[next++];
            ++i;
        } else {
            out += Sql[i++];
        }
    }
    return out;
}
