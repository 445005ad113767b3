// Start-up to a shown main window (offscreen) on a working folder of
// 10 business years with 20,000 invoices each, against one of a single
// year: the other years' invoices must not slow the start.
#include "app/main_window.h"
#include "data/session.h"
#include "app/startup.h"
#include "common/clock.h"
#include "common/headless_platform.h"
#include "common/scripted_dialogs.h"
#include "large_database.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <algorithm>

namespace {

double startOnce(const QString& dir, const QDate& today)
{
    QDir::setCurrent(dir);
    ScriptedDialogs dialogs;
    FixedClock clock(today);
    HeadlessPlatform platform;
    QElapsedTimer timer;
    timer.start();
    auto session = Startup({dialogs, clock, platform}).run();
    if (!session)
        return -1;
    MainWindow window(*session, {dialogs, clock, platform});
    window.prepare();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return -1;
    QApplication::processEvents();
    return timer.nsecsElapsed() / 1e6;
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const int year = QDate::currentDate().year();
    const QDate today(year, 12, 31);
    QTemporaryDir tmp;
    struct Case {
        const char* name;
        int years;
    } cases[] = {{"1 year x 20000 invoices", 1}, {"10 years x 20000 invoices", 10}};
    for (const Case& c : cases) {
        const QString dir = tmp.filePath(QString::fromLatin1(c.name).replace(u' ', u'_'));
        QString error;
        QElapsedTimer gen;
        gen.start();
        if (!benchdata::generate(dir, year, c.years, 20000, &error)) {
            out << "generation failed: " << error << '\n';
            return 1;
        }
        out << c.name << ": generated in " << gen.elapsed() << " ms\n";
        QList<double> runs;
        for (int i = 0; i < 7; ++i)
            runs << startOnce(dir, today);
        out << c.name << ": start-up to shown window, median of 7: " << QString::number(median(runs), 'f', 1)
            << " ms (min " << QString::number(*std::min_element(runs.begin(), runs.end()), 'f', 1) << ", max "
            << QString::number(*std::max_element(runs.begin(), runs.end()), 'f', 1) << ")\n";
        out.flush();
    }
    return 0;
}
