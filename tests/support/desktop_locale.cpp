// Linked into every test executable. The program takes the desktop's locale when Qt starts; tests
// without a window take it here at their start, so a run under a Russian desktop's locale reads
// and writes numbers as a Russian user's program would. A run that names the locale it needs
// (PARAMORA_TEST_LOCALE) fails when that locale is missing instead of quietly testing in C.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

namespace {

class DesktopLocale : public ::testing::Environment {
public:
    void SetUp() override
    {
        const char* taken = std::setlocale(LC_ALL, "");
        const char* required = std::getenv("PARAMORA_TEST_LOCALE");
        if (!required || !*required)
            return;
        ASSERT_NE(taken, nullptr) << "the locale " << required
                                  << " is not installed; tools/install-deps.sh generates it";
        EXPECT_EQ(std::string(std::setlocale(LC_NUMERIC, nullptr)), required);
    }
};

[[maybe_unused]] ::testing::Environment* const desktopLocale =
    ::testing::AddGlobalTestEnvironment(new DesktopLocale);

}  // namespace
