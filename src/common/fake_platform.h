#pragma once

#include "platform.h"

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

    std::vector<Started> started;
    QStringList opened;
    int registrations = 0;
    bool startSucceeds = true;
};
