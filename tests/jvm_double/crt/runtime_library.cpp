// A stand-in for a C runtime library that a Java runtime ships in its bin
// directory (msvcr100.dll, vcruntime140.dll, ...; built once under each
// name): a library built to import it loads only where the launcher makes it
// available.

extern "C" __declspec(dllexport) int zeptest_runtime_marker() { return 140; }
