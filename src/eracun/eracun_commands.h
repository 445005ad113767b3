#pragma once

#include "common/services.h"

#include <QString>

#include <functional>

class Session;

namespace eracun {

// The window's e-invoice commands: the current invoice's documents and the
// documents of the invoices carrying a submission mark, written to the
// folder the user chose the first time (remembered in the general data).
class Commands {
public:
    Commands(Session& session, Services services);

    // "eRačun za HZZO...": the documents of the current invoice.
    void writeCurrent();
    // "eRačuni za označene račune...": asks for the mark; `progress` hears
    // (done, count) and stops the run by returning false.
    void writeMarked(const std::function<bool(int, int)>& progress = {});

    static inline const QString kCurrentTitle = QStringLiteral("eRačun za HZZO");
    static inline const QString kMarkedTitle = QStringLiteral("eRačuni za označene račune");

    // Writes back what the user typed; false (the user was told) when it
    // could not be saved.
    bool saved();

private:
    // The folder of the e-invoices; asked for once. Empty when cancelled or
    // the choice could not be stored (the user was told).
    QString folder();

    Session& m_session;
    Services m_services;
};

} // namespace eracun
