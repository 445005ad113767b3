#include "print_wiring.h"

#include "adjustment_window.h"
#include "app/main_window.h"
#include "print_commands.h"

#include <QComboBox>

namespace printtab {

void install(MainWindow& window, PrintCommands& commands, AdjustmentWindow& adjustment)
{
    using Kind = invoiceslots::Kind;
    window.setCommand(QStringLiteral("ispispotvrde"), [&commands] { commands.printConfirmationForm(); });
    window.setCommand(QStringLiteral("ispisosnovno"), [&commands] { commands.printInvoice(Kind::Basic); });
    window.setCommand(QStringLiteral("ispisdopunsko"), [&commands] { commands.printInvoice(Kind::Supplementary); });
    window.setCommand(QStringLiteral("ispisknjig"), [&commands] { commands.printBookkeeping(); });
    window.setCommand(QStringLiteral("ispvisrac"), [&commands] { commands.printRange(); });
    window.setCommand(QStringLiteral("prilisrec"), [&window, &adjustment] {
        adjustment.open(window.formVariantList()->currentText());
    });
}

} // namespace printtab
