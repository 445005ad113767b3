#pragma once

#include <QTest>

// Calls a helper that checks its own steps with QVERIFY or QCOMPARE. A
// failed check only returns from the helper; CHECKED also ends the test
// function that called it, so that the test stops where it went wrong.
#define CHECKED(call)                                                                                                  \
    do {                                                                                                               \
        call;                                                                                                          \
        if (QTest::currentTestFailed())                                                                                \
            return;                                                                                                    \
    } while (false)
