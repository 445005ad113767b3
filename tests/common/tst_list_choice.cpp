// The list the user chooses one line from (the backups of a restore), as
// the window shows it.
#include "common/qt_dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs `act` on the list of the dialog once it is open.
void whenOpen(std::function<void(QDialog*, QListWidget*)> act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(dialog, dialog->findChild<QListWidget*>());
    });
}

} // namespace

class TestListChoice : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theLineChosenIsAnswered();
};

void TestListChoice::theLineChosenIsAnswered()
{
    QtDialogs dialogs;
    const QStringList lines{QStringLiteral("14.03.2026. 18:29:05   računa u poslovnoj godini: 0"),
                            QStringLiteral("13.03.2026. 18:30:05   računa u poslovnoj godini: 12"),
                            QStringLiteral("01.03.2026. 10:00:00   računa u poslovnoj godini: 9")};

    // The lines as given, the preselected one marked; the keyboard moves
    // the mark and Enter takes it.
    QStringList seen;
    QString title;
    whenOpen([&](QDialog* dialog, QListWidget* list) {
        title = dialog->windowTitle();
        for (int i = 0; i < list->count(); ++i)
            seen << list->item(i)->text();
        QCOMPARE(list->currentRow(), 1);
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    QCOMPARE(dialogs.chooseFromList(QStringLiteral("Vraćanje"), QStringLiteral("Odaberite:"), lines, 1), 2);
    QCOMPARE(seen, lines);
    QCOMPARE(title, QStringLiteral("Vraćanje"));

    // OK takes the marked line; Cancel answers -1.
    whenOpen([](QDialog* dialog, QListWidget*) {
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    QCOMPARE(dialogs.chooseFromList({}, QStringLiteral("Odaberite:"), lines, 0), 0);
    whenOpen([](QDialog* dialog, QListWidget* list) {
        list->setCurrentRow(2);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
    QCOMPARE(dialogs.chooseFromList({}, QStringLiteral("Odaberite:"), lines, 0), -1);
    // A mark outside the list starts at the first line.
    whenOpen([](QDialog* dialog, QListWidget* list) {
        QCOMPARE(list->currentRow(), 0);
        dialog->accept();
    });
    QCOMPARE(dialogs.chooseFromList({}, QStringLiteral("Odaberite:"), lines, 7), 0);

    // Nothing to choose from: no window, Cancel.
    QCOMPARE(dialogs.chooseFromList({}, QStringLiteral("Odaberite:"), {}, 0), -1);
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestListChoice)
#include "tst_list_choice.moc"
