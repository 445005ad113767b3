#pragma once

#include "platform.h"

// The platform of a run without a desktop (the command-line tool): no
// program is started and no document opened, there is no removable medium
// or disc writer to offer, and the file types stay as they are. Files are
// looked up and copied as on the desktop.
class HeadlessPlatform final : public Platform {
public:
    bool startProgram(const QString&, const QStringList&, Window) override { return false; }
    bool openDocument(const QString&) override { return false; }
    void registerSubmissionFileTypes() override {}
    QString removableMedium() const override { return {}; }
    std::optional<DiscWriter> discWriter() const override { return std::nullopt; }
};
