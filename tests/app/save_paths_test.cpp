#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "app/csv_export.h"
#include "app/preference_file.h"
#include "app/program_shell.h"
#include "platform/shell/atomic_file.h"
#include "platform/shell/save_hooks.h"
#include "tests/app/document_test_support.h"
#include "tests/support/file_attributes.h"
#include "tests/support/fuse_image.h"
#include "tests/support/protected_folders.h"
#include "tests/support/unnamed_files.h"

// Every way the program writes a file over one that stands there: "Сохранить", "Сохранить как",
// "Экспорт в CSV", the settings at the close box and the default settings made at start. Each
// keeps what the file had besides its bytes, writes through a link, falls back to writing in place
// when the rename is refused, and is at every moment the old file or the new one to its reader.
namespace {

enum class SavePath { save, saveAs, exportCsv, settingsAtClose, defaultSettings };

std::string utf16Csv(const std::vector<std::string>& lines)
{
    std::string bytes = "\xFF\xFE";
    for (const std::string& line : lines)
        appendUtf16le(bytes, line + "\r\n");
    return bytes;
}

// What the file's reader takes from it, in order: "group/key=value" for settings-style files (the
// program's own reader), the non-empty lines of a CSV file as a spreadsheet reads them.
std::vector<std::string> valuesOf(SavePath path, const std::string& bytes)
{
    std::vector<std::string> values;
    if (path == SavePath::exportCsv) {
        std::u16string units;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                  static_cast<unsigned char>(bytes[i + 1]) << 8));
        for (const QString& line : QString::fromStdU16String(units).split(QRegularExpression("[\r\n]")))
            if (!line.isEmpty())
                values.push_back(line.toStdString());
        return values;
    }
    PreferenceReader reader;
    reader.parse(bytes);
    for (reader.startGroups(); reader.nextGroup();)
        for (reader.startKeys(); reader.nextKey();)
            values.push_back(reader.groupName() + "/" + reader.keyName() + "=" + reader.keyValue());
    return values;
}

class SavePathTest : public DocumentTest, public ::testing::WithParamInterface<SavePath> {
protected:
    void TearDown() override
    {
        shell::setSaveHooksForTests({});
        DocumentTest::TearDown();
    }

    SavePath kind() const { return GetParam(); }

    std::string fileName() const
    {
        switch (kind()) {
        case SavePath::save:
        case SavePath::saveAs: return "New_Zr12.pmr";
        case SavePath::exportCsv: return "New_Zr12.csv";
        default: return "Paramora.ini";
        }
    }
    // The folder the files are in, and the working folder, where the settings file is.
    std::string base() const { return base_.empty() ? folder() : base_; }
    std::string path() const { return base() + fileName(); }

    // A file of the path's format with values of its own, shorter or longer than the one the save
    // writes.
    std::string oldFile(bool longer) const
    {
        std::string padding;
        for (int i = 0; longer && i < 40; ++i)
            padding += "Extra" + std::to_string(i) + " = a value the new file does not hold\r\n";
        switch (kind()) {
        case SavePath::save:
        case SavePath::saveAs:
            return "\xEF\xBB\xBF[General]\r\nModel = ПЧ Tovik Zr12\r\n[Parameter Set]\r\nP0.0.05 = 1234\r\n"
                   "P0.0.07 = 9999\r\n" + (longer ? "[Parameter Read]\r\n" + padding : "");
        case SavePath::exportCsv: {
            std::vector<std::string> lines = {"Код;Название", "P0.0.05;old row"};
            for (int i = 0; longer && i < 2000; ++i)  // longer than the whole Zr12 table
                lines.push_back("P9.9." + std::to_string(i) + ";an old row, longer than any row of the table");
            return utf16Csv(lines);
        }
        case SavePath::settingsAtClose: return validSettingsFile(folder()) + (longer ? "[Extra]\r\n" + padding : "");
        case SavePath::defaultSettings:  // without [ParametersTable]: replaced by the default file
            return "\xEF\xBB\xBF[General]\r\nwaitTimer = 300\r\n[MainWindow]\r\nWidth = 800\r\n" + padding;
        }
        return {};
    }

    // What the user does before the save: the document it writes, open.
    void prepare()
    {
        messages.clear();
        if (kind() == SavePath::save && std::filesystem::is_regular_file(std::filesystem::symlink_status(path()))) {
            answerDialog(path());
            triggerMenu(cmd::fileOpen);
        } else if (kind() != SavePath::settingsAtClose && kind() != SavePath::defaultSettings) {
            triggerMenu(cmd::newZr12);
        }
        ASSERT_TRUE(messages.empty());
    }

