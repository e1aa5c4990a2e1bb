// Without a language of its own, or with one that has no copy, a thread of the
// POSIX build reads the copy of the user's locale.

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "platform/strings.h"
#include "tests/support/expected_texts.h"

namespace zep::test {
namespace {

class LocaleFallback : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* value = std::getenv("LC_ALL")) saved_ = value;
        ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    }
    void TearDown() override {
        if (saved_) {
            ::setenv("LC_ALL", saved_->c_str(), 1);
        } else {
            ::unsetenv("LC_ALL");
        }
    }

private:
    std::optional<std::string> saved_;
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
