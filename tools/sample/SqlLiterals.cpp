#include "SqlLiterals.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QLocale>

namespace {

QString Quoted(const QString& Text, bool BackslashEscapes)
{
    QString out;
    out.reserve(Text.size() + 2);
    out += u'\'';
    for (const QChar c : Text) {
        if (c == u'\'')
            out += u'\'';
        else if (BackslashEscapes && c == u'\\')
            out += u'\\';
        out += c;
    }
    out += u'\'';
    return out;
}

QString Literal(const QVariant& Value, bool BackslashEscapes)
{
    if (Value.isNull())
        return QStringLiteral("NULL");
    switch (Value.typeId()) {
        case QMetaType::Bool: return Value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        case QMetaType::Int:
        case QMetaType::LongLong: return QString::number(Value.toLongLong());
        case QMetaType::Double: return QString::number(Value.toDouble(), 'g', QLocale::FloatingPointShortest);
        case QMetaType::QDate: return u'\'' + Value.toDate().toString(QStringLiteral("yyyy-MM-dd")) + u'\'';
        case QMetaType::QDateTime:
            return u'\'' + Value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + u'\'';
        case QMetaType::QByteArray:
            return QStringLiteral("X'") + QString::fromLatin1(Value.toByteArray().toHex()) + u'\'';
        default: return Quoted(Value.toString(), BackslashEscapes);
    }
}

} // namespace

QString SqlLiterals::SQLite(const QVariant& Value)
{
    return Literal(Value, false);
}

QString SqlLiterals::Firebird(const QVariant& Value)
{
    if (Value.isNull())
        return QStringLiteral("NULL");
    switch (Value.typeId()) {
        case QMetaType::Bool: return Value.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        case QMetaType::QDate: return QStringLiteral("DATE ") + Literal(Value, false);
        case QMetaType::QDateTime: return QStringLiteral("TIMESTAMP ") + Literal(Value, false);
        case QMetaType::QByteArray:
            return QStringLiteral("x'") + QString::fromLatin1(Value.toByteArray().toHex()) + u'\'';
        default: return Literal(Value, false);
    }
}

QString SqlLiterals::MySQL(const QVariant& Value, bool BackslashEscapes)
{
    return Literal(Value, BackslashEscapes);
}
