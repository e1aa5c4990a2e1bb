#include "tests/jvm_double/double_fixture.h"

#include "tests/support/environment.h"
#include "tests/support/process.h"

namespace zep::test {

void JvmDouble::SetUp() {
    // Death tests run their statement in a fresh run of this program, which
    // is safe with the threads that some tests start.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const auto directory = std::filesystem::path(testProgramDirectory()) / "jvm_double_logs";
    std::filesystem::create_directories(directory);
    logPath = directory / (std::string(test->test_suite_name()) + "." + test->name() + ".log");
    std::filesystem::remove(logPath);
    setEnvironmentVariable(u"ZEPTEST_JVM_LOG", logPath.u16string());
    setEnvironmentVariable(u"ZEPTEST_JVM_FAIL", std::nullopt);
}

void JvmDouble::TearDown() {
    library.reset();
    setEnvironmentVariable(u"ZEPTEST_JVM_LOG", std::nullopt);
    setEnvironmentVariable(u"ZEPTEST_JVM_FAIL", std::nullopt);
}

void JvmDouble::failWith(const std::u16string& switches) { setEnvironmentVariable(u"ZEPTEST_JVM_FAIL", switches); }

Lines JvmDouble::log() const { return JvmLog(logPath).lines(); }

Lines JvmDouble::logFrom(std::string_view first) const {
    Lines lines = log();
    auto at = lines.begin();
    while (at != lines.end() && *at != first) ++at;
    return Lines(at, lines.end());
}

void JvmDouble::load(std::string_view home) {
    library = platform::Library::load(libraryIn(testHome(home)).u16string());
    ASSERT_TRUE(library) << utf8Path(libraryIn(testHome(home)));
}

jint JvmDouble::create(const std::vector<std::string>& options) {
    auto createJavaVm = library.function<CreateJavaVm>("JNI_CreateJavaVM");
    if (createJavaVm == nullptr) {
        ADD_FAILURE() << "no JNI_CreateJavaVM";
        return JNI_ERR;
    }
    std::vector<std::string> texts = options;
    std::vector<JavaVMOption> vmOptions;
    for (auto& text : texts) vmOptions.push_back(JavaVMOption{text.data(), nullptr});
    JavaVMInitArgs init{JNI_VERSION_1_6, static_cast<jint>(vmOptions.size()), vmOptions.data(), JNI_FALSE};
    return createJavaVm(&vm, reinterpret_cast<void**>(&env), &init);
}

void JvmDouble::startMain() {
    load();
    ASSERT_EQ(create(), JNI_OK);
    stringClass = env->FindClass("java/lang/String");
    mainClass = env->FindClass(kMainClass);
    ASSERT_NE(mainClass, nullptr);
    mainMethod = env->GetStaticMethodID(mainClass, "main", kMainSignature);
    ASSERT_NE(mainMethod, nullptr);
}

std::string JvmDouble::described() {
    ::testing::internal::CaptureStderr();
    env->ExceptionDescribe();
    return ::testing::internal::GetCapturedStderr();
}

}  // namespace zep::test
