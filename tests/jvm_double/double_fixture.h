#pragma once
// Drives the JVM double in this process as the launcher would: loaded from a
// built test home, its log in a file of the test's own.

#include <gtest/gtest.h>
#include <jni.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/library.h"
#include "tests/support/test_homes.h"

namespace zep::test {

using CreateJavaVm = jint(JNICALL*)(JavaVM**, void**, void*);

class JvmDouble : public ::testing::Test {
protected:
    // A fresh log for this test and no failure switch.
    void SetUp() override;
    void TearDown() override;

    // Sets ZEPTEST_JVM_FAIL; the double reads it at every call.
    static void failWith(const std::u16string& switches);

    // The log's lines so far, without their line feeds.
    Lines log() const;
    // The lines from the first one equal to `first` on.
    Lines logFrom(std::string_view first) const;

    // Loads the library of `home`; a failed load fails the test.
    void load(std::string_view home = "valid");
    // JNI_CreateJavaVM as the launcher calls it: version 1.6, unrecognised
    // options not ignored. Fills vm and env when it succeeds.
    jint create(const std::vector<std::string>& options = {});
    // Loads the double, creates a machine and finds a main class and its main method.
    void startMain();
    // What ExceptionDescribe writes for the pending exception, which it clears.
    std::string described();

    platform::Library library;
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    jclass stringClass = nullptr;
    jclass mainClass = nullptr;
    jmethodID mainMethod = nullptr;
    std::filesystem::path logPath;
};

inline constexpr const char* kMainClass = "com/quorvane/gridmere/Main";
inline constexpr const char* kMainSignature = "([Ljava/lang/String;)V";

}  // namespace zep::test
