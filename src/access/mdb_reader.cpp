#include "mdb_reader.h"

// The library's header uses glib's types without including glib.
#include <glib.h>
#include <mdbtools.h>
#include <sqlite3.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace accessdb::reader {
namespace {

// Jet keeps the null flags of a row in a bitmap; a row offset carries two
// flag bits above the offset itself.
constexpr int kRowOffsetMask = 0x1fff;
constexpr size_t kBindSize = 0x40000;

struct Column {
    std::string name;
    int type = 0;
    int size = 0;
    int scale = 0;
    bool autoNumber = false;
    // Left uninitialised: the library writes each value with its end, and
    // untouched memory of the large buffers costs nothing.
    std::unique_ptr<char[]> bound;
    int boundLength = 0;
};

std::string quoted(const std::string& name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

// The declared type in SQLite for an Access column type: text keeps its
// width, numbers and dates take the names the program's own schema uses.
std::string declaredType(const Column& c)
{
    switch (c.type) {
    case MDB_BOOL: return "BOOLEAN";
    case MDB_BYTE: return "TINYINT";
    case MDB_INT: return "SMALLINT";
    case MDB_LONGINT: return "INTEGER";
    case MDB_MONEY: return "CURRENCY";
    case MDB_FLOAT: return "FLOAT";
    case MDB_DOUBLE: return "DOUBLE";
    case MDB_DATETIME: return "DATE";
    case MDB_TEXT: return "TEXT(" + std::to_string(c.size) + ")";
    case MDB_MEMO: return "TEXT";
    case MDB_REPID: return "GUID";
    case MDB_NUMERIC: return "DECIMAL";
    default: return "BLOB"; // binary, OLE objects and what else may come
    }
}

std::int64_t readInt(const unsigned char* p, int bytes)
{
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    if (bytes < 8 && (v & (std::uint64_t(1) << (bytes * 8 - 1))))
        v |= ~std::uint64_t(0) << (bytes * 8);
    return static_cast<std::int64_t>(v);
}

double readDouble(const unsigned char* p)
{
    double d;
    std::memcpy(&d, p, sizeof d);
    return d;
}

struct Handle {
    MdbHandle* mdb = nullptr;
    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

struct Target {
    sqlite3* db = nullptr;
    ~Target()
    {
        if (db)
            sqlite3_close(db);
    }
    bool exec(const std::string& sql, std::string* error)
    {
        char* message = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK)
            return true;
        *error = "SQLite: " + std::string(message ? message : "?");
        sqlite3_free(message);
        return false;
    }
};

bool isSystemTable(const char* name) { return std::strncmp(name, "MSys", 4) == 0 || std::strncmp(name, "~", 1) == 0; }

struct Table {
    std::string name;
    MdbTableDef* def = nullptr;
    std::vector<Column> columns;
    long long declaredRows = 0;
};

void freeTable(Table& t)
{
    if (t.def)
        mdb_free_tabledef(t.def);
    t.def = nullptr;
}

bool readDefinition(MdbCatalogEntry* entry, Table* table, std::string* error)
{
    table->name = entry->object_name;
    table->def = mdb_read_table(entry);
    if (!table->def) {
        *error = "datoteka je oštećena: tablica " + table->name + " se ne može pročitati";
        return false;
    }
    if (!mdb_read_columns(table->def)) {
        *error = "datoteka je oštećena: stupci tablice " + table->name + " se ne mogu pročitati";
        return false;
    }
    mdb_read_indices(table->def);
    table->declaredRows = table->def->num_rows;
    for (unsigned int i = 0; i < table->def->num_cols; ++i) {
        const auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->def->columns, i));
        Column c;
        c.name = col->name;
        c.type = col->col_type;
        c.size = col->col_size;
        // Jet 4 counts a text column's width in bytes of UCS-2.
        if (c.type == MDB_TEXT && table->def->entry->mdb->f->jet_version != MDB_VER_JET3)
            c.size /= 2;
        c.scale = col->col_scale;
        c.autoNumber = col->is_long_auto;
        table->columns.push_back(std::move(c));
    }
    return true;
}

