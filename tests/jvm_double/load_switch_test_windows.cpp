// The jvm.dll that is there but refuses to load: DllMain says no.

#include "platform/windows/win32.h"
#include "tests/jvm_double/double_fixture.h"

namespace zep::test {
namespace {

TEST_F(JvmDouble, LoadSwitchMakesLoadLibraryFail) {
    failWith(u"load");
    EXPECT_FALSE(platform::Library::load(libraryIn(testHome("valid")).u16string()));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
    EXPECT_EQ(log(), (Lines{"load " + utf8Path(libraryIn(testHome("valid"))), "load refused", "unload"}));

    // Read at each load: the same file loads once the switch is gone.
    failWith(u"");
    load();
}

}  // namespace
}  // namespace zep::test
