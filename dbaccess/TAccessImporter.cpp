#include "TAccessImporter.h"

#include "AccessValues.h"
#include "EUniError.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <sqlite3.h>
#include <vector>

// mdbtools.h includes glib inside extern "C", where glib's C++ templates do not compile; with
// glib included first its include guard keeps it out of there.
#include <glib.h>
#include <mdbtools.h>

namespace {

constexpr int RowOffsetMask = 0x1fff;

[[noreturn]] void Fail(const QString& Path, const QString& Reason, int Code = 0)
{
    throw EUniError(QStringLiteral("Access-Datei kann nicht gelesen werden: %1: %2").arg(Path, Reason), Code);
}

// Why the file cannot be an Access database, or an empty string. libmdb is never handed
// anything else: on a foreign file it may read past the data it has.
QString FileProblem(const QString& Path)
{
    const QFileInfo Info(Path);
    if (!Info.exists())
        return QStringLiteral("Datei nicht gefunden");
    if (!Info.isFile())
        return QStringLiteral("keine Datei");
    QFile File(Path);
    if (!File.open(QIODevice::ReadOnly))
        return QStringLiteral("Datei kann nicht geöffnet werden (%1)").arg(File.errorString());
    const QByteArray Head = File.read(20);
    if (Head.size() < 20 || !Head.startsWith(QByteArray("\0\1\0\0", 4)) ||
        (Head.mid(4) != QByteArray("Standard Jet DB\0", 16) && Head.mid(4) != QByteArray("Standard ACE DB\0", 16)))
        return QStringLiteral("keine Access-Datenbank");
    return {};
}

struct TMdbCloser {
    void operator()(MdbHandle* Mdb) const { mdb_close(Mdb); }
};
struct TTableFreer {
    void operator()(MdbTableDef* Table) const { mdb_free_tabledef(Table); }
};
using TMdbPtr = std::unique_ptr<MdbHandle, TMdbCloser>;
using TTablePtr = std::unique_ptr<MdbTableDef, TTableFreer>;

struct TStatementFinalizer {
    void operator()(sqlite3_stmt* Stmt) const { sqlite3_finalize(Stmt); }
};
using TStatementPtr = std::unique_ptr<sqlite3_stmt, TStatementFinalizer>;

QString Quoted(const QString& Identifier)
{
    QString Result = Identifier;
    Result.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + Result + QLatin1Char('"');
}

MdbColumn* ColumnAt(MdbTableDef* Table, unsigned Index)
{
    return static_cast<MdbColumn*>(g_ptr_array_index(Table->columns, Index));
}

bool IsJet3(const MdbHandle* Mdb)
{
    return Mdb->f->jet_version == MDB_VER_JET3;
}

// The declared type names the Access type. SQLite stores a value by the affinity the name
// implies, so the types whose values must stay text (memos like "00123", exact amounts) carry
// "_TEXT", which gives text affinity; the layer reads the Access type without that suffix.
QString DeclaredType(const MdbHandle* Mdb, const MdbColumn* Col)
{
    switch (Col->col_type) {
    case MDB_TEXT:
        // The stored size counts bytes; since Access 2000 a character takes two.
        return QStringLiteral("TEXT(%1)").arg(IsJet3(Mdb) ? Col->col_size : Col->col_size / 2);
    case MDB_MEMO:
        return QStringLiteral("MEMO_TEXT");
    case MDB_BYTE:
        return QStringLiteral("BYTE");
    case MDB_INT:
        return QStringLiteral("INTEGER");
    case MDB_LONGINT:
        return Col->is_long_auto ? QStringLiteral("AUTOINCREMENT") : QStringLiteral("LONG");
    case MDB_FLOAT:
        return QStringLiteral("SINGLE");
    case MDB_DOUBLE:
        return QStringLiteral("DOUBLE");
    case MDB_MONEY:
        return QStringLiteral("CURRENCY_TEXT");
    case MDB_DATETIME:
        return QStringLiteral("DATETIME");
    case MDB_BOOL:
        return QStringLiteral("BOOLEAN");
    case MDB_BINARY:
        return QStringLiteral("BINARY(%1)").arg(Col->col_size);
    case MDB_OLE:
        return QStringLiteral("OLEOBJECT");
    case MDB_REPID:
        return QStringLiteral("GUID");
    case MDB_NUMERIC:
        return QStringLiteral("DECIMAL_TEXT(%1,%2)").arg(Col->col_prec).arg(Col->col_scale);
    default:
        return QStringLiteral("COMPLEX");
    }
}

bool IsRequired(const MdbColumn* Col)
{
    const char* Required = mdb_col_get_prop(Col, "Required");
    return Required && qstricmp(Required, "yes") == 0;
}

// The columns of the primary key in key order, by index into Table->columns; empty without one.
std::vector<unsigned> PrimaryKeyColumns(MdbTableDef* Table)
{
    std::vector<unsigned> Result;
    for (unsigned I = 0; Table->indices && I < Table->num_idxs; ++I) {
        const auto* Index = static_cast<const MdbIndex*>(g_ptr_array_index(Table->indices, I));
        if (Index->index_type != 1)
            continue;
        for (unsigned K = 0; K < Index->num_keys; ++K)
            if (Index->key_col_num[K] >= 1 && unsigned(Index->key_col_num[K]) <= Table->num_cols)
                Result.push_back(unsigned(Index->key_col_num[K] - 1));
        break;
    }
    return Result;
}

class TTableImport
{
public:
    TTableImport(const QString& Path, MdbHandle* Mdb, MdbTableDef* Table, const QString& TableName,
                 QStringDecoder& Names, sqlite3* Dest)
        : FPath(Path), FMdb(Mdb), FTable(Table), FTableName(TableName), FNames(Names), FDest(Dest),
          FFields(Table->num_cols), FByColumn(Table->num_cols), FChunk(size_t(Mdb->fmt->pg_size))
    {
    }

