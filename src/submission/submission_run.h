#pragma once

#include "common/services.h"

#include <QString>

class PrintTarget;
class Session;

// "KREIRAJ DISKETU ILI CD ZA IZABRANE RAČUNE": one submission to a regional
// office. It asks for the mark of the invoices, checks them, asks for the
// medium's number and date, the office's code and the number of copies of
// the cover letter, prints the letter while it works every invoice out
// again, writes the fund's file (once, from the invoices of the first copy),
// puts it on a medium and counts the medium.
class SubmissionRun {
public:
    enum class Outcome {
        Completed, // the file is written and the medium counted
        Ended,     // an answer or a check ended it before the file (message shown where there is one)
        Failed,    // the letter or the file could not be written, or the medium counter not saved (message shown)
    };
    struct Result {
        Outcome outcome = Outcome::Ended;
        QString fileName;    // the submission file in the working folder
        QString movedAside;  // an older file of the same name, renamed
    };

    SubmissionRun(Session& session, Services services, PrintTarget& target)
        : m_session(session), m_services(services), m_target(target)
    {
    }

    Result run();

private:
    Session& m_session;
    Services m_services;
    PrintTarget& m_target;
};
