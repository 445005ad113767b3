#include "termination.h"

#include "field_binder.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
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

// What leaving the focused boxes would do: a cell being edited in a grid
// goes into its row, a box that is left tells so (an amount that follows a
// quantity is recomputed).
void leaveFocusedBoxes()
{
    for (QWidget* box : FieldBinder::focusedBoxes()) {
        QAbstractItemView* view = nullptr;
        QWidget* editor = box;
        for (QWidget* w = box; w && !view; w = w->parentWidget()) {
            if (auto* v = qobject_cast<QAbstractItemView*>(w->parentWidget()); v && w == v->viewport())
                view = v;
            else
                editor = w;
        }
        // A widget in a grid's viewport is a cell's open editor; the grid
        // ignores anything else.
        if (view) {
            if (QAbstractItemDelegate* delegate = view->itemDelegateForIndex(view->currentIndex()))
                Q_EMIT delegate->commitData(editor);
            continue;
        }
        if (auto* line = qobject_cast<QLineEdit*>(box); line && line->hasAcceptableInput())
            Q_EMIT line->editingFinished();
    }
}

} // namespace

void install(std::function<void()> save)
{
    // A date box commits its text only when it is left, a grid's cell when
    // its editor closes; at the end what is being typed there counts as
    // well, and whatever follows from leaving a box follows.
    save = [save = std::move(save)] {
        FieldBinder::commitFocusedDate();
        leaveFocusedBoxes();
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
