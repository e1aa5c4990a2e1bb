// Without a language of its own, or with one that has no copy, the POSIX
// build reads the copy of the user's locale.

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/localized_strings.h"
#include "tests/support/environment.h"
#include "tests/support/expected_texts.h"

namespace zep::test {
namespace {

class LocaleFallback : public ::testing::Test {
    const ScopedEnvironmentVariable locale_{u"LC_ALL", u"de_DE.UTF-8"};
};

TEST_F(LocaleFallback, TheLocalesCopyUnlessALanguageWithACopyIsChosen) {
    EXPECT_EQ(platform::loadString(106, std::nullopt), expectedLanguage(u"de").title);
    EXPECT_EQ(platform::loadString(106, 2057), expectedLanguage(u"de").title);  // English (UK): no copy of its own
    EXPECT_EQ(platform::loadString(106, 1036), expectedLanguage(u"fr").title);
}

}  // namespace
}  // namespace zep::test
