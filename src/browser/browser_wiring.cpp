#include "browser_wiring.h"

#include "app/main_window.h"
#include "browser_window.h"
#include "common/dialogs.h"
#include "medium_listing.h"

#include <QBoxLayout>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

namespace browsertab {
namespace {

// The column of the overview tab that holds its buttons; the medium's
// files go under them.
QBoxLayout* buttonColumn(MainWindow& window)
{
    QWidget* tab = window.tabPage(MainWindow::OverviewTab);
    auto* outer = tab ? qobject_cast<QBoxLayout*>(tab->layout()) : nullptr;
    if (!outer)
        return nullptr;
    QPushButton* run = window.button(QStringLiteral("kreirajdisk"));
    for (int i = 0; i < outer->count(); ++i) {
        auto* inner = qobject_cast<QBoxLayout*>(outer->itemAt(i)->layout());
        if (inner && run && inner->indexOf(run) >= 0)
            return inner;
    }
    return outer;
}

} // namespace

void install(MainWindow& window, Services services, browser::OpenTextFile openText)
{
    window.setCommand(QStringLiteral("prbipdisk"), [&window, services, openText] {
        // Made on first use, then only shown and hidden.
        auto* viewer = window.findChild<BrowserWindow*>(QStringLiteral("pregbaz"));
        if (!viewer)
            viewer = new BrowserWindow(services.dialogs, services.platform, openText, &window);
        viewer->show();
        viewer->raise();
        viewer->activateWindow();
    });

    auto* caption = new QLabel(QStringLiteral("SADRŽAJ DISKETE"));
    caption->setObjectName(QStringLiteral("Label3_20"));
    auto* files = new QListWidget;
    files->setObjectName(QStringLiteral("disketa"));
    files->setToolTip(QStringLiteral("Kliknite na fajl kojeg želite otvoriti"));
    files->setMaximumHeight(160);
    caption->hide();
    files->hide();
    if (QBoxLayout* column = buttonColumn(window)) {
        const int at = column->count() > 0 && column->itemAt(column->count() - 1)->spacerItem() ? column->count() - 1
                                                                                                : column->count();
        column->insertWidget(at, caption);
        column->insertWidget(at + 1, files);
    }
    auto folder = std::make_shared<QString>();
    window.setCommand(QStringLiteral("prsadrdis"), [&window, services, caption, files, folder] {
        const std::optional<browser::Medium> medium = browser::readMedium(services.platform);
        if (!medium) {
            services.dialogs.message(browser::kNoMedium);
            return;
        }
        *folder = medium->folder;
        files->clear();
        files->addItems(medium->files);
        files->show();
        caption->show();
        window.tabs()->setCurrentIndex(MainWindow::OverviewTab);
    });
    QObject::connect(files, &QListWidget::itemClicked, &window, [services, openText, folder](QListWidgetItem* item) {
        browser::openFile(QDir(*folder).filePath(item->text()), services.platform, openText);
    });
}

} // namespace browsertab
