// A library of a runtime's bin that the JVM loads only once it runs, as it
// loads awt.dll: it imports a C runtime library that jvm.dll itself does not
// (msvcp140.dll), which it finds only if that is still loaded.

extern "C" __declspec(dllimport) int zeptest_runtime_marker();

namespace {
[[maybe_unused]] const int kRuntimeMarker = zeptest_runtime_marker();
}  // namespace
