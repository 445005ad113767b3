// access_testdata SOURCE TARGET values
// access_testdata SOURCE TARGET rows COUNT
//
// Makes Access test files for the converter's tests and benchmark from the
// small licensed files of the test data: copies SOURCE to TARGET and adds
// rows to its existing tables with mdbtools' own writing functions
// (mdb_pack_row, mdb_add_row_to_pg, mdb_write_pg).
//
//   values  rows of every kind the converter must carry over: NULLs,
//           Croatian letters in text and memo, dates with a time of day and
//           before 1900, currency with four decimals, yes/no both ways,
//           the limits of the whole-number types. Into "Table1" (text,
//           byte, integer, long, double, date/time, currency, yes/no) and
//           "test" (memo and decimals), whichever the file has.
//   rows    COUNT rows shaped like invoices into "Table1", for measuring.
//
// mdbtools 1.0 cannot give a table a new page (its mdb_alloc_page only
// prints a message), so this tool appends the data pages itself and keeps
// them in the table's page map, rewritten in place as a map of reference
// (bitmap) pages where a new page lies beyond the reach of the old one.
// It writes the row count into the table's definition. It does not touch
// the table's indexes nor its map of pages with free space, so the files
// are read correctly by mdbtools (and by our converter, which uses it);
// whether Access itself would accept them without a repair is not known.
//
// Not part of the program; built with the benchmarks.
// The library's header uses glib's types without including glib.
#include <glib.h>
#include <mdbtools.h>

// Exported by the library but missing from its header.
extern "C" ssize_t mdb_write_pg(MdbHandle* mdb, unsigned long pg);

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

[[noreturn]] void fail(const std::string& message)
{
    std::fprintf(stderr, "access_testdata: %s\n", message.c_str());
    std::exit(1);
}

bool copyFile(const char* from, const char* to)
{
    FILE* in = std::fopen(from, "rb");
    FILE* out = std::fopen(to, "wb");
    if (!in || !out)
        return false;
    std::vector<char> buffer(1 << 16);
    size_t n;
    bool ok = true;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), in)) > 0)
        ok = ok && std::fwrite(buffer.data(), 1, n, out) == n;
    std::fclose(in);
    return std::fclose(out) == 0 && ok;
}

// A Jet 3 file keeps its code page in the header (at 0x3C, under the
// header's fixed RC4 key; a stream cipher, so a byte changes by XOR).
// The text this tool writes into a Jet 3 file is in Windows-1250, as a
// Croatian Access 97 keeps it, and the header says so.
bool setCodePage1250(const char* path)
{
    FILE* f = std::fopen(path, "r+b");
    if (!f)
        return false;
    unsigned char head[0x40];
    bool ok = std::fread(head, 1, sizeof head, f) == sizeof head;
    if (ok && head[0x14] == 0) {
        const unsigned change = 1252u ^ 1250u;
        head[0x3C] ^= change & 0xff;
        head[0x3D] ^= change >> 8;
        ok = std::fseek(f, 0x3C, SEEK_SET) == 0 && std::fwrite(head + 0x3C, 1, 2, f) == 2;
    }
    return std::fclose(f) == 0 && ok;
}

