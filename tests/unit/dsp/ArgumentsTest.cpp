#include <vorn_dsp/vorn_dsp.h>
#include <gtest/gtest.h>

#include <thread>

namespace
{
using namespace juce::vorn_dsp;
using Micros = PalimpsesterStage<float>::SecondsTrackingMicrosecondsArg_v2<float>;

template <typename Arg>
void prepareAt (Arg& arg, float sampleRate, int queueSize = 4096)
{
    arg.setQueueSize (queueSize);
    arg.resetForSampleRate (sampleRate);
}

TEST (Arguments, RampLengthFollowsTheSampleRate)
{
    PercentArg_v2<float> mix { 100 };
    EXPECT_EQ (mix.rampLength, 3308);
    prepareAt (mix, 48000.0f);
    EXPECT_EQ (mix.rampLength, 3601);
    prepareAt (mix, 44100.0f);
    EXPECT_EQ (mix.rampLength, 3308);
}

TEST (Arguments, RampLandsOnTheTargetBitForBit)
{
    FloatArg_v2<float, false> arg { 0.1f };
    arg.setTarget (0.7f);
    ASSERT_EQ (arg.stepsRemaining, arg.rampLength);

    for (int i = 0; i < arg.rampLength - 1; ++i)
        arg.step();
    EXPECT_NE (arg.current, 0.7f);

    arg.step();
    EXPECT_EQ (arg.current, 0.7f);
    EXPECT_EQ (arg.stepsRemaining, 0);
}

TEST (Arguments, TargetChangesRestartIgnoreOrStopTheRamp)
{
    FloatArg_v2<float, false> arg { 0 };
    arg.setTarget (10);
    for (int i = 0; i < 100; ++i)
        arg.step();

    // The same target again does not restart the ramp.
    arg.setTarget (10);
    EXPECT_EQ (arg.stepsRemaining, arg.rampLength - 100);

    // A new target mid-ramp restarts from where the ramp is.
    const auto midway = arg.current;
    arg.setTarget (-5);
    EXPECT_EQ (arg.stepsRemaining, arg.rampLength);
    EXPECT_FLOAT_EQ (arg.increment, (-5 - midway) / (float) arg.rampLength);

    // A target equal to the present value stops the ramp there.
    arg.step();
    const auto here = arg.current;
    arg.setTarget (here);
    EXPECT_EQ (arg.stepsRemaining, 0);
    arg.step();
    EXPECT_EQ (arg.current, here);
}

TEST (Arguments, TrackedValuesAreConverted)
{
    PercentArg_v2<float> mix { 100 };
    EXPECT_EQ (mix.tracked.load(), 1.0f);

    Micros length { 11 };
    EXPECT_EQ (length.tracked.load(), 11 * 0.000001f);
}

TEST (Arguments, LabelTexts)
{
    PercentArg_v2<float> mix { 100 };
    mix.name = "Mix";
    mix.postfix = "%";
    EXPECT_EQ (mix.getLabelText (1), "Mix: 100.0%");
    mix.name.clear();
    EXPECT_EQ (mix.getLabelText (1), "100.0%");
    EXPECT_EQ (stringFromFloat (11.0f, 1), "11.0");
    EXPECT_EQ (stringFromFloat (2.345f, 0), "2");
    EXPECT_EQ (prefixValueSeparator, ": ");
}

TEST (Arguments, StepByStepFillQueuesEveryStepAndTracksTheLast)
{
    PercentArg_v2<float> mix { 0 };
    prepareAt (mix, 100.0f); // 8 steps per ramp
    ASSERT_EQ (mix.rampLength, 8);
    mix.setTarget (80);

    ASSERT_TRUE (mix.tryFillQueueStepByStep (5));
    EXPECT_EQ (mix.queue.size(), 5u);
    EXPECT_EQ (mix.queueIndex, 4);
    EXPECT_FLOAT_EQ (mix.queue[0], 0.1f);
    EXPECT_EQ (mix.tracked.load(), mix.queue.back());
    mix.releaseQueue();

    // The ramp ends after three more steps; the queue stops there.
    ASSERT_TRUE (mix.tryFillQueueStepByStep (5));
    EXPECT_EQ (mix.queue.size(), 3u);
    EXPECT_EQ (mix.queue.back(), 80 * 0.01f);
    mix.releaseQueue();

    // At rest: one value, the tracked one.
    ASSERT_TRUE (mix.tryFillQueueStepByStep (5));
    EXPECT_EQ (mix.queue, (std::vector<float> { 80 * 0.01f }));
    EXPECT_EQ (mix.queueIndex, 0);
    mix.releaseQueue();
}

TEST (Arguments, SkipAndQueueOneAdvancesByTheStepCount)
{
    Micros length { 10 };
    prepareAt (length, 100.0f);
    length.setTarget (18); // one microsecond per step

    ASSERT_TRUE (length.trySkipAndQueueOne (3));
    ASSERT_EQ (length.queue.size(), 1u);
    EXPECT_FLOAT_EQ (length.queue[0], 13 * 0.000001f);
    EXPECT_EQ (length.tracked.load(), length.queue[0]);
    length.releaseQueue();

    EXPECT_FALSE (length.trySkipAndQueueOne (0));
}

/** Holds an argument's `valueBusy` on another thread, as a writer in the
    middle of its update would, until the object goes away. */
struct FlagHolder
{
    explicit FlagHolder (std::atomic<bool>& f) : flag (f)
    {
        thread = std::thread ([this]
        {
            busy::acquireBlocking (flag, 1);
            held = true;
            while (! done)
                std::this_thread::yield();
            busy::release (flag);
        });

        while (! held)
            std::this_thread::yield();
    }

