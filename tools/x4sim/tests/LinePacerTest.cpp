#include "LinePacer.h"

#include <gtest/gtest.h>

using namespace std::chrono;

// At 115200 baud a byte takes 86,805 ns on the wire (10 bit times).
TEST(LinePacerTest, RepliesFollowTheLineNotTheSimulatorsWakeUps) {
    LinePacer pacer(115200);
    const nanoseconds byte(86'805);
    ASSERT_TRUE(pacer.Paced());
    EXPECT_EQ(pacer.SliceBytes(), 11u);

    // The answer starts when its command has arrived, however late the
    // simulator woke, and its slices follow each other without gaps.
    const auto arrived = pacer.Receive(3);
    EXPECT_GE(arrived - LinePacer::Clock::now(), 2 * byte);
    pacer.StartBurst(arrived);
    EXPECT_EQ(pacer.Send(11), arrived + 11 * byte);
    EXPECT_EQ(pacer.Send(4), arrived + 15 * byte);

    // A reply cannot overtake the one still on the wire, and after a gap it
    // starts at its own time.
    pacer.StartBurst(arrived);
    EXPECT_EQ(pacer.Send(1), arrived + 16 * byte);
    const auto later = arrived + seconds(1);
    pacer.StartBurst(later);
    EXPECT_EQ(pacer.Send(1), later + byte);

    EXPECT_FALSE(LinePacer(0).Paced());
}
