// The options files' syntax: which lines are options, what is cut from them,
// and which bytes make a file unusable.

#include <gtest/gtest.h>

#include "launcher/options_file.h"

namespace zep {
namespace {

using Lines = std::vector<std::pair<std::u16string, unsigned>>;

Lines linesOf(std::string_view bytes) {
    const OptionsText text = splitOptionsText(bytes);
    EXPECT_EQ(text.problem, "");
    Lines lines;
    for (const OptionLine& line : text.lines) lines.emplace_back(line.text, line.number);
    return lines;
}

TEST(OptionsFile, LinesAreTakenWholeWithoutTheirEndsBlanksAndComments) {
    const std::pair<std::string_view, Lines> table[] = {
        {"", {}},
        {"\xEF\xBB\xBF", {}},
        {" \t\n\n\r\n  \n", {}},
        {"-Xmx8g", {{u"-Xmx8g", 1}}},
        {"\xEF\xBB\xBF-Xmx8g\n", {{u"-Xmx8g", 1}}},
        {"# memory\n-Xmx8g\r\n\r\n  -Dzep.a=1  \n\t-ea\t", {{u"-Xmx8g", 2}, {u"-Dzep.a=1", 4}, {u"-ea", 5}}},
        {"-Dzep.data=C:\\Program Files\\Gridmere data\n", {{u"-Dzep.data=C:\\Program Files\\Gridmere data", 1}}},
        {"  # not an option\n#-Xmx1g\n-D#=#\n", {{u"-D#=#", 3}}},
        {"Xmx8g\n", {{u"Xmx8g", 1}}},  // kept: whether it is an option is decided later
        {"-Da=1\r-Db=2\r-Xmx64m", {{u"-Da=1", 1}, {u"-Db=2", 2}, {u"-Xmx64m", 3}}},
        {"-Dx=a\rb\n", {{u"-Dx=a", 1}, {u"b", 2}}},
        {"-Dx=1\r\r\n-Dy=2\r", {{u"-Dx=1", 1}, {u"-Dy=2", 3}}},
        {"-Dx=1\n\r", {{u"-Dx=1", 1}}},
        {"-Dname=gr\xC3\xBCn \xE6\x97\xA5", {{u"-Dname=gr\u00FCn \u65E5", 1}}},
    };
    for (const auto& [bytes, lines] : table) EXPECT_EQ(linesOf(bytes), lines) << testing::PrintToString(bytes);
}

TEST(OptionsFile, BytesThatAreNoUtf8AndNulMakeTheFileUnusable) {
    const std::pair<std::string_view, std::string_view> table[] = {
        {std::string_view("-Da\0b", 5), "a NUL byte on line 1"},
        {std::string_view("-Da\n\n-Db=\0", 10), "a NUL byte on line 3"},
        {std::string_view("-Da\r\r\n\r-Db=\0", 12), "a NUL byte on line 4"},
        {"-Dx=\xE9t\xE9", "not UTF-8 on line 1"},
        {"-Da\n-Db=\xC0\xAF", "not UTF-8 on line 2"},       // an overlong '/'
        {"\n\n-Dc=\xED\xA0\x80", "not UTF-8 on line 3"},    // an encoded surrogate
        {"-Dd=\xF4\x90\x80\x80\n", "not UTF-8 on line 1"},  // past U+10FFFF
        {"-De=\xE6\x97", "not UTF-8 on line 1"},            // cut short
    };
    for (const auto& [bytes, problem] : table) {
        const OptionsText text = splitOptionsText(bytes);
        EXPECT_EQ(text.problem, problem) << testing::PrintToString(bytes);
        EXPECT_TRUE(text.lines.empty());
    }
}

}  // namespace
}  // namespace zep
