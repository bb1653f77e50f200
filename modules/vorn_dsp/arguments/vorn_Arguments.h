#pragma once

namespace juce::vorn_dsp
{

/** Separates a label's name from its value: ": ". */
extern const std::string prefixValueSeparator;

/** The number in fixed-point notation with exactly `precision` decimals. */
template <typename FloatType>
std::string stringFromFloat (FloatType value, int precision)
{
    std::ostringstream stream;
    stream << std::fixed << std::setprecision (precision) << value;
    return stream.str();
}

/** The DSP-side copy of one setting: writers set a target on any thread, the
    audio thread advances a linear ramp towards it and publishes the result
    as `tracked`. Two busy flags replace locks, and nobody waits for them on
    the way of a block: a writer or a reset that finds `valueBusy` held parks
    its request in atomics, and whoever takes the flag next (another writer,
    or the audio thread at the start of its update) carries it out. The
    audio thread only tries the flags and skips its update for a block when
    one is held.

    With `Tracking` false the values leave unconverted; with `Tracking` true
    `trackingValue` converts each published value (percent to fraction,
    microseconds to seconds in the subclasses). */
template <typename FloatType, bool Tracking>
class FloatArg_v2
{
public:
    explicit FloatArg_v2 (FloatType initialValue = 0)
        : current (initialValue), target (initialValue)
    {
        tracked.store (initialValue);
        requestedTarget.store (initialValue);
    }

    /** The label of the newest target asked for, readable on any thread. */
    virtual std::string getLabelText (int decimals)
    {
        return prefix() + stringFromFloat (requestedTarget.load(), decimals) + postfix;
    }

    virtual FloatType trackingValue (FloatType x) { return x; }
    virtual void _reset() {}

    /** Publishes the initial value; derived classes call it from their
        constructor, where the conversion of the subclass is in place. */
    void initialise (FloatType value)
    {
        current = target = value;
        stepsRemaining = 0;
        tracked.store (output (value));
        requestedTarget.store (value);
    }

    /** Any thread, never waits: moves the target, starting a ramp from
        `current` when it differs; a repeated target is ignored. When
        `valueBusy` is held elsewhere the value is parked, and the holder's
        successor (at the latest the audio thread's next update) applies it. */
    void setTarget (FloatType value) noexcept
    {
        requestedTarget.store (value);
        targetParked.store (true, std::memory_order_release);
        applyParkedIfFree();
    }

    /** With `valueBusy` held. Callers outside the class go through
        `setTarget`, which keeps `requestedTarget` in step. */
    void setTargetWhileHeld (FloatType value) noexcept
    {
        if (value == target)
            return;

        target = value;

        if (value != current)
        {
            stepsRemaining = rampLength;
            increment = (value - current) / (FloatType) rampLength;
        }
        else
        {
            stepsRemaining = 0;
        }
    }

    /** With `valueBusy` held: adopts a new sample rate for the 0.075 s ramp. */
    void setRampTime (FloatType rate) noexcept
    {
        if (rate != sampleRate || rampSeconds != (FloatType) 0.075)
        {
            sampleRate = rate;
            rampSeconds = (FloatType) 0.075;
            rampLength = (int) std::floor (rate * rampSeconds + 1);

            if (stepsRemaining > 0)
                increment = (target - current) / (FloatType) stepsRemaining;
        }
    }

    /** With `valueBusy` held: ends a running ramp at its target. */
    void snap() noexcept
    {
        if (stepsRemaining > 0)
        {
            current = target;
            stepsRemaining = 0;
            tracked.store (output (target));
        }

        _reset();
    }

    /** The reset sequence of the owners: ramp time for `rate`, then snap to
        the newest target. Never waits; parked like a target when a writer
        holds `valueBusy` at that moment. */
    void resetForSampleRate (FloatType rate) noexcept
    {
        parkedRate.store (rate);
        resetParked.store (true, std::memory_order_release);
        applyParkedIfFree();
    }

