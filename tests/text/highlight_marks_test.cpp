#include "text/highlight_marks.hpp"

#include <gtest/gtest.h>

namespace pexil {
namespace {

TEST(HighlightMarks, RunsAlternateAtEachMark) {
  const auto runs = highlightRuns("P1: MAZ|I|ER   8D");
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].text, "P1: MAZ");
  EXPECT_FALSE(runs[0].highlighted);
  EXPECT_EQ(runs[1].text, "I");
  EXPECT_TRUE(runs[1].highlighted);
  EXPECT_EQ(runs[2].text, "ER   8D");
  EXPECT_FALSE(runs[2].highlighted);
}

TEST(HighlightMarks, MarksAtTheEdgesLeaveNoEmptyRuns) {
  const auto runs = highlightRuns("|CAT|S");
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].text, "CAT");
  EXPECT_TRUE(runs[0].highlighted);
  EXPECT_EQ(runs[1].text, "S");
  EXPECT_FALSE(runs[1].highlighted);
  // A line that ends highlighted, and one made of marks only.
  const auto open = highlightRuns("..|AB");
  ASSERT_EQ(open.size(), 2u);
  EXPECT_TRUE(open[1].highlighted);
  EXPECT_TRUE(highlightRuns("||").empty());
  EXPECT_TRUE(highlightRuns("").empty());
}

TEST(HighlightMarks, PlainLineIsOneRun) {
  const auto runs = highlightRuns("Tiles in the bag: 86");
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_FALSE(runs[0].highlighted);
  EXPECT_EQ(runs[0].text, "Tiles in the bag: 86");
}

TEST(HighlightMarks, TextWithoutMarks) {
  EXPECT_EQ(withoutHighlightMarks("MAZ|I|ER"), "MAZIER");
  EXPECT_EQ(withoutHighlightMarks("  8 #..|BAPUS|...  8"), "  8 #..BAPUS...  8");
  EXPECT_EQ(shownLength("MAZ|I|ER"), 6u);
  EXPECT_EQ(shownLength(""), 0u);
}

}  // namespace
}  // namespace pexil
