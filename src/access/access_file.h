#pragma once

#include <QString>
#include <QStringList>

// Recognising an Access database file by its header, and the leftovers of
// SQLite's unfinished work that must not meet a new database file.
namespace accessdb {

enum class Format {
    NotAccess, // not an Access file at all (or unreadable)
    Jet3,      // Access 97
    Jet4,      // Access 2000 to 2003
    Newer,     // Access 2007 and later (accdb)
};

// The format of the file from its first bytes; NotAccess for a missing or
// unreadable file.
Format formatOf(const QString& path);
inline bool isAccessFile(const QString& path)
{
    const Format f = formatOf(path);
    return f != Format::NotAccess;
}

} // namespace accessdb