    /** With `valueBusy` held: carries out what writers and resets parked,
        the target first, so that a reset snaps to the newest target. */
    void applyParked() noexcept
    {
        // Plain loads first: this runs for every argument in every block,
        // and a read-modify-write costs far more than a load.
        if (targetParked.load (std::memory_order_acquire) && targetParked.exchange (false, std::memory_order_acq_rel))
            setTargetWhileHeld (requestedTarget.load());

        if (resetParked.load (std::memory_order_acquire) && resetParked.exchange (false, std::memory_order_acq_rel))
        {
            setRampTime (parkedRate.load());
            snap();
        }
    }

    /** With `valueBusy` held: one step of the ramp; the last step lands on
        the target exactly. */
    void step() noexcept
    {
        if (stepsRemaining > 0)
        {
            current += increment;

            if (--stepsRemaining == 0)
                current = target;
        }
    }

    /** Reserves the queue so that filling it never allocates. */
    void setQueueSize (int n)
    {
        busy::acquireBlocking (queueBusy, queueWaitMs);
        queue.reserve ((size_t) jmax (0, n));
        busy::release (queueBusy);
    }

    /** Whether the value sits still at exactly `value`. Uses the tracked
        value when another thread holds the flag. */
    bool isAtRest (FloatType value) noexcept
    {
        if (valueBusy.load (std::memory_order_acquire))
            return tracked.load() == output (value);

        if (! busy::tryAcquire (valueBusy))
            return tracked.load() == output (value);

        applyParked();
        const bool atRest = stepsRemaining <= 0 && current == value;
        busy::release (valueBusy);
        return atRest;
    }

    /** Block-rate consumers (`Tracking` false): advances the ramp by up to
        `n` steps and queues the value after the first one. On success the
        caller reads the queue and then calls `releaseQueue`. */
    bool tryGetNextAndSkipSteps (int n) noexcept
    {
        if (n < 1 || valueBusy.load (std::memory_order_acquire) || ! busy::tryAcquire (valueBusy))
            return false;

        if (! busy::tryAcquire (queueBusy))
        {
            busy::release (valueBusy);
            return false;
        }

        applyParked();
        queueActive = true;
        queue.clear();
        queueIndex = 0;

        if (stepsRemaining <= 0)
        {
            pushToQueue (tracked.load());
        }
        else
        {
            step();
            pushToQueue (current);

            for (int i = 1; i < n && stepsRemaining > 0; ++i)
                step();

            tracked.store (current);
        }

        busy::release (valueBusy);
        return true;
    }

    /** Per-step consumers (`Tracking` true): advances the ramp by up to `n`
        steps, queueing every converted value. Returns false, touching
        nothing, when a flag is held elsewhere. */
    bool tryFillQueueStepByStep (int n) noexcept
    {
        if (! tryAcquireBoth())
            return false;

        queueActive = true;
        queue.clear();

        for (int i = 0; i < n && stepsRemaining > 0; ++i)
        {
            step();
            pushToQueue (output (current));
        }

        if (! queue.empty())
        {
            tracked.store (queue.back());
            queueIndex = (int) queue.size() - 1;
        }
        else
        {
            pushToQueue (tracked.load());
            queueIndex = 0;
        }

        busy::release (valueBusy);
        return true;
    }

    /** Sample-rate consumers needing one value per block (`Tracking` true):
        advances the ramp by `n` steps and queues the value after the last. */
    bool trySkipAndQueueOne (int n) noexcept
    {
        if (n <= 0 || ! tryAcquireBoth())
            return false;

        queueActive = true;
        queue.clear();

        for (int i = 0; i < n - 1 && stepsRemaining > 0; ++i)
            step();

        tracked.store (output (current));

        if (stepsRemaining > 0)
        {
            step();
            tracked.store (output (current));
        }

        pushToQueue (tracked.load());
        queueIndex = 0;
        busy::release (valueBusy);
        return true;
    }

