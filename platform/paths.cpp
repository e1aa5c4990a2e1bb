#include "platform/paths.h"

#include "platform/text.h"

namespace zep::platform {
namespace {

// The longest path the plain (not "\\?\") form takes, its NUL included.
constexpr std::size_t kMaxPlainPath = 260;

bool isSeparator(char16_t unit) { return unit == u'\\' || unit == u'/'; }

bool isAsciiLetter(char16_t unit) { return (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z'); }

bool isDrivePath(std::u16string_view path) {
    return path.size() >= 3 && isAsciiLetter(path[0]) && path[1] == u':' && isSeparator(path[2]);
}

// "server\share..." once the two leading separators are gone.
bool isServerShare(std::u16string_view path) {
    std::size_t server = 0;
    while (server < path.size() && !isSeparator(path[server])) ++server;
    return server > 0 && server + 1 < path.size() && !isSeparator(path[server + 1]);
}

bool isUncPath(std::u16string_view path) {
    return path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]) && isServerShare(path.substr(2));
}

bool startsWithUnc(std::u16string_view path) {
    return path.size() >= 4 && hasPrefixIgnoreCase(path, u"UNC") && isSeparator(path[3]);
}

// "\\?\" or "\\.\".
bool hasNamespacePrefix(std::u16string_view path) {
    return path.size() >= 4 && isSeparator(path[0]) && isSeparator(path[1]) && (path[2] == u'?' || path[2] == u'.') &&
           isSeparator(path[3]);
}

}  // namespace

bool isAbsoluteWindowsPath(std::u16string_view path) {
    if (hasNamespacePrefix(path)) {
        const std::u16string_view rest = path.substr(4);
        return isDrivePath(rest) || isUncPath(rest) || (startsWithUnc(rest) && isServerShare(rest.substr(4)));
    }
    return isDrivePath(path) || isUncPath(path);
}

bool isAbsolutePosixPath(std::u16string_view path) { return !path.empty() && path[0] == u'/'; }

std::u16string joinPath(std::u16string_view folder, std::u16string_view name, char16_t separator) {
    while (!folder.empty() && (folder.back() == separator || folder.back() == u'/')) folder.remove_suffix(1);
    while (!name.empty() && (name.front() == separator || name.front() == u'/')) name.remove_prefix(1);
    std::u16string joined(folder);
    joined += separator;
    joined += name;
    return joined;
}

std::optional<std::u16string> windowsAbsoluteName(std::u16string_view name) {
    std::u16string path(name);
    if (startsWithUnc(path)) path.replace(0, 4, u"\\\\");
    if (!isAbsoluteWindowsPath(path)) return std::nullopt;
    if (path.size() < kMaxPlainPath && path.starts_with(u"\\\\?\\")) {
        const std::u16string_view rest = std::u16string_view(path).substr(4);
        if (isDrivePath(rest)) {
            path.erase(0, 4);
        } else if (startsWithUnc(rest)) {
            path.replace(0, 8, u"\\\\");
        }
    }
    return path;
}

std::optional<std::u16string> windowsExecutableFolder(std::u16string_view file) {
    const std::optional<std::u16string> path = windowsAbsoluteName(file);
    if (!path) return std::nullopt;
    // What precedes the last separator; for "C:\zep.exe" the drive's root.
    std::u16string folder = path->substr(0, path->find_last_of(u"\\/"));
    if (folder.ends_with(u':')) folder += u'\\';
    if (!isAbsoluteWindowsPath(folder)) return std::nullopt;
    return folder;
}

}  // namespace zep::platform
