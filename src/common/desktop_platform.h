#pragma once

#include "platform.h"

// The platform of a real desktop.
class DesktopPlatform final : public Platform {
public:
    bool startProgram(const QString& program, const QStringList& arguments, Window window) override;
    bool openDocument(const QString& pathOrUrl) override;
    void registerSubmissionFileTypes() override;
};
