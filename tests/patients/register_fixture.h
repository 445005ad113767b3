#pragma once

#include "common/clock.h"
#include "common/platform.h"
#include "common/scripted_dialogs.h"
#include "common/services.h"
#include "data/database.h"
#include "data/new_folder.h"
#include "support/temp_folder.h"

#include <QDate>
#include <QTest>
#include <QVariantMap>

#include <memory>

// A working folder with an empty patient register and the services a
// command of the register talks through.
struct RegisterFixture {
    class QuietPlatform : public Platform {
    public:
        bool startProgram(const QString&, const QStringList&, Window) override { return false; }
        bool openDocument(const QString&) override { return false; }
        void registerSubmissionFileTypes() override {}
    };

    explicit RegisterFixture(bool withRegister = true)
    {
        if (withRegister) {
            QString error;
            if (!newfolder::createPatientRegister(QStringLiteral("."), &error))
                qFatal("%s", qPrintable(error));
            db = std::make_unique<Database>(QStringLiteral("Pac.mdb"));
        }
    }

    Services services() { return Services{dialogs, clock, platform}; }

    // A patient row as the register stores it; returns the patient's number.
    qint64 patient(const QString& surname, const QString& name, const QString& jmbg = {}, const QVariantMap& more = {})
    {
        QVariantMap row = more;
        row.insert(QStringLiteral("prezime"), surname);
        row.insert(QStringLiteral("ime"), name);
        row.insert(QStringLiteral("JMBG"), jmbg);
        return insert(QStringLiteral("Popis"), row);
    }
    qint64 visit(qint64 patient, const QDate& date, const QVariantMap& more = {})
    {
        QVariantMap row = more;
        row.insert(QStringLiteral("Broj"), patient);
        row.insert(QStringLiteral("Datum"), date);
        return insert(QStringLiteral("Nalazi"), row);
    }
    qint64 insert(const QString& table, const QVariantMap& row)
    {
        QStringList names, marks;
        QVariantList values;
        for (auto it = row.begin(); it != row.end(); ++it) {
            names << it.key();
            marks << QStringLiteral("?");
            values << it.value();
        }
        const bool ok = db->exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                     .arg(table, names.join(u','), marks.join(u',')),
                                 values);
        if (!ok)
            qFatal("%s", qPrintable(db->error()));
        return db->scalar(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
    }

    TempFolder folder;
    ScriptedDialogs dialogs;
    FixedClock clock{QDate(2026, 3, 15)};
    QuietPlatform platform;
    std::unique_ptr<Database> db;
};
