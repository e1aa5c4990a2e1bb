// Which paths name one place whatever is current, and how names are joined.

#include <gtest/gtest.h>

#include "platform/paths.h"

namespace zep::platform {
namespace {

TEST(Paths, WindowsEntriesThatNameOnePlaceWhateverIsCurrent) {
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

TEST(Paths, PosixEntriesMustBeginAtTheRoot) {
    EXPECT_TRUE(isAbsolutePosixPath(u"/"));
    EXPECT_TRUE(isAbsolutePosixPath(u"/usr/bin"));
    EXPECT_FALSE(isAbsolutePosixPath(u""));
    EXPECT_FALSE(isAbsolutePosixPath(u"."));
    EXPECT_FALSE(isAbsolutePosixPath(u"bin"));
    EXPECT_FALSE(isAbsolutePosixPath(u"~/bin"));
}

TEST(Paths, JoinedWithOneSeparatorHoweverTheFolderEnds) {
    EXPECT_EQ(joinPath(u"/", u"gridmere", u'/'), u"/gridmere");
    EXPECT_EQ(joinPath(u"/home/ana/", u".config", u'/'), u"/home/ana/.config");
    EXPECT_EQ(joinPath(u"/home/ana//", u"/runtime", u'/'), u"/home/ana/runtime");
    EXPECT_EQ(joinPath(u"/opt/gridmere", u"zep.vmoptions", u'/'), u"/opt/gridmere/zep.vmoptions");
    EXPECT_EQ(joinPath(u"C:\\", u"Gridmere", u'\\'), u"C:\\Gridmere");
    EXPECT_EQ(joinPath(u"\\\\?\\C:\\Apps", u"\\runtime", u'\\'), u"\\\\?\\C:\\Apps\\runtime");
}

// Whatever the system names the running file, its folder is absolute or
// there is none: a relative one would be looked up in the current directory.
TEST(Paths, ExecutableFolderOnlyWhereItIsAbsolute) {
    const std::u16string longFolder = u"C:\\" + std::u16string(300, u'a');
    const std::pair<std::u16string, std::u16string> folders[] = {
        {u"C:\\Program Files\\Gridmere\\zep.exe", u"C:\\Program Files\\Gridmere"},
        {u"C:\\zep.exe", u"C:\\"},
        {u"\\\\server\\share\\app\\zep.exe", u"\\\\server\\share\\app"},
        {u"\\\\server\\share\\zep.exe", u"\\\\server\\share"},
        {u"\\\\?\\C:\\Apps\\zep.exe", u"C:\\Apps"},
        {u"\\\\?\\UNC\\server\\share\\app\\zep.exe", u"\\\\server\\share\\app"},
        {u"UNC\\zepserver\\share\\app2\\zep.exe", u"\\\\zepserver\\share\\app2"},
        {u"\\\\?\\" + longFolder + u"\\zep.exe", u"\\\\?\\" + longFolder},
    };
    for (const auto& [file, folder] : folders) {
        EXPECT_EQ(windowsExecutableFolder(file), folder) << testing::PrintToString(file);
    }
    for (const std::u16string_view relative : {u"zep.exe", u"app\\zep.exe", u"\\app\\zep.exe", u"C:zep.exe",
                                               u"UNC\\server\\zep.exe", u"\\\\?\\C:zep.exe", u""}) {
        EXPECT_EQ(windowsExecutableFolder(relative), std::nullopt) << testing::PrintToString(std::u16string(relative));
    }
}

}  // namespace
}  // namespace zep::platform
