// How a present shares its work out over frames, from measured costs.
#include "app/present_budget.h"

#include <gtest/gtest.h>

namespace {

TEST(PresentBudget, DrawsWhatFitsAndSwapsOnlyAWholePicture)
{
    struct Case {
        const char*   what;
        PresentBudget budget;
        double        slackMs;
        int           rowsLeft;
        PresentStep   expected;
    };
    const Case cases[] = {
        {"nothing measured yet: all at once", {0.0, 0.0, 0}, 9.0, 1080, {1080, true}},
        {"a fast renderer: all at once", {0.001, 0.2, 0}, 8.0, 1080, {1080, true}},
        {"too dear for one frame: a band", {0.01, 2.0, 0}, 9.0, 1440, {615, false}},
        {"the rest fits, the swap does not", {0.005, 3.0, 0}, 9.0, 1000, {1000, false}},
        {"only the swap left", {0.01, 2.0, 0}, 9.0, 0, {0, true}},
        {"no room: wait", {0.01, 2.0, 3}, 0.8, 500, {0, false}},
        {"a band too thin to be worth it: wait", {0.01, 2.0, 0}, 1.3, 500, {0, false}},
        {"no room for long: a band anyway",
         {0.01, 2.0, presentMaxWait},
         0.5,
         500,
         {presentMinRows, false}},
        {"no room for long: the swap anyway", {0.01, 2.0, presentMaxWait}, 0.5, 0, {0, true}},
    };
    for (const Case& c : cases) {
        const PresentStep step = planPresentStep(c.budget, c.slackMs, c.rowsLeft);
        EXPECT_EQ(step.rows, c.expected.rows) << c.what;
        EXPECT_EQ(step.swap, c.expected.swap) << c.what;
    }
}

TEST(PresentBudget, MeansFollowWhatIsMeasured)
{
    PresentBudget budget = {};
    for (int i = 0; i < 50; ++i) {
        measureRows(&budget, 500, 5.0);
        measureSwap(&budget, 2.0);
    }
    EXPECT_NEAR(budget.msPerRow, 0.01, 1e-4);
    EXPECT_NEAR(budget.swapMs, 2.0, 0.02);
    measureRows(&budget, 0, 9.0); // nothing drawn: nothing learnt
    EXPECT_NEAR(budget.msPerRow, 0.01, 1e-4);
}

} // namespace
