#include "platform/posix/UriList.h"

#include <gtest/gtest.h>

using platform::posix::pathsFromUriList;
using Paths = std::vector<std::string>;

TEST(UriList, FileUrisArePercentDecodedAndOthersSkipped) {
    EXPECT_EQ(pathsFromUriList("file:///a%20b/c%25d\r\nfile://host/e\r\n"), (Paths{"/a b/c%d", "/e"}));
    // Comments, other schemes, relative names and a host without a path name no local file.
    EXPECT_EQ(pathsFromUriList("# comment\nhttp://x/y\nrelative\nfile://host\n\n/plain path\n"),
              (Paths{"/plain path"}));
    // Malformed escapes stay as they are; an encoded line break stays inside the name for the program to refuse.
    EXPECT_EQ(pathsFromUriList("file:///a%2\nfile:///b%zz\nfile:///c%0Ad"), (Paths{"/a%2", "/b%zz", "/c\nd"}));
    EXPECT_EQ(pathsFromUriList("file:///%E8%A1%A8"), (Paths{"/\xE8\xA1\xA8"}));
    EXPECT_TRUE(pathsFromUriList("").empty());
}
