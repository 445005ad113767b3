// kelmorin-access-convert SOURCE TARGET
//
// Converts the Access database SOURCE into the SQLite file TARGET (new or
// empty). Runs in its own process because the Access reader is not safe on
// damaged files; the program and kelmorin-tool start it through
// accessdb::Conversion and read only its result:
//   standard output  "TABLES count rows", then per table "TABLE rows name",
//                    "ROWS done" now and then, "DONE" at the end;
//   standard error   the reason of a failure, for the user;
//   exit status      0 when TARGET holds every table and row, 1 otherwise.
#include "access/mdb_reader.h"
#include "data/schema.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>

namespace {

// The indexes the program's own tables have in a new database, added where
// the converted file has such a table. An index that cannot be made (a
// column an older release did not have yet) is left out: the upgrade chain
// brings such a table up to date.
void addProgramIndexes(const std::string& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return;
    }
    sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    for (const char* table : {"Rn", "KelmorinISO", "OrtopedskaKelmorinISO", "Osnovno", "Dopunsko", "Popis", "Nalazi"}) {
        for (const QString& sql : schema::indexStatements(QString::fromLatin1(table)))
            sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fputs("Upotreba: kelmorin-access-convert IZVOR.mdb NOVA_DATOTEKA\n", stderr);
        return 2;
    }
    // A crash on a damaged file leaves no core behind.
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    // A program that has ended waits for no result.
    prctl(PR_SET_PDEATHSIG, SIGKILL);

    // The library writes its own diagnostics (in English, for developers)
    // to standard error; the user reads only this program's message.
    const int messages = dup(STDERR_FILENO);
    const int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (messages >= 0 && quiet >= 0)
        dup2(quiet, STDERR_FILENO);
    FILE* messageStream = messages >= 0 ? fdopen(messages, "w") : stderr;

    accessdb::reader::Report report;
    report.begin = [](int tables, long long rows) {
        std::printf("TABLES %d %lld\n", tables, rows);
        std::fflush(stdout);
    };
    report.table = [](const std::string& name, long long rows) {
        std::printf("TABLE %lld %s\n", rows, name.c_str());
        std::fflush(stdout);
    };
    report.progress = [](long long done) {
        std::printf("ROWS %lld\n", done);
        std::fflush(stdout);
    };
    std::string error;
    if (!accessdb::reader::convert(argv[1], argv[2], report, &error)) {
        std::fprintf(messageStream, "%s\n", error.c_str());
        std::fflush(messageStream);
        return 1;
    }
    addProgramIndexes(argv[2]);
    std::puts("DONE");
    std::fflush(stdout);
    return 0;
}
