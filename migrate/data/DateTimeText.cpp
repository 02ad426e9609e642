#include "DateTimeText.h"

namespace {

std::optional<QDateTime> NowOverride;

// Calls Visit(Letter, Count, Literal) for every run of one pattern letter outside quotes, and
// with Literal true for everything else (quoted parts, separators), so that a format can be
// rewritten token by token.
template <typename TVisit>
void ForEachToken(const QString& Format, TVisit Visit)
{
    qsizetype i = 0;
    const qsizetype n = Format.size();
    while (i < n) {
        const QChar c = Format[i];
        if (c == u'\'') {
            qsizetype end = Format.indexOf(u'\'', i + 1);
            end = end < 0 ? n : end + 1;
            Visit(c, end - i, true, Format.mid(i, end - i));
            i = end;
        } else if (c.isLetter()) {
            qsizetype end = i;
            while (end < n && Format[end] == c)
                ++end;
            Visit(c, end - i, false, Format.mid(i, end - i));
            i = end;
        } else {
            Visit(c, 1, true, QString(c));
            ++i;
        }
    }
}

// Qt's short date of several regions ("dd.MM.yy") has a two-digit year where Windows writes four.
QString WithFourDigitYear(const QString& Format)
{
    QString out;
    ForEachToken(Format, [&](QChar Letter, qsizetype Count, bool Literal, const QString& Text) {
        out += !Literal && Letter == u'y' && Count <= 2 ? QStringLiteral("yyyy") : Text;
    });
    return out;
}

// Qt's long time ends with the time zone ("HH:mm:ss t"), which the Windows long time does not show.
QString WithoutTimeZone(const QString& Format)
{
    QString out;
    ForEachToken(Format, [&](QChar Letter, qsizetype, bool Literal, const QString& Text) {
        if (!Literal && Letter == u't')
            out = out.trimmed();
        else
            out += Text;
    });
    return out.trimmed();
}

} // namespace

QDateTime Now()
{
    return NowOverride ? *NowOverride : QDateTime::currentDateTime();
}

void SetNowOverride(std::optional<QDateTime> Value)
{
    NowOverride = std::move(Value);
}

QString DateTimeToStr(const QDateTime& Value, const QLocale& Locale)
{
    QString text = Locale.toString(Value.date(), WithFourDigitYear(Locale.dateFormat(QLocale::ShortFormat)));
    if (Value.time() != QTime(0, 0))
        text += u' ' + Locale.toString(Value.time(), WithoutTimeZone(Locale.timeFormat(QLocale::LongFormat)));
    return text;
}