    void CreateTable()
    {
        QStringList Definitions;
        const std::vector<unsigned> Key = PrimaryKeyColumns(FTable);
        for (unsigned I = 0; I < FTable->num_cols; ++I) {
            const MdbColumn* Col = ColumnAt(FTable, I);
            QString Type = DeclaredType(FMdb, Col);
            // A keyword of SQLite; quoted it still declares that type.
            if (Type == QLatin1String("AUTOINCREMENT"))
                Type = Quoted(Type);
            QString Definition = Quoted(Name(Col->name)) + QLatin1Char(' ') + Type;
            if (IsRequired(Col) || std::find(Key.begin(), Key.end(), I) != Key.end())
                Definition += QStringLiteral(" NOT NULL");
            Definitions << Definition;
        }
        if (!Key.empty()) {
            QStringList KeyNames;
            for (unsigned I : Key)
                KeyNames << Quoted(Name(ColumnAt(FTable, I)->name));
            Definitions << QStringLiteral("PRIMARY KEY (%1)").arg(KeyNames.join(QStringLiteral(", ")));
        }
        Execute(QStringLiteral("CREATE TABLE %1 (%2)").arg(Quoted(FTableName), Definitions.join(QStringLiteral(", "))));
    }

    // The number of rows copied.
    quint64 CopyRows()
    {
        QStringList Columns, Placeholders;
        for (unsigned I = 0; I < FTable->num_cols; ++I) {
            Columns << Quoted(Name(ColumnAt(FTable, I)->name));
            Placeholders << QStringLiteral("?");
        }
        const QByteArray Sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(Quoted(FTableName), Columns.join(QStringLiteral(", ")),
                                        Placeholders.join(QStringLiteral(", ")))
                                   .toUtf8();
        sqlite3_stmt* Raw = nullptr;
        if (sqlite3_prepare_v2(FDest, Sql.constData(), int(Sql.size()), &Raw, nullptr) != SQLITE_OK)
            SQLiteFailed();
        const TStatementPtr Stmt(Raw);

        quint64 Count = 0;
        mdb_rewind_table(FTable);
        while (mdb_fetch_row(FTable)) {
            CrackCurrentRow();
            for (unsigned I = 0; I < FTable->num_cols; ++I)
                BindValue(Stmt.get(), int(I) + 1, ColumnAt(FTable, I), FByColumn[I]);
            if (sqlite3_step(Stmt.get()) != SQLITE_DONE)
                SQLiteFailed();
            sqlite3_reset(Stmt.get());
            sqlite3_clear_bindings(Stmt.get());
            ++Count;
        }
        return Count;
    }

private:
    QString Name(const char* MdbName) { return FNames.decode(QByteArrayView(MdbName, qstrlen(MdbName))); }

