// The random generator and the clock.
#include "platform/Recording.h"
#include "platform/StdRandom.h"
#include "platform/SystemClock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>

namespace numbrelle {
namespace {

std::vector<float> draws(RandomSource& random, std::uint32_t seed, int count)
{
    random.seed(seed);
    std::vector<float> values;
    for (int i = 0; i < count; ++i)
        values.push_back(random.next());
    return values;
}

TEST(StdRandom, SameSeedSameSequence)
{
    StdRandom a, b;
    EXPECT_EQ(draws(a, 12345, 100), draws(b, 12345, 100));
    EXPECT_NE(draws(a, 12345, 100), draws(b, 12346, 100));
    // Seeding again starts the sequence over.
    std::vector<float> first = draws(a, 7, 10);
    EXPECT_EQ(draws(a, 7, 10), first);
}

TEST(StdRandom, UniformInUnitInterval)
{
    StdRandom random;
    std::vector<float> values = draws(random, 1, 200000);
    int buckets[10] = {};
    for (float value : values) {
        ASSERT_GE(value, 0.0f);
        ASSERT_LT(value, 1.0f);
        // Every value is a multiple of 2^-24, so scaling by 10 stays exact enough to bucket.
        ++buckets[static_cast<int>(value * 10)];
    }
    for (int count : buckets)
        EXPECT_NEAR(count, 20000, 1000);
}

TEST(ScriptedRandom, AnswersInTurnAndRecordsSeeds)
{
    ScriptedRandom random({ 0.5f, 0.25f });
    random.seed(3);
    EXPECT_EQ(draws(random, 4, 3), (std::vector<float> { 0.5f, 0.25f, 0.5f }));
    EXPECT_EQ(random.seeds, (std::vector<std::uint32_t> { 3, 4 }));
}

TEST(SystemClock, SecondsSinceLocalMidnight)
{
    const char* oldZone = std::getenv("TZ");
    std::string saved = oldZone ? oldZone : "";
    // A zone nine hours ahead of UTC with no daylight-saving time.
    setenv("TZ", "JST-9", 1);
    tzset();
    SystemClock clock;
    float seconds = clock.secondsSinceMidnight();
    double expected = std::fmod(static_cast<double>(std::time(nullptr)) + 9 * 3600, 86400);
    if (oldZone)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();

    EXPECT_GE(seconds, 0.0f);
    EXPECT_LT(seconds, 86401.0f);
    // Within a few seconds of the expected time, across midnight too.
    double difference = std::fabs(seconds - expected);
    EXPECT_LT(std::min(difference, 86400 - difference), 5.0);
}

} // namespace
} // namespace numbrelle