    void releaseQueue() noexcept
    {
        queueActive = false;
        busy::release (queueBusy);
    }

    std::atomic<bool> valueBusy { false };
    int valueWaitMs = 1;
    bool queueActive = false;
    FloatType current;
    FloatType target;
    FloatType increment = 0;
    FloatType rampSeconds = (FloatType) 0.075;
    FloatType sampleRate = 44100;
    int rampLength = 3308;
    int stepsRemaining = 0;
    std::atomic<FloatType> tracked { 0 };
    std::string name = "Value";
    std::string postfix;
    std::atomic<bool> queueBusy { false };
    int queueWaitMs = 1;
    std::vector<FloatType> queue;
    int queueIndex = 0;

    // Requests parked by writers and resets that found `valueBusy` held.
    std::atomic<FloatType> requestedTarget { 0 };
    std::atomic<bool> targetParked { false };
    std::atomic<FloatType> parkedRate { 0 };
    std::atomic<bool> resetParked { false };

protected:
    FloatType output (FloatType x)
    {
        if constexpr (Tracking)
            return trackingValue (x);
        else
            return x;
    }

    std::string prefix() const
    {
        return name.empty() ? std::string() : name + prefixValueSeparator;
    }

    /** Replaces `text` by the label's prefix, `text` and `postfix`. */
    void _concatPrefixPostfix (std::string& text) const
    {
        text = prefix() + text + postfix;
    }

private:
    void applyParkedIfFree() noexcept
    {
        if (busy::tryAcquire (valueBusy))
        {
            applyParked();
            busy::release (valueBusy);
        }
    }

    /** Takes both flags and carries out the parked requests, or takes
        nothing. */
    bool tryAcquireBoth() noexcept
    {
        if (! busy::tryAcquire (valueBusy))
            return false;

        if (! busy::tryAcquire (queueBusy))
        {
            busy::release (valueBusy);
            return false;
        }

        applyParked();
        return true;
    }

    // The queue is reserved beforehand; a value beyond its capacity is
    // dropped rather than allocated on the audio thread.
    void pushToQueue (FloatType value) noexcept
    {
        if (queue.size() < queue.capacity())
            queue.push_back (value);
    }
};

/** A ramped percentage whose tracked value is a fraction (100 % reads 1). */
template <typename FloatType>
class PercentArg_v2 final : public FloatArg_v2<FloatType, true>
{
public:
    explicit PercentArg_v2 (FloatType initialPercent)
    {
        this->initialise (initialPercent);
    }

    FloatType trackingValue (FloatType x) override { return x * (FloatType) 0.01; }
};

/** A setting that is read as it stands, without ramp. */
template <typename FloatType>
struct FloatArgNoRamp_v2
{
    explicit FloatArgNoRamp_v2 (FloatType initialValue = 0) : value (initialValue) {}

    std::atomic<FloatType> value;
    std::string name = "Value";
    std::string postfix;
};

struct IntArg_v2
{
    explicit IntArg_v2 (int initialValue = 0) : value (initialValue) {}

    std::atomic<int> value;
    std::string name = "Value";
    std::string postfix;
};

/** An index into a list of names. */
struct ChoiceArg_v2
{
    explicit ChoiceArg_v2 (std::vector<std::string> choiceNames, int initialIndex = 0)
        : index (initialIndex), choices (std::move (choiceNames)), numChoices ((int) choices.size())
    {
    }

    /** The current choice's name; empty for an index outside the list. */
    const std::string& currentName() const noexcept
    {
        static const std::string none;
        const auto i = index.load();
        return isPositiveAndBelow (i, numChoices) ? choices[(size_t) i] : none;
    }

    std::atomic<int> index;
    std::vector<std::string> choices;
    int numChoices;
    std::string name = "Value";
    std::string postfix;
};

} // namespace juce::vorn_dsp