// Days since 1 January 1970 of a civil date.
long long civilDays(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

// Access keeps a date as days since 30 December 1899 with the time of day
// as the fraction; before that day the whole part is negative and the
// fraction still counts forward from midnight (-1.25 is 29 December 1899,
// 06:00).
double accessDate(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0)
{
    const long long days = civilDays(y, m, d) - civilDays(1899, 12, 30);
    const double fraction = (hh * 3600 + mm * 60 + ss) / 86400.0;
    return days >= 0 ? days + fraction : days - fraction;
}

class Writer {
public:
    Writer(const char* path)
    {
        m_mdb = mdb_open(path, MDB_WRITABLE);
        if (!m_mdb)
            fail(std::string("cannot open ") + path);
        if (!mdb_read_catalog(m_mdb, MDB_TABLE))
            fail("no catalog");
    }
    ~Writer() { mdb_close(m_mdb); }

    MdbHandle* mdb() const { return m_mdb; }
    bool jet3() const { return m_mdb->f->jet_version == MDB_VER_JET3; }

    MdbTableDef* table(const char* name)
    {
        for (unsigned i = 0; i < m_mdb->num_catalog; ++i) {
            auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(m_mdb->catalog, i));
            if (entry->object_type == MDB_TABLE && std::strcmp(entry->object_name, name) == 0) {
                MdbTableDef* t = mdb_read_table(entry);
                if (!t || !mdb_read_columns(t))
                    fail(std::string("cannot read table ") + name);
                return t;
            }
        }
        return nullptr;
    }

    // One field per column, in the column order, each NULL for now.
    std::vector<MdbField> blankRow(MdbTableDef* t)
    {
        std::vector<MdbField> fields(t->num_cols);
        for (unsigned i = 0; i < t->num_cols; ++i) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(t->columns, i));
            fields[i] = MdbField{};
            fields[i].colnum = static_cast<int>(i);
            fields[i].is_fixed = col->is_fixed;
            fields[i].is_null = 1;
            fields[i].siz = col->is_fixed ? col->col_size : 0;
            if (col->col_type == MDB_BOOL)
                fields[i].siz = 0; // kept in the null bitmap
        }
        return fields;
    }

    // Text as the file stores it: UCS-2 in Jet 4, the file's code page
    // (Windows-1250 for Croatian) in Jet 3.
    std::string text(const char* utf8)
    {
        gsize written = 0;
        gchar* converted = g_convert(utf8, -1, jet3() ? "CP1250" : "UCS-2LE", "UTF-8", nullptr, &written, nullptr);
        if (!converted)
            fail(std::string("cannot encode ") + utf8);
        std::string out(converted, written);
        g_free(converted);
        return out;
    }

    // A memo kept in the row itself: its length with the in-row flag, a
    // page pointer left empty, then the text.
    std::string memo(const char* utf8)
    {
        const std::string body = text(utf8);
        std::string out(12, '\0');
        const std::uint32_t length = static_cast<std::uint32_t>(body.size()) | 0x80000000u;
        std::memcpy(out.data(), &length, 4);
        return out + body;
    }

    void insert(MdbTableDef* t, std::vector<MdbField>& fields)
    {
        unsigned char row[8192];
        const int size = mdb_pack_row(t, row, static_cast<unsigned>(fields.size()), fields.data());
        if (size <= 0 || size > m_mdb->fmt->pg_size / 2)
            fail("row cannot be packed");
        Pages& pages = pagesOf(t);
        bool placed = false;
        if (pages.last) {
            mdb_read_pg(m_mdb, pages.last);
            placed = mdb_pg_get_freespace(m_mdb) >= size + 2 + 16;
        }
        if (!placed) {
            pages.last = appendPage(t);
            void* fresh = mdb_new_data_pg(t->entry);
            std::memcpy(m_mdb->pg_buf, fresh, m_mdb->fmt->pg_size);
            g_free(fresh);
        }
        mdb_add_row_to_pg(t, row, size);
        if (!mdb_write_pg(m_mdb, pages.last))
            fail("cannot write a page");
        ++pages.rows;
    }

    // The new row count into the table's definition; the maps of new pages.
    void finish()
    {
        for (Pages& p : m_pages) {
            mdb_read_pg(m_mdb, p.table->entry->table_pg);
            mdb_put_int32(m_mdb->pg_buf, m_mdb->fmt->tab_num_rows_offset, p.table->num_rows + p.rows);
            if (!mdb_write_pg(m_mdb, p.table->entry->table_pg))
                fail("cannot write the table definition");
            writeMap(p);
            mdb_free_tabledef(p.table);
        }
        m_pages.clear();
    }

