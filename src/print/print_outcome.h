#pragma once

// How a print command ended.
enum class PrintOutcome {
    Printed,
    Stopped,   // a check or a missing aid stopped it (the message was shown)
    Cancelled, // the user cancelled a prompt or the print dialog
    Failed,    // the layout or the output failed (the message was shown)
};
