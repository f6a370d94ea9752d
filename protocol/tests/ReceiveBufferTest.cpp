#include "protocol/ReceiveBuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Contents(const ReceiveBuffer& buffer) {
    return {buffer.Data(), static_cast<std::size_t>(buffer.Length())};
}

void Append(ReceiveBuffer& buffer, const std::string& bytes) {
    buffer.Append(bytes.data(), static_cast<int>(bytes.size()));
}

} // namespace

TEST(ReceiveBuffer, AppendsChunksAndConsumesFromTheFront) {
    ReceiveBuffer buffer;
    Append(buffer, "ab");
    Append(buffer, "cd");
    EXPECT_EQ(Contents(buffer), "abcd");
    buffer.Consume(3);
    EXPECT_EQ(Contents(buffer), "d");
    buffer.Consume(10);
    EXPECT_TRUE(buffer.Empty());
}

TEST(ReceiveBuffer, SkipsTheRestOfALineThroughItsLineEnd) {
    ReceiveBuffer buffer;
    buffer.SkipRestOfLine('?');
    Append(buffer, "tail\r");
    EXPECT_TRUE(buffer.Empty());
    Append(buffer, "\nnext");
    EXPECT_EQ(Contents(buffer), "next");
    EXPECT_FALSE(buffer.SkippingLine());
}

TEST(ReceiveBuffer, ALineEndAlreadyHalfInNeedsOnlyItsLineFeed) {
    ReceiveBuffer buffer;
    buffer.SkipRestOfLine('\r');
    Append(buffer, "\n?\r\n");
    EXPECT_EQ(Contents(buffer), "?\r\n");
}

TEST(ReceiveBuffer, OverlongLineKeepsItsFirstBytesAndDropsTheRest) {
    ReceiveBuffer buffer;
    Append(buffer, std::string(ReceiveBuffer::kCapacity - 24, 'a'));
    Append(buffer, std::string(100, 'b'));
    EXPECT_EQ(buffer.Length(), ReceiveBuffer::kCapacity);
    EXPECT_TRUE(buffer.Overrun());
    EXPECT_TRUE(buffer.SkippingLine());
    Append(buffer, std::string(5000, 'c') + "\r\nafter");
    // The line has ended; what followed it is not taken while the buffer
    // still holds the over-long line.
    EXPECT_FALSE(buffer.SkippingLine());
    EXPECT_EQ(buffer.Length(), ReceiveBuffer::kCapacity);
    EXPECT_EQ(buffer.Data()[ReceiveBuffer::kCapacity - 1], 'b');
    buffer.Clear();
    EXPECT_FALSE(buffer.Overrun());
    Append(buffer, "fresh");
    EXPECT_EQ(Contents(buffer), "fresh");
}

TEST(ReceiveBuffer, ResetForgetsLineSkipping) {
    ReceiveBuffer buffer;
    buffer.SkipRestOfLine('x');
    buffer.Clear();
    EXPECT_TRUE(buffer.SkippingLine());
    buffer.Reset();
    Append(buffer, "x\r\n");
    EXPECT_EQ(Contents(buffer), "x\r\n");
}
