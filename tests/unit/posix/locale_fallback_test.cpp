// Without a language of its own, or with one that has no copy, a thread of the
// POSIX build reads the copy of the user's locale.

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "platform/strings.h"
#include "tests/support/environment.h"
#include "tests/support/expected_texts.h"

namespace zep::test {
namespace {

class LocaleFallback : public ::testing::Test {
    const ScopedEnvironmentVariable locale_{u"LC_ALL", u"de_DE.UTF-8"};
};

TEST_F(LocaleFallback, AThreadReadsTheLocalesCopyUntilALanguageWithACopyIsSet) {
    std::u16string unset, withoutCopy, french;
    // A new thread, since the language belongs to the thread that set it.
    std::thread([&] {
        unset = platform::loadString(106);
        platform::setThreadUiLanguage(2057);  // English (UK): no copy of its own
        withoutCopy = platform::loadString(106);
        platform::setThreadUiLanguage(1036);
        french = platform::loadString(106);
    }).join();
    EXPECT_EQ(unset, expectedLanguage(u"de").title);
    EXPECT_EQ(withoutCopy, expectedLanguage(u"de").title);
    EXPECT_EQ(french, expectedLanguage(u"fr").title);
}

}  // namespace
}  // namespace zep::test
