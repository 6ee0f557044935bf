#include "core/rules/settingsfile.h"

#include "core/store/bigini.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qmx;
using Lines = std::vector<std::string>;

TEST(SettingsFile, NumberedLinesAreFoundByTheirExactKey)
{
    struct Case {
        const char* name;
        std::string section;
        Lines lines;
        bool cut;
    };
    const Case cases[] = {
        {"look-alikes", "Count=3\r\n01=a\r\n1=b\r\n+2=c\r\n 2=d\r\n2 =e\r\n", {"", "b", ""}, false},
        {"first of a repeated key", "Count=2\r\n1=x\r\n0=y\r\n1=z\r\n", {"y", "x"}, false},
        {"values holding the separator", "Count=2\r\n0==a=\r\n1=\r\n", {"=a=", ""}, false},
        {"key past Count", "Count=1\r\n0=a\r\n1=b\r\n", {"a"}, false},
        {"hexadecimal Count", "Count=$2\r\n0=a\r\n1=b\r\n", {"a", "b"}, false},
        {"negative Count", "Count=-1\r\n0=a\r\n", {}, false},
        {"Count past the cap", "Count=100001\r\n100000=x\r\n", Lines(100000), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TBigIniFile ini(readOnly, "", "[S]\r\n" + c.section);
        const NumberedLines read = readNumbered(ini, "s");
        EXPECT_EQ(read.lines, c.lines);
        EXPECT_EQ(read.cut, c.cut);
    }
}
