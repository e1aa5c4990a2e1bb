// A launch made as the launcher makes it, through the C++ JNIEnv wrapper, and
// the exact lines that the double records for it.

#include "tests/jvm_double/double_fixture.h"

namespace zep::test {
namespace {

TEST_F(JvmDouble, RecordsEveryStepOfALaunch) {
    load();
    std::string classPath = "-Djava.class.path=zep.jar";
    std::string awkward = "-Dx=\xC3\xA9 \\ \t\x7F~";
    int extra = 0;
    JavaVMOption options[] = {{classPath.data(), nullptr}, {awkward.data(), &extra}};
    JavaVMInitArgs init{JNI_VERSION_1_6, 2, options, JNI_FALSE};
    auto createJavaVm = library.function<CreateJavaVm>("JNI_CreateJavaVM");
    ASSERT_NE(createJavaVm, nullptr);
    ASSERT_EQ(createJavaVm(&vm, reinterpret_cast<void**>(&env), &init), JNI_OK);

    stringClass = env->FindClass("java/lang/String");
    jobjectArray arguments = env->NewObjectArray(3, stringClass, nullptr);
    const jchar units[] = {0x0061, 0x00E9, 0xD83D, 0xDE00};
    env->SetObjectArrayElement(arguments, 0, env->NewString(units, 4));
    env->SetObjectArrayElement(arguments, 1, env->NewStringUTF("b\xC3\xA9"));
    EXPECT_EQ(env->ExceptionOccurred(), nullptr);
    mainClass = env->FindClass(kMainClass);
    mainMethod = env->GetStaticMethodID(mainClass, "main", kMainSignature);
    env->CallStaticVoidMethod(mainClass, mainMethod, arguments);
    EXPECT_EQ(vm->DestroyJavaVM(), JNI_OK);
    library.reset();

    EXPECT_EQ(log(),
              (Lines{
                  "load " + utf8Path(libraryIn(testHome("valid"))),
                  "JNI_CreateJavaVM version=0x00010006 nOptions=2 ignoreUnrecognized=0",
                  "option[0]=-Djava.class.path=zep.jar",
                  "option[1]=-Dx=\\xC3\\xA9 \\\\ \\x09\\x7F~",
                  "option[1].extraInfo=set",
                  "FindClass java/lang/String",
                  "NewObjectArray length=3 class=java/lang/String init=",
                  "NewString length=4 units=0061 00e9 d83d de00",
                  "SetObjectArrayElement index=0",
                  "NewStringUTF b\\xC3\\xA9",
                  "SetObjectArrayElement index=1",
                  "ExceptionOccurred none",
                  "FindClass com/quorvane/gridmere/Main",
                  "GetStaticMethodID class=com/quorvane/gridmere/Main name=main sig=([Ljava/lang/String;)V",
                  "CallStaticVoidMethod class=com/quorvane/gridmere/Main method=main([Ljava/lang/String;)V args=3",
                  "arg[0] units=0061 00e9 d83d de00",
                  "arg[1] units=0062 00e9",
                  "arg[2] null",
                  "DestroyJavaVM",
                  "unload",
              }));
}

TEST_F(JvmDouble, TheThreeCallVariantsRecordTheSameLines) {
    ASSERT_NO_FATAL_FAILURE(startMain());
    jobjectArray arguments = env->NewObjectArray(1, stringClass, env->NewStringUTF("x"));
    const jvalue argument{.l = arguments};
    env->functions->CallStaticVoidMethod(env, mainClass, mainMethod, arguments);
    env->CallStaticVoidMethod(mainClass, mainMethod, arguments);  // through CallStaticVoidMethodV
    env->CallStaticVoidMethodA(mainClass, mainMethod, &argument);
    env->CallStaticVoidMethod(mainClass, mainMethod, nullptr);

    const std::string call = "CallStaticVoidMethod class=com/quorvane/gridmere/Main method=main([Ljava/lang/String;)V";
    EXPECT_EQ(logFrom(call + " args=1"), (Lines{
                                             call + " args=1",
                                             "arg[0] units=0078",
                                             call + " args=1",
                                             "arg[0] units=0078",
                                             call + " args=1",
                                             "arg[0] units=0078",
                                             call + " args=null",
                                         }));
}

TEST_F(JvmDouble, TextIsRecordedSoThatNoUnitIsLost) {
    ASSERT_NO_FATAL_FAILURE(startMain());
    // Modified UTF-8: C0 80 is U+0000 and a surrogate comes encoded on its own.
    jstring odd = env->NewStringUTF(
        "a\xC0\x80"
        "b\xED\xA0\x80");
    jobjectArray arguments = env->NewObjectArray(2, stringClass, odd);
    env->CallStaticVoidMethod(mainClass, mainMethod, arguments);
    EXPECT_EQ(logFrom("NewStringUTF a\\xC0\\x80b\\xED\\xA0\\x80"),
              (Lines{
                  "NewStringUTF a\\xC0\\x80b\\xED\\xA0\\x80",
                  "NewObjectArray length=2 class=java/lang/String init=a\\x00b\\xED\\xA0\\x80",
                  "CallStaticVoidMethod class=com/quorvane/gridmere/Main method=main([Ljava/lang/String;)V args=2",
                  "arg[0] units=0061 0000 0062 d800",
                  "arg[1] units=0061 0000 0062 d800",
              }));
}

TEST_F(JvmDouble, EmptyTextsAndArrays) {
    ASSERT_NO_FATAL_FAILURE(startMain());
    jobjectArray none = env->NewObjectArray(0, stringClass, nullptr);
    env->NewString(nullptr, 0);
    env->NewStringUTF("");
    env->CallStaticVoidMethod(mainClass, mainMethod, none);
    EXPECT_EQ(logFrom("NewObjectArray length=0 class=java/lang/String init="),
              (Lines{
                  "NewObjectArray length=0 class=java/lang/String init=",
                  "NewString length=0 units=",
                  "NewStringUTF ",
                  "CallStaticVoidMethod class=com/quorvane/gridmere/Main method=main([Ljava/lang/String;)V args=0",
              }));
}

}  // namespace
}  // namespace zep::test
