#include <vorn_dsp/vorn_dsp.h>
#include <gtest/gtest.h>

namespace
{
using namespace juce::vorn_dsp;

TEST (CircularBuffer, ResetSizesARingOfAPowerOfTwo)
{
    CircularBuffer<float> ring;
    ring.reset (2, 3);
    EXPECT_EQ (ring.data.size(), 8u);
    EXPECT_EQ (ring.mask, 7);
    EXPECT_EQ (ring.positions, (std::vector<int> { 0, 3 }));

    ring.reset (1, 1);
    EXPECT_EQ (ring.data.size(), 2u);
    EXPECT_EQ (ring.mask, 1);
}

TEST (CircularBuffer, BlockWritesAndReadsWrapLikeSingleSamples)
{
    CircularBuffer<float> single, block;
    single.reset (2, 5);
    block.reset (2, 5);

    std::vector<float> samples (13);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = (float) i + 1;

    // Channels advance together, at most `size` samples per round, as the
    // owners write them block by block.
    int written = 0;
    for (int chunk : { 3, 2, 4, 4 })
    {
        for (int c = 0; c < 2; ++c)
        {
            for (int i = 0; i < chunk; ++i)
                single.write (c, samples[(size_t) (written + i)]);
            block.write (c, samples.data() + written, chunk);
        }
        written += chunk;
    }

    EXPECT_EQ (single.data, block.data);
    EXPECT_EQ (single.positions, block.positions);

    std::vector<float> lastFive (5);
    block.read (1, 4, lastFive.data(), 5);
    EXPECT_EQ (lastFive, (std::vector<float> { 9, 10, 11, 12, 13 }));
    EXPECT_EQ (block.read (0, 0), 13.0f);
}

TEST (CircularBufferQueue, PrefillIsSilenceWaitingToBeRead)
{
    CircularBufferQueue<float> queue;
    queue.reset (2, 10, 4);
    EXPECT_EQ (queue.available, (std::vector<int> { 4, 4 }));

    std::vector<float> popped (4, -1.0f);
    queue.pop (1, popped.data(), 4);
    EXPECT_EQ (popped, (std::vector<float> (4, 0.0f)));
    EXPECT_EQ (queue.available[1], 0);
    EXPECT_EQ (queue.available[0], 4);
}

TEST (CircularBufferQueue, OverfullPushKeepsTheNewestCapacity)
{
    CircularBufferQueue<float> queue;
    queue.reset (1, 10, 0);

    std::vector<float> pushed (12);
    for (size_t i = 0; i < pushed.size(); ++i)
        pushed[i] = (float) i + 1;

    queue.push (0, pushed.data(), 12);
    EXPECT_EQ (queue.available[0], 10);

    std::vector<float> popped (10);
    queue.pop (0, popped.data(), 10);
    EXPECT_EQ (popped, std::vector<float> (pushed.begin() + 2, pushed.end()));

    queue.discard (0, 5);
    EXPECT_EQ (queue.available[0], 0);
}

TEST (LagrangeInterpolator, ReproducesStraightLinesAndCubics)
{
    LagrangeInterpolator_4Points<float> line;
    line.start (0, 1, 2, 3);
    EXPECT_EQ (line.evaluate (0.5f), 1.5f);
    EXPECT_EQ (line.evaluate (0.0f), 1.0f);

    line.advance (4);
    EXPECT_EQ (line.point (0), 1.0f);
    EXPECT_EQ (line.point (3), 4.0f);
    EXPECT_EQ (line.evaluate (0.25f), 2.25f);

    // A cubic through four points is the cubic itself: x^3 - 2x.
    auto cubic = [] (float x) { return x * x * x - 2 * x; };
    LagrangeInterpolator_4Points<float> interpolator;
    interpolator.start (cubic (-1), cubic (0), cubic (1), cubic (2));
    for (float t : { 0.1f, 0.5f, 0.9f })
        EXPECT_NEAR (interpolator.evaluate (t), cubic (t), 1.0e-5f);
}
} // namespace
