#pragma once
// An in-memory machine for the runtime search: environment, files, libraries
// that load or not, directories and symbolic links. It records every probe in
// order.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "discovery/find_java_runtime.h"
#include "platform/system_access.h"

namespace zep::test {

class FakeMachine final : public platform::DirectoryAccess {
public:
    std::map<std::u16string, std::u16string> environment;
    std::set<std::u16string> files;                                     // present (a directory would count alike)
    std::set<std::u16string> notRegular;                                // of those, the directories, FIFOs and devices
    std::set<std::u16string> loadable;                                  // libraries that load
    std::map<std::u16string, std::vector<std::u16string>> directories;  // name lists, in listing order
    std::set<std::u16string> executables;
    std::map<std::u16string, std::u16string> realPaths;  // what a path resolves to
    std::optional<std::u16string> executableFolder;      // unknown unless a test gives one

    // "present <path>" and "load <path>", in the order the search asked.
    std::vector<std::u16string> probes;

    // A home in the given layout, whose library loads.
    void addHome(const std::u16string& home, std::u16string_view java, std::u16string_view library) {
        files.insert(home + std::u16string(java));
        files.insert(home + std::u16string(library));
        loadable.insert(home + std::u16string(library));
    }

    std::optional<std::u16string> environmentVariable(const std::u16string& name) override {
        const auto found = environment.find(name);
        if (found == environment.end()) return std::nullopt;
        return found->second;
    }

    bool isPresent(const std::u16string& path) override {
        probes.push_back(u"present " + path);
        return files.count(path) != 0;
    }

    // The tests' paths are written as the system would spell them in full.
    std::optional<std::u16string> fullPath(const std::u16string& path) override { return path; }

    bool isRegularFile(const std::u16string& path) override {
        probes.push_back(u"regular " + path);
        return files.count(path) != 0 && notRegular.count(path) == 0;
    }

    std::optional<std::u16string> executableDirectory() override { return executableFolder; }

    platform::LoadProbe probeLoad(const std::u16string& path) override {
        probes.push_back(u"load " + path);
        if (loadable.count(path) != 0) return {true, ""};
        return {false, "it is no library"};
    }

    std::vector<std::u16string> subdirectoryNames(const std::u16string& directory) override {
        const auto found = directories.find(directory);
        return found == directories.end() ? std::vector<std::u16string>{} : found->second;
    }

    bool isExecutableFile(const std::u16string& path) override { return executables.count(path) != 0; }

    std::optional<std::u16string> resolvePath(const std::u16string& path) override {
        const auto found = realPaths.find(path);
        if (found == realPaths.end()) return std::nullopt;
        return found->second;
    }
};

// What a search or one of its stages found, as the library's path alone.
inline std::optional<std::u16string> libraryOf(const std::optional<discovery::RuntimeHome>& found) {
    if (!found) return std::nullopt;
    return found->library;
}

}  // namespace zep::test
