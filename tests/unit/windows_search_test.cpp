// The Windows search over an in-memory registry and machine with Win32's own
// values: stage order, the four families, the version floor, the JavaHome
// value and the Path list.

#include <gtest/gtest.h>

#include "discovery/windows_search.h"
#include "tests/support/fake_machine.h"
#include "tests/support/fake_registry.h"

namespace zep::discovery {
namespace {

using test::FakeMachine;
using test::FakeRegistry;
using Strings = std::vector<std::u16string>;

const std::u16string kJre = u"HKLM\\SOFTWARE\\JavaSoft\\Java Runtime Environment";
const std::u16string kJreShort = u"HKLM\\SOFTWARE\\JavaSoft\\JRE";
const std::u16string kJdk = u"HKLM\\SOFTWARE\\JavaSoft\\JDK";
const std::u16string kJdkLong = u"HKLM\\SOFTWARE\\JavaSoft\\Java Development Kit";

class RegistrySearch : public ::testing::Test {
protected:
    void addHome(const std::u16string& home) { machine.addHome(home, u"\\bin\\java.exe", u"\\bin\\server\\jvm.dll"); }
    WindowsRuntimeSearch search() { return WindowsRuntimeSearch(machine, registry, trace); }
    std::optional<std::u16string> find() {
        const std::optional<FoundRuntime> found = search().find();
        return found ? std::optional(found->runtime.library) : std::nullopt;
    }

    void TearDown() override { EXPECT_EQ(registry.openKeys, 0) << "every family key is closed"; }

