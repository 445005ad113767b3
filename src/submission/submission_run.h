#pragma once

#include "common/services.h"
#include "submission_records.h"

#include <QString>

#include <optional>
#include <vector>

class PrintTarget;
class Session;

// What one submission is asked to do, as typed: the window fills it from
// its prompts, the tool from its arguments.
struct SubmissionRequest {
    QString mark;   // the invoices' mark in the column Izbor
    QString medium; // the medium's number in the year
    QString date;   // the medium's date, dd.MM.yyyy (a closing dot is forgiven)
    QString office; // the office's code; "14" is 014
    QString copies; // copies of the cover letter, one or more
};

// "KREIRAJ DISKETU ILI CD ZA IZABRANE RAČUNE": one submission to a regional
// office. It takes the invoices of a mark, checks them, prints the cover
// letter while it works every invoice out again, writes the fund's file
// (once, from the invoices of the first copy), puts it on a medium and
// counts the medium.
class SubmissionRun {
public:
    enum class Outcome {
        Completed, // the file is written and the medium counted
        Ended,     // an answer or a check ended it before the file (message shown where there is one)
        Failed,    // the data not read, the letter or the file not written, or the medium counter not saved (message shown)
    };
    struct Result {
        Outcome outcome = Outcome::Ended;
        QString fileName;    // the submission file in the working folder
        QString movedAside;  // an older file of the same name, renamed
        int stoppedAt = 0;   // an invoice that could not be worked out: the file ends before it
    };

    SubmissionRun(Session& session, Services services, PrintTarget& target)
        : m_session(session), m_services(services), m_target(target)
    {
    }

    // The window: asks for every answer in turn, each prompt with its
    // default, and runs.
    Result run();
    // The tool: the answers are given.
    Result run(const SubmissionRequest& request);

    // The number of copies an answer gives: the whole part of a number of
    // at least 1; 0 for anything else.
    static int copies(const QString& answer);

private:
    struct Prepared {
        GeneralRecord general;
        std::vector<InvoiceRecord> invoices;
    };
    std::optional<Prepared> prepare(const QString& mark, Result& result);
    Result write(const Prepared& prepared, const SubmissionRequest& request, Result result);

    Session& m_session;
    Services m_services;
    PrintTarget& m_target;
};
