#include "database_browser.h"

#include "data/database.h"
#include "data/croatian_collation.h"
#include "data/sql_values.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

QString notReadable(const QString& path, const QString& why)
{
    return QStringLiteral("Datoteka %1 nije baza podataka koju program može pročitati (%2).")
        .arg(QFileInfo(path).fileName(), why);
}

} // namespace

DatabaseBrowser::DatabaseBrowser(std::chrono::milliseconds queryTime) : m_queryTime(queryTime) {}

DatabaseBrowser::~DatabaseBrowser()
{
    m_model.clear(); // its query must end before its connection
}

QStringList DatabaseBrowser::databaseFiles(const QString& folder)
{
    QStringList files;
    for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        if (name.endsWith(QStringLiteral(".mdb"), Qt::CaseInsensitive))
            files << name;
    }
    return files;
}

QStringList DatabaseBrowser::allFiles(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
}

bool DatabaseBrowser::listNames(const QString& path, QStringList& names)
{
    Database db(path, Database::Mode::ReadOnly);
    if (!db.isOpen()) {
        m_error = notReadable(path, db.error());
        return false;
    }
    names.clear();
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT type, name FROM sqlite_master WHERE type IN ('table', 'view') ORDER BY rowid"))) {
        m_error = notReadable(path, q.lastError().databaseText());
        return false;
    }
    QStringList views;
    while (q.next()) {
        const QString name = q.value(1).toString();
        if (name.startsWith(QStringLiteral("sqlite_"), Qt::CaseInsensitive))
            continue;
        (q.value(0).toString() == u"view" ? views : names) << name;
    }
    names << views;
    return true;
}

bool DatabaseBrowser::openShown(const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    if (m_shown && m_shownPath == full)
        return true;
    m_model.clear();
    m_shown = std::make_unique<Database>(full, Database::Mode::ReadOnly);
    m_shownPath = full;
    if (!m_shown->isOpen()) {
        m_error = notReadable(path, m_shown->error());
        m_shown.reset();
        m_shownPath.clear();
        return false;
    }
    return true;
}

bool DatabaseBrowser::query(const QString& sql)
{
    const StatementDeadline deadline(*m_shown, m_queryTime);
    m_model.setReading(true);
    m_model.setQuery(sql, m_shown->handle());
    if (m_model.lastError().isValid()) {
        m_model.setReading(false);
        m_error = deadline.passed() ? stoppedMessage() : m_model.lastError().databaseText();
        m_model.clear();
        m_cut = false;
        return false;
    }
    // The count needs every row, up to the limit.
    while (m_model.rowCount() < kRowLimit && m_model.canFetchMore())
        m_model.fetchMore();
    m_model.setReading(false);
    m_cut = deadline.passed() || m_model.hasMore();
    return true;
}

QString DatabaseBrowser::stoppedMessage() const
{
    return QStringLiteral("Upit je prekinut nakon %1 s: traje predugo (možda nema kraja).")
        .arg(double(m_queryTime.count()) / 1000.0);
}

bool DatabaseBrowser::show(const QString& path, const QString& name)
{
    if (!openShown(path))
        return false;
    m_name = name;
    return query(QStringLiteral("SELECT * FROM %1").arg(sqlvalue::quotedName(name)));
}

bool DatabaseBrowser::sortBy(int column)
{
    if (!m_shown || m_name.isEmpty() || column < 0 || column >= m_model.columnCount())
        return false;
    const QString field = m_model.record().fieldName(column);
    // Names in the order of the Croatian alphabet, as in the invoice grid
    // (numbers and dates are not texts and keep their own order).
    return query(QStringLiteral("SELECT * FROM %1 ORDER BY %2 COLLATE %3")
                     .arg(sqlvalue::quotedName(m_name), sqlvalue::quotedName(field), croatian::kCollation));
}

void DatabaseBrowser::clearShown()
{
    m_model.clear();
    m_cut = false;
    m_name.clear();
}

QString DatabaseBrowser::countLabel() const
{
    if (m_name.isEmpty())
        return {};
    const QString count = QStringLiteral("%1  /  %2").arg(m_model.rowCount()).arg(m_model.columnCount() - 1);
    return m_cut ? count + QStringLiteral("  (prikazano prvih %1 redaka)").arg(m_model.rowCount()) : count;
}
