#include "codelist_commands.h"

#include "access/conversion.h"
#include "backup/archive_commands.h"
#include "common/clock.h"
#include "common/dialogs.h"
#include "common/platform.h"
#include "data/database.h"
#include "data/record_set.h"
#include "list_rule.h"
#include "price_file.h"
#include "price_load.h"
#include "data/sql_values.h"

#include <QDir>

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace codelists {
namespace {

// The snapshot table's rows: the values of its columns 1 to 3.
bool readSnapshot(Database& file, const QString& table, std::vector<QVariantList>& rows, QString* error)
{
    if (!file.hasTable(table)) {
        *error = QStringLiteral("Tablica %1 ne postoji u datoteci %2.").arg(table, kSnapshotFile);
        return false;
    }
    QSqlQuery q(file.handle());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY Broj").arg(sqlvalue::quotedName(table)))) {
        *error = QStringLiteral("Tablicu %1 u datoteci %2 nije moguće pročitati: %3")
                     .arg(table, kSnapshotFile, q.lastError().databaseText());
        return false;
    }
    if (q.record().count() < 4) {
        *error = QStringLiteral("Tablica %1 u datoteci %2 nema stupce 1 do 3.").arg(table, kSnapshotFile);
        return false;
    }
    while (q.next())
        rows.push_back({q.value(1), q.value(2), q.value(3)});
    return true;
}

} // namespace

void openCodeListDocument(Services s)
{
    const QString file = s.platform.findFile(kCodeListDocument);
    if (file.isEmpty()) {
        s.dialogs.message(QStringLiteral("Datoteka %1 ne postoji u radnoj mapi.").arg(kCodeListDocument));
        return;
    }
    if (!s.platform.openDocument(QFileInfo(file).absoluteFilePath()))
        s.dialogs.message(QStringLiteral("Datoteku %1 nije moguće otvoriti.").arg(kCodeListDocument));
}

bool loadSnapshotPrices(Services s, RecordSet& list, const QString& table, int fromRow)
{
    const QString path = s.platform.findFile(kSnapshotFile);
    if (path.isEmpty()) {
        s.dialogs.message(QStringLiteral("Datoteka %1 ne postoji u radnoj mapi. Cijene nisu učitane.").arg(kSnapshotFile));
        return false;
    }
    std::vector<QVariantList> rows;
    QString error;
    {
        // The snapshot as the earlier program shipped it, in the Access
        // format, is read from a converted copy; the original stays.
        const accessdb::ReadableCopy readable(path);
        if (!readable.ok()) {
            s.dialogs.message(readable.error() + QStringLiteral("\r\nCijene nisu učitane."));
            return false;
        }
        Database file(readable.path(), Database::Mode::ReadOnly);
        if (!file.isOpen()) {
            s.dialogs.message(QStringLiteral("Datoteku %1 nije moguće otvoriti: %2\r\nCijene nisu učitane.")
                                  .arg(kSnapshotFile, file.error()));
            return false;
        }
        if (!readSnapshot(file, table, rows, &error)) {
            s.dialogs.message(error + QStringLiteral("\r\nCijene nisu učitane."));
            return false;
        }
    }

    Database& db = list.database();
    const QString target = list.query().table;
    const QStringList columns = db.columns(target);
    auto stop = [&](const QString& why) {
        s.dialogs.message(QStringLiteral("Cijene nisu učitane, tablica %1 je ostala kakva je bila: %2").arg(target, why));
        return false;
    };
    if (columns.size() < 4)
        return stop(QStringLiteral("tablica nema stupce 1 do 3."));
    if (!backup::beforeManyChanges(QDir::current(), QStringLiteral("učitavanja cijena"), s))
        return false;
    if (!list.saveAll())
        return stop(list.error());
    {
        Transaction tx(db);
        if (!tx.isActive())
            return stop(db.error());
        for (int row = std::max(fromRow, 0); row < list.rowCount(); ++row) {
            if (!db.exec(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(sqlvalue::quotedName(target)), {list.key(row)}))
                return stop(db.error());
        }
        const QString insert = QStringLiteral("INSERT INTO %1 (%2, %3, %4) VALUES (?, ?, ?)")
                                   .arg(sqlvalue::quotedName(target), sqlvalue::quotedName(columns[1]), sqlvalue::quotedName(columns[2]), sqlvalue::quotedName(columns[3]));
        for (const QVariantList& values : rows) {
            if (!db.exec(insert, values))
                return stop(db.error());
        }
        if (!tx.commit())
            return stop(db.error());
    }
    if (!list.reload()) {
        s.dialogs.message(list.error());
        return false;
    }
    return true;
}

PriceLoad loadPriceFile(Services s, Database& db, const QString& path, int skippedLimit)
{
    const QString name = QFileInfo(path).fileName();
    QString damaged;
    if (!db.isSound(&damaged)) {
        s.dialogs.message(QStringLiteral("Cjenik %1 nije učitan, ništa nije promijenjeno.\r\n%2").arg(name, damaged));
        return PriceLoad::Failed;
    }
    const pricefile::Result file = pricefile::read(path);
    if (!file) {
        s.dialogs.message(QStringLiteral("Cjenik %1 nije učitan, ništa nije promijenjeno.\r\n%2")
                              .arg(name, pricefile::describe(file.failure)));
        return PriceLoad::Failed;
    }
    pricelist::Plan plan;
    QString error;
    if (!pricelist::plan(db, *file.content, plan, &error)) {
        s.dialogs.message(QStringLiteral("Cjenik %1 nije učitan, ništa nije promijenjeno.\r\n%2").arg(name, error));
        return PriceLoad::Failed;
    }
    const QString text = pricelist::summary(plan, name, skippedLimit);
    if (plan.isEmpty()) {
        s.dialogs.message(text + QStringLiteral("\r\n\r\nCjenik ne donosi nikakvu promjenu."));
        return PriceLoad::NoChange;
    }
    if (!s.dialogs.okCancel(text + QStringLiteral("\r\n\r\nŽelite li učitati cjenik?"),
                            QStringLiteral("Učitavanje cjenika")))
        return PriceLoad::Cancelled;
    if (!backup::beforeManyChanges(QDir::current(), QStringLiteral("učitavanja cjenika"), s))
        return PriceLoad::Cancelled;
    QStringList backups;
    if (!pricelist::apply(db, plan, s.clock.today(), &backups, &error)) {
        s.dialogs.message(QStringLiteral("Cjenik %1 nije učitan, popisi šifri su ostali kakvi su bili.\r\n%2").arg(name, error));
        return PriceLoad::Failed;
    }
    s.dialogs.message(backups.size() == 1
                          ? QStringLiteral("Cjenik %1 je učitan. Prijašnji popis sačuvan je u tablici %2.").arg(name, backups.first())
                          : QStringLiteral("Cjenik %1 je učitan. Prijašnji popisi sačuvani su u tablicama %2.")
                                .arg(name, backups.join(QStringLiteral(" i "))));
    return PriceLoad::Applied;
}

} // namespace codelists
