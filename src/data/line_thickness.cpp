#include "line_thickness.h"

#include "database.h"
#include "layout_rows.h"
#include "sql_values.h"

namespace layouts {

bool setLineThickness(Database& db, int thickness, QString* error)
{
    Transaction transaction(db);
    for (const char* table : {"Osnovno", "Dopunsko"}) {
        const QString sql = QStringLiteral("UPDATE %1 SET A6 = ? WHERE A1 IN (%2, %3)")
                                .arg(sqlvalue::quotedName(QLatin1String(table)))
                                .arg(rowkind::kLine)
                                .arg(rowkind::kBoxRow);
        if (!db.exec(sql, {thickness}))
            return db.failed(error);
    }
    return transaction.commit() || db.failed(error);
}

} // namespace layouts
