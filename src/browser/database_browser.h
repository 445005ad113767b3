#pragma once

#include <QSqlQueryModel>
#include <QString>
#include <QStringList>

#include <memory>

class Database;

// What the database viewer shows: the database files of a folder, the
// tables and saved queries (views) of one file, and one of them in a grid.
// Every file is opened read-only, so nothing shown can be stored back, not
// even an edit in the grid.
class DatabaseBrowser {
public:
    DatabaseBrowser();
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

    // "125  /  43": rows, and fields less one.
    QString countLabel() const;
    // Shows nothing (another file was chosen).
    void clearShown();
    QSqlQueryModel& model() { return m_model; }
    // The connection the grid reads through (for the read-only guarantee).
    Database* shownDatabase() { return m_shown.get(); }
    const QString& error() const { return m_error; }

private:
    bool query(const QString& sql);
    bool openShown(const QString& path);

    QSqlQueryModel m_model;
    std::unique_ptr<Database> m_shown;
    QString m_shownPath;
    QString m_name;
    QString m_error;
};
