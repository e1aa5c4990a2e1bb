#include "launcher/class_archive.h"

#include <algorithm>

#include "launcher/options_file.h"
#include "platform/cache_files.h"
#include "platform/digest.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/runtime_encoding.h"
#include "platform/text.h"
#include "platform/trace.h"

namespace zep {
namespace {

namespace trace = platform::trace;

// The runtime writes dynamic archives of a start's classes from 13 on.
constexpr int kFirstVersion = 13;
// The runtime ends the whole process when it cannot finish writing an
// archive: a start on a nearly full disk asks for none.
constexpr std::uint64_t kSpaceNeeded = std::uint64_t{256} * 1024 * 1024;
// A file the runtime was writing that nobody moved into place this long
// after: its start ended without keeping it.
constexpr std::int64_t kAbandonedAfterSeconds = 3600;
// The archive's name: "<key>-<digest of its contents>.jsa", 16 hexadecimal
// digits each.
constexpr std::size_t kDigits = 16;
constexpr std::u16string_view kArchiveEnd = u".jsa";
constexpr std::u16string_view kWritingEnd = u".part";

// Quiet whatever the runtime makes of its archive: an archive it cannot use
// is passed over without a word, where by default it says so on standard
// output. Before the user's options, so that a user's own -Xlog still counts.
constexpr const char* kQuiet[] = {"-Xshare:auto", "-Xlog:cds*=off"};

// The options that name class-data sharing, with or without a + or - after
// "-XX:", and those that load an agent, under which the runtime archives
// differently or not at all.
constexpr std::u16string_view kSharingFlags[] = {u"SharedArchiveFile",     u"ArchiveClassesAtExit",
                                                 u"UseSharedSpaces",       u"AutoCreateSharedArchive",
                                                 u"RecordDynamicDumpInfo", u"SharedClassListFile",
                                                 u"DumpLoadedClassList",   u"RequireSharedSpaces",
                                                 u"VMOptionsFile",         u"Flags="};
constexpr std::u16string_view kSharingPrefixes[] = {u"-Xshare", u"-javaagent:", u"-agentlib:", u"-agentpath:",
                                                    u"-Xrun"};

bool isHex(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char16_t unit) { return (unit >= u'0' && unit <= u'9') || (unit >= u'a' && unit <= u'f'); });
}

std::u16string ascii(std::string_view text) { return {text.begin(), text.end()}; }

// What the runtime checks of an archive, and what decides which classes a
// start loads: another library, another application archive, another command
// word or other options give another key.
std::optional<std::u16string> archiveKey(const discovery::FoundRuntime& runtime,
                                         const std::u16string& applicationArchive, std::u16string_view commandWord,
                                         std::span<const std::string> userOptionBytes, std::u16string& why) {
    const std::optional<platform::FileStamp> library = platform::fileStamp(runtime.runtime.library);
    if (!library) {
        why = u"the JVM library cannot be read";
        return std::nullopt;
    }
    // The runtime records the class path as it resolved it.
    const std::optional<platform::FileStamp> application =
        applicationArchive.empty() ? std::nullopt : platform::fileStamp(applicationArchive);
    if (!application) {
        why = u"no zep.jar in the current directory";
        return std::nullopt;
    }
    platform::Digest digest;
    const auto add = [&](std::string_view part) {
        digest.add(std::to_string(part.size()));
        digest.add(":");
        digest.add(part);
    };
    const auto addFile = [&](const std::u16string& path, const platform::FileStamp& stamp) {
        add(platform::encodeLossless(path));
        add(std::to_string(stamp.size));
        add(std::to_string(stamp.modified));
    };
    addFile(runtime.runtime.library, *library);
    addFile(applicationArchive, *application);
    add(platform::encodeLossless(commandWord));
    for (const std::string& option : userOptionBytes) add(option);
    return ascii(digest.hex());
}

// "<key>-<digest>.jsa" of that key: the digest, or nullopt.
std::optional<std::u16string_view> archiveDigest(std::u16string_view name, std::u16string_view key) {
    if (name.size() != key.size() + 1 + kDigits + kArchiveEnd.size() || !name.starts_with(key) ||
        name[key.size()] != u'-' || !name.ends_with(kArchiveEnd)) {
        return std::nullopt;
    }
    const std::u16string_view digest = name.substr(key.size() + 1, kDigits);
    return isHex(digest) ? std::optional(digest) : std::nullopt;
}

bool isArchiveName(std::u16string_view name) {
    return name.size() > kDigits && isHex(name.substr(0, kDigits)) &&
           archiveDigest(name, name.substr(0, kDigits)).has_value();
}

