#include "tests/fuzz/guard.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define GRIDMEX_FUZZ_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GRIDMEX_FUZZ_SANITIZED 1
#endif
#endif
#ifdef GRIDMEX_FUZZ_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

namespace fuzz {

namespace {

// The call in progress, kept in static storage so that a signal handler can
// print it without allocating.  The sweep writes it and the watchdog thread
// reads it under g_currentLock; a signal handler runs on the sweep's own
// thread during the call, after the description was written.
char g_current[16384];
std::mutex g_currentLock;
std::atomic<bool> g_busy{false};
std::atomic<long long> g_started{0};  // steady-clock milliseconds

long long nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void printCurrent(const char *headline) {
    ssize_t ignored = write(STDERR_FILENO, headline, std::strlen(headline));
    ignored = write(STDERR_FILENO, g_current, std::strlen(g_current));
    ignored = write(STDERR_FILENO, "\n", 1);
    (void)ignored;
}

void onDeath() {
    if (g_busy.load()) printCurrent("\n*** the plug-in call in progress:\n");
}

#ifndef GRIDMEX_FUZZ_SANITIZED
void onSignal(int sig) {
    onDeath();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}
#endif

}  // namespace

void startGuard(double secondsPerCall) {
    static std::once_flag once;
    std::call_once(once, [secondsPerCall] {
#ifdef GRIDMEX_FUZZ_SANITIZED
        __sanitizer_set_death_callback(onDeath);
#else
        // Windows has no SIGBUS.
        const int crashes[] = {SIGSEGV, SIGFPE, SIGILL, SIGABRT,
#ifdef SIGBUS
                               SIGBUS
#endif
        };
        for (int sig : crashes) std::signal(sig, onSignal);
#endif
        long long limit = static_cast<long long>(secondsPerCall * 1000);
        std::thread([limit] {
            for (;;) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                std::lock_guard<std::mutex> hold(g_currentLock);
                if (g_busy.load() && nowMs() - g_started.load() > limit) {
                    printCurrent("\n*** a plug-in call exceeded its time bound:\n");
                    std::_Exit(3);
                }
            }
        }).detach();
    });
}

void callStarts(const std::string &what) {
    std::lock_guard<std::mutex> hold(g_currentLock);
    std::snprintf(g_current, sizeof g_current, "%s", what.c_str());
    g_started.store(nowMs());
    g_busy.store(true);
}

void callEnds() {
    std::lock_guard<std::mutex> hold(g_currentLock);
    g_busy.store(false);
}

}  // namespace fuzz
