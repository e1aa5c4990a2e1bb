// What the double does when the launcher gets JNI wrong: it ends the process
// at what would crash a real JVM, raises the exceptions a real JVM raises, and
// records the rest for tests to find.

#include <cstddef>
#include <thread>

#include "tests/jvm_double/double_fixture.h"

namespace zep::test {
namespace {

using testing::ExitedWithCode;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

class Misuse : public JvmDouble {};

constexpr std::size_t slotOf(std::size_t offset) { return offset / sizeof(void*); }

// Each death test below runs alone in its test: its statement runs in a new
// run of this program, which repeats the test up to that statement.

TEST_F(Misuse, AFunctionTheDoubleLacksEndsTheProcess) {
    const std::size_t getVersion = slotOf(offsetof(JNINativeInterface_, GetVersion));
    EXPECT_EXIT(
        {
            startMain();
            env->GetVersion();
        },
        ExitedWithCode(99), "jvm double: unexpected JNI call, slot " + std::to_string(getVersion));
    EXPECT_EQ(logFrom("trap " + std::to_string(getVersion)), Lines{"trap 4"});
}

TEST_F(Misuse, AnInvocationFunctionTheDoubleLacksEndsTheProcess) {
    const std::size_t getEnv = slotOf(offsetof(JNIInvokeInterface_, GetEnv));
    EXPECT_EXIT(
        {
            startMain();
            void* unused = nullptr;
            vm->GetEnv(&unused, JNI_VERSION_1_6);
        },
        ExitedWithCode(99), "jvm double: unexpected JNI invocation call, slot " + std::to_string(getEnv));
    EXPECT_EQ(logFrom("trap vm " + std::to_string(getEnv)), Lines{"trap vm 6"});
}

TEST_F(Misuse, AHandleOfTheWrongKindEndsTheProcess) {
    EXPECT_EXIT(
        {
            startMain();
            // A class where an array belongs.
            env->SetObjectArrayElement(reinterpret_cast<jobjectArray>(mainClass), 0, nullptr);
        },
        ExitedWithCode(98), "jvm double: bad handle given to SetObjectArrayElement");
    EXPECT_EQ(logFrom("bad-handle SetObjectArrayElement"), Lines{"bad-handle SetObjectArrayElement"});
}

TEST_F(Misuse, AMethodOfAnotherClassEndsTheProcess) {
    EXPECT_EXIT(
        {
            startMain();
            jclass otherClass = env->FindClass("com/quorvane/Other");
            env->CallStaticVoidMethod(otherClass, mainMethod, nullptr);
        },
        ExitedWithCode(98), "bad handle given to CallStaticVoidMethod");
    EXPECT_EQ(logFrom("bad-handle CallStaticVoidMethod"), Lines{"bad-handle CallStaticVoidMethod"});
}

TEST_F(Misuse, AnEnvIsRefusedAfterItsMachineIsDestroyed) {
    EXPECT_EXIT(
        {
            startMain();
            vm->DestroyJavaVM();
            env->FindClass("java/lang/String");
        },
        ExitedWithCode(98), "bad handle given to FindClass");
    EXPECT_EQ(logFrom("DestroyJavaVM"), (Lines{"DestroyJavaVM", "bad-handle FindClass"}));
}

TEST_F(Misuse, AMachineIsNotDestroyedTwice) {
    EXPECT_EXIT(
        {
            startMain();
            vm->DestroyJavaVM();
            vm->DestroyJavaVM();
        },
        ExitedWithCode(98), "bad handle given to DestroyJavaVM");
    EXPECT_EQ(logFrom("DestroyJavaVM"), (Lines{"DestroyJavaVM", "bad-handle DestroyJavaVM"}));
}

TEST_F(Misuse, CallsFromAnotherThreadAreRecorded) {
    ASSERT_NO_FATAL_FAILURE(startMain());
    CaptureStderr();
    std::thread([this] { env->FindClass("com/quorvane/Other"); }).join();
    EXPECT_EQ(GetCapturedStderr(), "jvm double: FindClass called on a thread other than the one that created the VM\n");
    EXPECT_EQ(logFrom("wrong-thread FindClass"), (Lines{"wrong-thread FindClass", "FindClass com/quorvane/Other"}));
}

TEST_F(Misuse, MistakesAJvmReportsBecomeExceptions) {
    ASSERT_NO_FATAL_FAILURE(startMain());
    EXPECT_EQ(env->FindClass("com.quorvane.gridmere.Main"), nullptr);
    EXPECT_EQ(described(), "Exception in thread \"main\" java.lang.NoClassDefFoundError: com.quorvane.gridmere.Main\n");
    EXPECT_EQ(env->GetStaticMethodID(mainClass, "main", "()V"), nullptr);
    EXPECT_EQ(described(), "Exception in thread \"main\" java.lang.NoSuchMethodError: main\n");
    EXPECT_EQ(env->GetStaticMethodID(stringClass, "main", kMainSignature), nullptr);
    EXPECT_EQ(described(), "Exception in thread \"main\" java.lang.NoSuchMethodError: main\n");
    jobjectArray array = env->NewObjectArray(1, stringClass, nullptr);
    env->SetObjectArrayElement(array, 1, nullptr);
    EXPECT_EQ(
        described(),
        "Exception in thread \"main\" java.lang.ArrayIndexOutOfBoundsException: Index 1 out of bounds for length 1\n");
    EXPECT_EQ(env->NewObjectArray(-1, stringClass, nullptr), nullptr);
    EXPECT_EQ(described(), "Exception in thread \"main\" java.lang.NegativeArraySizeException: -1\n");
}

TEST_F(Misuse, ACallWithAnExceptionPendingIsRecorded) {
    ASSERT_NO_FATAL_FAILURE(startMain());
    failWith(u"findclass-pending");
    jclass found = env->FindClass("com/quorvane/Pending");
    env->GetStaticMethodID(found, "main", kMainSignature);
    env->ExceptionClear();
    env->GetStaticMethodID(found, "main", kMainSignature);
    const std::string lookup = "GetStaticMethodID class=com/quorvane/Pending name=main sig=([Ljava/lang/String;)V";
    EXPECT_EQ(logFrom("FindClass com/quorvane/Pending"),
              (Lines{"FindClass com/quorvane/Pending", "exception-pending GetStaticMethodID", lookup, "ExceptionClear",
                     lookup}));
}

TEST_F(Misuse, CreationFollowsTheRulesOfAJvm) {
    load();
    auto createJavaVm = library.function<CreateJavaVm>("JNI_CreateJavaVM");
    ASSERT_NE(createJavaVm, nullptr);
    JavaVMInitArgs init{JNI_VERSION_1_1, 0, nullptr, JNI_TRUE};
    EXPECT_EQ(createJavaVm(&vm, reinterpret_cast<void**>(&env), &init), JNI_EVERSION);
    EXPECT_EQ(vm, nullptr);
    ASSERT_EQ(create(), JNI_OK);
    JavaVM* first = vm;
    EXPECT_EQ(create(), JNI_EEXIST) << "one machine per process";
    EXPECT_EQ(vm, first);
    EXPECT_EQ(vm->DestroyJavaVM(), JNI_OK);
    // Unlike a JVM, the double starts again, so that the tests of one process can each have a machine.
    EXPECT_EQ(create(), JNI_OK);
    EXPECT_EQ(logFrom("JNI_CreateJavaVM version=0x00010001 nOptions=0 ignoreUnrecognized=1").size(), 5u);
}

}  // namespace
}  // namespace zep::test
