// The desktop program's command line as read: the preview, heat-map and
// players options.
#include <gtest/gtest.h>

#include "launch_options.hpp"

namespace pexil::ui {
namespace {

std::optional<LaunchOptions> parse(std::vector<std::string> args, std::string* error = nullptr) {
  std::string e;
  auto options = ParseLaunchOptions(args, e);
  if (error != nullptr) *error = e;
  return options;
}

TEST(UiLaunchOptions, PreviewAndHeatMaps) {
  const auto plain = parse({"--start-game", "1", "--preview", "8D", "QUARTZ"});
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->previewPosition, "8D");
  EXPECT_EQ(plain->previewWord, "QUARTZ");
  EXPECT_EQ(plain->heatmap, draw::HeatView::none);
  const auto replies = parse({"--start-game", "1", "--heatmap", "--preview", "D8", "qi"});
  ASSERT_TRUE(replies);
  EXPECT_EQ(replies->heatmap, draw::HeatView::replyShare);
  EXPECT_EQ(replies->previewWord, "qi");
  const auto scores = parse({"--start-game", "1", "--preview", "8D", "QI", "--heatmap", "scores"});
  ASSERT_TRUE(scores);
  EXPECT_EQ(scores->heatmap, draw::HeatView::replyScore);
  const auto next = parse({"--start-game", "1", "--preview", "8D", "QI", "--heatmap", "next", "--seed", "3"});
  ASSERT_TRUE(next);
  EXPECT_EQ(next->heatmap, draw::HeatView::nextShare);
  EXPECT_EQ(next->seed, 3u);
}

TEST(UiLaunchOptions, WrongUsesAreRefused) {
  std::string error;
  EXPECT_FALSE(parse({"--start-game", "1", "--preview", "8D"}, &error));
  EXPECT_NE(error.find("position and a word"), std::string::npos);
  EXPECT_FALSE(parse({"--start-game", "1", "--preview", "8D", "--heatmap"}, &error));
  EXPECT_FALSE(parse({"--start-game", "1", "--heatmap"}, &error));
  EXPECT_NE(error.find("needs --preview"), std::string::npos);
  EXPECT_FALSE(parse({"--preview", "8D", "QI"}, &error));
  EXPECT_NE(error.find("needs --start-game"), std::string::npos);
  EXPECT_FALSE(parse({"--start-game", "1", "--preview", "8D", "QI", "--heatmap", "warm"}, &error));
  EXPECT_FALSE(parse({"--players", "17"}, &error));
  EXPECT_FALSE(parse({"--players", "0"}, &error));
}

TEST(UiLaunchOptions, Players) {
  EXPECT_EQ(parse({})->players, 2);
  EXPECT_EQ(parse({"--start-game", "2", "--players", "4"})->players, 4);
}

}  // namespace
}  // namespace pexil::ui
