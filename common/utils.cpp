#include "utils.h"

#include "Platform.h"
#include "TIniFile.h"
#include "TRichEdit.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace {

const QString AdminSection = QStringLiteral("Administration");
const QString PrivateMarker = QStringLiteral("<PRIVATE>");

struct TVersionCache
{
    bool Filled = false;
    quint16 Numbers[4] = {};
};

bool IsProgramFile(const QString& FileName)
{
    if (FileName.isEmpty())
        return true;
    const QFileInfo given(FileName);
    const QFileInfo program(ProgramFilePath());
    return given.exists() && given.canonicalFilePath() == program.canonicalFilePath();
}

} // namespace

QString AppDir()
{
    static QString cache;
    if (cache.isEmpty()) {
        cache = ProgramFolder();
        StripTrailingChar(cache, PathDelim);
    }
    return cache;
}

void StripTrailingChar(QString& S, QChar C)
{
    qsizetype end = S.size();
    while (end > 0 && S[end - 1] == C)
        --end;
    S.truncate(end);
}

QString GetEnvVar(const QString& Name)
{
    if (Name.isEmpty())
        return QString();
    return qEnvironmentVariable(Name.toLocal8Bit().constData());
}

QString GetSpecialFolderPath(int CSIDL)
{
    if (CSIDL != CsidlPersonal)
        return QString();
    return DocumentsFolder();
}

QString ReadAdminIni(const QString& Folder, const QString& Key, const QString& Default)
{
    QString folder = Folder;
    StripTrailingChar(folder, PathDelim);
    return TIniFile(folder + PathDelim + QStringLiteral("ADMIN.INI")).ReadString(AdminSection, Key, Default);
}

QString GetAdminDir(const QString& Folder)
{
    QString dir = ReadAdminIni(Folder, QStringLiteral("AdminDir"), Folder);
    if (dir.isEmpty())
        dir = Folder;
    StripTrailingChar(dir, PathDelim);
    return dir;
}

QString AppAdminDir()
{
    static QString cache;
    if (cache.isEmpty())
        cache = GetAdminDir(AppDir());
    return cache;
}

QString GetGroupDir(const QString& Folder)
{
    QString dir = ReadAdminIni(Folder, QStringLiteral("GroupDir"), QString());
    if (dir.isEmpty()) {
        dir = AppAdminDir();
    } else if (const qsizetype marker = dir.indexOf(PrivateMarker, 0, Qt::CaseInsensitive); marker >= 0) {
        QString documents = GetSpecialFolderPath(CsidlPersonal);
        StripTrailingChar(documents, PathDelim);
        dir.replace(marker, PrivateMarker.size(), documents);
        // The group directory must exist for the programs' file dialogs; failing to create it is
        // not an error here.
        if (!QFileInfo::exists(dir))
            QDir().mkpath(dir);
    } else if (dir.startsWith(u'%') && dir.endsWith(u'%')) {
        dir = GetEnvVar(QString(dir).remove(u'%'));
        if (dir.isEmpty())
            dir = AppAdminDir();
    }
    StripTrailingChar(dir, PathDelim);
    return dir;
}

QString AppGroupDir()
{
    static QString cache;
    if (cache.isEmpty())
        cache = GetGroupDir(AppDir());
    return cache;
}

bool GetFileVersionNumbers(const QString& FileName, quint16& Major, quint16& Minor, quint16& Release,
                           quint16& Build)
{
    static TVersionCache cache;
    Major = Minor = Release = Build = 0;
    if (!IsProgramFile(FileName))
        return false;
    if (!cache.Filled) {
        // The program's version resource is the project version compiled into every target.
        cache.Numbers[0] = KLADDE_VERSION_MAJOR;
        cache.Numbers[1] = KLADDE_VERSION_MINOR;
        cache.Numbers[2] = KLADDE_VERSION_RELEASE;
        cache.Numbers[3] = KLADDE_VERSION_BUILD;
        cache.Filled = true;
    }
    Major = cache.Numbers[0];
    Minor = cache.Numbers[1];
    Release = cache.Numbers[2];
    Build = cache.Numbers[3];
    return true;
}

QString GetFileVersionText(const QString& FileName, bool WithBuild)
{
    quint16 major, minor, release, build;
    if (!GetFileVersionNumbers(FileName, major, minor, release, build))
        return QString();
    if (WithBuild)
        return QStringLiteral("%1.%2.%3.%4").arg(major).arg(minor).arg(release).arg(build);
    return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(release);
}

QString GetAppVersionText()
{
    return GetFileVersionText(QString(), true);
}

int TokenCount(const QString& S, const QString& Separator)
{
    if (S.isEmpty())
        return 0;
    if (Separator.isEmpty())
        return 1;
    // QString::count would count overlapping occurrences ("--" twice in "---").
    int count = 1;
    for (qsizetype at = S.indexOf(Separator); at >= 0; at = S.indexOf(Separator, at + Separator.size()))
        ++count;
    return count;
}

QString GetToken(const QString& S, const QString& Separator, int Index)
{
    if (Index < 1 || Index > TokenCount(S, Separator))
        return QString();
    if (Separator.isEmpty())
        return S;
    return S.split(Separator).at(Index - 1);
}

QString SetLastDecimalSeparator(const QString& S, QChar C)
{
    const QString separator = QLocale().decimalPoint();
    if (separator.isEmpty() || separator == QString(C))
        return S;
    const qsizetype position = S.lastIndexOf(separator);
    if (position < 0)
        return S;
    return QString(S).replace(position, separator.size(), C);
}

bool IsRtfText(const QString& S)
{
    return S.startsWith(QStringLiteral("{\\rtf"), Qt::CaseInsensitive);
}

QString RtfToPlainText(const QString& Rtf, TRichEdit* Control)
{
    try {
        if (Control) {
            Control->LoadRtf(Rtf);
            return Control->Text();
        }
        TRichEdit temporary;
        temporary.LoadRtf(Rtf);
        return temporary.Text();
    } catch (...) {
        return QString();
    }
}

namespace {

// The value of a digit in Base (10 or 16), or -1.
int DigitValue(QChar Ch, int Base)
{
    const char16_t c = Ch.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (Base == 16 && c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (Base == 16 && c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

} // namespace

std::optional<int> ParseInteger(QStringView Text)
{
    bool negative = false;
    if (!Text.isEmpty() && (Text.front() == u'-' || Text.front() == u'+')) {
        negative = Text.front() == u'-';
        Text = Text.sliced(1);
    }
    int base = 10;
    if (Text.startsWith(u'$')) {
        base = 16;
        Text = Text.sliced(1);
    } else if (Text.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        Text = Text.sliced(2);
    }
    if (Text.isEmpty())
        return std::nullopt;
    // Hexadecimal takes all 32 bits ("$FFFFFFFF" is -1); decimal must fit the signed range.
    const quint64 limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    quint64 value = 0;
    for (const QChar ch : Text) {
        const int digit = DigitValue(ch, base);
        if (digit < 0)
            return std::nullopt;
        value = value * base + static_cast<quint64>(digit);
        if (value > limit)
            return std::nullopt;
    }
    const auto bits = static_cast<quint32>(value);
    return static_cast<qint32>(negative ? 0u - bits : bits);
}