    // The save itself, with values of its own. Questions are answered Yes: replace the file. A
    // save that is `refused` shows its error box; any other shows none.
    void save(bool refused = false)
    {
        messages.clear();
        switch (kind()) {
        case SavePath::save:
            typeSetValue("P0.0.05", "25.00");
            triggerMenu(cmd::fileSave);
            break;
        case SavePath::saveAs:
            typeSetValue("P0.0.05", "25.00");
            answerDialog(path());
            triggerMenu(cmd::fileSaveAs);
            break;
        case SavePath::exportCsv:
            answerDialog(path());
            triggerMenu(cmd::exportCsv);
            break;
        case SavePath::settingsAtClose:
            waitTimer = 250;
            gui::windowWidget(win::main)->close();
            pump();
            // The program again, for what the test does next.
            endProgram();
            gui::closeAllWindows();
            ASSERT_TRUE(startProgram());
            pump();
            break;
        case SavePath::defaultSettings: loadSettings(); break;
        }
        const auto isError = [](const auto& message) { return message.icon == gui::Icon::Error; };
        EXPECT_EQ(std::any_of(messages.begin(), messages.end(), isError), refused);
        for (const auto& message : messages)
            EXPECT_TRUE(refused || !isError(message)) << message.text;
    }

    std::set<std::string> namesInFolder() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(base()))
            names.insert(entry.path().lexically_relative(base()).string());
        return names;
    }

    std::string base_;
};