std::u16string hexOf(std::uint64_t value) { return ascii(platform::toHex(value)); }

}  // namespace

std::optional<int> releaseFeatureVersion(std::string_view release) {
    constexpr std::string_view kName = "JAVA_VERSION=";
    for (std::size_t start = 0; start < release.size();) {
        const std::size_t end = std::min(release.find('\n', start), release.size());
        std::string_view line = release.substr(start, end - start);
        start = end + 1;
        if (!line.starts_with(kName)) continue;
        line.remove_prefix(kName.size());
        if (line.starts_with('"')) line.remove_prefix(1);
        const auto number = [&line]() -> std::optional<int> {
            int value = 0;
            std::size_t digits = 0;
            for (; digits < line.size() && digits < 4 && line[digits] >= '0' && line[digits] <= '9'; ++digits) {
                value = value * 10 + (line[digits] - '0');
            }
            if (digits == 0) return std::nullopt;
            line.remove_prefix(digits);
            return value;
        };
        const std::optional<int> first = number();
        // Before 9 the feature was the second number: "1.8.0".
        if (first == 1 && line.starts_with('.')) {
            line.remove_prefix(1);
            return number();
        }
        return first;
    }
    return std::nullopt;
}

bool touchesClassSharing(std::u16string_view option) {
    for (const std::u16string_view prefix : kSharingPrefixes) {
        if (option.starts_with(prefix)) return true;
    }
    if (!option.starts_with(u"-XX:")) return false;
    option.remove_prefix(4);
    if (option.starts_with(u'+') || option.starts_with(u'-')) option.remove_prefix(1);
    for (const std::u16string_view flag : kSharingFlags) {
        if (option.starts_with(flag)) return true;
    }
    return false;
}

std::vector<std::string> ClassArchive::options(const discovery::FoundRuntime& runtime,
                                               const std::u16string& application, std::u16string_view commandWord,
                                               std::span<const std::u16string> userOptions,
                                               std::span<const std::string> userOptionBytes) {
    std::u16string why;
    std::optional<std::u16string> folder;
    std::optional<std::u16string> key;
    // Any other runtime starts exactly as it always has, its trace included.
    if (runtime.stage != discovery::SearchStage::BundledRuntime) return {};
    if (const platform::SmallFile release = platform::readSmallFile(
            platform::joinPath(runtime.runtime.home, u"release", platform::kPathSeparator), std::size_t{64} * 1024);
        release.status != platform::SmallFile::Status::Read ||
        releaseFeatureVersion(release.bytes).value_or(0) < kFirstVersion) {
        why = u"its release file names no JAVA_VERSION of 13 or later";
    } else if (const auto option = std::find_if(userOptions.begin(), userOptions.end(), touchesClassSharing);
               option != userOptions.end()) {
        why = u"the option " + *option + u" decides";
    } else if (const std::optional<std::u16string> tool = system_.machine.environmentVariable(u"JAVA_TOOL_OPTIONS");
               tool && (tool->find(u"share") != std::u16string::npos || tool->find(u"agent") != std::u16string::npos ||
                        tool->find(u"Archive") != std::u16string::npos)) {
        why = u"JAVA_TOOL_OPTIONS speaks of class-data sharing or an agent";
    } else if (folder = platform::userCacheFolder(system_, kVendor); !folder) {
        why = u"this user has no cache folder";
    } else if (folder = platform::joinPath(*folder, u"cds", platform::kPathSeparator);
               !(key = archiveKey(runtime, application, commandWord, userOptionBytes, why))) {
        // `why` says.
    } else if (const std::string problem = platform::makePrivateFolder(*folder); !problem.empty()) {
        why = u"the cache folder " + *folder + u": " + ascii(problem);
    } else if (platform::fromRuntimeEncoding(platform::toRuntimeEncoding(*folder)) != *folder) {
        why = u"the runtime's encoding cannot spell the cache folder " + *folder;
    } else {
        return offer(*folder, *key);
    }
    system_.trace.line([&] { return "class-data archive: not offered: " + trace::text(why); });
    return {};
}

