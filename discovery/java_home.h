#pragma once
// What makes a directory a Java home, on either platform.

#include <optional>
#include <string>
#include <string_view>

#include "discovery/find_java_runtime.h"
#include "platform/system_access.h"
#include "platform/trace.h"

namespace zep::discovery {

// What a search looks at, and the trace it tells what it sees there.
struct SearchContext {
    platform::SystemAccess& machine;
    platform::Trace& trace;
};

// Where a home keeps its launcher and its JVM library, relative to the home.
// Each begins with the separator, so paths are joined by plain concatenation
// (a home "\\?\...\" excepted: its separator is not doubled).
struct HomeLayout {
    std::u16string_view javaExecutable;
    std::u16string_view jvmLibrary;
    std::u16string_view jreDirectory;    // tried when the home itself fails
    std::u16string_view bundledRuntime;  // an application's own runtime, beside its executable
};

inline constexpr HomeLayout kWindowsHome{u"\\bin\\java.exe", u"\\bin\\server\\jvm.dll", u"\\jre", u"\\runtime"};
inline constexpr HomeLayout kPosixHome{u"/bin/java", u"/lib/server/libjvm.so", u"/jre", u"/runtime"};

// True when the java executable and the JVM library are both present under
// `home` and the library loads into this process; the probe load is released
// before this returns. `source` names where the candidate came from, for the
// trace.
bool isJavaHome(const std::u16string& home, const HomeLayout& layout, const SearchContext& context,
                std::u16string_view source = u"candidate");

// True when the JVM library at `library`, inside `home`, loads into this
// process (the probe load is released again); says so in the trace.
bool libraryLoads(const std::u16string& home, const std::u16string& library, const SearchContext& context,
                  std::u16string_view source);

// When `home`, or else `home` + jreDirectory, is a Java home: that directory,
// and it + jvmLibrary.
std::optional<RuntimeHome> resolveJvmFromHome(const std::u16string& home, const HomeLayout& layout,
                                              const SearchContext& context, std::u16string_view source = u"candidate");

}  // namespace zep::discovery
