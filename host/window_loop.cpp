#include "host/window_loop.h"

#include <pthread.h>

namespace host {

namespace {

volatile sig_atomic_t quitRequested = 0;

void noteQuitRequest(int)
{
    quitRequested = 1;
}

// For the loop's life the signals reach this thread through a handler that
// only notes them: the wait they interrupt ends at once, and asking whether
// one came costs no system call on each of the many idle passes a second.
class QuitSignals {
public:
    explicit QuitSignals(const sigset_t& signals) : signals_(signals)
    {
        quitRequested = 0;
        struct sigaction action{};
        action.sa_handler = noteQuitRequest;
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        for (int number = 1; number < NSIG; ++number)
            if (sigismember(&signals_, number) == 1 && sigaction(number, &action, &before_[number]) == 0)
                installed_[number] = true;
        pthread_sigmask(SIG_UNBLOCK, &signals_, nullptr);
    }
    ~QuitSignals()
    {
        // Blocked again, later ones wait for whoever asks after the loop.
        pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
        for (int number = 1; number < NSIG; ++number)
            if (installed_[number])
                sigaction(number, &before_[number], nullptr);
    }
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    bool arrived() const { return quitRequested != 0; }

private:
    sigset_t signals_;
    struct sigaction before_[NSIG]{};
    bool installed_[NSIG]{};
};

} // namespace

void runWindowLoop(platform::WindowSystem& windows, MainWindow& window, const sigset_t& signals)
{
    QuitSignals quit(signals);
    while (window.isOpen()) {
        windows.waitForEvents(kIdlePeriodMs);
        if (quit.arrived()) {
            window.close();
            break;
        }
        windows.pump();
    }
}

} // namespace host
