#pragma once

namespace juce::vorn_dsp::busy
{

/** Writers off the audio thread, and resets: wait until the flag is free,
    sleeping `waitMs` between looks (spinning when it is 0 or less), then
    take it. */
inline void acquireBlocking (std::atomic<bool>& flag, int waitMs) noexcept
{
    while (flag.exchange (true, std::memory_order_acquire))
    {
        if (waitMs > 0)
            Thread::sleep (waitMs);
    }
}

/** The audio thread: take the flag only if it is free; never wait. */
inline bool tryAcquire (std::atomic<bool>& flag) noexcept
{
    return ! flag.exchange (true, std::memory_order_acquire);
}

inline void release (std::atomic<bool>& flag) noexcept
{
    flag.store (false, std::memory_order_release);
}

} // namespace juce::vorn_dsp::busy
