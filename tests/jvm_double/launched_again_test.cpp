// Threads of the launcher's own on the double's machine, and the entry
// class's launchedAgain found and called from one of them.

#include <chrono>
#include <thread>

#include "jvmhost/launched_again.h"
#include "tests/jvm_double/double_fixture.h"

namespace zep::test {
namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

const std::string kLookup = std::string("GetStaticMethodID class=") + kMainClass +
                            " name=launchedAgain sig=(Ljava/lang/String;[Ljava/lang/String;)V";
const std::string kAttach = "AttachCurrentThreadAsDaemon version=0x00010006 name=zep launched again group=null";

std::string callLine(int args) {
    return std::string("CallStaticVoidMethod class=") + kMainClass +
           " method=launchedAgain(Ljava/lang/String;[Ljava/lang/String;)V args=" + std::to_string(args);
}
class LaunchedAgain : public JvmDouble {
protected:
    std::optional<jvmhost::LaunchedAgain> find() { return jvmhost::findLaunchedAgain(vm, env, kMainClass, trace); }

    // callLaunchedAgain on a thread of its own, as the launcher calls it.
    bool callElsewhere(const jvmhost::LaunchedAgain& method, std::u16string_view directory,
                       const std::vector<std::u16string>& args) {
        bool called = false;
        std::thread([&] { called = jvmhost::callLaunchedAgain(method, directory, args, trace); }).join();
        return called;
    }

