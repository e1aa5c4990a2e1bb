// What the runtime says through its hooks, for the windowless launcher's box:
// formatted by the launcher, kept within bounds from any thread, and a start
// the runtime ends told once.

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstring>
#include <thread>
#include <vector>

#include "jvmhost/jvm_options.h"
#include "launcher/runtime_words.h"

namespace zep::test {
namespace {

using PrintHook = jint(JNICALL*)(FILE*, const char*, va_list);

// Prints through the hook that `options` carries, as the runtime does.
jint printThrough(const jvmhost::JvmOptions& options, const char* format, ...) {
    PrintHook hook = nullptr;
    for (const JavaVMOption& option : options.records()) {
        if (std::strcmp(option.optionString, "vfprintf") == 0) hook = reinterpret_cast<PrintHook>(option.extraInfo);
    }
    EXPECT_NE(hook, nullptr);
    va_list args;
    va_start(args, format);
    const jint length = hook == nullptr ? -1 : hook(nullptr, format, args);
    va_end(args);
    return length;
}

TEST(RuntimeWords, TheHookFormatsWhatTheRuntimePrintsWhateverItsLength) {
    platform::Trace quiet;
    RuntimeWords words(quiet, false, [] {});
    jvmhost::JvmOptions options;
    options.appendRuntimeHooks();
    EXPECT_EQ(printThrough(options, "Invalid maximum heap size: %s\n", "-Xmx1z"), 34);
    const std::string long_(3000, 'y');
    EXPECT_EQ(printThrough(options, "%d:%s.", 42, long_.c_str()), 3004);
    EXPECT_EQ(words.text(), "Invalid maximum heap size: -Xmx1z\n42:" + long_ + ".");
}

TEST(RuntimeWords, KeepsOnlyTheLastOfAFloodFromAnyThread) {
    platform::Trace quiet;
    RuntimeWords words(quiet, false, [] {});
    words.printed(std::string(RuntimeWords::kKept + 500, 'a') + "end of one", false);
    EXPECT_EQ(words.text().size(), RuntimeWords::kKept);
    EXPECT_TRUE(words.text().ends_with("aend of one"));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&words] {
            for (int i = 0; i < 2000; ++i) words.printed("0123456789abcdef", false);
        });
    }
    for (std::thread& thread : threads) thread.join();
    words.printed("last", false);
    EXPECT_EQ(words.text().size(), RuntimeWords::kKept);
    EXPECT_TRUE(words.text().ends_with("0123456789abcdeflast"));
}

TEST(RuntimeWords, OnlyTheFirstEndOfAStartIsTold) {
    platform::Trace quiet;
    int told = 0;
    {
        RuntimeWords words(quiet, false, [&] { ++told; });
        EXPECT_EQ(platform::runtimeHookTarget(), &words);
        words.exiting(0);  // a clean end is no failure
        EXPECT_EQ(told, 0);
        words.exiting(1);
        words.exiting(2);  // from another thread, or during the box
        EXPECT_EQ(told, 1);
    }
    EXPECT_EQ(platform::runtimeHookTarget(), nullptr);
    RuntimeWords running(quiet, false, [&] { ++told; });
    running.started();
    running.exiting(3);  // System.exit(3) from the program
    EXPECT_EQ(told, 1);
}

}  // namespace
}  // namespace zep::test
