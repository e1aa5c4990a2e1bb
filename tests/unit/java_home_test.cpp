// What counts as a Java home: the files, the load probe, the jre fallback and
// the plain joining of paths.

#include <gtest/gtest.h>

#include "discovery/java_home.h"
#include "tests/support/fake_machine.h"

namespace zep::discovery {
namespace {

using test::FakeMachine;
using Probes = std::vector<std::u16string>;

// The library of the home the machine holds at `home` (or its jre), the
// trace off.
std::optional<RuntimeHome> resolve(const std::u16string& home, const HomeLayout& layout, FakeMachine& machine) {
    platform::Trace quiet;
    return resolveJvmFromHome(home, layout, {machine, quiet});
}
std::optional<std::u16string> resolveLibrary(const std::u16string& home, const HomeLayout& layout,
                                             FakeMachine& machine) {
    return test::libraryOf(resolve(home, layout, machine));
}

TEST(JavaHome, ProbesTheExecutableThenTheLibraryThenLoadsIt) {
    FakeMachine machine;
    machine.addHome(u"C:\\Java", u"\\bin\\java.exe", u"\\bin\\server\\jvm.dll");
    EXPECT_EQ(resolveLibrary(u"C:\\Java", kWindowsHome, machine), u"C:\\Java\\bin\\server\\jvm.dll");
    EXPECT_EQ(machine.probes, (Probes{u"present C:\\Java\\bin\\java.exe", u"present C:\\Java\\bin\\server\\jvm.dll",
                                      u"load C:\\Java\\bin\\server\\jvm.dll"}));
}

TEST(JavaHome, FallsBackToTheJreDirectory) {
    FakeMachine machine;
    machine.addHome(u"C:\\Java\\jre", u"\\bin\\java.exe", u"\\bin\\server\\jvm.dll");
    EXPECT_EQ(resolve(u"C:\\Java", kWindowsHome, machine),
              (RuntimeHome{u"C:\\Java\\jre", u"C:\\Java\\jre\\bin\\server\\jvm.dll"}));
}

TEST(JavaHome, OwnLayoutIsPreferredOverJre) {
    FakeMachine machine;
    machine.addHome(u"/opt/jdk", u"/bin/java", u"/lib/server/libjvm.so");
    machine.addHome(u"/opt/jdk/jre", u"/bin/java", u"/lib/server/libjvm.so");
    EXPECT_EQ(resolveLibrary(u"/opt/jdk", kPosixHome, machine), u"/opt/jdk/lib/server/libjvm.so");
}

TEST(JavaHome, MissingExecutableOrUnloadableLibraryRejectsTheLayout) {
    FakeMachine machine;
    machine.files = {u"C:\\A\\bin\\server\\jvm.dll"};  // no java.exe
    machine.loadable = {u"C:\\A\\bin\\server\\jvm.dll"};
    machine.files.insert({u"C:\\B\\bin\\java.exe", u"C:\\B\\bin\\server\\jvm.dll"});  // does not load
    EXPECT_EQ(resolveLibrary(u"C:\\A", kWindowsHome, machine), std::nullopt);
    EXPECT_EQ(resolveLibrary(u"C:\\B", kWindowsHome, machine), std::nullopt);
    EXPECT_EQ(std::count_if(machine.probes.begin(), machine.probes.end(),
                            [](const std::u16string& probe) { return probe.starts_with(u"load "); }),
              1)
        << "only B's library was there to be loaded";
    // Neither layout skips the library probe order; the jre is asked next.
    EXPECT_EQ(machine.probes.back(), u"present C:\\B\\jre\\bin\\java.exe");
}

TEST(JavaHome, PathsAreJoinedVerbatim) {
    FakeMachine machine;
    machine.addHome(u"C:\\Java\\", u"\\bin\\java.exe", u"\\bin\\server\\jvm.dll");
    machine.addHome(u"", u"\\bin\\java.exe", u"\\bin\\server\\jvm.dll");
    machine.addHome(u"\"C:\\Program Files\\J\"", u"\\bin\\java.exe", u"\\bin\\server\\jvm.dll");
    EXPECT_EQ(resolveLibrary(u"C:\\Java\\", kWindowsHome, machine), u"C:\\Java\\\\bin\\server\\jvm.dll")
        << "two backslashes, nothing normalised";
    EXPECT_EQ(resolveLibrary(u"", kWindowsHome, machine), u"\\bin\\server\\jvm.dll");
    EXPECT_EQ(resolveLibrary(u"\"C:\\Program Files\\J\"", kWindowsHome, machine),
              u"\"C:\\Program Files\\J\"\\bin\\server\\jvm.dll")
        << "quotes are part of the home";
}

TEST(JavaHome, DirectoryNamedLikeTheFilesPassesThePresenceProbes) {
    FakeMachine machine;
    // The machine does not distinguish files from directories, as the
    // attribute probe does not: only the load decides.
    machine.files = {u"D\\bin\\java.exe", u"D\\bin\\server\\jvm.dll"};
    EXPECT_EQ(resolveLibrary(u"D", kWindowsHome, machine), std::nullopt);
    EXPECT_EQ(std::count(machine.probes.begin(), machine.probes.end(), u"load D\\bin\\server\\jvm.dll"), 1);
}

}  // namespace
}  // namespace zep::discovery
