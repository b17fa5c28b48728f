// Built into the tests of a ThreadSanitizer build only (RM_TSAN). The C++ library's timed
// mutexes wait with pthread_mutex_clocklock, which the sanitizer's runtime does not watch, so
// it would miss every lock taken that way and report its unlock and the data it guards. This
// takes such a lock through pthread_mutex_timedlock, which the runtime does watch.

#include <pthread.h>
#include <time.h>

#include <cerrno>

extern "C" int pthread_mutex_clocklock(pthread_mutex_t* mutex, clockid_t clock,
                                       const struct timespec* deadline) {
    if (clock == CLOCK_REALTIME)
        return pthread_mutex_timedlock(mutex, deadline);
    timespec now{};
    timespec wall{};
    if (clock_gettime(clock, &now) != 0 || clock_gettime(CLOCK_REALTIME, &wall) != 0)
        return EINVAL;
    long long nanos = (static_cast<long long>(deadline->tv_sec) - now.tv_sec) * 1000000000LL +
                      (deadline->tv_nsec - now.tv_nsec);
    if (nanos < 0)
        nanos = 0;
    nanos += wall.tv_nsec;
    timespec realDeadline{};
    realDeadline.tv_sec = wall.tv_sec + static_cast<time_t>(nanos / 1000000000LL);
    realDeadline.tv_nsec = static_cast<long>(nanos % 1000000000LL);
    return pthread_mutex_timedlock(mutex, &realDeadline);
}
