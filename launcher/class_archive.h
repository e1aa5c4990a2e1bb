#pragma once
// The class-data archive the launcher keeps for the application's own runtime:
// the classes a start of one command word loads, written by the runtime at
// the end of a first start and mapped by later starts instead of being
// loaded, verified and linked again. Kept in the user's cache, one archive for
// each set of what the runtime checks of it, checked by the launcher before
// each use (the runtime crashes on an archive cut short), and never at the
// cost of a start: whatever goes wrong, the start goes on without one.

#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "discovery/find_java_runtime.h"
#include "platform/system.h"

namespace zep {

// The JAVA_VERSION's feature number in a runtime's `release` file: 17 for
// "17.0.15", 8 for "1.8.0_402"; nullopt when the text names none.
std::optional<int> releaseFeatureVersion(std::string_view release);

// True when `option` says something of class-data sharing, or changes what
// the runtime archives (an agent), so that the user's choice stands alone.
bool touchesClassSharing(std::u16string_view option);

class ClassArchive {
public:
    // The most archives the cache folder keeps.
    static constexpr std::size_t kKept = 8;

    explicit ClassArchive(const platform::System& system) : system_(system) {}
    ClassArchive(const ClassArchive&) = delete;
    ClassArchive& operator=(const ClassArchive&) = delete;
    // Keeps what the runtime wrote (see keep()).
    ~ClassArchive() { keep(); }

    // Decides for a start of `commandWord` on `runtime`, with the
    // application's archive at `application` (empty when unknown) and the
    // user's options (as the launcher read them, and as the runtime will read
    // them): the options that offer or ask for the archive, for ahead of the
    // user's own; none when this start gets none. Tells the trace what it
    // decided and why.
    std::vector<std::string> options(const discovery::FoundRuntime& runtime, const std::u16string& application,
                                     std::u16string_view commandWord, std::span<const std::u16string> userOptions,
                                     std::span<const std::string> userOptionBytes);

    // True when this start asks the runtime to write an archive: the
    // launcher must learn when the runtime ends the process itself.
    bool makes() const noexcept { return state_ == State::Making; }

    // Once the machine is made: an archive offered that the runtime did not
    // take is removed, so that the next start makes one that it takes.
    void checkTaken();

    // Once the runtime has written the archive, which it does as its machine
    // is destroyed or as it ends the process: moves it into place, or removes
    // what is there of it. Does its work once, from whichever thread calls
    // first; never throws.
    void keep() noexcept;

private:
    enum class State { None, Using, Making };

    std::vector<std::string> offer(const std::u16string& folder, const std::u16string& key);
    void keepMade();
    void removeBeyondKept();

    const platform::System& system_;
    State state_ = State::None;
    std::u16string folder_;
    std::u16string key_;   // what the archive's name begins with
    std::u16string path_;  // the archive used, or the file the runtime writes
    std::atomic<bool> kept_{false};
};

}  // namespace zep
