#pragma once

#include "common/services.h"
#include "record_set_model.h"

#include <QMainWindow>
#include <QMap>

#include <functional>

class QAction;
class QCalendarWidget;
class QComboBox;
class QLabel;
class QLayout;
class QPushButton;
class QTabWidget;
class QTableView;
class Session;

// The main window: three tabs (invoice entry with the code lists, the
// year's invoices with the submission commands, the general data), the menu
// "    Opcije    " and the command "    Izlaz    ". Commands are wired in
// by name with setCommand(); an item without a command stays disabled.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    enum Tab { InvoiceTab = 0, OverviewTab = 1, GeneralDataTab = 2 };

    MainWindow(Session& session, Services services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The window's part of start-up: centre on the screen, lay out the
    // grids, set the calendar to today, show the current invoice.
    void prepare();

    // Wires a menu item or a button (by name) to its command and enables it.
    // Buttons of the invoice tab: "izborpom" (aid from the code list),
    // "iznsudgumb" (co-payment), "ispispotvrde", "ispisosnovno",
    // "ispisdopunsko", "ispisknjig" (the prints); of the overview tab:
    // "izbordisk", "brisiizbor", "kreirajdisk". A name that is neither
    // throws std::invalid_argument: a misspelt command stops the program
    // (and its tests) at once instead of leaving the item disabled.
    void setCommand(const QString& name, std::function<void()> command);
    QAction* menuAction(const QString& name) const;
    QPushButton* button(const QString& name) const;
    // The new-invoice command, bound to F9 anywhere in the window.
    QAction* newInvoiceAction() const { return m_newInvoice; }

    QTabWidget* tabs() const { return m_tabs; }
    // The page of a tab, inside the scroll area that holds it.
    QWidget* tabPage(Tab tab) const;
    QWidget* invoiceEntryArea() const { return m_invoiceEntry; }
    QWidget* generalDataArea() const { return m_generalData; }
    QTabWidget* codeListTabs() const { return m_codeListTabs; }
    QTableView* invoiceGrid() const { return m_invoiceGrid; }
    QTableView* codeListGrid(bool thirteenCharacterList) const;
    QComboBox* formVariantList() const { return m_formVariants; }
    QCalendarWidget* calendar() const { return m_calendar; }

    void applyInvoiceGridLayout();
    void applyCodeListLayouts();

    // Writes back pending edits and starts the archiving companion; the
    // window then closes.
    void exitProgram();

Q_SIGNALS:
    // The invoice tab is being left: the invoice's amounts are recomputed.
    void invoiceTabLeft();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildInvoiceTab();
    QWidget* buildOverviewTab();
    QWidget* buildGeneralDataTab();
    void buildMenu();
    QPushButton* addButton(const QString& name, const QString& caption, const QString& hint = {});
    QLayout* invoiceButtons();
    void onTabChanged(int index);
    void followCurrentInvoice(int row);
    void centreOnScreen();
    QSize preferredSize() const;
    void updateMenuForTab();

    Session& m_session;
    Services m_services;
    QTabWidget* m_tabs = nullptr;
    QWidget* m_invoiceEntry = nullptr;
    QWidget* m_generalData = nullptr;
    QTabWidget* m_codeListTabs = nullptr;
    QTableView* m_invoiceGrid = nullptr;
    QTableView* m_oldCodeGrid = nullptr;
    QTableView* m_newCodeGrid = nullptr;
    RecordSetModel* m_invoiceModel = nullptr;
    RecordSetModel* m_oldCodeModel = nullptr;
    RecordSetModel* m_newCodeModel = nullptr;
    QComboBox* m_formVariants = nullptr;
    QCalendarWidget* m_calendar = nullptr;
    QAction* m_newInvoice = nullptr;
    QMap<QString, QAction*> m_actions;
    QMap<QString, QPushButton*> m_buttons;
    QMap<QString, std::function<void()>> m_commands;
    int m_shownTab = InvoiceTab;
    bool m_exited = false;
    bool m_placed = false;
};
