// "load" and "unload" lines from the ELF constructor and destructor.

#include <dlfcn.h>

#include <string>

#include "record.h"

namespace zep::jvm_double {
namespace {

const char kSelf = 0;

// The name under which the loader keeps this library: the path given to dlopen.
std::string thisLibrary() {
    Dl_info info{};
    if (::dladdr(&kSelf, &info) == 0 || info.dli_fname == nullptr) return "?";
    return info.dli_fname;
}

__attribute__((constructor)) void onLoad() { record("load " + thisLibrary()); }

__attribute__((destructor)) void onUnload() { record("unload"); }

}  // namespace
}  // namespace zep::jvm_double
