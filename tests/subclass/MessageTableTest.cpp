// The message tables on their own: additions, holes, overflow, every message.
#include <gtest/gtest.h>

#include "controls/subclass/MessageTable.h"
#include "controls/subclass/SubclassBlock.h"

namespace arc::subclass {
namespace {

class MessageTableTest : public ::testing::Test {
protected:
    MessageTable table{};
};

TEST_F(MessageTableTest, AddsOnceAndReusesTheHoleOfADeletion) {
    EXPECT_EQ(AddToTable(table, WM_KEYDOWN), TableChange::Done);
    EXPECT_EQ(AddToTable(table, WM_CHAR), TableChange::Done);
    EXPECT_EQ(AddToTable(table, WM_KEYDOWN), TableChange::Done);
    EXPECT_EQ(table[0], 2);

    EXPECT_EQ(DeleteFromTable(table, WM_KEYDOWN), TableChange::Done);
    EXPECT_EQ(table[0], 2);  // a hole, the count stays
    EXPECT_FALSE(TableWants(table, WM_KEYDOWN));
    EXPECT_TRUE(TableWants(table, WM_CHAR));

    EXPECT_EQ(AddToTable(table, WM_KEYUP), TableChange::Done);
    EXPECT_EQ(table[0], 2);
    EXPECT_EQ(table[1], static_cast<LONG>(WM_KEYUP));
}

TEST_F(MessageTableTest, AMessageBehindAHoleIsNotAddedTwice) {
    AddToTable(table, WM_KEYDOWN);
    AddToTable(table, WM_CHAR);
    DeleteFromTable(table, WM_KEYDOWN);  // hole in front of WM_CHAR
    AddToTable(table, WM_CHAR);
    // One deletion must be enough to stop the message.
    EXPECT_EQ(DeleteFromTable(table, WM_CHAR), TableChange::Done);
    EXPECT_FALSE(TableWants(table, WM_CHAR));
}

TEST_F(MessageTableTest, AFullTableRefusesEvenAMessageItHolds) {
    for (UINT m = 1; m <= 32; ++m) ASSERT_EQ(AddToTable(table, WM_USER + m), TableChange::Done);
    EXPECT_EQ(table[0], 32);
    EXPECT_EQ(AddToTable(table, WM_USER + 33), TableChange::Overflow);
    EXPECT_EQ(AddToTable(table, WM_USER + 1), TableChange::Overflow);
    EXPECT_EQ(table[0], 32);
    EXPECT_FALSE(TableWants(table, WM_USER + 33));
    // Every message is still possible.
    EXPECT_EQ(AddToTable(table, kAllMessages), TableChange::Done);
    EXPECT_TRUE(TableWants(table, WM_USER + 33));
}

TEST_F(MessageTableTest, AllMessagesQualifiesEveryMessageUntilOneIsNamed) {
    AddToTable(table, kAllMessages);
    EXPECT_EQ(table[0], -1);
    EXPECT_TRUE(TableWants(table, WM_PAINT));
    EXPECT_TRUE(TableWants(table, 0xC123));
    // It holds no entries, so a single message is not found in it.
    EXPECT_EQ(DeleteFromTable(table, WM_PAINT), TableChange::NotFound);
    EXPECT_EQ(table[0], -1);

    AddToTable(table, WM_NOTIFY);
    EXPECT_EQ(table[0], 1);
    EXPECT_TRUE(TableWants(table, WM_NOTIFY));
    EXPECT_FALSE(TableWants(table, WM_PAINT));

    DeleteFromTable(table, kAllMessages);
    EXPECT_EQ(table[0], 0);
    EXPECT_FALSE(TableWants(table, WM_NOTIFY));
}

TEST_F(MessageTableTest, DeletingAnAbsentMessageLeavesTheTableAndNamesItInHex) {
    AddToTable(table, WM_KEYDOWN);
    EXPECT_EQ(DeleteFromTable(table, WM_NOTIFY), TableChange::NotFound);
    EXPECT_EQ(table[0], 1);
    EXPECT_EQ(table[1], static_cast<LONG>(WM_KEYDOWN));
    EXPECT_EQ(NotFoundText(WM_NOTIFY), L"Message &H4E not found in table");
    EXPECT_EQ(NotFoundText(0x1001), L"Message &H1001 not found in table");
    EXPECT_EQ(NotFoundText(WM_NULL), L"Message &H0 not found in table");
    EXPECT_EQ(NotFoundText(0xFFFFFD09), L"Message &HFFFFFD09 not found in table");
}

}  // namespace
}  // namespace arc::subclass
