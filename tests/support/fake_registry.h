#pragma once
// An in-memory registry that answers like the Win32 registry calls the search
// makes and checks the values it is given: the root and view, the access
// mask, the buffer sizes, the type restriction. It counts open and closed keys.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace zep::test {

namespace win32 = platform::win32;

// Win32's values for what only the registry answers, never the search asks.
inline constexpr std::int32_t kErrorNoMoreItems = 259;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegDword = 4;

class FakeRegistry final : public platform::Registry {
public:
    struct Value {
        std::uint32_t type = kRegSz;
        std::u16string text;
    };

    // Keys are named by their full path: "HKLM\...", "HKCU\..." and, for the
    // 32-bit view of HKEY_LOCAL_MACHINE, "HKLM32\...". Names ignore the case
    // of ASCII letters, as the registry's do.

    // Makes the key `path` and those above it; subkeys enumerate in the order
    // they were first made.
    void add(const std::u16string& path, const std::map<std::u16string, Value>& values = {}) {
        std::u16string parent;
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = path.find(u'\\', start);
            const std::u16string here = path.substr(0, end);
            if (!parent.empty()) {
                auto& children = nodes_[fold(parent)].children;
                const std::u16string name = path.substr(start, end == std::u16string::npos ? end : end - start);
                if (nodes_.count(fold(here)) == 0) children.push_back(name);
            }
            nodes_[fold(here)];
            if (end == std::u16string::npos) break;
            parent = here;
            start = end + 1;
        }
        for (const auto& [name, value] : values) nodes_[fold(path)].values[name] = value;
    }

    // A JavaSoft family's version subkey holding JavaHome as REG_SZ.
    void addVersion(const std::u16string& family, const std::u16string& version, const std::u16string& home) {
        add(u"HKLM\\SOFTWARE\\JavaSoft\\" + family + u"\\" + version, {{u"JavaHome", {kRegSz, home}}});
    }

    std::set<std::u16string> failingEnumerations;  // subkeys that RegEnumKeyExW fails on
    std::set<std::u16string> failingCountQueries;  // keys whose RegQueryInfoKeyW fails

    std::vector<std::u16string> opened;   // every key asked for, found or not
    std::vector<std::uint32_t> accesses;  // and the access asked for it
    int openKeys = 0;

    std::int32_t openKey(Key root, const std::u16string& subKey, std::uint32_t options, std::uint32_t access,
                         Key* key) override {
        EXPECT_EQ(options, 0u);
        const bool view32 = (access & win32::kKeyWow64_32Key) != 0;
        EXPECT_EQ(access & ~(win32::kKeyWow64_32Key | win32::kKeyWow64_64Key), win32::kKeyRead);
        std::u16string rootName;
        if (root == win32::kHkeyLocalMachine) {
            rootName = view32 ? u"HKLM32" : u"HKLM";
        } else if (root == win32::kHkeyCurrentUser) {
            rootName = u"HKCU";
        } else {
            ADD_FAILURE() << "a root other than HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER";
        }
        const std::u16string path = rootName + u"\\" + subKey;
        opened.push_back(path);
        accesses.push_back(access);
        if (nodes_.count(fold(path)) == 0) return win32::kErrorFileNotFound;
        handles_[++next_] = path;
        ++openKeys;
        *key = next_;
        return win32::kErrorSuccess;
    }

    std::int32_t querySubKeyCount(Key key, std::uint32_t* subKeys) override {
        const std::u16string path = pathOf(key);
        if (failingCountQueries.count(path) != 0) return 6;  // ERROR_INVALID_HANDLE
        *subKeys = static_cast<std::uint32_t>(nodes_[fold(path)].children.size());
        return win32::kErrorSuccess;
    }

    std::int32_t enumKey(Key key, std::uint32_t index, char16_t* name, std::uint32_t* nameLength) override {
        EXPECT_EQ(*nameLength, 260u) << "the name buffer's capacity, reset before every call";
        const std::u16string path = pathOf(key);
        const auto& children = nodes_[fold(path)].children;
        if (index >= children.size()) return kErrorNoMoreItems;
        const std::u16string& child = children[index];
        if (failingEnumerations.count(path + u"\\" + child) != 0) return 1;  // ERROR_INVALID_FUNCTION
        if (child.size() + 1 > *nameLength) return win32::kErrorMoreData;
        std::copy(child.begin(), child.end(), name);
        name[child.size()] = u'\0';
        *nameLength = static_cast<std::uint32_t>(child.size());
        return win32::kErrorSuccess;
    }

    std::int32_t getValue(Key key, const std::u16string& subKey, const std::u16string& valueName, std::uint32_t flags,
                          char16_t* data, std::uint32_t* dataSize) override {
        EXPECT_EQ(flags, win32::kRrfRtRegSz) << "strings only, nothing else";
        if (valueName == u"JavaHome") {
            EXPECT_EQ(*dataSize, 2048u) << "1024 units";
            EXPECT_TRUE(std::all_of(data, data + *dataSize / sizeof(char16_t), [](char16_t unit) { return unit == 0; }))
                << "the buffer is zero-filled before every read";
        }
        const std::u16string path = pathOf(key) + (subKey.empty() ? u"" : u"\\" + subKey);
        const auto node = nodes_.find(fold(path));
        if (node == nodes_.end()) return win32::kErrorFileNotFound;
        const auto value = node->second.values.find(valueName);
        if (value == node->second.values.end()) return win32::kErrorFileNotFound;
        // Without RRF_NOEXPAND an expandable string passes the REG_SZ filter.
        if (value->second.type != kRegSz && value->second.type != kRegExpandSz) return win32::kErrorUnsupportedType;
        const std::size_t needed = (value->second.text.size() + 1) * sizeof(char16_t);
        if (data == nullptr || needed > *dataSize) {
            *dataSize = static_cast<std::uint32_t>(needed);
            return data == nullptr ? win32::kErrorSuccess : win32::kErrorMoreData;
        }
        std::memcpy(data, value->second.text.c_str(), needed);
        *dataSize = static_cast<std::uint32_t>(needed);
        return win32::kErrorSuccess;
    }

    std::int32_t closeKey(Key key) override {
        EXPECT_EQ(handles_.erase(key), 1u) << "closed a key that was not open";
        --openKeys;
        return win32::kErrorSuccess;
    }

private:
    struct Node {
        std::vector<std::u16string> children;
        std::map<std::u16string, Value> values;
    };

    static std::u16string fold(std::u16string path) {
        for (char16_t& unit : path) {
            if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit + (u'a' - u'A'));
        }
        return path;
    }

    std::u16string pathOf(Key key) {
        const auto found = handles_.find(key);
        if (found != handles_.end()) return found->second;
        ADD_FAILURE() << "used a key that is not open";
        return u"<not open>";
    }

    std::map<std::u16string, Node> nodes_;
    std::map<Key, std::u16string> handles_;
    Key next_ = 0x100;
};

}  // namespace zep::test
