#pragma once

class Dialogs;
class Session;

namespace invoices {

// Writes back the invoice being edited before a command reads the invoices
// from the file; when it cannot be written, shows why and returns false
// (the command then does nothing, and nothing the user typed is lost).
bool saveEditsOrSay(Session& session, Dialogs& dialogs);

} // namespace invoices
