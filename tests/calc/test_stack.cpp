// The evaluator's fixed-size text stack.
#include "calc/stack.h"

#include <gtest/gtest.h>

using gzgl::calc::clsStack;

TEST(Stack, HoldsTwoHundredNinetyNineEntriesAndRefusesTheThreeHundredth) {
    clsStack s;
    for (int i = 1; i <= 299; ++i)
        ASSERT_TRUE(s.push(std::to_string(i))) << i;
    EXPECT_FALSE(s.push("300"));
    EXPECT_EQ(s.count(), 299);
    EXPECT_EQ(s.topStack(), "299"); // the refused value was dropped, not stored over the top
    EXPECT_EQ(s.pop(), "299");
    EXPECT_TRUE(s.push("again"));
    EXPECT_EQ(s.topStack(), "again");
}

TEST(Stack, EmptyStackAnswersItsSentinelsAndStaysEmpty) {
    clsStack s;
    EXPECT_EQ(s.pop(), "&^%$&^");
    EXPECT_EQ(s.topStack(), "*&%*&^(&^*(");
    EXPECT_EQ(s.count(), 0);
    s.push("a");
    EXPECT_EQ(s.pop(), "a");
    EXPECT_EQ(s.pop(), "&^%$&^");
    EXPECT_EQ(s.count(), 0);
}

TEST(Stack, LastPushedComesOffFirst) {
    clsStack s;
    s.push("1");
    s.push("2");
    s.push("");
    EXPECT_EQ(s.pop(), "");
    EXPECT_EQ(s.pop(), "2");
    EXPECT_EQ(s.topStack(), "1");
}

TEST(Stack, SetNullEmptiesAFullStackForReuse) {
    clsStack s;
    for (int i = 0; i < 310; ++i)
        s.push("x");
    s.SetNull();
    EXPECT_EQ(s.count(), 0);
    EXPECT_EQ(s.topStack(), "*&%*&^(&^*(");
    for (int i = 1; i <= 299; ++i)
        ASSERT_TRUE(s.push("y"));
    EXPECT_FALSE(s.push("z"));
}
