#pragma once

#include "database_browser.h"
#include "file_opener.h"

#include <QWidget>

class Dialogs;
class Platform;
class QLabel;
class QListWidget;
class QTableView;

// "Pregled baze podataka i kreiranih disketa": the database files of the
// working folder, the tables and saved queries of the chosen one, the chosen
// table in a grid with its counts, the current cell's text (also put on the
// clipboard), and all files of the folder, opened by a double-click. Made
// once; Esc, "    Povratak    " and the close box only hide it, and it keeps
// its last table.
class BrowserWindow : public QWidget {
    Q_OBJECT

public:
    BrowserWindow(Dialogs& dialogs, Platform& platform, browser::OpenTextFile openText, QWidget* parent = nullptr);

    // Reads the working folder again (the window does it when activated).
    void refreshFiles();
    // A click on a database file, on a table name, on a column heading.
    void chooseDatabase(const QString& fileName);
    void chooseTable(const QString& name);
    void sortByColumn(int column);
    // A double-click on a file of the folder.
    void openFile(const QString& fileName);

    QListWidget* databaseList() const { return m_databases; }
    QListWidget* tableList() const { return m_tables; }
    QListWidget* fileList() const { return m_files; }
    QTableView* grid() const { return m_grid; }
    QLabel* cellLabel() const { return m_cell; }
    QLabel* countLabel() const { return m_count; }
    DatabaseBrowser& browser() { return m_browser; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void copyCell(const QModelIndex& index);

    Dialogs& m_dialogs;
    Platform& m_platform;
    browser::OpenTextFile m_openText;
    DatabaseBrowser m_browser;
    QString m_folder;
    QString m_chosenFile;
    QListWidget* m_databases = nullptr;
    QListWidget* m_tables = nullptr;
    QListWidget* m_files = nullptr;
    QTableView* m_grid = nullptr;
    QLabel* m_cell = nullptr;
    QLabel* m_count = nullptr;
};