// The table's indexes as SQLite statements: the primary key and the unique
// and plain indexes of the source, named after the table so that names
// stay unique in the file (SQLite's index names are per file).
std::vector<std::string> indexStatements(const Table& t)
{
    std::vector<std::string> statements;
    if (!t.def->indices)
        return statements;
    for (unsigned int i = 0; i < t.def->indices->len; ++i) {
        const auto* idx = static_cast<MdbIndex*>(g_ptr_array_index(t.def->indices, i));
        // Indexes of relationships (foreign keys) are kept by Access itself.
        if (idx->index_type == 2)
            continue;
        std::string columns;
        bool valid = idx->num_keys > 0;
        for (unsigned int k = 0; k < idx->num_keys && valid; ++k) {
            const int colNumber = idx->key_col_num[k] - 1;
            if (colNumber < 0 || colNumber >= static_cast<int>(t.columns.size())) {
                valid = false;
                break;
            }
            const Column& c = t.columns[colNumber];
            if (c.type == MDB_MEMO || c.type == MDB_OLE) {
                valid = false;
                break;
            }
            columns += (k ? "," : "") + quoted(c.name);
        }
        if (!valid)
            continue;
        const bool unique = idx->index_type == 1 || (idx->flags & MDB_IDX_UNIQUE);
        statements.push_back(std::string("CREATE ") + (unique ? "UNIQUE " : "") + "INDEX "
                             + quoted(t.name + "_" + idx->name) + " ON " + quoted(t.name) + " (" + columns + ")");
    }
    return statements;
}

// The auto-numbered column that stays the row's key: SQLite assigns the
// next number on insert as Access did.
int keyColumn(const Table& t)
{
    int key = -1;
    for (size_t i = 0; i < t.columns.size(); ++i) {
        if (t.columns[i].autoNumber && t.columns[i].type == MDB_LONGINT) {
            if (key >= 0)
                return -1;
            key = static_cast<int>(i);
        }
    }
    return key;
}

std::string createStatement(const Table& t, int key)
{
    std::string sql = "CREATE TABLE " + quoted(t.name) + " (";
    for (size_t i = 0; i < t.columns.size(); ++i) {
        sql += (i ? ", " : "") + quoted(t.columns[i].name) + " ";
        sql += static_cast<int>(i) == key ? "INTEGER PRIMARY KEY AUTOINCREMENT" : declaredType(t.columns[i]);
    }
    return sql + ")";
}

