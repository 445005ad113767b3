#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QTemporaryDir;

// Converting an Access database into a new SQLite file. The reading runs in
// its own process (kelmorin-access-convert): a damaged or hostile file can
// at worst end that process, never the program. This side starts it, shows
// its progress, checks its result table by table and gives the new file its
// name only when it is complete.
namespace accessdb {

// What a conversion reports while it runs.
struct Listener {
    // The source's user tables and their rows in all.
    std::function<void(int tables, qint64 rows)> started;
    // A table is being copied.
    std::function<void(const QString& table)> table;
    // Rows copied so far; also called while the converter works without
    // news, so that a window can stay responsive.
    std::function<void(qint64 rowsDone)> rows;
};

class Conversion {
public:
    // The converter beside the running program.
    static QString defaultProgram();

    explicit Conversion(QString program = defaultProgram()) : m_program(std::move(program)) {}

    // A converter that says nothing for this long is taken to be stuck on a
    // damaged file and ended.
    void setSilenceLimit(int milliseconds) { m_silenceLimit = milliseconds; }

    // Converts `source` into the new SQLite file `target`. The target is
    // written under a temporary name in its folder and renamed when every
    // table holds the rows of the source; an existing target, or journal
    // files beside its name, are refused. On failure there is no target,
    // and error() says why (Croatian, for the user).
    bool run(const QString& source, const QString& target, const Listener& listener = {});

    QString error() const { return m_error; }
    // The tables converted by the last successful run, in the source's order.
    QStringList tables() const { return m_tables; }

private:
    bool fail(const QString& source, const QString& reason);

    QString m_program;
    int m_silenceLimit = 120000;
    QString m_error;
    QStringList m_tables;
};

// A file that the upgrade chain reads: an Access file is converted into a
// temporary SQLite file first, which is read in its place and removed
// afterwards; any other file is read as it is. The original stays as it is.
class ReadableCopy {
public:
    explicit ReadableCopy(const QString& path, const QString& program = Conversion::defaultProgram());
    ~ReadableCopy();

    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    // The file to read: the original or its converted copy.
    QString path() const { return m_path; }
    bool converted() const { return m_dir != nullptr; }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
    QString m_error;
};

} // namespace accessdb
