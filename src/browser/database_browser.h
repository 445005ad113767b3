#pragma once

#include <QSqlQueryModel>
#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>

class Database;

// The grid's rows of one query, read in pages up to the viewer's limit
// while the query runs under its time limit; the grid itself never reads
// more afterwards.
class LimitedQueryModel : public QSqlQueryModel {
public:
    using QSqlQueryModel::QSqlQueryModel;
    bool canFetchMore(const QModelIndex& parent = {}) const override { return m_reading && QSqlQueryModel::canFetchMore(parent); }
    // More rows than read are there.
    bool hasMore() const { return QSqlQueryModel::canFetchMore(); }
    void setReading(bool reading) { m_reading = reading; }

private:
    bool m_reading = false;
};

// What the database viewer shows: the database files of a folder, the
// tables and saved queries (views) of one file, and one of them in a grid.
// Every file is opened read-only, so nothing shown can be stored back, not
// even an edit in the grid.
class DatabaseBrowser {
public:
    // queryTime: how long a query may run before it is stopped.
    explicit DatabaseBrowser(std::chrono::milliseconds queryTime = kQueryTime);
    ~DatabaseBrowser();

    // The "*.mdb" files of the folder (any case) and all its files, by name.
    static QStringList databaseFiles(const QString& folder);
    static QStringList allFiles(const QString& folder);

    // The tables of the file in its own order, without SQLite's own, then
    // its views. False with error() naming the file when it is not a
    // database the program can read.
    bool listNames(const QString& path, QStringList& names);

    // Shows a table or view of the file in the grid's model; the count label
    // follows. False with error().
    bool show(const QString& path, const QString& name);
    // Reads the shown table again ordered by the column's field.
    bool sortBy(int column);

    // "125  /  43": rows, and fields less one; beyond the limit the rows
    // shown are announced ("prikazano prvih 100000 redaka").
    QString countLabel() const;

    // A view over an endless query must not take the program down: the
    // viewer stops reading at the page (of 256 rows) that reaches this many
    // rows, and a query that runs longer than this is stopped.
    static constexpr int kRowLimit = 100000;
    static constexpr std::chrono::seconds kQueryTime{10};
    // Shows nothing (another file was chosen).
    void clearShown();
    QSqlQueryModel& model() { return m_model; }
    // The rows shown are not all there are (the limit, or a stopped query).
    bool isCut() const { return m_cut; }
    // The connection the grid reads through (for the read-only guarantee).
    Database* shownDatabase() { return m_shown.get(); }
    const QString& error() const { return m_error; }

private:
    bool query(const QString& sql);
    QString stoppedMessage() const;
    bool openShown(const QString& path);

    std::chrono::milliseconds m_queryTime;
    LimitedQueryModel m_model;
    bool m_cut = false;
    std::unique_ptr<Database> m_shown;
    QString m_shownPath;
    QString m_name;
    QString m_error;
};
