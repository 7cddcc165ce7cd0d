#include "platform/os/CString.h"

#include <gtest/gtest.h>

TEST(CString, FormatsFindsAndSlices) {
    CString s;
    s.Format(
        "%d \xB0"
        "C",
        -5);
    EXPECT_EQ(s,
              "-5 \xB0"
              "C");
    EXPECT_EQ(s.GetLength(), 5);
    EXPECT_EQ(s.Find("\xB0"), 3);
    EXPECT_EQ(s.Find('x'), -1);
    EXPECT_EQ(s.Left(2), "-5");
    EXPECT_EQ(s.Mid(3, 99),
              "\xB0"
              "C");
    EXPECT_EQ(s.Right(100), s);
    EXPECT_EQ(s.Mid(-3, 2), "-5");
    EXPECT_EQ(s.Find("", 99), -1);
}

TEST(CString, TrimCaseAndReplace) {
    CString s("  Table Five \t\r\n");
    s.Trim();
    EXPECT_EQ(s, "Table Five");
    EXPECT_EQ(CString(s).MakeUpper(), "TABLE FIVE");
    EXPECT_EQ(s.CompareNoCase("tABLE fIVE"), 0);
    EXPECT_LT(s.CompareNoCase("table six"), 0);
    EXPECT_EQ(s.Replace("e", "ee"), 2);
    EXPECT_EQ(s, "Tablee Fivee");
    EXPECT_EQ(CString(nullptr), "");
}
