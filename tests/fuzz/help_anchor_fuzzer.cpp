// The anchor extraction over any body the string loader could give (at most
// 1023 units): it finds exactly what the standard regular-expression facility
// finds with the anchor's pattern, the address follows an `<a href="` of the
// body, the text before that anchor is kept, and the text only ever shrinks.

#include <cstdint>

#include "notice/notice_text.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/anchor_oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zep::fuzz::require;
    std::u16string text = zep::fuzz::units(data, size).substr(0, 1023);
    const std::u16string before = text;
    std::u16string helpUrl = u"unchanged";
    const bool extracted = zep::notice::extractHelpAnchor(text, helpUrl);

    std::u16string expectedText = before;
    std::u16string expectedUrl = u"unchanged";
    require(extracted == zep::test::extractHelpAnchorByRegex(expectedText, expectedUrl));
    require(text == expectedText && helpUrl == expectedUrl);

    if (extracted) {
        require(!helpUrl.empty());
        require(text.size() < before.size());
        bool found = false;
        for (std::size_t anchor = before.find(u"<a href=\""); anchor != std::u16string::npos && !found;
             anchor = before.find(u"<a href=\"", anchor + 1)) {
            found = before.compare(anchor + 9, helpUrl.size(), helpUrl) == 0 &&
                    text.compare(0, anchor, before, 0, anchor) == 0;
        }
        require(found);
    } else {
        require(text == before && helpUrl == u"unchanged");
    }
    return 0;
}