// Binds one field of the current row, read from the page the row stands on.
bool bindField(MdbHandle* mdb, Table& t, MdbField& field, sqlite3_stmt* insert, std::string* error)
{
    const int n = field.colnum;
    if (n < 0 || n >= static_cast<int>(t.columns.size()))
        return true;
    Column& c = t.columns[n];
    auto* col = static_cast<MdbColumn*>(g_ptr_array_index(t.def->columns, n));
    const int param = n + 1;
    if (c.type == MDB_BOOL) {
        // A yes/no value is kept in the null bitmap: no null, true is set.
        return sqlite3_bind_int(insert, param, field.is_null ? 0 : 1) == SQLITE_OK;
    }
    if (field.is_null)
        return sqlite3_bind_null(insert, param) == SQLITE_OK;
    const auto* page = static_cast<const unsigned char*>(mdb->pg_buf);
    const int start = field.start;
    const int size = field.siz;
    const auto fits = [&](int bytes) { return start >= 0 && bytes <= size && start + bytes <= mdb->fmt->pg_size; };
    switch (c.type) {
    case MDB_BYTE:
        if (!fits(1)) break;
        return sqlite3_bind_int(insert, param, page[start]) == SQLITE_OK;
    case MDB_INT:
        if (!fits(2)) break;
        return sqlite3_bind_int64(insert, param, readInt(page + start, 2)) == SQLITE_OK;
    case MDB_LONGINT:
        if (!fits(4)) break;
        return sqlite3_bind_int64(insert, param, readInt(page + start, 4)) == SQLITE_OK;
    case MDB_MONEY: {
        // Currency: a whole number of ten-thousandths.
        if (!fits(8)) break;
        const std::int64_t units = readInt(page + start, 8);
        return sqlite3_bind_double(insert, param, static_cast<double>(units) / 10000.0) == SQLITE_OK;
    }
    case MDB_FLOAT: {
        if (!fits(4)) break;
        float f;
        std::memcpy(&f, page + start, 4);
        return sqlite3_bind_double(insert, param, f) == SQLITE_OK;
    }
    case MDB_DOUBLE:
        if (!fits(8)) break;
        return sqlite3_bind_double(insert, param, readDouble(page + start)) == SQLITE_OK;
    case MDB_DATETIME: {
        if (!fits(8)) break;
        const std::string text = dateText(readDouble(page + start));
        if (text.empty()) {
            *error = "datoteka je oštećena: neispravan datum u tablici " + t.name + ", stupac " + c.name;
            return false;
        }
        return sqlite3_bind_text(insert, param, text.c_str(), -1, SQLITE_TRANSIENT) == SQLITE_OK;
    }
    case MDB_BINARY:
    default: // a type this reader does not know: its bytes as they are
        if (start < 0 || size < 0 || start + size > mdb->fmt->pg_size) break;
        return sqlite3_bind_blob(insert, param, page + start, size, SQLITE_TRANSIENT) == SQLITE_OK;
    case MDB_OLE: {
        size_t length = 0;
        void* data = mdb_ole_read_full(mdb, col, &length);
        const int rc = data ? sqlite3_bind_blob64(insert, param, data, length, SQLITE_TRANSIENT)
                            : sqlite3_bind_zeroblob(insert, param, 0);
        g_free(data);
        return rc == SQLITE_OK;
    }
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_REPID:
    case MDB_NUMERIC:
        // Text, memo, replication ids and decimals as the library writes them.
        if (c.boundLength < 0 || static_cast<size_t>(c.boundLength) >= kBindSize - 1) {
            *error = "datoteka je oštećena: predugačka vrijednost u tablici " + t.name + ", stupac " + c.name;
            return false;
        }
        if (c.type == MDB_NUMERIC)
            return sqlite3_bind_double(insert, param, std::strtod(c.bound.get(), nullptr)) == SQLITE_OK;
        return sqlite3_bind_text(insert, param, c.bound.get(), static_cast<int>(strnlen(c.bound.get(), kBindSize - 1)),
                                 SQLITE_TRANSIENT)
               == SQLITE_OK;
    }
    *error = "datoteka je oštećena: neispravan redak u tablici " + t.name + ", stupac " + c.name;
    return false;
}

