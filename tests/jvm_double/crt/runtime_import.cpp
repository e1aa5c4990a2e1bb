// Makes the JVM library import the stand-in C runtime: the loader must
// resolve this before the library's own code can run.

extern "C" __declspec(dllimport) int zeptest_runtime_marker();

namespace {
[[maybe_unused]] const int kRuntimeMarker = zeptest_runtime_marker();
}  // namespace
