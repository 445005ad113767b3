#pragma once

class Clock;
class Dialogs;
class Platform;

// The services a command talks to the world through.
struct Services {
    Dialogs& dialogs;
    Clock& clock;
    Platform& platform;
};
