// What the runtime search costs when it finds nothing: every candidate is
// probed and rejected. The in-memory machine shows the search's own cost and
// that it grows linearly; the real machine adds what the probes cost.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "discovery/posix_search.h"
#include "discovery/windows_search.h"
#include "tests/support/fake_machine.h"
#include "tests/support/fake_registry.h"
#include "tests/support/real_system.h"

namespace {

using namespace zep;

std::u16string pathOf(std::int64_t entries, char16_t separator, const std::u16string& stem) {
    std::u16string list;
    for (std::int64_t i = 0; i < entries; ++i) {
        if (i != 0) list += separator;
        list += stem + std::u16string(u"entry") + static_cast<char16_t>(u'0' + i % 10) + u"\\x";
    }
    return list;
}

void PathWithoutHomes(benchmark::State& state) {
    test::FakeMachine machine;
    test::FakeRegistry registry;
    platform::Trace quiet;
    machine.environment[u"Path"] = pathOf(state.range(0), u';', u"C:\\Program Files\\Vendor\\");
    for (auto _ : state) {
        machine.probes.clear();
        benchmark::DoNotOptimize(discovery::WindowsRuntimeSearch(machine, registry, quiet).searchPathEntries());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(PathWithoutHomes)->Arg(1000)->Arg(2000)->Arg(5000)->Complexity(benchmark::oN);

void FamilyWithoutHomes(benchmark::State& state) {
    test::FakeMachine machine;
    test::FakeRegistry registry;
    platform::Trace quiet;
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        registry.addVersion(u"JDK", u"17.0." + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)),
                            u"C:\\Program Files\\Java\\missing");
    }
    for (auto _ : state) {
        machine.probes.clear();
        benchmark::DoNotOptimize(
            discovery::WindowsRuntimeSearch(machine, registry, quiet).searchRegistryFamily(u"JDK"));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(FamilyWithoutHomes)->Arg(50)->Arg(100)->Arg(200)->Complexity(benchmark::oN);

// The Linux search on this machine with a PATH of entries that do not exist:
// one failed stat each.
void RealPathWithoutHomes(benchmark::State& state) {
    std::string list;
    for (std::int64_t i = 0; i < state.range(0); ++i)
        list += (i ? ":" : "") + std::string("/nonexistent/dir") + std::to_string(i);
    setenv("PATH", list.c_str(), 1);
    test::RealSystem real;
    for (auto _ : state) {
        benchmark::DoNotOptimize(discovery::PosixRuntimeSearch(real.machine, real.trace).searchJavaOnPath());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(RealPathWithoutHomes)->Arg(1000)->Arg(5000)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
