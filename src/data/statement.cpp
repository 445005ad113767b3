#include "statement.h"

#include "database.h"
#include "sql_values.h"

#include <QSqlDriver>

#include <sqlite3.h>

sqlite3* engineConnection(Database& db)
{
    QSqlDatabase& handle = db.handle();
    const QVariant h = handle.driver() ? handle.driver()->handle() : QVariant();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(h.constData());
}

namespace {

// A stored date as text: YYYY-MM-DD, read digit by digit.
QDate isoDate(const unsigned char* text, int size)
{
    if (size < 10 || text[4] != '-' || text[7] != '-')
        return {};
    int digits[8];
    int k = 0;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (text[i] < '0' || text[i] > '9')
            return {};
        digits[k++] = text[i] - '0';
    }
    return QDate(digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3], digits[4] * 10 + digits[5],
                 digits[6] * 10 + digits[7]);
}

// A whole number as QString::number writes it (the quantities of every
// aid line are whole numbers).
QString decimal(qint64 value)
{
    char16_t digits[24];
    int at = 24;
    quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    do {
        digits[--at] = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    if (value < 0)
        digits[--at] = u'-';
    return QString(reinterpret_cast<const QChar*>(digits + at), 24 - at);
}

} // namespace

Statement::Statement(Database& db, const QString& sql) : m_connection(engineConnection(db))
{
    if (!m_connection) {
        m_error = db.handle().isOpen() ? QStringLiteral("Veza s bazom nije SQLite.") : QStringLiteral("Baza nije otvorena.");
        return;
    }
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(m_connection, text.constData(), int(text.size()), &m_statement, nullptr) != SQLITE_OK) {
        failed();
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
    }
}

Statement::~Statement() { sqlite3_finalize(m_statement); }

bool Statement::failed()
{
    m_error = QString::fromUtf8(sqlite3_errmsg(m_connection));
    return false;
}

bool Statement::bind(int n, qint64 value)
{
    return m_statement && (sqlite3_bind_int64(m_statement, n, value) == SQLITE_OK || failed());
}

bool Statement::bind(int n, const QString& value)
{
    if (!m_statement)
        return false;
    const QByteArray text = value.toUtf8();
    return sqlite3_bind_text(m_statement, n, text.constData(), int(text.size()), SQLITE_TRANSIENT) == SQLITE_OK || failed();
}

bool Statement::bind(int n, const QVariant& value)
{
    if (!m_statement)
        return false;
    const QVariant stored = sqlvalue::toStorage(value);
    int rc = SQLITE_OK;
    if (stored.isNull()) {
        rc = sqlite3_bind_null(m_statement, n);
    } else {
        switch (stored.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            return bind(n, stored.toLongLong());
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_statement, n, stored.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = stored.toByteArray();
            rc = sqlite3_bind_blob(m_statement, n, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        default:
            return bind(n, stored.toString());
        }
    }
    return rc == SQLITE_OK || failed();
}

int Statement::columnCount() const { return m_statement ? sqlite3_column_count(m_statement) : 0; }

QString Statement::columnName(int column) const
{
    return m_statement ? QString::fromUtf8(sqlite3_column_name(m_statement, column)) : QString();
}

bool Statement::next()
{
    if (!m_statement)
        return false;
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        failed();
    return false;
}

bool Statement::isNull(int column) const { return sqlite3_column_type(m_statement, column) == SQLITE_NULL; }

QVariant Statement::value(int column) const
{
    // As Qt's SQLite driver reads a column.
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(m_statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_statement, column);
    case SQLITE_NULL:
        return QVariant(QMetaType::fromType<QString>());
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(m_statement, column)),
                          sqlite3_column_bytes(m_statement, column));
    default:
        return text(column);
    }
}

QString Statement::text(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_TEXT: {
        const char* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
        const int size = sqlite3_column_bytes(m_statement, column);
        // An empty text is empty, not NULL.
        if (size == 0)
            return QStringLiteral("");
        // Nearly every stored text is plain ASCII (numbers, codes, dates).
        QString text(size, Qt::Uninitialized);
        QChar* to = text.data();
        for (int i = 0; i < size; ++i) {
            if (static_cast<unsigned char>(data[i]) >= 0x80)
                return QString::fromUtf8(data, size);
            to[i] = QChar(char16_t(static_cast<unsigned char>(data[i])));
        }
        return text;
    }
    case SQLITE_INTEGER:
        return decimal(sqlite3_column_int64(m_statement, column));
    default:
        return sqlvalue::toText(value(column));
    }
}

QDate Statement::date(int column) const
{
    if (sqlite3_column_type(m_statement, column) == SQLITE_TEXT) {
        const unsigned char* data = sqlite3_column_text(m_statement, column);
        const int size = sqlite3_column_bytes(m_statement, column);
        if (const QDate d = isoDate(data, size); d.isValid())
            return d;
    }
    return sqlvalue::toDate(value(column));
}

bool Statement::flag(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_NULL:
        return false;
    case SQLITE_INTEGER:
        return int(sqlite3_column_int64(m_statement, column)) != 0;
    default:
        return sqlvalue::toBool(value(column));
    }
}

int Statement::whole(int column) const
{
    if (sqlite3_column_type(m_statement, column) == SQLITE_INTEGER)
        return int(sqlite3_column_int64(m_statement, column));
    return value(column).toInt();
}

double Statement::real(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        return double(sqlite3_column_int64(m_statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_statement, column);
    default:
        return value(column).toDouble();
    }
}
