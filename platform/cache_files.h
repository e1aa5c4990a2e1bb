#pragma once
// Files the launcher keeps for itself in the user's cache: made whole
// elsewhere and moved into place under a name that says what they hold, so a
// reader never sees one half written; checked before each use, because
// another program, a full disk or a crash may have left anything there.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/system.h"

namespace zep::platform {

// Makes `folder` and the folders above it that are missing, with access for
// this user alone. Returns why it cannot be used (empty when it can): it must
// end up a directory of this user's own, not a link to one elsewhere.
std::string makePrivateFolder(const std::u16string& folder);

// What says that a file changed without reading it.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // in the system's own units
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the regular file at `path` (links followed); nullopt for
// anything else.
std::optional<FileStamp> fileStamp(const std::u16string& path);

// The current directory, as the runtime resolves a relative class path in it.
std::optional<std::u16string> currentDirectory();

struct FolderEntry {
    std::u16string name;
    bool regular = false;  // a plain file, not a link, a directory or a device
    FileStamp stamp;       // of a regular file
};
// What `folder` holds, links not followed; empty when it cannot be listed.
std::vector<FolderEntry> listFolder(const std::u16string& folder);

// The digest (platform/digest.h) of the regular file at `path`, which is no
// link, read whole; nullopt when it cannot be read.
std::optional<std::uint64_t> fileDigest(const std::u16string& path);

// Makes an empty file at `path`, which must not exist yet: what shows that
// the folder takes new files. False when it could not be made.
bool createNewFile(const std::u16string& path);

// Moves the file `from` to `to` in the same folder unless something of that
// name is already there; false when it was not moved.
bool moveIntoPlace(const std::u16string& from, const std::u16string& to);

// Removes the file (never a directory); false when it could not be.
bool removeFile(const std::u16string& path);

// Sets the file's modification time to now: the cache's most recently used.
void markUsed(const std::u16string& path);

// The bytes this user may still write on the volume of `folder`.
std::optional<std::uint64_t> freeSpace(const std::u16string& folder);

// Whether this process has the file mapped into its memory: what shows that
// a runtime took a file it was offered. nullopt where that cannot be told.
std::optional<bool> isMappedHere(const std::u16string& path);

// A name no other process running now chooses: from this process's id and
// the time.
std::u16string uniqueSuffix();

// The time now, in the unit of FileStamp::modified.
std::int64_t fileTimeNow();

// How many FileStamp::modified units make a second.
extern const std::int64_t kFileTimeUnitsPerSecond;

}  // namespace zep::platform
