// The code lists at the size of the fund's lists: loading a price list of
// 5,000 codes into a list of 5,000 (target under a second), and searching
// as the user types in a list of 10,000 rows (target under 10 ms a
// keystroke, the grid moved included).
#include "app/main_window.h"
#include "data/session.h"
#include "app/startup.h"
#include "codelists/codelist_commands.h"
#include "codelists/codelists_wiring.h"
#include "common/clock.h"
#include "common/headless_platform.h"
#include "common/scripted_dialogs.h"
#include "data/database.h"
#include "data/new_folder.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <algorithm>

namespace {

QString code13(int i) { return QStringLiteral("21%1").arg(i * 7 + 1000, 11, 10, QLatin1Char('0')); }

// A new folder whose 13-character list holds `rows` aids.
bool makeShop(const QString& dir, int rows, FixedClock& clock)
{
    QString error;
    if (!newfolder::create(dir, newfolder::Content::Demo, clock, &error))
        return false;
    Database db(dir + QStringLiteral("/Kelmorin.mdb"));
    Transaction tx(db);
    for (int i = 0; i < rows; ++i) {
        if (!db.exec(QStringLiteral("INSERT INTO OrtopedskaKelmorinISO (Broj, Sifra, Naziv, Cijena, PDV) VALUES (?,?,?,?,?)"),
                     {100 + i, code13(i), QStringLiteral("Pomagalo broj %1, opis kakav daje fond").arg(i), 10 + i % 97, 5}))
            return false;
    }
    return tx.commit();
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double loadOnce(const QString& dir, const QString& csv)
{
    QDir::setCurrent(dir);
    ScriptedDialogs dialogs;
    dialogs.setFallback(true);
    FixedClock clock(QDate(2026, 12, 7));
    HeadlessPlatform platform;
    Database db(QStringLiteral("Kelmorin.mdb"));
    QElapsedTimer timer;
    timer.start();
    const auto result = codelists::loadPriceFile({dialogs, clock, platform}, db, csv);
    const double ms = timer.nsecsElapsed() / 1e6;
    return result == codelists::PriceLoad::Applied ? ms : -1;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir tmp;
    FixedClock clock(QDate(2026, 12, 7));

    // A price list of 5,000 codes: 4,000 known with new prices, 500 known
    // and unchanged, 500 new.
    const QString csv = tmp.filePath(QStringLiteral("cjenik.csv"));
    {
        QFile f(csv);
        f.open(QIODevice::WriteOnly);
        QByteArray text = "\xEF\xBB\xBF\xC5\xA0ifra;Naziv;Cijena;PDV\r\n";
        for (int i = 0; i < 5000; ++i) {
            const int n = i < 4500 ? i : 10000 + i;
            const double price = i < 4000 ? 11.25 + i % 89 : 10 + n % 97;
            text += code13(n).toUtf8() + ";\"Pomagalo broj " + QByteArray::number(n) + ", opis kakav daje fond\";"
                + QByteArray::number(price, 'f', 2).replace('.', ',') + ";5\r\n";
        }
        f.write(text);
    }
    QList<double> loads;
    for (int run = 0; run < 3; ++run) {
        const QString dir = tmp.filePath(QStringLiteral("load%1").arg(run));
        if (!makeShop(dir, 5000, clock)) {
            out << "could not make the shop\n";
            return 1;
        }
        loads << loadOnce(dir, csv);
    }
    out << "price list of 5,000 codes into a list of 5,000: " << median(loads) << " ms (median of 3; runs "
        << loads[0] << ", " << loads[1] << ", " << loads[2] << ")\n";

    // Typing into the search boxes over 10,000 rows.
    const QString dir = tmp.filePath(QStringLiteral("search"));
    if (!makeShop(dir, 10000, clock))
        return 1;
    QDir::setCurrent(dir);
    ScriptedDialogs dialogs;
    HeadlessPlatform platform;
    auto session = Startup({dialogs, clock, platform}).run();
    if (!session)
        return 1;
    MainWindow window(*session, {dialogs, clock, platform});
    codelisttab::install(window, *session, {dialogs, clock, platform});
    window.prepare();
    window.show();
    QTest::qWaitForWindowExposed(&window);
    window.codeListTabs()->setCurrentIndex(1);
    QApplication::processEvents();
    struct Typing {
        const char* box;
        QString text;
    };
    // The last aid's code by its beginning, an ending found only at the end
    // of the list, and a text that matches nothing (the whole list read).
    const Typing typings[] = {{"trazi13", code13(9999)}, {"trazizadnje", code13(9999).right(6)},
                              {"trazi13", QStringLiteral("2199999")}};
    for (const Typing& t : typings) {
        auto* box = window.findChild<QLineEdit*>(QLatin1String(t.box));
        box->clear();
        QApplication::processEvents();
        QList<double> keys;
        for (QChar c : t.text) {
            QElapsedTimer timer;
            timer.start();
            QTest::keyClick(box, c.toLatin1());
            QApplication::processEvents();
            keys << timer.nsecsElapsed() / 1e6;
        }
        out << "typing " << t.text << " into " << t.box << " over 10,000 rows: median " << median(keys)
            << " ms, slowest " << *std::max_element(keys.begin(), keys.end()) << " ms a keystroke\n";
    }
    return 0;
}
