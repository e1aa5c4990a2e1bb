// On Linux arguments are bytes: options reach the JVM as exactly those bytes,
// program arguments as the text `java` would make of them.

#include "platform/text.h"
#include "tests/support/launcher_fixture.h"

namespace zep::test {
namespace {

class ArgumentBytes : public LauncherTest {};

TEST_F(ArgumentBytes, OptionsKeepTheirBytesAndProgramArgumentsAreDecoded) {
    // What the entry point makes of the argv bytes.
    parse({platform::decodeLossless("-Dx=\xE9\xFF"), u"zep", platform::decodeLossless("caf\xE9 \xE6\x97"),
           platform::decodeLossless("gr\xC3\xBCn")});
    EXPECT_EQ(options(), (std::vector<std::string>{"-Dx=\xE9\xFF"}));
    EXPECT_EQ(launcher.programArgs, (std::vector<std::u16string>{u"caf\uFFFD \uFFFD", u"gr\u00FCn"}));
}

}  // namespace
}  // namespace zep::test