    [[noreturn]] void ReadFailed() { Fail(FPath, QStringLiteral("Tabelle \"%1\" ist beschädigt").arg(FTableName)); }
    [[noreturn]] void SQLiteFailed()
    {
        Fail(FPath, QString::fromUtf8(sqlite3_errmsg(FDest)), sqlite3_extended_errcode(FDest));
    }

    void Execute(const QString& Sql)
    {
        if (sqlite3_exec(FDest, Sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            SQLiteFailed();
    }

    // The values libmdb binds are printed texts (dates in the C locale's format, doubles with 16
    // digits, memos cut at the bind size) and cannot tell NULL from an empty text, so the row that
    // mdb_fetch_row just read is split into its raw fields again. It is still in mdb->pg_buf.
    void CrackCurrentRow()
    {
        int Start = 0;
        size_t Size = 0;
        if (FTable->cur_row == 0 || mdb_find_row(FMdb, int(FTable->cur_row) - 1, &Start, &Size) != 0)
            ReadFailed();
        const int Count = mdb_crack_row(FTable, Start & RowOffsetMask, Size, FFields.data());
        if (Count < 0)
            ReadFailed();
        std::fill(FByColumn.begin(), FByColumn.end(), nullptr);
        for (int I = 0; I < Count && I < int(FFields.size()); ++I)
            if (FFields[I].colnum >= 0 && unsigned(FFields[I].colnum) < FTable->num_cols)
                FByColumn[FFields[I].colnum] = &FFields[I];
    }

    // The whole value of a Memo or OLE field, which may continue on other pages.
    QByteArray LongValue(MdbColumn* Col, const MdbField& Field)
    {
        if (Field.siz < MDB_MEMO_OVERHEAD)
            return {};
        char Header[MDB_MEMO_OVERHEAD];
        memcpy(Header, FMdb->pg_buf + Field.start, MDB_MEMO_OVERHEAD);
        const quint32 Length = qFromLittleEndian<quint32>(Header) & 0x3fffffff;
        QByteArray Result;
        Result.reserve(qMin<quint32>(Length, 1u << 24));

        // libmdb copies each piece to the column's bind buffer; lent for this read only, so that
        // mdb_fetch_row does not convert the field to text.
        struct TLend {
            MdbColumn* Col;
            ~TLend() { Col->bind_ptr = nullptr; }
        } Lend{Col};
        Col->bind_ptr = FChunk.data();
        Col->cur_value_start = Field.start;
        Col->cur_value_len = Field.siz;
        size_t Piece = mdb_ole_read(FMdb, Col, Header, FChunk.size());
        while (Piece > 0 && Piece <= FChunk.size()) {
            Result.append(FChunk.data(), qsizetype(Piece));
            if (quint64(Result.size()) > quint64(Length) + FChunk.size())
                ReadFailed(); // a chain of pages that does not end
            Piece = mdb_ole_read_next(FMdb, Col, Header);
        }
        return Result;
    }

    QString Text(const char* Data, qsizetype Size)
    {
        if (!IsJet3(FMdb))
            return JetUnicodeText(Data, Size);
        // Access 97 stores the file's code page; libmdb's iconv converts it to its target charset.
        std::vector<char> Converted(size_t(Size) * 4 + 1);
        const int Length = mdb_unicode2ascii(FMdb, Data, size_t(Size), Converted.data(), Converted.size());
        return FNames.decode(QByteArrayView(Converted.data(), qMax(Length, 0)));
    }

    static void BindText(sqlite3_stmt* Stmt, int Param, const QString& Value)
    {
        const QByteArray Utf8 = Value.toUtf8();
        sqlite3_bind_text(Stmt, Param, Utf8.constData(), int(Utf8.size()), SQLITE_TRANSIENT);
    }

    static void BindBlob(sqlite3_stmt* Stmt, int Param, const char* Data, qsizetype Size)
    {
        if (Size == 0)
            sqlite3_bind_zeroblob(Stmt, Param, 0);
        else
            sqlite3_bind_blob64(Stmt, Param, Data, sqlite3_uint64(Size), SQLITE_TRANSIENT);
    }

    void BindValue(sqlite3_stmt* Stmt, int Param, MdbColumn* Col, const MdbField* Field)
    {
        // Yes/No lives in the null bitmap: a set bit is Yes.
        if (Col->col_type == MDB_BOOL) {
            sqlite3_bind_int64(Stmt, Param, Field && !Field->is_null ? 1 : 0);
            return;
        }
        if (!Field || Field->is_null)
            return; // stays NULL
        const auto* Raw = FMdb->pg_buf + Field->start;
        const char* Chars = reinterpret_cast<const char*>(Raw);
        const int Size = Field->siz;
        auto Fixed = [Size](int Needed) { return Size >= Needed; };

        switch (Col->col_type) {
        case MDB_TEXT:
            BindText(Stmt, Param, Text(Chars, Size));
            break;
        case MDB_MEMO: {
            const QByteArray Value = LongValue(Col, *Field);
            BindText(Stmt, Param, Text(Value.constData(), Value.size()));
            break;
        }
        case MDB_OLE: {
            const QByteArray Value = LongValue(Col, *Field);
            BindBlob(Stmt, Param, Value.constData(), Value.size());
            break;
        }
        case MDB_BINARY:
            BindBlob(Stmt, Param, Chars, Size);
            break;
        case MDB_BYTE:
            if (Fixed(1))
                sqlite3_bind_int64(Stmt, Param, Raw[0]);
            break;
        case MDB_INT:
            if (Fixed(2))
                sqlite3_bind_int64(Stmt, Param, qFromLittleEndian<qint16>(Raw));
            break;
        case MDB_LONGINT:
        case MDB_COMPLEX:
            if (Fixed(4))
                sqlite3_bind_int64(Stmt, Param, qFromLittleEndian<qint32>(Raw));
            break;
        case MDB_FLOAT:
            if (Fixed(4))
                sqlite3_bind_double(Stmt, Param, double(std::bit_cast<float>(qFromLittleEndian<quint32>(Raw))));
            break;
        case MDB_DOUBLE:
            if (Fixed(8))
                sqlite3_bind_double(Stmt, Param, std::bit_cast<double>(qFromLittleEndian<quint64>(Raw)));
            break;
        case MDB_MONEY:
            if (Fixed(8))
                BindText(Stmt, Param, AccessCurrencyText(qFromLittleEndian<qint64>(Raw)));
            break;
        case MDB_DATETIME:
            if (Fixed(8)) {
                const QString Value = AccessDateTimeText(std::bit_cast<double>(qFromLittleEndian<quint64>(Raw)));
                if (!Value.isNull())
                    BindText(Stmt, Param, Value);
            }
            break;
        case MDB_REPID:
            if (Fixed(16))
                BindText(Stmt, Param, AccessGuidText(Raw));
            break;
        case MDB_NUMERIC:
            if (Fixed(17))
                BindText(Stmt, Param, AccessDecimalText(Raw, Col->col_scale));
            break;
        default:
            BindBlob(Stmt, Param, Chars, Size);
            break;
        }
    }

    const QString& FPath;
    MdbHandle* FMdb;
    MdbTableDef* FTable;
    const QString FTableName;
    QStringDecoder& FNames;
    sqlite3* FDest;
    std::vector<MdbField> FFields;
    std::vector<const MdbField*> FByColumn;
    std::vector<char> FChunk;
};

void ImportTables(const QString& Path, MdbHandle* Mdb, sqlite3* Dest)
{
    // Table and column names (and Access 97 texts) arrive in libmdb's target charset, UTF-8
    // unless the environment variable MDB_ICONV says otherwise.
    QStringDecoder Names(mdb_target_charset(Mdb), QStringConverter::Flag::Stateless);
    if (!Names.isValid())
        Fail(Path, QStringLiteral("Zeichensatz %1 wird nicht unterstützt").arg(QString::fromLatin1(mdb_target_charset(Mdb))));
    // A catalog that does not list itself was not read to its end.
    if (!mdb_read_catalog(Mdb, MDB_TABLE) || !mdb_get_catalogentry_by_name(Mdb, "MSysObjects"))
        Fail(Path, QStringLiteral("Katalog nicht lesbar"));

    for (unsigned I = 0; I < Mdb->num_catalog; ++I) {
        auto* Entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(Mdb->catalog, I));
        if (!mdb_is_user_table(Entry))
            continue;
        const QString TableName = Names.decode(QByteArrayView(Entry->object_name, qstrlen(Entry->object_name)));
        if (TableName.startsWith(QLatin1String("MSys"), Qt::CaseInsensitive))
            continue;
        const TTablePtr Table(mdb_read_table(Entry));
        if (!Table || !mdb_read_columns(Table.get()))
            Fail(Path, QStringLiteral("Tabelle \"%1\" nicht lesbar").arg(TableName));
        mdb_read_indices(Table.get());
        TTableImport Import(Path, Mdb, Table.get(), TableName, Names, Dest);
        Import.CreateTable();
        // libmdb skips what it cannot read (pages beyond the end, damaged rows) without a word;
        // the row count the table definition keeps shows it.
        const quint64 Rows = Import.CopyRows();
        if (Rows != Table->num_rows)
            Fail(Path, QStringLiteral("Tabelle \"%1\": %2 von %3 Zeilen lesbar").arg(TableName).arg(Rows).arg(Table->num_rows));
    }
}

void Exec(const QString& Path, sqlite3* Dest, const char* Sql)
{
    if (sqlite3_exec(Dest, Sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail(Path, QString::fromUtf8(sqlite3_errmsg(Dest)), sqlite3_extended_errcode(Dest));
}

} // namespace

void ImportAccessFile(const QString& AccessPath, sqlite3* Dest)
{
    if (const QString Problem = FileProblem(AccessPath); !Problem.isEmpty())
        Fail(AccessPath, Problem);
    const TMdbPtr Mdb(mdb_open(QFile::encodeName(AccessPath).constData(), MDB_NOFLAGS));
    if (!Mdb)
        Fail(AccessPath, QStringLiteral("Dateiformat wird nicht unterstützt"));
    if (QFileInfo(AccessPath).size() % Mdb->fmt->pg_size != 0)
        Fail(AccessPath, QStringLiteral("Datei ist unvollständig"));

    Exec(AccessPath, Dest, "BEGIN");
    try {
        ImportTables(AccessPath, Mdb.get(), Dest);
        Exec(AccessPath, Dest, "COMMIT");
    } catch (...) {
        sqlite3_exec(Dest, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}
