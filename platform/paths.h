#pragma once
// Paths as text: which name one place whatever the current directory, and how
// a name is put under a folder. Plain logic, the same on every system, so
// that the rules of both can be checked anywhere.

#include <optional>
#include <string>
#include <string_view>

namespace zep::platform {

// True for a Windows path that names one place whatever the current drive and
// directory: a drive letter, ':' and a separator ('\' or '/'); two separators,
// a server, a separator and a share; or either form after "\\?\" or "\\.\"
// (the UNC form there also as "UNC\server\share"). "\x" lies on whatever
// drive is current, "." and "x" in whatever directory is, and "\\x" names a
// host.
bool isAbsoluteWindowsPath(std::u16string_view path);

// True for a POSIX path that begins with '/'.
bool isAbsolutePosixPath(std::u16string_view path);

// `name` in `folder`, with one separator between them however many `folder`
// ends with: "/" and "gridmere" give "/gridmere", "C:\" and "x" give "C:\x".
// POSIX gives a leading "//" a meaning of its own, so none is made.
std::u16string joinPath(std::u16string_view folder, std::u16string_view name, char16_t separator);

// `name` as Windows names one place, when it does (see isAbsoluteWindowsPath);
// nullopt otherwise, since a relative name would be taken in the current
// directory. Wine gives a program started from "\\server\share\..." the name
// "UNC\server\share\...", its "\\?\" lost: that is read as the share it names.
// A "\\?\" prefix is kept only where the plain form would be too long for the
// system's calls.
std::optional<std::u16string> windowsAbsoluteName(std::u16string_view name);

// The folder of the executable file `file`, by the same rules.
std::optional<std::u16string> windowsExecutableFolder(std::u16string_view file);

}  // namespace zep::platform
