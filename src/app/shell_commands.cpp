#include "shell_commands.h"

#include "common/platform.h"
#include "main_window.h"

namespace shell {

void install(MainWindow& window, Services services)
{
    window.setCommand(QStringLiteral("provpodpac"),
                      [services] { services.platform.openDocument(kInsuranceStatusPage); });
}

} // namespace shell
