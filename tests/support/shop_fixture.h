#pragma once

#include "data/session.h"
#include "common/clock.h"
#include "support/fake_platform.h"
#include "common/scripted_dialogs.h"
#include "common/services.h"
#include "data/new_folder.h"
#include "support/temp_folder.h"

#include <memory>

// A new shop folder as the current folder, scripted dialogs, a fake
// platform, a fixed day, and the session that start-up opens on it.
struct ShopFixture {
    explicit ShopFixture(newfolder::Content content = newfolder::Content::Empty,
                         QDate today = QDate(2026, 12, 7));

    Services services() { return {dialogs, clock, platform}; }
    // Starts the program's session anew (as the next start would).
    bool restart();

    TempFolder folder;
    ScriptedDialogs dialogs;
    FakePlatform platform;
    FixedClock clock;
    std::unique_ptr<Session> session;
};
