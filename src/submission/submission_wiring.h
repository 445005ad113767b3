#pragma once

class MainWindow;
class MarkingCommands;
class SubmissionRun;

namespace submissiontab {

// Wires the overview tab: marking, clearing, sorting by a heading, and the
// submission run. Each command ends with the grid read anew, laid out and
// on its last row.
void install(MainWindow& window, MarkingCommands& marking, SubmissionRun& run);

} // namespace submissiontab
