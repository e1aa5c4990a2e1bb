// The Linux search over an in-memory machine: the variable, the runtime
// directory in name order, and PATH followed through symbolic links.

#include <gtest/gtest.h>

#include "discovery/posix_search.h"
#include "tests/support/fake_machine.h"

namespace zep::discovery {
namespace {

using test::FakeMachine;

class DirectorySearch : public ::testing::Test {
protected:
    void addHome(const std::u16string& home) { machine.addHome(home, u"/bin/java", u"/lib/server/libjvm.so"); }
    std::optional<FoundRuntime> search() { return PosixRuntimeSearch(machine, trace).find(); }
    std::optional<std::u16string> find() {
        const std::optional<FoundRuntime> found = search();
        return found ? std::optional(found->runtime.library) : std::nullopt;
    }

    FakeMachine machine;
    platform::Trace trace;  // off
};

TEST_F(DirectorySearch, VariableComesFirst) {
    addHome(u"/opt/mine");
    addHome(u"/usr/lib/jvm/a");
    machine.directories[u"/usr/lib/jvm"] = {u"a"};
    machine.environment[u"QRVN_ZEP_JAVA_HOME"] = u"/opt/mine";
    EXPECT_EQ(find(), u"/opt/mine/lib/server/libjvm.so");
}

TEST_F(DirectorySearch, RuntimeBesideTheExecutableComesBeforeTheSystemsRuntimes) {
    addHome(u"/usr/lib/jvm/a");
    machine.directories[u"/usr/lib/jvm"] = {u"a"};
    machine.executableFolder = u"/opt/app";
    machine.files.insert(u"/opt/app/runtime/lib/server/libjvm.so");
    machine.loadable.insert(u"/opt/app/runtime/lib/server/libjvm.so");
    EXPECT_EQ(find(), u"/opt/app/runtime/lib/server/libjvm.so");
}

TEST_F(DirectorySearch, RuntimeDirectoryIsTriedInNameOrder) {
    addHome(u"/usr/lib/jvm/java-17-openjdk-amd64");
    addHome(u"/usr/lib/jvm/java-11-openjdk-amd64");
    machine.directories[u"/usr/lib/jvm"] = {u"java-17-openjdk-amd64", u"zulu", u"java-11-openjdk-amd64", u"default"};
    EXPECT_EQ(find(), u"/usr/lib/jvm/java-11-openjdk-amd64/lib/server/libjvm.so");
    EXPECT_EQ(machine.probes.front(), u"present /usr/lib/jvm/default/bin/java");
}

TEST_F(DirectorySearch, RuntimeDirectoryIsTriedInTheOrderOfTheNamesBytes) {
    // As bytes E9 (a name that is no UTF-8), EF BC A1 (U+FF21) and F0 90 80 80
    // (U+10000); as UTF-16 the order would be U+10000, the byte's U+DCE9, U+FF21.
    const std::u16string latin1(1, char16_t{0xDCE9});
    machine.directories[u"/usr/lib/jvm"] = {u"\uFF21", u"\U00010000", latin1, u"z"};
    EXPECT_EQ(find(), std::nullopt);
    std::vector<std::u16string> tried;
    const std::u16string prefix = u"present /usr/lib/jvm/", suffix = u"/bin/java";
    for (const std::u16string& probe : machine.probes) {
        if (probe.starts_with(prefix) && probe.ends_with(suffix) && !probe.ends_with(u"/jre/bin/java")) {
            tried.push_back(probe.substr(prefix.size(), probe.size() - prefix.size() - suffix.size()));
        }
    }
    EXPECT_EQ(tried, (std::vector<std::u16string>{u"z", latin1, u"\uFF21", u"\U00010000"}));
}

TEST_F(DirectorySearch, RuntimeWithoutALoadableLibraryIsPassedOver) {
    machine.files = {u"/usr/lib/jvm/a/bin/java", u"/usr/lib/jvm/a/lib/server/libjvm.so"};
    addHome(u"/usr/lib/jvm/b");
    machine.directories[u"/usr/lib/jvm"] = {u"a", u"b"};
    EXPECT_EQ(find(), u"/usr/lib/jvm/b/lib/server/libjvm.so");
}

TEST_F(DirectorySearch, JavaOnPathLeadsThroughItsLinksToItsHome) {
    addHome(u"/opt/jdk-21");
    machine.environment[u"PATH"] = u"/usr/local/bin:/usr/bin";
    machine.executables = {u"/usr/bin/java"};
    machine.realPaths[u"/usr/bin/java"] = u"/opt/jdk-21/bin/java";
    EXPECT_EQ(find(), u"/opt/jdk-21/lib/server/libjvm.so");
}

TEST_F(DirectorySearch, PathEntriesWithoutAnExecutableJavaAreSkipped) {
    addHome(u"/opt/jdk");
    machine.environment[u"PATH"] = u"/nojava:/opt/jdk/bin";
    machine.files.insert(u"/nojava/java");  // present, not executable
    machine.executables = {u"/opt/jdk/bin/java"};
    machine.realPaths[u"/opt/jdk/bin/java"] = u"/opt/jdk/bin/java";
    EXPECT_EQ(find(), u"/opt/jdk/lib/server/libjvm.so");
}

TEST_F(DirectorySearch, PathEntriesThatAreNotAbsoluteAreNeverTried) {
    addHome(u"/home/u/jdk");
    machine.environment[u"PATH"] = u"::.:bin:./bin";
    machine.executables = {u"/java", u"./java", u"bin/java", u"./bin/java"};
    for (const auto& java : machine.executables) machine.realPaths[java] = u"/home/u/jdk/bin/java";
    EXPECT_EQ(find(), std::nullopt);
    EXPECT_TRUE(machine.probes.empty());
}

TEST_F(DirectorySearch, UnresolvableJavaAndJavaAtTheRootAreHandled) {
    machine.environment[u"PATH"] = u"/broken:/";
    machine.executables = {u"/broken/java", u"//java"};
    machine.realPaths[u"//java"] = u"/bin/java";  // its home is the root itself
    addHome(u"");
    EXPECT_EQ(find(), u"/lib/server/libjvm.so");
}

TEST_F(DirectorySearch, JavaHomeComesLastAndOnlyWhenAbsolute) {
    addHome(u"/opt/jdk");
    addHome(u"jdk");
    addHome(u"/usr/lib/jvm/a");
    machine.environment[u"JAVA_HOME"] = u"/opt/jdk";
    machine.directories[u"/usr/lib/jvm"] = {u"a"};
    EXPECT_EQ(find(), u"/usr/lib/jvm/a/lib/server/libjvm.so");
    machine.directories.clear();
    EXPECT_EQ(find(), u"/opt/jdk/lib/server/libjvm.so");
    machine.environment[u"JAVA_HOME"] = u"jdk";
    EXPECT_EQ(find(), std::nullopt);
}

TEST_F(DirectorySearch, NothingFoundGivesTheEmptyText) {
    machine.environment[u"PATH"] = u"/usr/bin:/bin";
    EXPECT_EQ(find(), std::nullopt);
}

// What the launch keeps of the search: each stage names itself, with the home
// it proved (a home's jre, when that was the one).
TEST(SearchResult, NamesTheStageThatChoseAndTheHome) {
    struct Case {
        SearchStage stage;
        void (*setUp)(FakeMachine&);
        std::u16string home;
    };
    static constexpr auto kJre = [](FakeMachine& machine, const char16_t* home) {
        machine.addHome(std::u16string(home) + u"/jre", u"/bin/java", u"/lib/server/libjvm.so");
    };
    const Case cases[] = {
        {SearchStage::ZepJavaHome,
         [](FakeMachine& m) {
             kJre(m, u"/opt/mine");
             m.environment[u"QRVN_ZEP_JAVA_HOME"] = u"/opt/mine";
         },
         u"/opt/mine/jre"},
        {SearchStage::BundledRuntime,
         [](FakeMachine& m) {
             m.executableFolder = u"/opt/app";
             m.files.insert(u"/opt/app/runtime/lib/server/libjvm.so");
             m.loadable.insert(u"/opt/app/runtime/lib/server/libjvm.so");
         },
         u"/opt/app/runtime"},
        {SearchStage::RuntimeDirectory,
         [](FakeMachine& m) {
             kJre(m, u"/usr/lib/jvm/a");
             m.directories[u"/usr/lib/jvm"] = {u"a"};
         },
         u"/usr/lib/jvm/a/jre"},
        {SearchStage::JavaOnPath,
         [](FakeMachine& m) {
             m.addHome(u"/opt/jdk", u"/bin/java", u"/lib/server/libjvm.so");
             m.environment[u"PATH"] = u"/usr/bin";
             m.executables = {u"/usr/bin/java"};
             m.realPaths[u"/usr/bin/java"] = u"/opt/jdk/bin/java";
         },
         u"/opt/jdk"},
        {SearchStage::JavaHome,
         [](FakeMachine& m) {
             kJre(m, u"/opt/jdk");
             m.environment[u"JAVA_HOME"] = u"/opt/jdk";
         },
         u"/opt/jdk/jre"},
    };
    for (const Case& c : cases) {
        FakeMachine machine;
        platform::Trace trace;
        c.setUp(machine);
        const std::optional<FoundRuntime> found = PosixRuntimeSearch(machine, trace).find();
        ASSERT_TRUE(found) << stageName(c.stage);
        EXPECT_EQ(found->stage, c.stage) << stageName(c.stage);
        EXPECT_EQ(found->runtime.home, c.home) << stageName(c.stage);
        EXPECT_EQ(found->runtime.library, c.home + u"/lib/server/libjvm.so") << stageName(c.stage);
    }
}

}  // namespace
}  // namespace zep::discovery
