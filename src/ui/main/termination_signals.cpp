#include "ui/main/termination_signals.h"

#include "core/errors.h"

#include <QSocketNotifier>

#include <array>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace tq {

namespace {

constexpr std::array<int, 3> kSignals{SIGTERM, SIGINT, SIGHUP};

volatile std::sig_atomic_t g_requested = 0;
int g_pipe[2] = {-1, -1};

// Only async-signal-safe calls here.
extern "C" void onTerminationSignal(int signalNumber) {
    if (g_requested != 0) {
        // A second signal while the first is being served: end now.
        std::signal(signalNumber, SIG_DFL);
        std::raise(signalNumber);
        return;
    }
    g_requested = signalNumber;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
}

} // namespace

void IgnoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent) {
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        throw TqError(ErrorKind::File, QStringLiteral("Cannot make the pipe for signals"));
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPipe);
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    // A wait in a system call goes on after the handler; the pipe wakes the event loop.
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
    for (const int signalNumber : kSignals)
        std::signal(signalNumber, SIG_DFL);
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

bool TerminationSignals::Requested() {
    return g_requested != 0;
}

void TerminationSignals::readPipe() {
    char byte = 0;
    while (::read(g_pipe[0], &byte, 1) > 0) {
    }
    m_notifier->setEnabled(false);
    emit requested();
}

} // namespace tq
