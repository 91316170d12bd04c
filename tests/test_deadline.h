#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstddef>
#include <cstdio>

namespace tetrakon::testing {

// Ends the test program when one test runs longer than its deadline: a lock wait or a modal
// loop that never ends then fails the run within a minute instead of holding it for as long
// as the outer time-out allows.
class TestDeadline : public ::testing::EmptyTestEventListener {
  public:
    static constexpr unsigned kSeconds = 60;

    void OnTestStart(const ::testing::TestInfo& test) override {
        const int length = std::snprintf(message_, sizeof message_, "\n%s.%s ran over %u s\n",
                                         test.test_suite_name(), test.name(), kSeconds);
        length_ = length < 0 ? 0 : std::min<std::size_t>(length, sizeof message_ - 1);
        std::signal(SIGALRM, [](int) {
            const ssize_t written = ::write(STDERR_FILENO, message_, length_);
            static_cast<void>(written);
            ::_exit(124);
        });
        ::alarm(kSeconds);
    }
    void OnTestEnd(const ::testing::TestInfo&) override { ::alarm(0); }

  private:
    static inline char message_[256] = {};
    static inline std::size_t length_ = 0;
};

// Gives every test of the program the deadline; call before the tests run.
inline bool EndEveryTestWithinItsDeadline() {
    ::testing::UnitTest::GetInstance()->listeners().Append(new TestDeadline);
    return true;
}

}  // namespace tetrakon::testing
