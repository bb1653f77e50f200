#pragma once

namespace juce::vorn_dsp::busy
{

/** How often `acquireBlocking` found the flag held and had to wait, on the
    calling thread. Nothing on the way of a block may ever wait; tests read
    this on their audio thread. */
inline thread_local int waitsOnThisThread = 0;

/** Preparation only (never on the way of a block): wait until the flag is
    free, sleeping `waitMs` between looks (spinning when it is 0 or less),
    then take it. */
inline void acquireBlocking (std::atomic<bool>& flag, int waitMs) noexcept
{
    while (flag.exchange (true, std::memory_order_acquire))
    {
        ++waitsOnThisThread;

        if (waitMs > 0)
            Thread::sleep (waitMs);
    }
}

/** Take the flag only if it is free; never wait. */
inline bool tryAcquire (std::atomic<bool>& flag) noexcept
{
    return ! flag.exchange (true, std::memory_order_acquire);
}

inline void release (std::atomic<bool>& flag) noexcept
{
    flag.store (false, std::memory_order_release);
}

} // namespace juce::vorn_dsp::busy
