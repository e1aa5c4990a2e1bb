// What decides whether a start gets the launcher's class-data archive: the
// runtime's release, the user's own say about sharing; and the digest that
// names an archive by its contents.

#include <gtest/gtest.h>

#include <string>

#include "launcher/class_archive.h"
#include "platform/digest.h"

namespace zep::test {
namespace {

TEST(ClassArchive, TheReleaseFileNamesTheRuntimesFeatureVersion) {
    EXPECT_EQ(releaseFeatureVersion("IMPLEMENTOR=\"Q\"\nJAVA_VERSION=\"17.0.15\"\nMODULES=\"java.base\"\n"), 17);
    EXPECT_EQ(releaseFeatureVersion("JAVA_VERSION=\"1.8.0_402\"\n"), 8);
    EXPECT_EQ(releaseFeatureVersion("JAVA_VERSION=\"21-ea\""), 21);
    EXPECT_EQ(releaseFeatureVersion("JAVA_VERSION=13\r\n"), 13);
    EXPECT_EQ(releaseFeatureVersion("JAVA_RUNTIME_VERSION=\"17.0.15+6\"\nOS_NAME=\"Linux\"\n"), std::nullopt);
    EXPECT_EQ(releaseFeatureVersion("JAVA_VERSION=\"\"\n"), std::nullopt);
}

TEST(ClassArchive, TheUsersOwnSayAboutSharingOrAnAgentStandsAlone) {
    for (const char16_t* option :
         {u"-Xshare:off", u"-Xshare:auto", u"-XX:SharedArchiveFile=/tmp/a.jsa", u"-XX:ArchiveClassesAtExit=a.jsa",
          u"-XX:-UseSharedSpaces", u"-XX:+AutoCreateSharedArchive", u"-XX:+RecordDynamicDumpInfo",
          u"-javaagent:probe.jar", u"-agentlib:jdwp=transport=dt_socket"}) {
        EXPECT_TRUE(touchesClassSharing(option)) << std::u16string(option).size();
    }
    for (const char16_t* option : {u"-Xss1m", u"-Xmx512m", u"-XX:+UseSerialGC", u"-Dshare=off", u"-Xlog:cds"}) {
        EXPECT_FALSE(touchesClassSharing(option)) << std::u16string(option).size();
    }
}

TEST(ClassArchive, TheDigestOfAFileIsTheSameHoweverItIsReadAndChangesWithAnyByte) {
    std::string contents;
    for (int i = 0; i < 1000; ++i) contents += static_cast<char>(i * 7);
    platform::Digest whole;
    whole.add(contents);
    for (const std::size_t piece : {1u, 5u, 31u, 32u, 33u, 999u}) {
        platform::Digest pieces;
        for (std::size_t at = 0; at < contents.size(); at += piece)
            pieces.add(std::string_view(contents).substr(at, piece));
        EXPECT_EQ(pieces.value(), whole.value()) << piece;
    }
    for (const std::size_t at : {0u, 31u, 500u, 999u}) {
        std::string changed = contents;
        changed[at] = static_cast<char>(changed[at] ^ 1);
        platform::Digest other;
        other.add(changed);
        EXPECT_NE(other.value(), whole.value()) << at;
    }
    platform::Digest shorter;
    shorter.add(std::string_view(contents).substr(0, 999));
    EXPECT_NE(shorter.value(), whole.value());
    EXPECT_EQ(whole.hex().size(), 16u);
}

}  // namespace
}  // namespace zep::test
