// The host's title texts, which need no platform.
#include "titles.h"

#include <gtest/gtest.h>

namespace celdra {
namespace {

TEST(Titles, ColumnsAreLettersThenPairsOfLetters) {
  EXPECT_EQ(ColumnTitle(1), "A");
  EXPECT_EQ(ColumnTitle(26), "Z");
  EXPECT_EQ(ColumnTitle(27), "AA");
  EXPECT_EQ(ColumnTitle(52), "AZ");
  EXPECT_EQ(ColumnTitle(53), "BA");
  EXPECT_EQ(ColumnTitle(253), "IS");
}

TEST(Titles, RowsAreDecimalNumbers) {
  EXPECT_EQ(RowTitle(1), "1");
  EXPECT_EQ(RowTitle(16381), "16381");
}

TEST(Titles, DocumentsAreNumberedFromTheirWindowIdentifier) {
  EXPECT_EQ(DocumentTitle(401), "Spreadsheet1");
  EXPECT_EQ(DocumentTitle(412), "Spreadsheet12");
  EXPECT_EQ(DocumentTitle(400), "Spreadsheet0");
  EXPECT_EQ(DocumentTitle(399), "Spreadsheet-1");
}

}  // namespace
}  // namespace celdra
