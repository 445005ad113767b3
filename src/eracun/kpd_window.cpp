#include "kpd_window.h"

#include "kpd_commands.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace eracuntab {

KpdWindow::KpdWindow(eracun::KpdCommands& commands, QWidget* parent)
    : QDialog(parent), m_commands(commands), m_table(new QTableWidget(this))
{
    setWindowTitle(eracun::KpdCommands::kTitle);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Šifre koje na eRačunu imaju vlastitu KPD oznaku. Sve ostale šifre imaju KPD oznaku "
                                            "svog popisa šifri iz Općih podataka (okvir eRačun)."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    m_table->setColumnCount(4);
    m_table->setHorizontalHeaderLabels({QStringLiteral("Šifra"), QStringLiteral("Naziv"), QStringLiteral("KPD oznaka šifre"),
                                        QStringLiteral("KPD oznaka popisa")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    layout->addWidget(m_table);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* add = buttons->addButton(QStringLiteral("Nova šifra..."), QDialogButtonBox::ActionRole);
    QPushButton* change = buttons->addButton(QStringLiteral("Promijeni..."), QDialogButtonBox::ActionRole);
    QPushButton* remove = buttons->addButton(QStringLiteral("Ukloni"), QDialogButtonBox::ActionRole);
    buttons->addButton(QStringLiteral("Zatvori"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(add, &QPushButton::clicked, this, [this] {
        if (m_commands.edit())
            refresh();
    });
    const auto changeSelected = [this] {
        const QString code = selectedCode();
        if (!code.isEmpty() && m_commands.edit(code))
            refresh(code);
    };
    connect(change, &QPushButton::clicked, this, changeSelected);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, changeSelected);
    connect(remove, &QPushButton::clicked, this, [this] {
        const QString code = selectedCode();
        if (!code.isEmpty() && m_commands.clear(code))
            refresh();
    });
    const auto enable = [this, change, remove] {
        const bool any = !selectedCode().isEmpty();
        change->setEnabled(any);
        remove->setEnabled(any);
    };
    connect(m_table, &QTableWidget::itemSelectionChanged, this, enable);
    refresh();
    enable();
    resize(760, 420);
}

QString KpdWindow::selectedCode() const
{
    const QList<QTableWidgetItem*> items = m_table->selectedItems();
    return items.isEmpty() ? QString() : m_table->item(items.first()->row(), 0)->text();
}

void KpdWindow::refresh(const QString& select)
{
    const auto codes = m_commands.list();
    m_table->setRowCount(0);
    if (!codes)
        return;
    m_table->setRowCount(int(codes->size()));
    for (int row = 0; row < int(codes->size()); ++row) {
        const eracun::OwnKpd& c = (*codes)[size_t(row)];
        const QStringList cells = {c.code, c.name.isEmpty() ? QStringLiteral("(nema je u popisu šifri)") : c.name, c.kpd,
                                   c.listKpd};
        for (int column = 0; column < cells.size(); ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells[column]));
        if (c.code == select)
            m_table->selectRow(row);
    }
    m_table->resizeColumnToContents(0);
    m_table->resizeColumnToContents(2);
    m_table->resizeColumnToContents(3);
}

} // namespace eracuntab
