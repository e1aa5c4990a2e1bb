// On Linux arguments are bytes: options reach the JVM as exactly those bytes,
// program arguments as the text `java` would make of them.

#include "platform/runtime_encoding.h"
#include "platform/text.h"
#include "tests/support/launcher_fixture.h"

namespace zep::test {
namespace {

TEST(ArgumentBytes, OptionsKeepTheirBytesAndProgramArgumentsAreDecoded) {
    // What the entry point makes of the argv bytes.
    const ParsedLaunch parsed =
        parse({platform::decodeLossless("-Dx=\xE9\xFF"), u"zep", platform::decodeLossless("caf\xE9 \xE6\x97"),
               platform::decodeLossless("gr\xC3\xBCn")});
    ASSERT_EQ(textsOf(parsed).size(), 1u);
    EXPECT_EQ(platform::toRuntimeEncoding(textsOf(parsed)[0]), "-Dx=\xE9\xFF");
    EXPECT_EQ(parsed.programArgs, (std::vector<std::u16string>{u"caf\uFFFD \uFFFD", u"gr\u00FCn"}));
}

}  // namespace
}  // namespace zep::test