private:
    struct Pages {
        MdbTableDef* table = nullptr;
        guint32 last = 0;         // the page new rows go to
        long long rows = 0;       // rows added
        std::vector<guint32> all; // every data page of the table
    };

    Pages& pagesOf(MdbTableDef* t)
    {
        for (Pages& p : m_pages)
            if (p.table == t)
                return p;
        Pages p;
        p.table = t;
        // The table's pages as its map lists them; rows go after the last.
        gint32 pg = 0;
        while ((pg = mdb_map_find_next(m_mdb, t->usage_map, t->map_sz, pg)) > 0) {
            p.all.push_back(pg);
            p.last = pg;
        }
        if (pg < 0)
            fail("unknown page map");
        m_pages.push_back(p);
        return m_pages.back();
    }

    guint32 pageCount()
    {
        std::fseek(m_mdb->f->stream, 0, SEEK_END);
        return static_cast<guint32>(std::ftell(m_mdb->f->stream) / m_mdb->fmt->pg_size);
    }

    // A new page at the end of the file (the library writes only over
    // pages that exist).
    guint32 newPage()
    {
        const guint32 pg = pageCount();
        std::vector<char> zeros(m_mdb->fmt->pg_size, 0);
        if (std::fwrite(zeros.data(), 1, zeros.size(), m_mdb->f->stream) != zeros.size()
            || std::fflush(m_mdb->f->stream) != 0)
            fail("cannot add a page");
        return pg;
    }

    guint32 appendPage(MdbTableDef* t)
    {
        const guint32 pg = newPage();
        pagesOf(t).all.push_back(pg);
        return pg;
    }

    // The table's page map rewritten where it stands: a bitmap on the
    // map row itself when every page fits in its reach, else references
    // to bitmap pages, each covering (page size - 4) * 8 pages.
    void writeMap(Pages& p)
    {
        MdbTableDef* t = p.table;
        const int pgSize = static_cast<int>(m_mdb->fmt->pg_size);
        mdb_read_pg(m_mdb, t->entry->table_pg);
        const int at = m_mdb->fmt->tab_usage_map_offset;
        const unsigned char* tdef = static_cast<unsigned char*>(m_mdb->pg_buf);
        const int pgRow = tdef[at] | (tdef[at + 1] << 8) | (tdef[at + 2] << 16) | (tdef[at + 3] << 24);
        void* buf = nullptr;
        int offset = 0;
        size_t length = 0;
        if (mdb_find_pg_row(m_mdb, pgRow, &buf, &offset, &length) || length != t->map_sz || length < 5)
            fail("cannot find the page map");
        const guint32 mapPage = static_cast<guint32>(pgRow) >> 8;
        std::vector<unsigned char> map(length, 0);

        const guint32 start = mdb_get_int32(t->usage_map, 1);
        const guint32 reach = static_cast<guint32>((length - 5) * 8);
        bool fits = t->usage_map[0] == 0;
        for (guint32 pg : p.all)
            fits = fits && pg >= start && pg < start + reach;
        if (fits) {
            map[0] = 0;
            mdb_put_int32(map.data(), 1, start);
            for (guint32 pg : p.all)
                map[5 + (pg - start) / 8] |= 1 << ((pg - start) % 8);
        } else {
            const guint32 bits = static_cast<guint32>(pgSize - 4) * 8;
            const size_t slots = (length - 1) / 4;
            std::vector<std::vector<unsigned char>> bitmaps(slots);
            for (guint32 pg : p.all) {
                const size_t slot = pg / bits;
                if (slot >= slots)
                    fail("too many pages for the page map");
                if (bitmaps[slot].empty()) {
                    bitmaps[slot].assign(pgSize, 0);
                    bitmaps[slot][0] = 0x05;
                    bitmaps[slot][1] = 0x01;
                }
                bitmaps[slot][4 + (pg % bits) / 8] |= 1 << (pg % bits % 8);
            }
            map[0] = 1;
            for (size_t slot = 0; slot < slots; ++slot) {
                if (bitmaps[slot].empty())
                    continue;
                const guint32 pg = newPage();
                std::memcpy(m_mdb->pg_buf, bitmaps[slot].data(), pgSize);
                if (!mdb_write_pg(m_mdb, pg))
                    fail("cannot write a map page");
                mdb_put_int32(map.data(), static_cast<guint32>(1 + slot * 4), pg);
            }
        }
        mdb_read_pg(m_mdb, mapPage);
        std::memcpy(static_cast<unsigned char*>(m_mdb->pg_buf) + offset, map.data(), length);
        if (!mdb_write_pg(m_mdb, mapPage))
            fail("cannot write the page map");
    }

    MdbHandle* m_mdb = nullptr;
    std::vector<Pages> m_pages;
};

// A value of a fixed-size column, kept until the row is written.
struct Values {
    std::vector<std::string> kept;
    void set(MdbField& f, std::string bytes)
    {
        kept.push_back(std::move(bytes));
        f.value = kept.back().data();
        f.siz = static_cast<int>(kept.back().size());
        f.is_null = 0;
    }
    template <typename T> void number(MdbField& f, T v)
    {
        std::string bytes(sizeof v, '\0');
        std::memcpy(bytes.data(), &v, sizeof v);
        set(f, bytes);
    }
    Values() { kept.reserve(64); }
};

struct TypedRow {
    const char* a; // text(50)
    const char* b; // text(100)
    int c;         // byte, -1: NULL
    int d;         // integer
    long long e;   // long integer, LLONG_MIN: NULL
    double f;      // double, NaN: NULL
    double g;      // date, NaN: NULL
    long long h;   // currency in ten-thousandths, LLONG_MIN: NULL
    bool i;        // yes/no
};