TEST_P(SavePathTest, KeepsTheAclItsMaskAndUserAttributes)
{
    writeFileBytes(path(), oldFile(false));
    ASSERT_EQ(chmod(path().c_str(), 0640), 0);
    if (const std::string why = setAccessAcl(path(), "u::rw-,u:1234:rw-,g::r--,m::rw-,o::---"); !why.empty())
        GTEST_SKIP() << why;
    if (const std::string why = setUserAttribute(path(), "user.note", "kept"); !why.empty())
        GTEST_SKIP() << why;
    const ExtendedAttributes attributes = extendedAttributes(path());
    prepare();
    const std::set<std::string> names = namesInFolder();
    save();
    EXPECT_NE(valuesOf(kind(), readFileBytes(path())), valuesOf(kind(), oldFile(false)));
    EXPECT_EQ(accessAclText(path()), "u::rw-,u:1234:rw-,g::r--,m::rw-,o::---");
    EXPECT_EQ(extendedAttributes(path()), attributes);
    struct stat info {};
    ASSERT_EQ(stat(path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0660u);  // the mask rw- in the group bits, not the group's own r--
    EXPECT_EQ(namesInFolder(), names);
}

TEST_P(SavePathTest, WritesThroughADanglingLinkAndKeepsIt)
{
    std::filesystem::create_directory(folder() + "kept");
    std::filesystem::remove(path());
    std::filesystem::create_symlink("kept/real", path());
    prepare();
    save();
    EXPECT_TRUE(std::filesystem::is_symlink(path()));
    EXPECT_EQ(std::filesystem::read_symlink(path()), "kept/real");
    EXPECT_FALSE(valuesOf(kind(), readFileBytes(folder() + "kept/real")).empty());
}

// In a shared sticky folder (as /tmp is), another user's link is refused by the kernel as a
// shell's `echo >` is refused: the private file it points to stays as it was, nothing is made where
// a dangling one points, and the save fails as any refused save does (the default settings made
// at start fail silently). The user's own link there is followed as anywhere else.
TEST_P(SavePathTest, ALinkInASharedStickyFolderIsFollowedOnlyWhereTheKernelFollowsIt)
{
    const ProtectedFolders protectedLinks;
    if (!protectedLinks.failure().empty())
        GTEST_SKIP() << protectedLinks.failure();
    const std::string shared = folder() + "shared";
    ASSERT_TRUE(makeSharedStickyFolder(shared));
    std::filesystem::create_directory(folder() + "private");
    base_ = shared + "/";
    FilePath = base_;
    const bool settings = kind() == SavePath::settingsAtClose || kind() == SavePath::defaultSettings;
    if (settings)
        std::filesystem::current_path(base_);  // where the settings file is
    for (const bool theirs : {true, false}) {
        for (const bool dangling : {false, true}) {
            const std::string target = folder() + "private/" + (theirs ? "theirs" : "mine") + (dangling ? "-made" : "-kept");
            SCOPED_TRACE(target);
            if (!dangling) {
                writeFileBytes(target, oldFile(false));
                ASSERT_EQ(chmod(target.c_str(), 0600), 0);
            }
            std::filesystem::remove(path());
            ASSERT_TRUE(plantLink(target, path(), theirs ? 1234 : geteuid()));
            prepare();
            const std::set<std::string> names = namesInFolder();
            save(theirs && kind() != SavePath::defaultSettings);
            documentState = 0;  // the document the refused save kept unsaved is dropped without a question
            EXPECT_TRUE(std::filesystem::is_symlink(path()));
            if (theirs && dangling)
                EXPECT_FALSE(fileExists(target));
            else if (theirs)
                EXPECT_EQ(readFileBytes(target), oldFile(false));
            else
                EXPECT_NE(valuesOf(kind(), readFileBytes(target)), valuesOf(kind(), dangling ? "" : oldFile(false)));
            EXPECT_EQ(namesInFolder(), names);
        }
    }
    std::filesystem::current_path(folder());
    base_.clear();
}

// Refused as a bind-mounted file or an append-only folder refuses it. Each moment of the write in
// place is looked at as a kill there would leave it: the reader finds the old values or the new
// ones, never the new followed by the old file's end, and no other file.
TEST_P(SavePathTest, ARefusedRenameIsWrittenInPlaceEachStepReadingAsOldOrNew)
{
    for (const int error : {EBUSY, EPERM}) {
        for (const bool longer : {false, true}) {
            SCOPED_TRACE(std::to_string(error) + (longer ? ", over a longer file" : ", over a shorter file"));
            writeFileBytes(path(), oldFile(longer));
            prepare();
            const std::set<std::string> names = namesInFolder();
            const bool unnamed = unnamedFilesSupported(folder());
            std::vector<std::string> snapshots;
            std::vector<shell::SaveStep> steps;
            shell::setSaveHooksForTests({
                .afterStep =
                    [&](shell::SaveStep step) {
                        steps.push_back(step);
                        snapshots.push_back(readFileBytes(path()));
                        if (unnamed || step != shell::SaveStep::temporaryWritten) {
                            EXPECT_EQ(namesInFolder(), names);
                        }
                    },
                .rename = [error](int, const char*, const char*) {
                    errno = error;
                    return -1;
                }});
            save();
            shell::setSaveHooksForTests({});
            const auto oldValues = valuesOf(kind(), oldFile(longer));
            const auto newValues = valuesOf(kind(), readFileBytes(path()));
            EXPECT_EQ(readFileBytes(path()).size() < oldFile(longer).size(), longer);
            EXPECT_NE(newValues, oldValues);
            EXPECT_NE(std::find(steps.begin(), steps.end(), shell::SaveStep::placed), steps.end());
            for (std::size_t i = 0; i < snapshots.size(); ++i) {
                const auto values = valuesOf(kind(), snapshots[i]);
                EXPECT_TRUE(values == oldValues || values == newValues) << "after step " << static_cast<int>(steps[i]);
            }
            EXPECT_EQ(namesInFolder(), names);
        }
    }
}

TEST_P(SavePathTest, NoNamedTemporaryFileStandsWhileTheContentIsWritten)
{
    if (!unnamedFilesSupported(folder()))
        GTEST_SKIP() << "this file system makes no unnamed files";
    writeFileBytes(path(), oldFile(false));
    prepare();
    const std::set<std::string> names = namesInFolder();
    std::size_t looked = 0;
    shell::setSaveHooksForTests({.afterStep = [&](shell::SaveStep step) {
        if (step == shell::SaveStep::temporaryWritten) {
            ++looked;
            EXPECT_EQ(namesInFolder(), names);
        }
    }});
    save();
    EXPECT_GE(looked, 1u);
    EXPECT_EQ(namesInFolder(), names);
}

// On a FAT or NTFS stick (through FUSE), which stores no owner or mode and where fusefat refuses
// any change of them: each save replaces the file with no error box and no file left beside it.
TEST_P(SavePathTest, SavesOntoFatAndNtfsSticks)
{
    std::string skipped;
    for (const auto stickKind : {FuseImage::Kind::fat, FuseImage::Kind::ntfs}) {
        const std::string name = stickKind == FuseImage::Kind::fat ? "fat" : "ntfs";
        SCOPED_TRACE(name);
        const FuseImage stick(stickKind, folder() + name);
        if (!stick.failure().empty()) {
            skipped += name + ": " + stick.failure() + "; ";
            continue;
        }
        base_ = folder() + name + "/";
        std::filesystem::current_path(base_);
        for (const bool longer : {false, true}) {
            SCOPED_TRACE(longer ? "over a longer file" : "over a shorter file");
            // Written as a save writes it: fusefat hangs on renames over a file rewritten in place.
            ASSERT_TRUE(shell::writeFileAtomically(path(), oldFile(longer)));
            prepare();
            save();
            EXPECT_NE(valuesOf(kind(), readFileBytes(path())), valuesOf(kind(), oldFile(longer)));
            for (const std::string& left : namesInFolder())
                EXPECT_FALSE(left.starts_with(".paramora-")) << left;
        }
        std::filesystem::current_path(folder());
        base_.clear();
        EXPECT_FALSE(stick.hung());
    }
    if (!skipped.empty())
        GTEST_SKIP() << skipped;
}

std::string savePathName(const ::testing::TestParamInfo<SavePath>& info)
{
    constexpr const char* names[] = {"Save", "SaveAs", "ExportCsv", "SettingsAtClose", "DefaultSettingsAtStart"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EverySavePath, SavePathTest,
                         ::testing::Values(SavePath::save, SavePath::saveAs, SavePath::exportCsv,
                                           SavePath::settingsAtClose, SavePath::defaultSettings),
                         savePathName);

}  // namespace
