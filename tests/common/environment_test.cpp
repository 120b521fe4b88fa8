// The thread count follows the environment as the system holds it: on
// Windows a change made through the Win32 environment (what MATLAB's setenv
// and another C runtime reach) is seen at the next call, not only one made
// through this program's own C runtime.
#include "common/parallel.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <cstdlib>
#endif

namespace {

void setThreads(const char *value) {
#if defined(_WIN32)
    ASSERT_TRUE(SetEnvironmentVariableA("GRIDMEX_THREADS", value));
#else
    if (value) {
        ASSERT_EQ(setenv("GRIDMEX_THREADS", value, 1), 0);
    } else {
        ASSERT_EQ(unsetenv("GRIDMEX_THREADS"), 0);
    }
#endif
}

TEST(Environment, ThreadCountFollowsTheSystemEnvironment) {
    setThreads(nullptr);
    const int byDefault = grid::threadsWanted();
    EXPECT_GE(byDefault, 1);
    setThreads("3");
    EXPECT_EQ(grid::threadsWanted(), 3);
    setThreads("1000");
    EXPECT_EQ(grid::threadsWanted(), 256);
    setThreads("none");
    EXPECT_EQ(grid::threadsWanted(), byDefault);
    setThreads(nullptr);
    EXPECT_EQ(grid::threadsWanted(), byDefault);
}

}  // namespace