    ~FlagHolder()
    {
        done = true;
        thread.join();
    }

    std::atomic<bool>& flag;
    std::atomic<bool> held { false }, done { false };
    std::thread thread;
};

TEST (Arguments, AudioThreadSkipsItsUpdateWhileAnotherThreadHoldsTheFlag)
{
    PercentArg_v2<float> mix { 0 };
    prepareAt (mix, 1000.0f);
    mix.setTarget (100);
    const auto trackedBefore = mix.tracked.load();

    {
        FlagHolder writer (mix.valueBusy);
        EXPECT_FALSE (mix.tryFillQueueStepByStep (10));
        EXPECT_FALSE (mix.trySkipAndQueueOne (10));
        EXPECT_EQ (mix.tracked.load(), trackedBefore);
        EXPECT_TRUE (mix.queue.empty());
        EXPECT_FALSE (mix.queueBusy.load());
        EXPECT_EQ (mix.stepsRemaining, mix.rampLength);
    }

    EXPECT_TRUE (mix.tryFillQueueStepByStep (10));
    EXPECT_EQ (mix.queue.size(), 10u);
    mix.releaseQueue();
}

TEST (Arguments, WritesAndResetsMeetingAHeldFlagAreParkedNotWaitedFor)
{
    PercentArg_v2<float> mix { 0 };
    mix.name = "Mix";
    mix.postfix = "%";
    prepareAt (mix, 1000.0f);
    busy::waitsOnThisThread = 0;

    {
        FlagHolder holder (mix.valueBusy);
        mix.setTarget (50);
        EXPECT_EQ (mix.target, 0.0f);              // not applied yet...
        EXPECT_EQ (mix.getLabelText (1), "Mix: 50.0%"); // ...but shown
        mix.setTarget (80);                         // the newest request wins
        mix.resetForSampleRate (1000.0f);
    }

    EXPECT_EQ (busy::waitsOnThisThread, 0);

    // The next update applies the parked target, then the parked reset
    // snaps to it.
    ASSERT_TRUE (mix.tryFillQueueStepByStep (4));
    EXPECT_EQ (mix.target, 80.0f);
    EXPECT_EQ (mix.current, 80.0f);
    EXPECT_EQ (mix.stepsRemaining, 0);
    EXPECT_EQ (mix.tracked.load(), 80 * 0.01f);
    mix.releaseQueue();

    // Uncontended writes apply at once.
    mix.setTarget (20);
    EXPECT_EQ (mix.target, 20.0f);
    EXPECT_EQ (mix.stepsRemaining, mix.rampLength);
}

TEST (Arguments, QueueFillsNeverGrowBeyondTheReservation)
{
    PercentArg_v2<float> mix { 0 };
    prepareAt (mix, 44100.0f, 16);
    mix.setTarget (100);
    const auto capacity = mix.queue.capacity();

    ASSERT_TRUE (mix.tryFillQueueStepByStep (1000));
    EXPECT_EQ (mix.queue.capacity(), capacity);
    EXPECT_LE (mix.queue.size(), capacity);
    mix.releaseQueue();
}

TEST (Arguments, BlockRateConsumerGetsTheValueAfterTheFirstStep)
{
    FloatArg_v2<float, false> gain { 0 };
    prepareAt (gain, 1000.0f); // 76 steps
    gain.setTarget (76);

    ASSERT_TRUE (gain.tryGetNextAndSkipSteps (10));
    EXPECT_FLOAT_EQ (gain.queue.front(), 1.0f);
    EXPECT_FLOAT_EQ (gain.tracked.load(), 10.0f);
    gain.releaseQueue();
    EXPECT_FALSE (gain.tryGetNextAndSkipSteps (0));
}
} // namespace
