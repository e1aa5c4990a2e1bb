#pragma once
// The thread's user-interface language put back before and after each test,
// so that no test sees what another chose.

#include <gtest/gtest.h>

#include "platform/strings.h"

namespace zep::test {

class LanguageStateTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }

private:
    static void reset() {
        platform::setThreadUiLanguage(1033);  // English (United States), as on a machine set up in English
    }
};

}  // namespace zep::test