bool copyRows(MdbHandle* mdb, Table& t, Target& target, const Report& report, long long* done, std::string* error)
{
    const int key = keyColumn(t);
    if (!target.exec(createStatement(t, key), error))
        return false;
    std::string sql = "INSERT INTO " + quoted(t.name) + " VALUES (";
    for (size_t i = 0; i < t.columns.size(); ++i)
        sql += i ? ",?" : "?";
    sql += ")";
    sqlite3_stmt* insert = nullptr;
    if (sqlite3_prepare_v2(target.db, sql.c_str(), -1, &insert, nullptr) != SQLITE_OK) {
        *error = "SQLite: " + std::string(sqlite3_errmsg(target.db));
        return false;
    }
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> guard(insert, sqlite3_finalize);
    // The library cuts a value at the bind size without saying so: the size
    // holds the longest memo (65,535 characters, at most three bytes each
    // in UTF-8), and a value that fills it is taken for a damaged one.
    // Only the columns read as the library's text are bound: for a bound
    // column it formats every value (a date through a loop over the years),
    // which the others, read from the page, do not need.
    for (size_t i = 0; i < t.columns.size(); ++i) {
        Column& c = t.columns[i];
        if (c.type != MDB_TEXT && c.type != MDB_MEMO && c.type != MDB_REPID && c.type != MDB_NUMERIC)
            continue;
        c.bound.reset(new char[kBindSize]);
        c.bound[0] = '\0';
        c.bound[kBindSize - 1] = '\0'; // no value is read past the buffer
        mdb_bind_column(t.def, static_cast<int>(i) + 1, c.bound.get(), &c.boundLength);
    }
    mdb_set_bind_size(mdb, kBindSize);
    mdb_rewind_table(t.def);
    std::vector<MdbField> fields(MDB_MAX_COLS);
    long long rows = 0;
    while (mdb_fetch_row(t.def)) {
        // The row just read: its fields with their null flags, cracked
        // again from the page the library left in its buffer.
        int rowStart = 0;
        size_t rowSize = 0;
        if (t.def->cur_row == 0 || mdb_find_row(mdb, static_cast<int>(t.def->cur_row) - 1, &rowStart, &rowSize)) {
            *error = "datoteka je oštećena: neispravan redak u tablici " + t.name;
            return false;
        }
        const int fieldCount = mdb_crack_row(t.def, rowStart & kRowOffsetMask, rowSize, fields.data());
        if (fieldCount <= 0 || fieldCount > MDB_MAX_COLS) {
            *error = "datoteka je oštećena: neispravan redak u tablici " + t.name;
            return false;
        }
        sqlite3_reset(insert);
        sqlite3_clear_bindings(insert);
        for (int f = 0; f < fieldCount; ++f) {
            if (!bindField(mdb, t, fields[f], insert, error))
                return false;
        }
        if (sqlite3_step(insert) != SQLITE_DONE) {
            *error = "tablica " + t.name + ": " + sqlite3_errmsg(target.db);
            return false;
        }
        ++rows;
        if (++*done % 2000 == 0 && report.progress)
            report.progress(*done);
        if (rows > t.declaredRows) {
            *error = "datoteka je oštećena: tablica " + t.name + " ima više redaka nego što njezin opis kaže";
            return false;
        }
    }
    if (rows != t.declaredRows) {
        *error = "datoteka je oštećena: u tablici " + t.name + " pročitano je " + std::to_string(rows) + " od "
                 + std::to_string(t.declaredRows) + " redaka";
        return false;
    }
    if (report.progress)
        report.progress(*done);
    for (const std::string& statement : indexStatements(t)) {
        if (!target.exec(statement, error))
            return false;
    }
    // The rows in the new file, counted by SQLite, against the source.
    sqlite3_stmt* count = nullptr;
    const std::string countSql = "SELECT COUNT(*) FROM " + quoted(t.name);
    long long written = -1;
    if (sqlite3_prepare_v2(target.db, countSql.c_str(), -1, &count, nullptr) == SQLITE_OK
        && sqlite3_step(count) == SQLITE_ROW)
        written = sqlite3_column_int64(count, 0);
    sqlite3_finalize(count);
    if (written != t.declaredRows) {
        *error = "u tablici " + t.name + " zapisano je " + std::to_string(written) + " od "
                 + std::to_string(t.declaredRows) + " redaka";
        return false;
    }
    return true;
}

// Whether the file's header holds a database password. The header past
// 0x18 is kept under RC4 with a fixed key; the password (20 bytes in
// Jet 3, 20 characters of UCS-2 in Jet 4) is at 0x42, and Jet 4 masks it
// further with the whole days of the file's creation date (a double at
// 0x72). Without a password every byte is zero. The library reads only
// Jet 3's password, so both are checked here.
bool hasPassword(const std::string& path)
{
    unsigned char header[0x18 + 128] = {};
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    const size_t got = std::fread(header, 1, sizeof header, f);
    std::fclose(f);
    if (got != sizeof header)
        return false;
    const bool jet3 = header[0x14] == 0;
    const unsigned char key[4] = {0xc7, 0xda, 0x39, 0x6b};
    unsigned char s[256];
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<unsigned char>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % 4]) & 0xff;
        std::swap(s[i], s[j]);
    }
    const int length = jet3 ? 126 : 128;
    for (int n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xff;
        j = (j + s[i]) & 0xff;
        std::swap(s[i], s[j]);
        header[0x18 + n] ^= s[(s[i] + s[j]) & 0xff];
    }
    unsigned char mask[4] = {};
    if (!jet3) {
        const double created = readDouble(header + 0x72);
        if (std::isfinite(created) && std::fabs(created) < 2147483647.0) {
            const auto days = static_cast<std::uint32_t>(static_cast<std::int32_t>(created));
            for (int b = 0; b < 4; ++b)
                mask[b] = static_cast<unsigned char>(days >> (8 * b));
        }
    }
    const int size = jet3 ? 20 : 40;
    for (int n = 0; n < size; ++n) {
        if ((header[0x42 + n] ^ mask[n % 4]) != 0)
            return true;
    }
    return false;
}

} // namespace

