#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <tuple>

#include "app/CloseSignals.h"

namespace kestrova::testing {
namespace {

// Each in a child of its own, as the handlers are the process's. The first of the three
// signals is handed to the UI thread through the pipe and the program goes on; a second, of
// any of the three, ends it at once by that signal. One the program was started with ignored
// stays ignored, before the first and after.
TEST(CloseSignals, TheFirstAsksToCloseTheSecondEndsAtOnce) {
    const std::tuple<int, int, int> cases[] = {
        // ignored from the start (0: none), first, second
        {0, SIGTERM, SIGTERM},     {0, SIGINT, SIGHUP},       {0, SIGHUP, SIGINT},
        {SIGHUP, SIGTERM, SIGINT}, {SIGINT, SIGHUP, SIGTERM},
    };
    for (const auto& [ignored, first, second] : cases) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (const int s : {SIGTERM, SIGINT, SIGHUP}) {  // as a shell leaves them, not nohup
                ::signal(s, SIG_DFL);
            }
            ::signal(ignored, SIG_IGN);  // signal 0 is none: nothing happens
            const int fd = WatchCloseSignals();
            const bool told = fd >= 0 && ::raise(ignored) == 0 && TakeCloseSignal(fd) == 0 &&
                              ::raise(first) == 0 && TakeCloseSignal(fd) == first &&
                              TakeCloseSignal(fd) == 0 && ::raise(ignored) == 0;
            if (told) {
                ::raise(second);
            }
            ::_exit(told ? 2 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == second)
            << first << " then " << second << ": exit " << WEXITSTATUS(status) << ", signal "
            << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    }
}

}  // namespace
}  // namespace kestrova::testing
