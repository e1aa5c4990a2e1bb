// A stand-in for the C runtime library that a Java runtime ships in its bin
// directory (vcruntime140.dll): a JVM library built to import it loads only
// where the launcher makes it available.

extern "C" __declspec(dllexport) int zeptest_runtime_marker() { return 140; }