std::vector<std::string> ClassArchive::offer(const std::u16string& folder, const std::u16string& key) {
    folder_ = folder;
    key_ = key;
    const std::int64_t now = platform::fileTimeNow();
    std::vector<platform::FolderEntry> entries = platform::listFolder(folder);
    std::sort(entries.begin(), entries.end(),
              [](const platform::FolderEntry& a, const platform::FolderEntry& b) { return a.name < b.name; });
    for (const platform::FolderEntry& entry : entries) {
        const std::u16string path = platform::joinPath(folder, entry.name, platform::kPathSeparator);
        if (entry.name.ends_with(kWritingEnd) && entry.regular &&
            now - entry.stamp.modified > kAbandonedAfterSeconds * platform::kFileTimeUnitsPerSecond) {
            platform::removeFile(path);
            continue;
        }
        const std::optional<std::u16string_view> digest = archiveDigest(entry.name, key);
        if (!digest) continue;
        // Two first starts at once each made one: the first in name order is
        // the one.
        if (state_ == State::Using) {
            platform::removeFile(path);
            continue;
        }
        const std::optional<std::uint64_t> contents = entry.regular ? platform::fileDigest(path) : std::nullopt;
        if (!contents || hexOf(*contents) != *digest) {
            platform::removeFile(path);
            system_.trace.line(
                [&] { return "class-data archive " + trace::quoted(path) + ": not what was made: removed"; });
            continue;
        }
        state_ = State::Using;
        path_ = path;
    }
    std::vector<std::string> options(std::begin(kQuiet), std::end(kQuiet));
    if (state_ == State::Using) {
        platform::markUsed(path_);
        system_.trace.line([&] { return "class-data archive " + trace::quoted(path_) + ": offered"; });
        options.push_back("-XX:SharedArchiveFile=" + platform::toRuntimeEncoding(path_));
        return options;
    }
    const std::optional<std::uint64_t> space = platform::freeSpace(folder);
    if (!space || *space < kSpaceNeeded) {
        system_.trace.line([&] {
            return "class-data archive: not made: " +
                   (space ? std::to_string(*space / (std::uint64_t{1024} * 1024)) + " MB free in "
                          : std::string("the free space cannot be told in ")) +
                   trace::quoted(folder);
        });
        return {};
    }
    path_ = platform::joinPath(folder, key + u"." + platform::uniqueSuffix() + std::u16string(kWritingEnd),
                               platform::kPathSeparator);
    if (!platform::createNewFile(path_)) {
        system_.trace.line(
            [&] { return "class-data archive: not made: no new file can be made in " + trace::quoted(folder); });
        return {};
    }
    state_ = State::Making;
    system_.trace.line([&] { return "class-data archive: the runtime writes " + trace::quoted(path_); });
    options.push_back("-XX:ArchiveClassesAtExit=" + platform::toRuntimeEncoding(path_));
    return options;
}

void ClassArchive::checkTaken() {
    if (state_ != State::Using) return;
    const std::optional<bool> taken = platform::isMappedHere(path_);
    system_.trace.line([&] {
        return "class-data archive " + trace::quoted(path_) + ": " +
               (!taken   ? "used, as far as can be told"
                : *taken ? "used"
                         : "refused by the runtime: removed");
    });
    if (taken == false) platform::removeFile(path_);
}

void ClassArchive::keep() noexcept {
    if (state_ != State::Making || kept_.exchange(true)) return;
    try {
        keepMade();
    } catch (...) {
        // No memory left: the next start tries again.
    }
}

void ClassArchive::keepMade() {
    const std::optional<std::uint64_t> contents = platform::fileStamp(path_).value_or(platform::FileStamp{}).size > 0
                                                      ? platform::fileDigest(path_)
                                                      : std::nullopt;
    if (!contents) {
        platform::removeFile(path_);
        system_.trace.line("class-data archive: the runtime wrote none");
        return;
    }
    const std::u16string archive = platform::joinPath(
        folder_, key_ + u"-" + hexOf(*contents) + std::u16string(kArchiveEnd), platform::kPathSeparator);
    if (!platform::moveIntoPlace(path_, archive)) {
        platform::removeFile(path_);
        system_.trace.line([&] { return "class-data archive " + trace::quoted(archive) + ": already there"; });
        return;
    }
    system_.trace.line([&] { return "class-data archive " + trace::quoted(archive) + ": made"; });
    removeBeyondKept();
}

void ClassArchive::removeBeyondKept() {
    std::vector<platform::FolderEntry> archives = platform::listFolder(folder_);
    std::erase_if(archives,
                  [](const platform::FolderEntry& entry) { return !entry.regular || !isArchiveName(entry.name); });
    if (archives.size() <= kKept) return;
    std::sort(archives.begin(), archives.end(), [](const platform::FolderEntry& a, const platform::FolderEntry& b) {
        return a.stamp.modified > b.stamp.modified;
    });
    for (std::size_t i = kKept; i < archives.size(); ++i) {
        platform::removeFile(platform::joinPath(folder_, archives[i].name, platform::kPathSeparator));
    }
}

}  // namespace zep
