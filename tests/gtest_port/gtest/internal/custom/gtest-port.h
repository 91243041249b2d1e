// GoogleTest's place for a platform's own pieces, used where the C++ library has no
// std::mutex: GCC 12's for MinGW's Win32 threads, which 32-bit Windows is built with so
// that kestrum-cli.exe runs on Windows XP. GoogleTest's own locks are Win32 critical
// sections there; only its Notification, which starts the threads of its own thread
// tests, is made of std::mutex and std::condition_variable. Ours is a flag the waiting
// thread spins on: our tests start no threads, so it is never waited for.
#ifndef KESTRUM_GTEST_PORT_H
#define KESTRUM_GTEST_PORT_H

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
public:
    void Notify() { notified.store(true, std::memory_order_release); }
    void WaitForNotification()
    {
        while (!notified.load(std::memory_order_acquire)) {
        }
    }

private:
    std::atomic<bool> notified{false};
};

}  // namespace testing::internal

#endif
