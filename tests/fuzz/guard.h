// Makes a crash or a hang inside a plug-in name its culprit: the call in
// progress is recorded before it starts, a crash handler (or the
// sanitizers' death callback) prints it, and a watchdog thread prints it and
// ends the process (_Exit) when one call runs longer than its time bound.
#ifndef GRIDMEX_FUZZ_GUARD_H
#define GRIDMEX_FUZZ_GUARD_H

#include <string>

namespace fuzz {

// Installs the crash report and starts the watchdog (once per process).
void startGuard(double secondsPerCall);

// Brackets one call; `what` names the plug-in and the call.
void callStarts(const std::string &what);
void callEnds();

}  // namespace fuzz

#endif
