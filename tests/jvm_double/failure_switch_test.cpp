// The failures that ZEPTEST_JVM_FAIL asks for, each where the launcher would
// meet it.

#include <chrono>

#include "tests/jvm_double/double_fixture.h"

namespace zep::test {
namespace {

class FailureSwitch : public JvmDouble {
protected:
    bool pending() { return env->ExceptionOccurred() != nullptr; }
};

TEST_F(FailureSwitch, CreateFailsWithItsCodeAndTouchesNoOutParameter) {
    load();
    JavaVM* const untouchedVm = reinterpret_cast<JavaVM*>(&vm);
    JNIEnv* const untouchedEnv = reinterpret_cast<JNIEnv*>(&env);
    vm = untouchedVm;
    env = untouchedEnv;
    failWith(u"create");
    EXPECT_EQ(create({"-Xmx1x"}), JNI_ERR);
    failWith(u"create=-6");
    EXPECT_EQ(create(), JNI_EINVAL);
    EXPECT_EQ(vm, untouchedVm);
    EXPECT_EQ(env, untouchedEnv);

    // Read again at every call: without the switch the same library creates.
    failWith(u"");
    EXPECT_EQ(create(), JNI_OK);
    EXPECT_NE(vm, untouchedVm);
    EXPECT_EQ(logFrom("JNI_CreateJavaVM version=0x00010006 nOptions=1 ignoreUnrecognized=0"),
              (Lines{"JNI_CreateJavaVM version=0x00010006 nOptions=1 ignoreUnrecognized=0", "option[0]=-Xmx1x",
                     "JNI_CreateJavaVM version=0x00010006 nOptions=0 ignoreUnrecognized=0",
                     "JNI_CreateJavaVM version=0x00010006 nOptions=0 ignoreUnrecognized=0"}));
}

TEST_F(FailureSwitch, CreateExceptionIsPendingUntilDescribed) {
    load();
    failWith(u"create-exception");
    ASSERT_EQ(create(), JNI_OK);
    EXPECT_TRUE(pending());
    EXPECT_TRUE(pending()) << "asking does not clear it";
    EXPECT_EQ(described(), "Exception in thread \"main\" zeptest.DoubleException: create-exception\n");
    EXPECT_FALSE(pending());
    EXPECT_EQ(described(), "") << "nothing is left to describe";
    EXPECT_EQ(logFrom("ExceptionOccurred pending"),
              (Lines{"ExceptionOccurred pending", "ExceptionOccurred pending", "ExceptionDescribe",
                     "ExceptionOccurred none", "ExceptionDescribe"}));
}

TEST_F(FailureSwitch, FindClassFailsForTheMainClassOnly) {
    ASSERT_NO_FATAL_FAILURE(startMain());
    failWith(u"findclass");
    EXPECT_NE(env->FindClass("java/lang/String"), nullptr);
    EXPECT_FALSE(pending());
    EXPECT_EQ(env->FindClass(kMainClass), nullptr);
    EXPECT_EQ(described(), "Exception in thread \"main\" zeptest.DoubleException: findclass\n");

    failWith(u"findclass-pending");
    EXPECT_NE(env->FindClass("java/lang/String"), nullptr);
    EXPECT_FALSE(pending());
    EXPECT_NE(env->FindClass(kMainClass), nullptr);
    EXPECT_EQ(described(), "Exception in thread \"main\" zeptest.DoubleException: findclass-pending\n");
}

TEST_F(FailureSwitch, ArrayFailsOrItsLastElementDoes) {
    ASSERT_NO_FATAL_FAILURE(startMain());
    failWith(u"array");
    EXPECT_EQ(env->NewObjectArray(2, stringClass, nullptr), nullptr);
    EXPECT_EQ(described(), "Exception in thread \"main\" zeptest.DoubleException: array\n");

    failWith(u"array-exception");
    jobjectArray array = env->NewObjectArray(2, stringClass, nullptr);
    ASSERT_NE(array, nullptr);
    EXPECT_FALSE(pending());
    env->SetObjectArrayElement(array, 0, env->NewStringUTF("a"));
    EXPECT_FALSE(pending());
    env->SetObjectArrayElement(array, 1, env->NewStringUTF("b"));
    EXPECT_EQ(described(), "Exception in thread \"main\" zeptest.DoubleException: array-exception\n");

    // With no element to set, the array itself comes with the exception.
    EXPECT_NE(env->NewObjectArray(0, stringClass, nullptr), nullptr);
    EXPECT_TRUE(pending());
}

TEST_F(FailureSwitch, MethodFailsOrComesWithAnException) {
    ASSERT_NO_FATAL_FAILURE(startMain());
    failWith(u"method");
    EXPECT_EQ(env->GetStaticMethodID(mainClass, "main", kMainSignature), nullptr);
    EXPECT_EQ(described(), "Exception in thread \"main\" zeptest.DoubleException: method\n");
    failWith(u"method-pending");
    EXPECT_NE(env->GetStaticMethodID(mainClass, "main", kMainSignature), nullptr);
    EXPECT_EQ(described(), "Exception in thread \"main\" zeptest.DoubleException: method-pending\n");
}

TEST_F(FailureSwitch, MainThrowsAfterItRan) {
    ASSERT_NO_FATAL_FAILURE(startMain());
    failWith(u"main-throws");
    env->CallStaticVoidMethod(mainClass, mainMethod, env->NewObjectArray(0, stringClass, nullptr));
    EXPECT_EQ(described(), "Exception in thread \"main\" zeptest.DoubleException: main-throws\n");
    const std::string call = "CallStaticVoidMethod class=com/quorvane/gridmere/Main method=main([Ljava/lang/String;)V";
    EXPECT_EQ(logFrom(call + " args=0"), (Lines{call + " args=0", "ExceptionDescribe"}));
}

TEST_F(FailureSwitch, MainExitEndsTheProcessAsSystemExitDoes) {
    failWith(u"main-exit=7,main-throws");
    EXPECT_EXIT(
        {
            startMain();
            env->CallStaticVoidMethod(mainClass, mainMethod, nullptr);
        },
        testing::ExitedWithCode(7), "");
    // Exit handlers ran, so the library was unloaded; no exception was raised.
    EXPECT_EQ(
        logFrom("CallStaticVoidMethod class=com/quorvane/gridmere/Main method=main([Ljava/lang/String;)V args=null"),
        (Lines{"CallStaticVoidMethod class=com/quorvane/gridmere/Main method=main([Ljava/lang/String;)V "
               "args=null",
               "unload"}));
}

TEST_F(FailureSwitch, DestroyWaitsAsLongAsAsked) {
    ASSERT_NO_FATAL_FAILURE(startMain());
    failWith(u"destroy-wait=300");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(vm->DestroyJavaVM(), JNI_OK);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    EXPECT_EQ(logFrom("DestroyJavaVM"), (Lines{"DestroyJavaVM", "DestroyJavaVM waited 300"}));
}

TEST_F(FailureSwitch, AnUnknownSwitchEndsTheProcess) {
    failWith(u"create,main-exti=3");
    EXPECT_EXIT(
        {
            load();
            create();
        },
        testing::ExitedWithCode(97), "unknown failure switch \"main-exti=3\"");
    EXPECT_EQ(logFrom("bad-switch main-exti=3"), Lines{"bad-switch main-exti=3"});
}

TEST_F(FailureSwitch, CreateCannotBeAskedToSucceed) {
    failWith(u"create=0");
    EXPECT_EXIT(
        {
            load();
            create();
        },
        testing::ExitedWithCode(97), "unknown failure switch \"create=0\"");
}

}  // namespace
}  // namespace zep::test
