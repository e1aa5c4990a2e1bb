#pragma once
// Stands in for the desktop's web browser: a directory with the XDG settings
// that make a script the default handler of http addresses, as GIO reads
// them. Each request leaves a file of its own, written whole: the address,
// how many windows of the given class were still on the screen, and what the
// script's standard input, output and error were.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/file_text.h"

namespace zep::test {

class AddressRecorder {
public:
    AddressRecorder(const std::filesystem::path& directory, const std::string& windowClass) : directory_(directory) {
        namespace fs = std::filesystem;
        fs::create_directories(directory / "config");
        fs::create_directories(directory / "data/applications");
        fs::create_directories(directory / "opened");
        const fs::path script = directory / "open-address";
        // Absolute paths: the launcher runs with an empty PATH, and the script with it.
        // Its own output goes nowhere: from a launcher that handed on its streams, it would join the launcher's.
        std::ofstream(script) << "#!/bin/sh\n"
                              << "streams=$(echo $(for fd in 0 1 2; do /usr/bin/readlink /proc/$$/fd/$fd; done))\n"
                              << "exec >/dev/null 2>&1\n"
                              << "out='" << (directory / "opened").string() << "'\n"
                              << "windows=$(/usr/bin/xdotool search --onlyvisible --classname '^" << windowClass
                              << "$' | /usr/bin/wc -l)\n"
                              << "printf '%s\\n' \"$@\" \"windows=$windows\" \"streams=$streams\" > \"$out/.$$\"\n"
                              << "/bin/mv \"$out/.$$\" \"$out/$$\"\n";
        fs::permissions(script, fs::perms::owner_all);
        std::ofstream(directory / "data/applications/zeptest-recorder.desktop")
            << "[Desktop Entry]\nType=Application\nName=Recorder\nNoDisplay=true\n"
            << "Exec=" << script.string() << " %u\nMimeType=x-scheme-handler/http;\n";
        std::ofstream(directory / "config/mimeapps.list")
            << "[Default Applications]\nx-scheme-handler/http=zeptest-recorder.desktop\n";
    }

    // The variables that point GIO at it.
    std::map<std::u16string, std::optional<std::u16string>> environment() const {
        return {{u"XDG_CONFIG_HOME", (directory_ / "config").u16string()},
                {u"XDG_DATA_HOME", (directory_ / "data").u16string()}};
    }

    // What was asked to be opened, one entry per request. Call it once the
    // requests have been made: the wait is for the script, which runs on its
    // own, and a second request would have started with the first.
    std::vector<std::string> opened(bool expectOne) const {
        using namespace std::chrono_literals;
        namespace fs = std::filesystem;
        const auto deadline = std::chrono::steady_clock::now() + (expectOne ? 15s : 1s);
        while (fs::is_empty(directory_ / "opened") && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(50ms);
        }
        std::this_thread::sleep_for(500ms);
        std::vector<std::string> requests;
        for (const auto& entry : fs::directory_iterator(directory_ / "opened")) {
            if (entry.path().filename().string().starts_with(".")) continue;  // still being written
            requests.push_back(fileText(entry.path()).value_or("<unreadable>"));
        }
        return requests;
    }

private:
    std::filesystem::path directory_;
};

}  // namespace zep::test
