#pragma once
// Files the user writes for the launcher (its options files): small, read
// whole, and never opened when they are not plain files, so that a FIFO or a
// device of that name cannot hold the launcher.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace zep::platform {

struct SmallFile {
    enum class Status {
        Absent,      // neither it nor, perhaps, its folder exists
        Read,        // `bytes` holds it whole
        NotRegular,  // a directory, a FIFO, a device: not opened
        TooLarge,    // more than the limit
        Unreadable,  // `problem` says why, in the system's words
    };
    Status status = Status::Absent;
    std::string bytes;
    std::string problem;
};

// Reads the regular file at `path` if it holds at most `limit` bytes.
SmallFile readSmallFile(const std::u16string& path, std::size_t limit);

// The folder that holds this user's settings of `vendor`'s programs: on
// Windows <roaming application data>\<vendor>; elsewhere
// $XDG_CONFIG_HOME/<vendor in lower case>, or $HOME/.config/... when that
// variable is unset, empty or not absolute. nullopt when there is none (no
// absolute HOME either). What is odd about it goes to the system's trace.
std::optional<std::u16string> userSettingsFolder(const System& system, std::u16string_view vendor);

// The folder that holds this user's cached files of `vendor`'s programs: on
// Windows <local application data>\<vendor>; elsewhere
// $XDG_CACHE_HOME/<vendor in lower case>, or $HOME/.cache/... by the same
// rules. nullopt when there is none.
std::optional<std::u16string> userCacheFolder(const System& system, std::u16string_view vendor);

// What separates the parts of a path here.
extern const char16_t kPathSeparator;

}  // namespace zep::platform