constexpr long long kNull = INT64_MIN;

void addTypedRow(Writer& w, MdbTableDef* t, const TypedRow& r)
{
    std::vector<MdbField> f = w.blankRow(t);
    Values v;
    if (r.a)
        v.set(f[0], w.text(r.a));
    if (r.b)
        v.set(f[1], w.text(r.b));
    if (r.c >= 0)
        v.number(f[2], static_cast<unsigned char>(r.c));
    if (r.d != INT32_MIN)
        v.number(f[3], static_cast<std::int16_t>(r.d));
    if (r.e != kNull)
        v.number(f[4], static_cast<std::int32_t>(r.e));
    if (!std::isnan(r.f))
        v.number(f[5], r.f);
    if (!std::isnan(r.g))
        v.number(f[6], r.g);
    if (r.h != kNull)
        v.number(f[7], static_cast<std::int64_t>(r.h));
    f[8].is_null = r.i ? 0 : 1; // a yes/no is its bit in the null bitmap
    w.insert(t, f);
}

void addValues(Writer& w)
{
    const double none = std::nan("");
    if (MdbTableDef* t = w.table("Table1")) {
        const TypedRow rows[] = {
            {"Račun 1/2026", "Čedomir Šimić, Đakovo", 255, -32768, 2147483647, 0.5, accessDate(2026, 12, 7, 10, 15, 30),
             12345678, true},
            {"ćevapčići", "ŽUPANIJA ĆĆĐŠŽ čćđšž", 0, 32767, -2147483647 - 1, -1234.5, accessDate(1899, 12, 30, 23, 59, 59),
             -1, false},
            {nullptr, nullptr, -1, INT32_MIN, kNull, none, none, kNull, false},
            {"", "prazno gore", 1, 0, 0, 0.0, accessDate(1885, 6, 1, 14, 30, 0), 9999, true},
            {"ĐURO ĐAKOVIĆ", nullptr, 7, -1, 1, 1e-300, accessDate(2000, 2, 29), kNull, true},
            {"Šibenik", "Ž", -1, 12, kNull, none, accessDate(1900, 1, 1, 0, 0, 1), 999999999999LL, false},
        };
        for (const TypedRow& r : rows)
            addTypedRow(w, t, r);
    }
    if (MdbTableDef* t = w.table("test")) {
        for (const char* text : std::initializer_list<const char*>{"Čćđšž ČĆĐŠŽ – napomena uz nalaz", "", nullptr}) {
            std::vector<MdbField> f = w.blankRow(t);
            Values v;
            if (text)
                v.set(f[0], w.memo(text));
            w.insert(t, f);
        }
    }
    w.finish();
}

// Invoice-shaped rows: a number, the patient, a count of items, the
// branch, the insurance number, the amount, the date and time, the sum
// in currency, paid or not.
void addInvoices(Writer& w, long long count)
{
    MdbTableDef* t = w.table("Table1");
    if (!t)
        fail("no Table1");
    static const char* names[] = {"Ana Kovačević", "Ivan Horvat", "Željka Šarić", "Đuro Babić", "Marija Čulić"};
    char number[64];
    char patient[128];
    for (long long i = 0; i < count; ++i) {
        std::snprintf(number, sizeof number, "%lld/1/1", i + 1);
        std::snprintf(patient, sizeof patient, "%s %lld", names[i % 5], i);
        const long long cents = 1000 + (i * 7919) % 500000;
        addTypedRow(w, t,
                    TypedRow{number, patient, static_cast<int>(i % 5 + 1), static_cast<int>(i % 30), 100000000 + i,
                             cents / 100.0, accessDate(2016, 1, 1) + static_cast<double>(i % 3650) + (i % 600) / 1440.0,
                             cents * 100, i % 3 != 0});
    }
    w.finish();
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 4)
        fail("usage: access_testdata SOURCE TARGET values | rows COUNT");
    if (!copyFile(argv[1], argv[2]))
        fail("cannot copy the file");
    if (!setCodePage1250(argv[2]))
        fail("cannot write the header");
    Writer writer(argv[2]);
    const std::string mode = argv[3];
    if (mode == "values")
        addValues(writer);
    else if (mode == "rows" && argc == 5)
        addInvoices(writer, std::atoll(argv[4]));
    else
        fail("unknown mode");
    return 0;
}
