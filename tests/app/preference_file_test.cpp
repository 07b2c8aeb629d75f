#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/preference_file.h"
#include "tests/support/refused_files.h"
#include "tests/support/working_folder.h"

namespace {

using PreferenceFileTest = WorkingFolderTest;

TEST_F(PreferenceFileTest, WriterProducesTheExactBytes)
{
    PreferenceWriter writer;
    ASSERT_TRUE(writer.create("out.ini"));
    writer.addComment("\u0424\u0430\u0439\u043B");
    writer.addComment("");
    writer.openGroup("Empty");          // nothing follows: leaves no line
    writer.openGroup("General");
    writer.writeText("Model", "\u041F\u0427 X");
    writer.writeNumber("Neg", -5);
    writer.writeNumber("Zero", 0);
    writer.writeNumber("Big", 16777216);
    writer.openGroup("Second");
    writer.writeText("A", "1");
    writer.openGroup("general");        // an existing group, names folded: keys go to its end
    writer.writeText("Late", "x");
    writer.writeText("MODEL", "replaced");
    writer.openGroup("Second");
    writer.writeText("B", " spaced ");
    ASSERT_TRUE(writer.close());

    const std::string expected =
        "\xEF\xBB\xBF\r\n"
        "; \u0424\u0430\u0439\u043B\r\n"
        "; \r\n"
        "[General]\r\n"
        "Model = replaced\r\n"
        "Neg = -5\r\n"
        "Zero = 0\r\n"
        "Big = 16777216\r\n"
        "Late = x\r\n"
        "[Second]\r\n"
        "A = 1\r\n"
        "B =  spaced \r\n";
    EXPECT_EQ(readFileBytes("out.ini"), expected);
}

TEST_F(PreferenceFileTest, WriterReplacesTheWholeFileAndNothingHappensBeforeClose)
{
    writeFileBytes("out.ini", std::string(5000, 'x'));
    PreferenceWriter writer;
    ASSERT_TRUE(writer.create("out.ini"));
    writer.openGroup("G");
    writer.writeNumber("K", 1);
    EXPECT_EQ(readFileBytes("out.ini"), std::string(5000, 'x'));
    ASSERT_TRUE(writer.close());
    EXPECT_EQ(readFileBytes("out.ini"), "\xEF\xBB\xBF\r\n[G]\r\nK = 1\r\n");
}

TEST_F(PreferenceFileTest, WriterThatCannotCreateIgnoresEveryCall)
{
    PreferenceWriter writer;
    EXPECT_FALSE(writer.create("missing-folder/out.ini"));
    writer.openGroup("G");
    writer.writeNumber("K", 1);
    EXPECT_FALSE(writer.close());
    EXPECT_FALSE(fileExists("missing-folder"));
}

TEST_F(PreferenceFileTest, ReaderFollowsTheLineRules)
{
    const std::string file =
        "; comment = not a key\r"
        "Orphan = before any group\n"
        "  [First] trailing text\r\n"
        "\r\n"
        "\t Key1 \t=\t  value with trailing blanks  \n"
        "NoEquals \t\r"
        "  ;indented comment\r\n"
        "key1 = second, ignored by lookups\r"
        "[ Spaced ]\n"
        "A=1\n"
        "[Unclosed\n"
        "B = 2";
    PreferenceReader reader;
    reader.parse(file);
    std::vector<std::string> groups;
    reader.startGroups();
    while (reader.nextGroup())
        groups.push_back(reader.groupName());
    EXPECT_EQ(groups, (std::vector<std::string>{"First", " Spaced ", "Unclosed"}));

    reader.startGroups();
    ASSERT_TRUE(reader.nextGroup());
    EXPECT_EQ(reader.readText("KEY1", "default"), "value with trailing blanks  ");
    EXPECT_EQ(reader.readText("noequals", "default"), "");
    EXPECT_EQ(reader.readText("Orphan", "default"), "default");
    EXPECT_EQ(reader.readText("A", "default"), "default");

    std::vector<std::pair<std::string, std::string>> keys;
    reader.startKeys();
    while (reader.nextKey())
        keys.emplace_back(reader.keyName(), reader.keyValue());
    EXPECT_EQ(keys, (std::vector<std::pair<std::string, std::string>>{
                        {"Key1", "value with trailing blanks  "},
                        {"NoEquals", ""},
                        {"key1", "second, ignored by lookups"}}));

    ASSERT_TRUE(reader.nextGroup());
    EXPECT_EQ(reader.readNumber("a", 7), 1);
    ASSERT_TRUE(reader.nextGroup());
    EXPECT_EQ(reader.readNumber("B", 7), 2);
    EXPECT_FALSE(reader.nextGroup());
}

TEST_F(PreferenceFileTest, OnlyAsciiLettersFoldInNames)
{
    EXPECT_TRUE(preferenceNamesEqual("colWidth_AddrEE", "COLWIDTH_addree"));
    EXPECT_FALSE(preferenceNamesEqual("\u041A\u043B\u044E\u0447", "\u041A\u041B\u042E\u0427"));
    EXPECT_FALSE(preferenceNamesEqual("Key", "Key "));
}

TEST_F(PreferenceFileTest, NumbersReadTheirLeadingInteger)
{
    PreferenceReader reader;
    reader.parse("[G]\nunits = 800 px\nword = px\nneg = -1\nplus = +5\nempty =\nbig = 65536\nhex = $10\n"
                 "dec = 1.9\nhuge = 4294967297\nhugeNeg = -99999999999999999999999\nmax = 2147483647\n"
                 "min = -2147483648\n");
    reader.startGroups();
    ASSERT_TRUE(reader.nextGroup());
    const std::pair<const char*, std::int32_t> cases[] = {
        {"units", 800}, {"word", 0}, {"neg", -1}, {"plus", 5}, {"empty", 0}, {"big", 65536}, {"hex", 0},
        {"dec", 1}, {"huge", INT32_MAX}, {"hugeNeg", INT32_MIN}, {"max", INT32_MAX}, {"min", INT32_MIN},
        {"missing", 42},
    };
    for (const auto& [key, value] : cases)
        EXPECT_EQ(reader.readNumber(key, 42), value) << key;
}

TEST_F(PreferenceFileTest, ByteOrderMarkDecidesBetweenUtf8AndLatin1)
{
    PreferenceReader reader;
    reader.parse("[G]\nName = caf\xE9\n");
    reader.startGroups();
    ASSERT_TRUE(reader.nextGroup());
    EXPECT_EQ(reader.readText("Name", ""), "caf\u00E9");

    reader.parse("\xEF\xBB\xBF\r\n[G]\r\nName = caf\xC3\xA9\r\n");
    reader.startGroups();
    ASSERT_TRUE(reader.nextGroup());
    EXPECT_EQ(reader.readText("Name", ""), "caf\u00E9");
}

TEST_F(PreferenceFileTest, DuplicateGroupsAndKeysAreAllWalked)
{
    PreferenceReader reader;
    reader.parse("[G]\nK = 1\n; c\nK = 2\n[G]\nK = 3\n");
    std::vector<std::string> seen;
    reader.startGroups();
    while (reader.nextGroup()) {
        reader.startKeys();
        while (reader.nextKey())
            seen.push_back(reader.groupName() + ":" + reader.keyName() + "=" + reader.keyValue());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"G:K=1", "G:K=2", "G:K=3"}));
}

