#include "termination.h"

#include "field_binder.h"

#include <QApplication>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace termination {
namespace {

// A signal handler may only write to a file descriptor; the event loop
// reads the other end and does the saving on the program's own thread.
int g_pipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[0], &byte, 1);
}

} // namespace

void install(std::function<void()> save)
{
    // A date box commits its text only when it is left; at the end the
    // text being typed there counts as well.
    save = [save = std::move(save)] {
        FieldBinder::commitFocusedDate();
        save();
    };
    auto* app = QCoreApplication::instance();
    if (!app || g_pipe[0] >= 0)
        return;

    // The desktop session is ending: save now; the session ends the program.
    if (auto* gui = qobject_cast<QGuiApplication*>(app)) {
        QObject::connect(gui, &QGuiApplication::commitDataRequest, app, [save](QSessionManager&) { save(); },
                         Qt::DirectConnection);
    }

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_pipe) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        return;
    }
    auto* notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, app);
    QObject::connect(notifier, &QSocketNotifier::activated, app, [notifier, save] {
        notifier->setEnabled(false);
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(g_pipe[1], &byte, 1);
        save();
        QCoreApplication::exit(0);
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

} // namespace termination
