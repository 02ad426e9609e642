#include "AccessFixtures.h"

#include <QFile>
#include <QtEndian>
#include <bit>
#include <gtest/gtest.h>

const QString FixtureDir = QStringLiteral(KLADDE_SHARED_DIR "/fixtures/access/");


namespace {

QByteArray DoubleBytes(double Value)
{
    QByteArray Bytes(8, '\0');
    qToLittleEndian(std::bit_cast<quint64>(Value), Bytes.data());
    return Bytes;
}

QByteArray Utf16(const QString& Text)
{
    return QByteArray(reinterpret_cast<const char*>(Text.utf16()), Text.size() * 2);
}

} // namespace

QString AccessFixtureCopy(const QTemporaryDir& Dir, const QString& Name, const QList<TPatch>& Patches)
{
    QFile Source(FixtureDir + Name);
    EXPECT_TRUE(Source.open(QIODevice::ReadOnly)) << qPrintable(Source.fileName());
    QByteArray Data = Source.readAll();
    for (const TPatch& Patch : Patches) {
        if (Patch.Offset >= 0) {
            EXPECT_EQ(Data.mid(Patch.Offset, Patch.From.size()).toHex(), Patch.From.toHex()) << "at " << Patch.Offset;
            Data.replace(Patch.Offset, Patch.From.size(), Patch.To);
        } else {
            EXPECT_EQ(Data.count(Patch.From), Patch.Count) << Patch.From.toHex().constData();
            Data.replace(Patch.From, Patch.To);
        }
    }
    const QString Path = Dir.filePath(Name);
    QFile Copy(Path);
    EXPECT_TRUE(Copy.open(QIODevice::WriteOnly | QIODevice::Truncate));
    Copy.write(Data);
    return Path;
}

QString PatchedDateTestCopy(const QTemporaryDir& Dir)
{
    return AccessFixtureCopy(
        Dir, QStringLiteral("DateTestDatabase.mdb"),
        {// Compressed texts: one byte per character of U+0000..U+00FF ...
         {QByteArray("\xFF\xFEHello"), QByteArray("\xFF\xFEH\xE4llo"), 2},
         // ... and a zero byte switching to UTF-16LE and back.
         {QByteArray("\xFF\xFEYear 1999"), QByteArray("\xFF\xFEY\0\xAC\x20\0" "1999", 11)},
         // Column names are UTF-16LE in the table definition and in the column properties.
         {Utf16(QStringLiteral("ShortTextCol")), Utf16(QStringLiteral("ShörtTextCol")), 3},
         // The flags of IDCol's column descriptor (table definition on page 18) get the AutoNumber bit.
         {QByteArray("\x03"), QByteArray("\x07"), 1, 18 * 4096 + 63 + 15},
         // TimeCol's type (fourth descriptor) becomes Yes/No: its value is the row's null bit.
         {QByteArray("\x08"), QByteArray("\x01"), 1, 18 * 4096 + 63 + 3 * 25},
         // DateTimeCol and DateCol of the row with IDCol 1 (data page 20).
         {DoubleBytes(44532), DoubleBytes(44532 + (10 * 3600 + 15 * 60 + 30) / 86400.0), 1, 20 * 4096 + 4037},
         {DoubleBytes(44532), DoubleBytes(-1.25), 1, 20 * 4096 + 4045}});
}
