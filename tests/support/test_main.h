#pragma once

// Several test classes of a subsystem share one executable; each class is
// still run in a process of its own, named by the first argument:
//
//   tests_invoice tst_identifiers [Qt Test options]
//
// A test file ends with KELMORIN_TEST_MAIN(Class) where it would end with
// QTEST_MAIN(Class) (or KELMORIN_TEST_GUILESS_MAIN for QTEST_GUILESS_MAIN);
// the class is registered under the file's name without its extension. The
// run is the one QTEST_MAIN would make: the same kind of application, the
// class's initMain(), the source path for QFINDTESTDATA.

#include <QCoreApplication>
#include <QtTest/QTest>
#if defined(QT_WIDGETS_LIB)
#include <QApplication>
#elif defined(QT_GUI_LIB)
#include <QGuiApplication>
#endif

namespace testmain {

using Runner = int (*)(int argc, char** argv);

// Registers a class's run under the name of the file that holds it.
struct Registration {
    Registration(const char* file, Runner run);
};

// The application a test class runs under, as QTEST_MAIN chooses it.
#if defined(QT_WIDGETS_LIB)
using MainApplication = QApplication;
#elif defined(QT_GUI_LIB)
using MainApplication = QGuiApplication;
#else
using MainApplication = QCoreApplication;
#endif

template <typename Test, typename Application>
int run(int argc, char** argv, const char* file)
{
    QTest::Internal::callInitMain<Test>();
    Application app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    Test test;
    QTest::setMainSourcePath(file);
    return QTest::qExec(&test, argc, argv);
}

} // namespace testmain

#define KELMORIN_TEST_JOIN2(a, b) a##b
#define KELMORIN_TEST_JOIN(a, b) KELMORIN_TEST_JOIN2(a, b)
// A name of its own for each registration, as several test files may be
// compiled as one unit.
#define KELMORIN_TEST_REGISTER(TestObject, Application)                                                      \
    static const testmain::Registration KELMORIN_TEST_JOIN(kelmorinTestRegistration, __COUNTER__)(__FILE__,  \
                                                                                                  [](int argc, char** argv) { \
        return testmain::run<TestObject, Application>(argc, argv, __FILE__);                                 \
    });

#define KELMORIN_TEST_MAIN(TestObject) KELMORIN_TEST_REGISTER(TestObject, testmain::MainApplication)
#define KELMORIN_TEST_GUILESS_MAIN(TestObject) KELMORIN_TEST_REGISTER(TestObject, QCoreApplication)
