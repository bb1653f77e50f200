#pragma once

// Counts, on the thread that arms it, the heap allocations and the sleeps
// that happen in this process, in the test program's code and in any
// plug-in it loads: the program replaces the C allocation and sleep
// functions, and a loaded plug-in's calls reach them. Not available under
// the sanitizers, which replace the allocation functions themselves.

namespace audio_thread_probe
{

/** Whether the counting is built into this program. */
bool available() noexcept;

/** Starts counting on the calling thread, from zero. */
void arm() noexcept;

/** Stops counting on the calling thread. */
void disarm() noexcept;

/** What the calling thread did while armed. */
int allocations() noexcept;
int sleeps() noexcept;

} // namespace audio_thread_probe
