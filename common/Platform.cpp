#include "Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shlobj.h>
#ifdef _MSC_VER
#pragma comment(lib, "shell32.lib")
#pragma comment(lib, "ole32.lib")
#endif
#else
#include <QStandardPaths>
#endif

namespace {

std::optional<bool> DebugModeOverride;

#ifndef Q_OS_WIN
// Linux names the process that traces this one in /proc/self/status; 0 means none.
bool TracedByDebugger()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    while (!status.atEnd()) {
        const QByteArray line = status.readLine();
        if (line.startsWith("TracerPid:"))
            return line.mid(10).trimmed().toLongLong() != 0;
    }
    return false;
}
#endif

} // namespace

QString ProgramFilePath()
{
#ifdef Q_OS_WIN
    wchar_t buffer[1024];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, 1024);
    if (length == 0 || length >= 1024)
        return QString();
    return QString::fromWCharArray(buffer, static_cast<int>(length));
#else
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
#endif
}

QString ProgramFolder()
{
    const QString path = ProgramFilePath();
    return path.left(path.lastIndexOf(PathDelim));
}

QString DocumentsFolder()
{
#ifdef Q_OS_WIN
    PIDLIST_ABSOLUTE itemList = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &itemList)) || itemList == nullptr)
        return QString();
    wchar_t buffer[MAX_PATH] = {};
    const BOOL converted = SHGetPathFromIDListW(itemList, buffer);
    CoTaskMemFree(itemList);
    return converted ? QString::fromWCharArray(buffer) : QString();
#else
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
#endif
}

bool RunsUnderDebugger()
{
    if (DebugModeOverride)
        return *DebugModeOverride;
#ifdef Q_OS_WIN
    return IsDebuggerPresent() != FALSE;
#else
    return TracedByDebugger();
#endif
}

void SetDebugModeOverride(std::optional<bool> DebugMode)
{
    DebugModeOverride = DebugMode;
}
