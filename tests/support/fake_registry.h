#pragma once
// An in-memory HKEY_LOCAL_MACHINE that answers like the Win32 registry calls
// the search makes and checks the values it is given: the root, the access
// mask, the buffer sizes, the type restriction. It counts open and closed keys.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace zep::test {

namespace win32 = platform::win32;

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegDword = 4;

class FakeRegistry final : public platform::Registry {
public:
    struct Value {
        std::uint32_t type = kRegSz;
        std::u16string text;
    };
    struct SubKey {
        std::u16string name;
        std::map<std::u16string, Value> values;
        bool enumerationFails = false;  // RegEnumKeyExW fails at this index
    };

    // Key path below HKLM -> its subkeys in enumeration order.
    std::map<std::u16string, std::vector<SubKey>> keys;
    std::set<std::u16string> failingCountQueries;

    std::vector<std::u16string> opened;  // every path asked for, found or not
    int openKeys = 0;

    // A family key with one subkey holding JavaHome as REG_SZ.
    void addVersion(const std::u16string& family, const std::u16string& version, const std::u16string& home) {
        keys[u"SOFTWARE\\JavaSoft\\" + family].push_back({version, {{u"JavaHome", {kRegSz, home}}}});
    }

    std::int32_t openKey(Key root, const std::u16string& subKey, std::uint32_t options, std::uint32_t access,
                         Key* key) override {
        EXPECT_EQ(root, win32::kHkeyLocalMachine);
        EXPECT_EQ(options, 0u);
        EXPECT_EQ(access, win32::kKeyRead) << "KEY_READ, with no view flag";
        opened.push_back(subKey);
        const auto found = keys.find(subKey);
        if (found == keys.end()) return win32::kErrorFileNotFound;
        handles_[++next_] = subKey;
        ++openKeys;
        *key = next_;
        return win32::kErrorSuccess;
    }

    std::int32_t querySubKeyCount(Key key, std::uint32_t* subKeys) override {
        const std::u16string& path = pathOf(key);
        if (failingCountQueries.count(path) != 0) return 6;  // ERROR_INVALID_HANDLE
        *subKeys = static_cast<std::uint32_t>(keys.at(path).size());
        return win32::kErrorSuccess;
    }

    std::int32_t enumKey(Key key, std::uint32_t index, char16_t* name, std::uint32_t* nameLength) override {
        EXPECT_EQ(*nameLength, 260u) << "the name buffer's capacity, reset before every call";
        const auto& subKeys = keys.at(pathOf(key));
        if (index >= subKeys.size()) return win32::kErrorNoMoreItems;
        const SubKey& subKey = subKeys[index];
        if (subKey.enumerationFails) return 1;  // ERROR_INVALID_FUNCTION
        if (subKey.name.size() + 1 > *nameLength) return win32::kErrorMoreData;
        std::copy(subKey.name.begin(), subKey.name.end(), name);
        name[subKey.name.size()] = u'\0';
        *nameLength = static_cast<std::uint32_t>(subKey.name.size());
        return win32::kErrorSuccess;
    }

    std::int32_t getValue(Key key, const std::u16string& subKeyName, const std::u16string& valueName,
                          std::uint32_t flags, void* data, std::uint32_t* dataSize) override {
        EXPECT_EQ(flags, win32::kRrfRtRegSz) << "REG_SZ only, nothing else";
        EXPECT_EQ(*dataSize, 2048u) << "1024 units";
        const auto* bytes = static_cast<const unsigned char*>(data);
        EXPECT_TRUE(std::all_of(bytes, bytes + *dataSize, [](unsigned char b) { return b == 0; }))
            << "the buffer is zero-filled before every read";
        const auto& subKeys = keys.at(pathOf(key));
        const auto subKey = std::find_if(subKeys.begin(), subKeys.end(),
                                         [&](const SubKey& candidate) { return candidate.name == subKeyName; });
        if (subKey == subKeys.end()) return win32::kErrorFileNotFound;
        const auto value = subKey->values.find(valueName);
        if (value == subKey->values.end()) return win32::kErrorFileNotFound;
        // Without RRF_NOEXPAND an expandable string passes the REG_SZ filter.
        if (value->second.type != kRegSz && value->second.type != kRegExpandSz) return win32::kErrorUnsupportedType;
        const std::size_t needed = (value->second.text.size() + 1) * sizeof(char16_t);
        if (needed > *dataSize) {
            *dataSize = static_cast<std::uint32_t>(needed);
            return win32::kErrorMoreData;
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
    const std::u16string& pathOf(Key key) {
        static const std::u16string kNoKey = u"<not open>";
        const auto found = handles_.find(key);
        if (found != handles_.end()) return found->second;
        ADD_FAILURE() << "used a key that is not open";
        return kNoKey;
    }

    std::map<Key, std::u16string> handles_;
    Key next_ = 0x100;
};

}  // namespace zep::test
