#include "gui/shell/sessionend.h"

#include <QSocketNotifier>

#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace qmx {

namespace {

// [0] is written by the handler, [1] read by the event loop.
int pipeEnds[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGHUP};

void onSignal(int signal)
{
    const char byte = static_cast<char>(signal);
    // Nothing to do if it fails: the socket is full of earlier signals.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[0], &byte, 1);
}

} // namespace

SessionEnd::SessionEnd(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0)
        return;
    notifier_ = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SessionEnd::readSignal);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : kSignals)
        sigaction(s, &action, nullptr);
}

SessionEnd::~SessionEnd()
{
    delete notifier_;
    for (int s : kSignals)
        std::signal(s, SIG_DFL);
    if (pipeEnds[0] >= 0) {
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        pipeEnds[0] = pipeEnds[1] = -1;
    }
}

void SessionEnd::readSignal()
{
    char byte = 0;
    while (::read(pipeEnds[1], &byte, 1) == 1)
        Q_EMIT ended(static_cast<unsigned char>(byte));
}

} // namespace qmx
