// The test homes as a launcher finds them, and the libraries in them.

#include <filesystem>

#include "tests/jvm_double/double_fixture.h"

namespace zep::test {
namespace {

namespace fs = std::filesystem;

TEST(TestHome, HasTheLayoutOfAJavaRuntime) {
    for (const char* home : {"valid", "noentry", "unloadable"}) {
        EXPECT_TRUE(fs::is_regular_file(testHome(home) / ZEP_TEST_HOME_JAVA)) << home;
        EXPECT_TRUE(fs::is_regular_file(libraryIn(testHome(home)))) << home;
    }
    EXPECT_FALSE(fs::exists(testHome("no-java") / ZEP_TEST_HOME_JAVA));
    EXPECT_TRUE(fs::is_regular_file(libraryIn(testHome("no-java"))));
    EXPECT_FALSE(fs::exists(testHome("jre-only") / "bin"));
    EXPECT_TRUE(fs::is_regular_file(testHome("jre-only") / "jre" / ZEP_TEST_HOME_JAVA));
    EXPECT_TRUE(fs::is_regular_file(testHome("jre-only") / "jre" / ZEP_TEST_HOME_LIBRARY));
}

TEST(TestHome, JavaProgramLooksRunnable) {
    const auto permissions = fs::status(testHome("valid") / ZEP_TEST_HOME_JAVA).permissions();
    EXPECT_NE(permissions & fs::perms::owner_exec, fs::perms::none);
}

TEST_F(JvmDouble, LoadAndUnloadAreRecordedWithThePathAsLoaded) {
    load("jre-only/jre");
    library.reset();
    EXPECT_EQ(log(), (Lines{"load " + utf8Path(libraryIn(testHome("jre-only") / "jre")), "unload"}));
}

TEST_F(JvmDouble, TheNoEntryLibraryLoadsButCannotCreateAMachine) {
    load("noentry");
    EXPECT_EQ(library.function<CreateJavaVm>("JNI_CreateJavaVM"), nullptr);
    library.reset();
    EXPECT_EQ(log(), (Lines{"load " + utf8Path(libraryIn(testHome("noentry"))), "unload"}));
}

TEST_F(JvmDouble, TheUnloadableLibraryDoesNotLoad) {
    EXPECT_FALSE(platform::Library::load(libraryIn(testHome("unloadable")).u16string()));
    EXPECT_EQ(log(), Lines{});
}

}  // namespace
}  // namespace zep::test
