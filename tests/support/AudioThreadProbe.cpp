#include "AudioThreadProbe.h"

#include <cerrno>
#include <cstddef>
#include <ctime>
#include <dlfcn.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
 #define AUDIO_THREAD_PROBE_OFF 1
#elif defined(__has_feature)
 #if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
  #define AUDIO_THREAD_PROBE_OFF 1
 #endif
#endif

namespace
{
thread_local bool armed = false;
thread_local int allocationCount = 0;
thread_local int sleepCount = 0;

inline void countAllocation() noexcept
{
    if (armed)
        ++allocationCount;
}

inline void countSleep() noexcept
{
    if (armed)
        ++sleepCount;
}
} // namespace

namespace audio_thread_probe
{
#ifdef AUDIO_THREAD_PROBE_OFF
bool available() noexcept { return false; }
#else
bool available() noexcept { return true; }
#endif

void arm() noexcept
{
    allocationCount = 0;
    sleepCount = 0;
    armed = true;
}

void disarm() noexcept { armed = false; }
int allocations() noexcept { return allocationCount; }
int sleeps() noexcept { return sleepCount; }
} // namespace audio_thread_probe

#ifndef AUDIO_THREAD_PROBE_OFF

// glibc's own entry points, which its malloc replacements are meant to call.
extern "C"
{
void* __libc_malloc (std::size_t);
void* __libc_calloc (std::size_t, std::size_t);
void* __libc_realloc (void*, std::size_t);
void* __libc_memalign (std::size_t, std::size_t);
void* __libc_valloc (std::size_t);

void* malloc (std::size_t size)
{
    countAllocation();
    return __libc_malloc (size);
}

void* calloc (std::size_t count, std::size_t size)
{
    countAllocation();
    return __libc_calloc (count, size);
}

void* realloc (void* p, std::size_t size)
{
    countAllocation();
    return __libc_realloc (p, size);
}

void* memalign (std::size_t alignment, std::size_t size)
{
    countAllocation();
    return __libc_memalign (alignment, size);
}

void* aligned_alloc (std::size_t alignment, std::size_t size)
{
    countAllocation();
    return __libc_memalign (alignment, size);
}

void* valloc (std::size_t size)
{
    countAllocation();
    return __libc_valloc (size);
}

int posix_memalign (void** result, std::size_t alignment, std::size_t size)
{
    countAllocation();

    if (alignment % sizeof (void*) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;

    *result = __libc_memalign (alignment, size);
    return *result != nullptr || size == 0 ? 0 : ENOMEM;
}
}

namespace
{
template <typename Function>
Function next (const char* name) noexcept
{
    return reinterpret_cast<Function> (dlsym (RTLD_NEXT, name));
}

using NanosleepFunction = int (*) (const timespec*, timespec*);
using ClockNanosleepFunction = int (*) (clockid_t, int, const timespec*, timespec*);
using UsleepFunction = int (*) (useconds_t);

// Looked up while the program starts, before any thread counts.
NanosleepFunction realNanosleep = next<NanosleepFunction> ("nanosleep");
ClockNanosleepFunction realClockNanosleep = next<ClockNanosleepFunction> ("clock_nanosleep");
UsleepFunction realUsleep = next<UsleepFunction> ("usleep");
} // namespace

// The sleep functions: every sleep, whatever waits with it, ends up here.
extern "C"
{
int nanosleep (const timespec* duration, timespec* remaining)
{
    countSleep();
    if (realNanosleep == nullptr)
        realNanosleep = next<NanosleepFunction> ("nanosleep");
    return realNanosleep (duration, remaining);
}

int clock_nanosleep (clockid_t clock, int flags, const timespec* until, timespec* remaining)
{
    countSleep();
    if (realClockNanosleep == nullptr)
        realClockNanosleep = next<ClockNanosleepFunction> ("clock_nanosleep");
    return realClockNanosleep (clock, flags, until, remaining);
}

int usleep (useconds_t microseconds)
{
    countSleep();
    if (realUsleep == nullptr)
        realUsleep = next<UsleepFunction> ("usleep");
    return realUsleep (microseconds);
}
}

#endif
