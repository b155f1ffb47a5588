#include <gtest/gtest.h>

#include "orvask/inputbox.h"

namespace orvask {
namespace {

TEST(StrSub, CopiesAnInclusiveRangeAndTakesOneByteWhenTheEndIsBelowTheStart) {
    char dst[16] = "old text";
    strsub(dst, "console", 3, 5);
    EXPECT_STREQ(dst, "sol");
    strsub(dst, "console", 5, 3);
    EXPECT_STREQ(dst, "l");
    strsub(dst, "console", 0, 6);
    EXPECT_STREQ(dst, "console");
}

TEST(StrSub, AppendsWithStrsubcat) {
    char dst[16] = "con";
    strsubcat(dst, "console", 3, 6);
    EXPECT_STREQ(dst, "console");
    strsubcat(dst, "xyz", 2, 0);
    EXPECT_STREQ(dst, "consolez");
}

TEST(StrSub, SourceAndDestinationMayBeTheSameString) {
    char text[16] = "console";
    strsub(text, text, 2, 4);
    EXPECT_STREQ(text, "nso");
    strsubcat(text, text, 0, 1);
    EXPECT_STREQ(text, "nsons");
}

}  // namespace
}  // namespace orvask
