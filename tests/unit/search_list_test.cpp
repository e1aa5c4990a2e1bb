// Which search-list entries may be tried as places at all.

#include <gtest/gtest.h>

#include "discovery/search_list.h"

namespace zep::discovery {
namespace {

TEST(SearchList, WindowsEntriesThatNameOnePlaceWhateverIsCurrent) {
    for (const std::u16string_view absolute :
         {u"C:\\", u"c:/Java", u"Z:\\opt\\jdk", u"\\\\server\\share", u"//server/share/jdk", u"\\\\?\\C:\\jdk",
          u"\\\\.\\D:\\jdk", u"\\\\?\\UNC\\server\\share", u"\\\\?\\\\\\server\\share"}) {
        EXPECT_TRUE(isAbsoluteWindowsPath(absolute)) << testing::PrintToString(std::u16string(absolute));
    }
    for (const std::u16string_view relative :
         {u"", u".", u"x", u"\\x", u"/x", u"X:x", u"X:", u"1:\\x", u"\\\\", u"\\\\\\x", u"\\\\server", u"\\\\server\\",
          u"\\\\server\\\\share", u"\\\\?\\x", u"\\\\.\\pipe", u"\\\\?\\UNC\\server", u" C:\\Java", u"\"C:\\Java\""}) {
        EXPECT_FALSE(isAbsoluteWindowsPath(relative)) << testing::PrintToString(std::u16string(relative));
    }
}

TEST(SearchList, PosixEntriesMustBeginAtTheRoot) {
    EXPECT_TRUE(isAbsolutePosixPath(u"/"));
    EXPECT_TRUE(isAbsolutePosixPath(u"/usr/bin"));
    EXPECT_FALSE(isAbsolutePosixPath(u""));
    EXPECT_FALSE(isAbsolutePosixPath(u"."));
    EXPECT_FALSE(isAbsolutePosixPath(u"bin"));
    EXPECT_FALSE(isAbsolutePosixPath(u"~/bin"));
}

}  // namespace
}  // namespace zep::discovery