    FakeMachine machine;
    FakeRegistry registry;
    platform::Trace trace;  // off
};

// --- the version floor -------------------------------------------------------

TEST(VersionFloor, ComparesAsTextNotAsVersionNumbers) {
    const std::pair<std::u16string, bool> table[] = {
        {u"1.6", false},      {u"1.6.0_45", false}, {u"1.7", true},  {u"1.7.0_80", true}, {u"1.8", true},
        {u"1.8.0_202", true}, {u"1.10", false},     {u"1", false},   {u"1.", false},      {u"", false},
        {u"0.9", false},      {u"9", true},         {u"10", true},   {u"11.0.2", true},   {u"17", true},
        {u"1.7a", true},      {u"1.70", true},      {u"1-7", false}, {u"2", true},        {u"\u00e9", true},
    };
    for (const auto& [name, passes] : table) {
        EXPECT_EQ(passesVersionFloor(name), passes) << testing::PrintToString(std::string(name.begin(), name.end()));
    }
}

// --- stage order ---------------------------------------------------------------

TEST_F(RegistrySearch, VariableThatNamesAHomeDecidesAlone) {
    addHome(u"C:\\Env");
    machine.environment[u"QRVN_ZEP_JAVA_HOME"] = u"C:\\Env";
    registry.addVersion(u"JRE", u"9", u"C:\\Reg");
    addHome(u"C:\\Reg");
    EXPECT_EQ(find(), u"C:\\Env\\bin\\server\\jvm.dll");
    EXPECT_TRUE(registry.opened.empty()) << "the registry is not consulted";
}

TEST_F(RegistrySearch, VariableNamingNoHomeFallsThroughSilently) {
    machine.environment[u"QRVN_ZEP_JAVA_HOME"] = u"C:\\Nothing";
    registry.addVersion(u"JDK", u"17", u"C:\\Jdk");
    addHome(u"C:\\Jdk");
    EXPECT_EQ(find(), u"C:\\Jdk\\bin\\server\\jvm.dll");
    EXPECT_EQ(machine.probes.front(), u"present C:\\Nothing\\bin\\java.exe");
}

TEST_F(RegistrySearch, EmptyVariableGivesNoCandidate) {
    machine.environment[u"QRVN_ZEP_JAVA_HOME"] = u"";
    addHome(u"");  // an empty home would resolve if it were tried
    EXPECT_EQ(find(), std::nullopt);
    EXPECT_EQ(registry.opened,
              (Strings{kJre, kJreShort, kJdk, kJdkLong, u"HKLM\\SOFTWARE", u"HKLM\\SOFTWARE\\Azul Systems\\Zulu",
                       u"HKCU\\SOFTWARE", u"HKCU\\SOFTWARE\\Azul Systems\\Zulu"}));
    EXPECT_EQ(registry.accesses,
              (std::vector<std::uint32_t>{0x20019, 0x20019, 0x20019, 0x20019, 0x20119, 0x20119, 0x20119, 0x20119}))
        << "KEY_READ alone for the JavaSoft families, the 64-bit view named for the installers' records";
    EXPECT_TRUE(machine.probes.empty()) << "no Path either";
}

TEST_F(RegistrySearch, LongVariableIsReadWhole) {
    const std::u16string home = u"C:\\" + std::u16string(5000, u'j');
    addHome(home);
    machine.environment[u"QRVN_ZEP_JAVA_HOME"] = home;
    EXPECT_EQ(find(), home + u"\\bin\\server\\jvm.dll");
}

TEST_F(RegistrySearch, RuntimeBesideTheExecutableComesRightAfterTheVariable) {
    const std::u16string library = u"C:\\App\\runtime\\bin\\server\\jvm.dll";
    machine.executableFolder = u"C:\\App";
    registry.addVersion(u"JRE", u"9", u"C:\\Reg");
    addHome(u"C:\\Reg");
    machine.files.insert(library);  // no bin\java.exe: jlink --strip-native-commands leaves none
    machine.loadable.insert(library);
    EXPECT_EQ(find(), library);
    EXPECT_TRUE(registry.opened.empty());

    machine.environment[u"QRVN_ZEP_JAVA_HOME"] = u"C:\\Reg";
    EXPECT_EQ(find(), u"C:\\Reg\\bin\\server\\jvm.dll") << "the variable stays the override";
    machine.environment.clear();

    // One that is no file, or does not load, is passed over; nothing below it is tried.
    for (const bool regular : {false, true}) {
        machine.probes.clear();
        if (regular) {
            machine.notRegular.clear();
            machine.loadable.erase(library);
        } else {
            machine.notRegular.insert(library);
        }
        EXPECT_EQ(find(), u"C:\\Reg\\bin\\server\\jvm.dll");
        EXPECT_EQ(machine.probes[1], u"regular " + library);
        for (const auto& probe : machine.probes) EXPECT_EQ(probe.find(u"runtime\\jre"), std::u16string::npos);
    }
}

TEST_F(RegistrySearch, FamiliesAreSearchedInOrderAndStopAtTheFirstHit) {
    registry.addVersion(u"JRE", u"9", u"C:\\Nine");
    registry.addVersion(u"JDK", u"17", u"C:\\Seventeen");
    addHome(u"C:\\Nine");
    addHome(u"C:\\Seventeen");
    EXPECT_EQ(find(), u"C:\\Nine\\bin\\server\\jvm.dll");
    EXPECT_EQ(registry.opened, (Strings{kJre, kJreShort})) << "JDK and Java Development Kit are never opened";
}

TEST_F(RegistrySearch, PathIsTheLastResort) {
    addHome(u"C:\\B");
    machine.environment[u"Path"] = u"C:\\A;C:\\B";
    EXPECT_EQ(find(), u"C:\\B\\bin\\server\\jvm.dll");
    EXPECT_EQ(registry.opened, (Strings{kJre, kJreShort, kJdk, kJdkLong})) << "nothing after Path";
}

TEST_F(RegistrySearch, NothingAnywhereGivesTheEmptyText) {
    machine.environment[u"Path"] = u"C:\\Windows;C:\\Windows\\System32";
    registry.addVersion(u"JRE", u"1.6.0_45", u"C:\\Old");
    addHome(u"C:\\Old");
    EXPECT_EQ(find(), std::nullopt);
}

// --- the stages after the written ones -----------------------------------------------

TEST_F(RegistrySearch, JavaHomeThenTheBinOfJavaOnPathThenTheInstallersRecords) {
    machine.environment[u"JAVA_HOME"] = u"C:\\NoHome";
    machine.environment[u"Path"] = u"\"C:\\Quoted\\bin\";C:\\NoJava\\bin;C:\\Lib\\lib;C:\\Trailing\\BIN\\";
    machine.files.insert({u"C:\\Quoted\\bin\\java.exe", u"C:\\Lib\\lib\\java.exe", u"C:\\Trailing\\BIN\\java.exe"});
    addHome(u"C:\\Lib");
    addHome(u"C:\\Trailing");
    registry.add(u"HKLM\\SOFTWARE\\Eclipse Adoptium\\JDK\\21\\hotspot\\MSI",
                 {{u"Path", {test::kRegSz, u"C:\\Installed"}}});
    addHome(u"C:\\Installed");
    EXPECT_EQ(find(), u"C:\\Trailing\\bin\\server\\jvm.dll");
    Strings homes;
    for (const auto& probe : machine.probes) {
        if (probe.ends_with(u"\\java.exe") && probe.find(u"\\jre\\") == std::u16string::npos) homes.push_back(probe);
    }
    EXPECT_EQ(homes, (Strings{
                         u"present C:\\NoJava\\bin\\bin\\java.exe",  // Path as homes, a written stage
                         u"present C:\\Lib\\lib\\bin\\java.exe",
                         u"present C:\\Trailing\\BIN\\\\bin\\java.exe",
                         u"present C:\\NoHome\\bin\\java.exe",  // JAVA_HOME
                         u"present C:\\Quoted\\bin\\java.exe",  // java.exe on Path: a bin that has one
                         u"present C:\\Quoted\\bin\\java.exe",  // and its home
                         u"present C:\\NoJava\\bin\\java.exe",
                         u"present C:\\Trailing\\BIN\\java.exe",
                         u"present C:\\Trailing\\bin\\java.exe",
                     }))
        << "no record of an installer was needed";
    EXPECT_EQ(registry.opened.size(), 4u);
}

TEST_F(RegistrySearch, InstallersRecordsComeLastAndOnlyAbsoluteValuesAreTried) {
    machine.environment[u"JAVA_HOME"] = u"jdk";  // relative: passed over
    addHome(u"jdk");
    registry.add(u"HKLM\\SOFTWARE\\Eclipse Adoptium\\JDK\\23\\hotspot\\MSI", {{u"Path", {test::kRegSz, u"relative"}}});
    registry.add(u"HKLM\\SOFTWARE\\Eclipse Adoptium\\JDK\\17\\hotspot\\MSI", {{u"Path", {test::kRegSz, u"C:\\17\\"}}});
    registry.add(u"HKCU\\SOFTWARE\\Eclipse Adoptium\\JDK\\21\\hotspot\\MSI", {{u"Path", {test::kRegSz, u"C:\\21\\"}}});
    addHome(u"relative");
    addHome(u"C:\\17\\");
    addHome(u"C:\\21\\");
    EXPECT_EQ(find(), u"C:\\21\\\\bin\\server\\jvm.dll") << "the newest, per user, joined verbatim";
}

TEST_F(RegistrySearch, AWrittenStageThatFindsARuntimeDecidesAsBefore) {
    registry.addVersion(u"JRE", u"1.8", u"C:\\Jre8");
    addHome(u"C:\\Jre8");
    machine.environment[u"JAVA_HOME"] = u"C:\\Jdk21";
    addHome(u"C:\\Jdk21");
    registry.add(u"HKLM\\SOFTWARE\\Eclipse Adoptium\\JDK\\21\\hotspot\\MSI", {{u"Path", {test::kRegSz, u"C:\\Jdk21"}}});
    EXPECT_EQ(find(), u"C:\\Jre8\\bin\\server\\jvm.dll");
    EXPECT_EQ(registry.opened, (Strings{kJre, kJreShort}));
}

// --- one family ------------------------------------------------------------------

TEST_F(RegistrySearch, FirstEnumeratedSubkeyThatResolvesWinsUnsorted) {
    registry.addVersion(u"JDK", u"11.0.2", u"C:\\Eleven");
    registry.addVersion(u"JDK", u"17", u"C:\\Seventeen");
    addHome(u"C:\\Eleven");
    addHome(u"C:\\Seventeen");
    EXPECT_EQ(test::libraryOf(search().searchRegistryFamily(u"JDK")), u"C:\\Eleven\\bin\\server\\jvm.dll");
}

TEST_F(RegistrySearch, SubkeysBelowTheFloorAreNeverRead) {
    registry.addVersion(u"JRE", u"1.6.0_45", u"C:\\Old");
    registry.addVersion(u"JRE", u"1.10", u"C:\\Ten");
    addHome(u"C:\\Old");
    addHome(u"C:\\Ten");
    EXPECT_EQ(test::libraryOf(search().searchRegistryFamily(u"JRE")), std::nullopt);
    EXPECT_TRUE(machine.probes.empty());
}

TEST_F(RegistrySearch, UnusableSubkeysArePassedOverForTheNext) {
    registry.add(kJdk + u"\\9");                                                                // no JavaHome
    registry.add(kJdk + u"\\10", {{u"JavaHome", {test::kRegDword, u"x"}}});                     // wrong type
    registry.add(kJdk + u"\\11", {{u"JavaHome", {test::kRegSz, std::u16string(1024, u'x')}}});  // too long
    registry.add(kJdk + u"\\12", {{u"JavaHome", {test::kRegSz, u"C:\\NotAHome"}}});             // names no home
    registry.add(kJdk + u"\\13", {{u"JavaHome", {test::kRegSz, u"C:\\Good"}}});
    registry.failingEnumerations.insert(kJdk + u"\\13");
    registry.add(kJdk + u"\\" + std::u16string(260, u'9'),
                 {{u"JavaHome", {test::kRegSz, u"C:\\Long"}}});  // too long a name
    registry.add(kJdk + u"\\17", {{u"JavaHome", {test::kRegExpandSz, u"C:\\Good"}}});
    addHome(u"C:\\Long");
    addHome(u"C:\\Good");
    EXPECT_EQ(test::libraryOf(search().searchRegistryFamily(u"JDK")), u"C:\\Good\\bin\\server\\jvm.dll");
    EXPECT_EQ(machine.probes.front(), u"present C:\\NotAHome\\bin\\java.exe");
}

TEST_F(RegistrySearch, LongestFittingValuesAreRead) {
    const std::u16string home = u"C:\\" + std::u16string(1020, u'h');  // 1023 units
    const std::u16string name(259, u'9');
    registry.add(kJre + u"\\" + name, {{u"JavaHome", {test::kRegSz, home}}});
    addHome(home);
    EXPECT_EQ(test::libraryOf(search().searchRegistryFamily(u"Java Runtime Environment")),
              home + u"\\bin\\server\\jvm.dll");
}

TEST_F(RegistrySearch, FamilyWithoutSubkeysOrWithAFailedCountYieldsNothingAndIsClosed) {
    registry.add(kJre);
    registry.addVersion(u"JRE", u"9", u"C:\\Nine");
    registry.failingCountQueries.insert(kJreShort);
    addHome(u"C:\\Nine");
    EXPECT_EQ(search().searchRegistryFamily(u"Java Runtime Environment"), std::nullopt);
    EXPECT_EQ(search().searchRegistryFamily(u"JRE"), std::nullopt) << "a failed count query means no subkeys";
    EXPECT_TRUE(machine.probes.empty());
}

// --- Path ------------------------------------------------------------------------

TEST_F(RegistrySearch, PathEntriesThatAreNotAbsoluteAreNeverTried) {
    for (const char16_t* home : {u"", u".", u"x", u"\\x", u"X:x", u"\\\\"}) addHome(home);
    machine.environment[u"Path"] = u"C:\\A;;.;x;\\x;X:x;\\\\;C:\\B;";
    EXPECT_EQ(test::libraryOf(search().searchPathEntries()), std::nullopt);
    Strings tried;
    for (const auto& probe : machine.probes) {
        if (probe.ends_with(u"\\bin\\java.exe") && probe.find(u"\\jre\\") == std::u16string::npos)
            tried.push_back(probe);
    }
    EXPECT_EQ(tried, (Strings{u"present C:\\A\\bin\\java.exe", u"present C:\\B\\bin\\java.exe"}));
}

TEST_F(RegistrySearch, PathEntryNamingARuntimesBinIsNotAHome) {
    addHome(u"C:\\Java");
    machine.environment[u"Path"] = u"C:\\Java\\bin";
    EXPECT_EQ(test::libraryOf(search().searchPathEntries()), std::nullopt);
}

TEST_F(RegistrySearch, PathEntriesAreTakenVerbatimAndQuotedOnesAreNotAbsolute) {
    addHome(u"\"C:\\Java\"");
    addHome(u"C:\\Program Files\\Java ");
    machine.environment[u"Path"] = u"\"C:\\Java\";C:\\Program Files\\Java ;C:\\Y";
    EXPECT_EQ(test::libraryOf(search().searchPathEntries()), u"C:\\Program Files\\Java \\bin\\server\\jvm.dll");
    EXPECT_EQ(machine.probes.front(), u"present C:\\Program Files\\Java \\bin\\java.exe");
}

TEST_F(RegistrySearch, UnsetOrEmptyPathEndsTheSearch) {
    EXPECT_EQ(test::libraryOf(search().searchPathEntries()), std::nullopt);
    machine.environment[u"Path"] = u"";
    addHome(u"");
    EXPECT_EQ(test::libraryOf(search().searchPathEntries()), std::nullopt);
    EXPECT_TRUE(machine.probes.empty());
}

TEST_F(RegistrySearch, PathAtTheWindowsMaximumIsSearchedToTheEnd) {
    std::u16string list;
    while (list.size() < 32767 - 10) list += u"C:\\none;";
    list += u"C:\\Last";
    addHome(u"C:\\Last");
    machine.environment[u"Path"] = list;
    EXPECT_EQ(test::libraryOf(search().searchPathEntries()), u"C:\\Last\\bin\\server\\jvm.dll");
}

}  // namespace
}  // namespace zep::discovery
