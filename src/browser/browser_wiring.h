#pragma once

#include "common/services.h"
#include "file_opener.h"

class MainWindow;

namespace browsertab {

// Wires "Pregled baze pod. i kreiranih disketa" (the database viewer, made
// on first use) and "Pregled sadržaja diskete" (the medium's files on the
// overview tab under "SADRŽAJ DISKETE"). Text files open through openText.
void install(MainWindow& window, Services services, browser::OpenTextFile openText);

} // namespace browsertab
