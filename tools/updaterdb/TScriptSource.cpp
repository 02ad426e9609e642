#include "TScriptSource.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace {

bool ParseVersion(const QString& Text, std::array<int, 4>& Version)
{
    const QStringList parts = Text.split(u'.');
    if (parts.size() != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        Version[i] = parts[i].toInt(&ok);
        if (!ok || Version[i] < 0 || parts[i].startsWith(u'+'))
            return false;
    }
    return Version != std::array<int, 4>{};
}

// Whether Sql holds a ";" outside string literals, quoted names and comments.
bool HasStatementSeparator(const QString& Sql)
{
    QChar quote;
    for (qsizetype i = 0; i < Sql.size(); ++i) {
        const QChar c = Sql[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"' || c == u'`') {
            quote = c;
        } else if (c == u'[') {
            quote = u']';
        } else if (c == u';') {
            return true;
        }
    }
    return false;
}

} // namespace

QString TUpdateScript::VersionText() const
{
    return QStringLiteral("%1.%2.%3.%4").arg(Version[0]).arg(Version[1]).arg(Version[2]).arg(Version[3]);
}

const QStringList& TScriptSource::KnownDBTypes()
{
    static const QStringList types = {
        QStringLiteral("All"),   QStringLiteral("Access"),   QStringLiteral("SQLite"),
        QStringLiteral("MSSQL"), QStringLiteral("Firebird"), QStringLiteral("Oracle"),
        QStringLiteral("MySQL"), QStringLiteral("NexusDB"),  QStringLiteral("PostgreSQL")};
    return types;
}

bool TScriptSource::ReadFile(const QString& FileName, QList<TUpdateScript>& Scripts, QString& Error)
{
    const QString dbType = QFileInfo(FileName).completeBaseName();
    if (!KnownDBTypes().contains(dbType)) {
        Error = QStringLiteral("%1: the file name names no DBType (%2)").arg(FileName, KnownDBTypes().join(u' '));
        return false;
    }
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        Error = QStringLiteral("%1: %2").arg(FileName, file.errorString());
        return false;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');

    static const QRegularExpression marker(QStringLiteral(R"(^--@\s+(\S+)(?:\s+(\S+))?\s*$)"));
    QList<TUpdateScript> found;
    QStringList body;
    // Closes the script being read; false with Error when it is malformed.
    auto finish = [&]() {
        if (found.isEmpty())
            return true;
        TUpdateScript& s = found.last();
        QString sql = body.join(u'\n').trimmed();
        if (sql.endsWith(u';'))
            sql = sql.chopped(1).trimmed();
        body.clear();
        if (sql.isEmpty()) {
            Error = s.Where + QStringLiteral(": the script is empty");
            return false;
        }
        if (HasStatementSeparator(sql)) {
            Error = s.Where + QStringLiteral(": a script holds one statement only (a \";\" inside it)");
            return false;
        }
        s.SQLText = sql;
        return true;
    };

    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].endsWith(u'\r') ? lines[n].chopped(1) : lines[n];
        const QString where = QStringLiteral("%1:%2").arg(FileName).arg(n + 1);
        const auto m = marker.match(line);
        if (m.hasMatch()) {
            if (!finish())
                return false;
            TUpdateScript s;
            s.DBType = dbType;
            s.Where = where;
            if (!ParseVersion(m.captured(1), s.Version)) {
                Error = where + QStringLiteral(": \"%1\" is no version V1.V2.V3.V4 above 0.0.0.0").arg(m.captured(1));
                return false;
            }
            if (m.hasCaptured(2)) {
                if (m.captured(2).compare(QLatin1String("ignore"), Qt::CaseInsensitive) != 0) {
                    Error = where + QStringLiteral(": unknown flag \"%1\" (only \"ignore\")").arg(m.captured(2));
                    return false;
                }
                s.Ignore = true;
            }
            if (!found.isEmpty() && !(found.last().Version < s.Version)) {
                Error = where + QStringLiteral(": version %1 is not above %2 before it")
                                    .arg(s.VersionText(), found.last().VersionText());
                return false;
            }
            found.append(s);
        } else if (line.trimmed().startsWith(QLatin1String("--"))) {
            continue;
        } else if (found.isEmpty()) {
            if (!line.trimmed().isEmpty()) {
                Error = where + QStringLiteral(": statement text before the first \"--@ <version>\" line");
                return false;
            }
        } else {
            body.append(line);
        }
    }
    if (!finish())
        return false;
    Scripts.append(found);
    return true;
}

QString TScriptSource::CheckVersions(const QList<TUpdateScript>& Scripts)
{
    QHash<QString, const TUpdateScript*> all;
    for (const TUpdateScript& s : Scripts)
        if (s.DBType == QLatin1String("All"))
            all.insert(s.VersionText(), &s);
    QHash<QString, const TUpdateScript*> seen;
    for (const TUpdateScript& s : Scripts) {
        const QString key = s.DBType + u' ' + s.VersionText();
        const TUpdateScript* other = seen.value(key);
        if (!other && s.DBType != QLatin1String("All"))
            other = all.value(s.VersionText());
        if (other)
            return QStringLiteral("%1: version %2 also at %3").arg(s.Where, s.VersionText(), other->Where);
        seen.insert(key, &s);
    }
    return QString();
}

std::array<int, 4> TScriptSource::LatestVersion(const QList<TUpdateScript>& Scripts)
{
    std::array<int, 4> latest{};
    for (const TUpdateScript& s : Scripts)
        latest = qMax(latest, s.Version);
    return latest;
}
