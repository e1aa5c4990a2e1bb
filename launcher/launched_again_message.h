#pragma once
// What a later start of the desktop launcher tells the running one: its
// current directory and its program arguments, as UTF-16 texts. On the wire:
// "ZEP1", the length of the rest (32 bits, little-endian), the number of
// texts, and each text as its length in code units and its units, all
// little-endian. The running one answers with kAcknowledgement once the
// application has taken them.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zep {

struct LaunchedAgainMessage {
    std::u16string workingDirectory;
    std::vector<std::u16string> arguments;
};

// The most a message may hold after its header: more is no later start's.
constexpr std::size_t kMessageLimit = std::size_t{1024} * 1024;
constexpr std::size_t kHeaderSize = 8;
constexpr std::string_view kAcknowledgement = "ZEPK";

// The message's bytes, header included; nullopt when it would exceed the
// limit or holds a text that is not well-formed UTF-16.
std::optional<std::string> encodeMessage(const LaunchedAgainMessage& message);

// The length of the rest that a header announces; nullopt when `header` is
// no header of this kind or announces more than the limit.
std::optional<std::size_t> announcedLength(std::string_view header);

// The message in the rest; nullopt when it is cut short, runs on, or holds a
// text that is not well-formed UTF-16 (a lone surrogate).
std::optional<LaunchedAgainMessage> decodeMessage(std::string_view rest);

}  // namespace zep