TEST_F(PreferenceFileTest, ReadsBackWhatTheWriterWroteAndNeverChangesTheFile)
{
    PreferenceWriter writer;
    ASSERT_TRUE(writer.create("round.pmr"));
    writer.addComment("c");
    writer.openGroup("Parameter Set");
    writer.writeNumber("P0.0.05", 2500);
    writer.writeText("Text", "\u041F\u0427 Tovik");
    ASSERT_TRUE(writer.close());
    const std::string bytes = readFileBytes("round.pmr");

    PreferenceReader reader;
    ASSERT_TRUE(reader.open("round.pmr"));
    reader.startGroups();
    ASSERT_TRUE(reader.nextGroup());
    EXPECT_EQ(reader.groupName(), "Parameter Set");
    EXPECT_EQ(reader.readNumber("p0.0.05", 0), 2500);
    EXPECT_EQ(reader.readText("Text", ""), "\u041F\u0427 Tovik");
    reader.close();
    EXPECT_EQ(readFileBytes("round.pmr"), bytes);
}

TEST_F(PreferenceFileTest, OnlyARegularFileWithinTheSizeCapOpens)
{
    const std::string valid = "\xEF\xBB\xBF\r\n[G]\r\nK = 1\r\n";
    writeFileBytes("full.ini", valid);
    std::filesystem::resize_file("full.ini", PreferenceReader::maxFileBytes);
    PreferenceReader reader;
    ASSERT_TRUE(reader.open("full.ini"));
    reader.startGroups();
    ASSERT_TRUE(reader.nextGroup());
    EXPECT_EQ(reader.readNumber("K", 0), 1);

    EXPECT_FALSE(reader.open("absent.ini"));
    EXPECT_FALSE(reader.isOpen());
    int n = 0;
    for (const RefusedFile& c : refusedFiles) {
        SCOPED_TRACE(c.name);
        const std::string path = "refused" + std::to_string(++n) + ".ini";
        c.make(path, valid);
        bool opened = true;
        readWithoutBlocking(path, [&] { opened = reader.open(path); });
        EXPECT_FALSE(opened);
        EXPECT_FALSE(reader.isOpen());
    }
}

}  // namespace