std::string dateText(double stored)
{
    if (!std::isfinite(stored) || std::fabs(stored) > 3.0e6)
        return std::string();
    double days = std::trunc(stored);
    double fraction = std::fabs(stored - days);
    long long seconds = std::llround(fraction * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        days += 1; // the next day in the calendar, also before 1899
    }
    // Civil date from a day number (days since 1970-01-01).
    long long z = static_cast<long long>(days) - 25569 + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long y = yoe + era * 400;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long d = doy - (153 * mp + 2) / 5 + 1;
    const long long m = mp < 10 ? mp + 3 : mp - 9;
    if (m <= 2)
        ++y;
    char buffer[96];
    if (seconds == 0)
        std::snprintf(buffer, sizeof buffer, "%04lld-%02lld-%02lld", y, m, d);
    else
        std::snprintf(buffer, sizeof buffer, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld", y, m, d, seconds / 3600,
                      seconds / 60 % 60, seconds % 60);
    return buffer;
}

bool convert(const std::string& source, const std::string& targetPath, const Report& report, std::string* error)
{
    Handle handle;
    handle.mdb = mdb_open(source.c_str(), MDB_NOFLAGS);
    if (!handle.mdb) {
        *error = "datoteka nije baza podataka u formatu Access ili je oštećena";
        return false;
    }
    MdbHandle* mdb = handle.mdb;
    if (mdb->f->jet_version != MDB_VER_JET3 && mdb->f->jet_version != MDB_VER_JET4) {
        *error = "baza je u novijem formatu Access (accdb), koji se ne pretvara";
        return false;
    }
    if (mdb->f->db_passwd[0] != '\0' || hasPassword(source)) {
        *error = "baza je zaštićena lozinkom";
        return false;
    }
    mdb_set_bind_size(mdb, kBindSize);
    if (!mdb_read_catalog(mdb, MDB_TABLE) || !mdb->catalog) {
        *error = "datoteka je oštećena: popis tablica se ne može pročitati";
        return false;
    }
    std::vector<Table> tables;
    struct Cleanup {
        std::vector<Table>& tables;
        ~Cleanup()
        {
            for (Table& t : tables)
                freeTable(t);
        }
    } cleanup{tables};
    long long totalRows = 0;
    for (unsigned int i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE || isSystemTable(entry->object_name))
            continue;
        tables.emplace_back();
        if (!readDefinition(entry, &tables.back(), error))
            return false;
        totalRows += tables.back().declaredRows;
    }
    if (report.begin)
        report.begin(static_cast<int>(tables.size()), totalRows);

    Target target;
    if (sqlite3_open_v2(targetPath.c_str(), &target.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
        != SQLITE_OK) {
        *error = "nova datoteka se ne može otvoriti: " + std::string(target.db ? sqlite3_errmsg(target.db) : "");
        return false;
    }
    // The file is new and is thrown away on any failure: no journal needed.
    if (!target.exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN", error))
        return false;
    long long done = 0;
    for (Table& t : tables) {
        if (report.table)
            report.table(t.name, t.declaredRows);
        if (!copyRows(mdb, t, target, report, &done, error))
            return false;
    }
    if (!target.exec("COMMIT", error))
        return false;
    if (report.progress)
        report.progress(done);
    return true;
}

} // namespace accessdb::reader
