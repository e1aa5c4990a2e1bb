// "load" and "unload" lines from the ELF constructor and destructor.

#include <dlfcn.h>

#include <cstdio>
#include <string>

#include "record.h"
#include "switches.h"
#include "system.h"

namespace zep::jvm_double {
namespace {

const char kSelf = 0;

// The name under which the loader keeps this library: the path given to dlopen.
std::string thisLibrary() {
    Dl_info info{};
    if (::dladdr(&kSelf, &info) == 0 || info.dli_fname == nullptr) return "?";
    return info.dli_fname;
}

__attribute__((constructor)) void onLoad() {
    const std::string path = thisLibrary();
    record("load " + path);
    // A runtime whose library is gone between the search and the real load.
    if (parseSwitches(environmentVariable("ZEPTEST_JVM_FAIL").value_or("")).vanish &&
        std::rename(path.c_str(), (path + ".gone").c_str()) == 0) {
        record("vanished");
    }
}

__attribute__((destructor)) void onUnload() { record("unload"); }

}  // namespace
}  // namespace zep::jvm_double
