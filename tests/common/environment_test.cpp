// The thread count follows the environment as the system holds it: on
// Windows a change made through the Win32 environment (what MATLAB's setenv
// and another C runtime reach) is seen at the next call, not only one made
// through this program's own C runtime.  Without the variable, a thread
// narrowed to fewer processors (taskset, a batch job's cores) uses no more.
#include "common/parallel.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <cstdlib>
#endif
#if defined(__linux__)
#include <sched.h>
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

#if defined(__linux__)
TEST(Environment, ThreadCountFollowsTheAffinityMask) {
    cpu_set_t all;
    ASSERT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
    int first = 0;
    while (!CPU_ISSET(first, &all)) ++first;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(first, &one);
    setThreads(nullptr);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    const int narrowed = grid::threadsWanted();
    setThreads("2");
    const int asked = grid::threadsWanted();
    setThreads(nullptr);
    ASSERT_EQ(sched_setaffinity(0, sizeof all, &all), 0);
    EXPECT_EQ(narrowed, 1);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(grid::threadsWanted(), CPU_COUNT(&all));
}
#endif

}  // namespace
