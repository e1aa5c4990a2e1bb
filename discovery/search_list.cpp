#include "discovery/search_list.h"

#include "platform/text.h"

namespace zep::discovery {
namespace {

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
    return path.size() >= 4 && platform::hasPrefixIgnoreCase(path, u"UNC") && isSeparator(path[3]);
}

}  // namespace

std::u16string_view withoutQuotes(std::u16string_view entry) {
    if (entry.size() >= 2 && entry.front() == u'"' && entry.back() == u'"') entry = entry.substr(1, entry.size() - 2);
    return entry;
}

bool isAbsoluteWindowsPath(std::u16string_view path) {
    const bool namespacePrefix = path.size() >= 4 && isSeparator(path[0]) && isSeparator(path[1]) &&
                                 (path[2] == u'?' || path[2] == u'.') && isSeparator(path[3]);
    if (namespacePrefix) {
        const std::u16string_view rest = path.substr(4);
        return isDrivePath(rest) || isUncPath(rest) || (startsWithUnc(rest) && isServerShare(rest.substr(4)));
    }
    return isDrivePath(path) || isUncPath(path);
}

bool isAbsolutePosixPath(std::u16string_view path) { return !path.empty() && path[0] == u'/'; }

}  // namespace zep::discovery
