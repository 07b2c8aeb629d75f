#include <gtest/gtest.h>

#include "description/description_store.h"
#include "description/loader_kit.h"

namespace {

constexpr ValueRow kChoices[] = {{1, "one"}, {2, "two"}};

class DescriptionStoreTest : public ::testing::Test {
protected:
    void SetUp() override { clearDeviceDescription(); }
};

TEST_F(DescriptionStoreTest, AppendGoesAfterTheCurrentRecord)
{
    RecordList<ParamGroup> list;
    list.append().code = "A";
    list.append().code = "C";
    list.reset();
    list.step();  // A is current
    list.append().code = "B";
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].code, "A");
    EXPECT_EQ(list[1].code, "B");
    EXPECT_EQ(list[2].code, "C");
    list.reset();
    list.append().code = "front";
    EXPECT_EQ(list[0].code, "front");
}

TEST_F(DescriptionStoreTest, NestedWalkRestoresTheOuterPosition)
{
    RecordList<ParamGroup> list;
    for (const char* code : {"a", "b", "c"})
        list.append().code = code;
    list.reset();
    list.step();
    list.step();  // outer walk on "b"
    list.savePosition();
    list.reset();
    while (list.step()) {
    }
    list.restorePosition();
    ASSERT_NE(list.current(), nullptr);
    EXPECT_EQ(list.current()->code, "b");
    EXPECT_EQ(list.step()->code, "c");
    EXPECT_EQ(list.step(), nullptr);
}

TEST_F(DescriptionStoreTest, MissingMapKeyReadsZeroWithoutAddingAnEntry)
{
    RowToKey.write(1, 1000);
    EXPECT_EQ(RowToKey.read(7), 0);
    EXPECT_EQ(RowToKey.count(), 1u);
}

TEST_F(DescriptionStoreTest, ClearKeepsExportRowsAndModelName)
{
    exportRows.append().codeCell = "P0.0.00";
    beginDescription("Model");
    appendParameter("S", {"X1", "x", "0", "1", "0", 0, 1, 0}, {1, 2, 4});
    CheckedKeys.write(1000, 1);
    clearDeviceDescription();
    EXPECT_TRUE(parameters.empty());
    EXPECT_EQ(CheckedKeys.count(), 0u);
    EXPECT_EQ(exportRows.size(), 1u);
    EXPECT_EQ(currentModelName, "Model");
    exportRows.clear();
}

TEST_F(DescriptionStoreTest, KeysRunFrom1000AndOptionRowsFollowTheirParameter)
{
    beginDescription("Model");
    appendParameter("S", {"X1", "first", "1", "2", "1", 0, 1, 2}, {0x400, 0, 4});
    appendValueOptions(kChoices);
    appendParameter("S", {"X2", "second", "0", "9", "0", 0, 1, 0}, {0x401, 1, 4});
    appendValueOptions(kChoices);
    EXPECT_EQ(currentOptionKey, 1001);
    sortParametersByKey();

    ASSERT_NE(findParameterByCode("X2"), nullptr);
    EXPECT_EQ(findParameterByCode("X2")->optionKey, 1001);
    EXPECT_EQ(findParameterByKey(1000)->code, "X1");
    EXPECT_EQ(findParameterByKey(999), nullptr);
    EXPECT_EQ(findParameterByCode("nope"), nullptr);
    auto rows = valueOptionsOf(1001);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].text, "two");
    EXPECT_TRUE(valueOptionsOf(1002).empty());
}

TEST_F(DescriptionStoreTest, IndexesFollowAReload)
{
    beginDescription("A");
    appendParameter("S", {"X1", "a", "0", "1", "0", 0, 1, 0}, {0, 0, 4});
    EXPECT_EQ(findParameterByCode("X1")->name, "a");
    clearDeviceDescription();
    beginDescription("B");
    appendParameter("S", {"Y1", "b", "0", "1", "0", 0, 1, 0}, {0, 0, 4});
    EXPECT_EQ(findParameterByCode("X1"), nullptr);
    EXPECT_EQ(findParameterByKey(1000)->name, "b");
}

}  // namespace