    // Whether the log holds `line` within half a minute.
    bool waitForLine(std::string_view line) const {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (logFrom(line).empty()) {
            if (std::chrono::steady_clock::now() > until) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    platform::Trace trace;
};

TEST_F(LaunchedAgain, AnAttachedThreadUsesTheMachineUntilItDetaches) {
    ASSERT_NO_FATAL_FAILURE(startMain());
    CaptureStderr();
    std::thread([this] {
        JNIEnv* threadEnv = nullptr;
        char name[] = "worker";
        JavaVMAttachArgs args{JNI_VERSION_1_6, name, nullptr};
        ASSERT_EQ(vm->AttachCurrentThread(reinterpret_cast<void**>(&threadEnv), &args), JNI_OK);
        // Its exception is its own: the creating thread has none pending.
        EXPECT_EQ(threadEnv->FindClass("a.B"), nullptr);
        threadEnv->ExceptionDescribe();
        EXPECT_EQ(vm->DetachCurrentThread(), JNI_OK);
        threadEnv->FindClass("a/C");
    }).join();
    EXPECT_FALSE(env->ExceptionCheck());
    EXPECT_EQ(GetCapturedStderr(),
              "Exception in thread \"worker\" java.lang.NoClassDefFoundError: a.B\n"
              "jvm double: FindClass called on a thread other than the one that created the VM\n");
    EXPECT_EQ(logFrom("AttachCurrentThread version=0x00010006 name=worker group=null"),
              (Lines{"AttachCurrentThread version=0x00010006 name=worker group=null", "FindClass a.B",
                     "ExceptionDescribe", "DetachCurrentThread", "wrong-thread FindClass", "FindClass a/C"}));
}

TEST_F(LaunchedAgain, IsLookedUpWithoutATraceOfItsAbsence) {
    ASSERT_NO_FATAL_FAILURE(startMain());
    CaptureStderr();
    EXPECT_FALSE(find());
    failWith(u"launched-again");
    const auto found = find();
    EXPECT_TRUE(found);
    EXPECT_FALSE(env->ExceptionCheck());
    EXPECT_EQ(GetCapturedStderr(), "");
    const std::string findClass = std::string("FindClass ") + kMainClass;
    EXPECT_EQ(logFrom(kLookup),
              (Lines{kLookup, "ExceptionOccurred pending", "ExceptionClear", "FindClass java/lang/NoSuchMethodError",
                     "IsInstanceOf class=java/lang/NoSuchMethodError", findClass, kLookup,
                     std::string("NewGlobalRef class=") + kMainClass}));

    // A lookup that fails otherwise (the class's initialiser threw) is the
    // program's failure, and told before it is cleared.
    failWith(u"launched-again,method");
    CaptureStderr();
    EXPECT_FALSE(find());
    EXPECT_FALSE(env->ExceptionCheck());
    EXPECT_EQ(GetCapturedStderr(), "Exception in thread \"main\" zeptest.DoubleException: method\n");
}

TEST_F(LaunchedAgain, IsCalledOnADaemonThreadWithEveryUnitAsGiven) {
    ASSERT_NO_FATAL_FAILURE(startMain());
    failWith(u"launched-again");
    const auto method = find();
    ASSERT_TRUE(method);
    // An unpaired surrogate and a NUL, which no conversion may touch.
    EXPECT_TRUE(callElsewhere(*method, u"/w\u00e9", {u"a", std::u16string(u"\xd800\0b", 3), u""}));
    EXPECT_EQ(logFrom(kAttach), (Lines{
                                    kAttach,
                                    "NewString length=3 units=002f 0077 00e9",
                                    "FindClass java/lang/String",
                                    "NewObjectArray length=3 class=java/lang/String init=",
                                    "NewString length=1 units=0061",
                                    "SetObjectArrayElement index=0",
                                    "NewString length=3 units=d800 0000 0062",
                                    "SetObjectArrayElement index=1",
                                    "NewString length=0 units=",
                                    "SetObjectArrayElement index=2",
                                    callLine(3),
                                    "directory units=002f 0077 00e9",
                                    "arg[0] units=0061",
                                    "arg[1] units=d800 0000 0062",
                                    "arg[2] units=",
                                    "DetachCurrentThread",
                                }));

    // What it throws is told and cleared on its own thread, which then lets go.
    failWith(u"launched-again,launched-again-throws");
    CaptureStderr();
    EXPECT_TRUE(callElsewhere(*method, u"", {}));
    EXPECT_EQ(GetCapturedStderr(),
              "Exception in thread \"zep launched again\" zeptest.DoubleException: launched-again-throws\n");
    EXPECT_EQ(logFrom(callLine(0)),
              (Lines{callLine(0), "directory units=", "ExceptionDescribe", "ExceptionClear", "DetachCurrentThread"}));

    // A String that cannot be made: nothing is called, nothing stays pending.
    failWith(u"launched-again,newstring");
    EXPECT_FALSE(callElsewhere(*method, u"d", {}));
    EXPECT_EQ(logFrom("NewString length=1 units=0064"),
              (Lines{"NewString length=1 units=0064", "ExceptionClear", "DetachCurrentThread"}));
}

TEST_F(LaunchedAgain, ASlowOneHoldsUpNoOtherThread) {
    ASSERT_NO_FATAL_FAILURE(startMain());
    failWith(u"launched-again,launched-again-wait=500");
    const auto method = find();
    ASSERT_TRUE(method);
    std::thread slow([&] { EXPECT_TRUE(jvmhost::callLaunchedAgain(*method, u"", {}, trace)); });
    ASSERT_TRUE(waitForLine("directory units="));
    env->FindClass("a/Meanwhile");
    slow.join();
    EXPECT_EQ(logFrom("directory units="),
              (Lines{"directory units=", "FindClass a/Meanwhile", "launchedAgain waited 500", "DetachCurrentThread"}));
}

// As a JVM: a thread attaches while DestroyJavaVM waits for the program's
// last thread, and none once the machine goes down.
TEST_F(LaunchedAgain, ThreadsAttachWhileTheProgramEndsAndNoneOnceTheMachineGoesDown) {
    ASSERT_NO_FATAL_FAILURE(startMain());
    failWith(u"launched-again,destroy-wait=1000");
    const auto method = find();
    ASSERT_TRUE(method);
    bool called = false;
    std::thread late([&] {
        EXPECT_TRUE(waitForLine("DestroyJavaVM"));
        called = jvmhost::callLaunchedAgain(*method, u"", {}, trace);
    });
    EXPECT_EQ(vm->DestroyJavaVM(), JNI_OK);
    late.join();
    EXPECT_TRUE(called);
    EXPECT_FALSE(callElsewhere(*method, u"", {}));
    const Lines after = logFrom("DestroyJavaVM waited 1000");
    ASSERT_GE(after.size(), 2u);
    EXPECT_EQ(Lines(after.end() - 2, after.end()), (Lines{kAttach, "attach refused"}));
}

}  // namespace
}  // namespace zep::test
