#pragma once

#include "common/platform.h"

#include <vector>

// A platform that only records what it was asked to do. Files are still
// looked up in the real working folder, which tests point at a temporary one.
class FakePlatform final : public Platform {
public:
    struct Started {
        QString program;
        QStringList arguments;
        Window window;
    };

    bool startProgram(const QString& program, const QStringList& arguments, Window window) override
    {
        started.push_back({program, arguments, window});
        return startSucceeds;
    }
    bool openDocument(const QString& pathOrUrl) override
    {
        opened.push_back(pathOrUrl);
        return true;
    }
    void registerSubmissionFileTypes() override { ++registrations; }
    QString removableMedium() const override { return medium; }
    std::optional<DiscWriter> discWriter() const override { return writer; }
    bool copyFile(const QString& from, const QString& to, QString* error = nullptr) override
    {
        copies.push_back({from, to});
        return !copyFails && Platform::copyFile(from, to, error);
    }

    struct Copy {
        QString from, to;
    };

    std::vector<Started> started;
    std::vector<Copy> copies;
    QString medium;                    // the removable medium's folder; empty: none
    std::optional<DiscWriter> writer;  // the disc-writing program; none: not installed
    bool copyFails = false;
    QStringList opened;
    int registrations = 0;
    bool startSucceeds = true;
};
