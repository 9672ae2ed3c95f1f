#include <string>

#include <gtest/gtest.h>

#include "net/upload.hpp"
#include "net_test_support.hpp"
#include "standin.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

using test::PaneCapture;
using test::StandinServer;
using test::TempFolder;

TEST(UploadGame, SendsTheFormPostByteForByteAndClosesWithoutAReply) {
  TempFolder folder;
  StandinServer server("normal", folder.path(""));
  ASSERT_GT(server.port(), 0);
  const std::string record = folder.write("strength.gcg", "#player1 A Ann\r\n>A: ?BC 8D QI +22 +22\r\n");
  PaneCapture pane;
  EXPECT_EQ(UploadGame("127.0.0.1", server.port(), record), 0);
  EXPECT_TRUE(pane.lines().empty());
  const auto requests = server.waitForRequests(1);
  ASSERT_EQ(requests.size(), 1u);
  const std::string body =
      "gcg=%23player%31+A+Ann%0D%0A%3EA%3A+%3FBC+%38D+QI+%2B%32%32+%2B%32%32%0D%0A";
  const std::string expected =
      "POST /pexil/gcg.cgi HTTP/1.1\n"
      "Host: 127.0.0.1\n"
      "Content-Length: " + std::to_string(body.size()) + "\n"
      "Content-Type: application/x-www-form-urlencoded\n"
      "Accept-Charset: utf-8\n"
      "\n" + body + "\n";
  EXPECT_EQ(requests[0], expected);
  // The length counts "gcg=" and the encoded record, not the final LF.
  EXPECT_NE(requests[0].find("Content-Length: 75\n"), std::string::npos);
  EXPECT_EQ(UploadRequest("127.0.0.1", "#player1 A Ann\r\n>A: ?BC 8D QI +22 +22\r\n"), expected);
}

TEST(UploadGame, A7999ByteRecordIsSentAnd8000BytesAreNotWithNothingPrinted) {
  TempFolder folder;
  StandinServer server("normal", folder.path(""));
  const std::string longest = folder.write("longest.gcg", std::string(7999, 'Q'));
  const std::string tooLong = folder.write("toolong.gcg", std::string(8000, 'Q'));
  PaneCapture pane;
  EXPECT_EQ(UploadGame("127.0.0.1", server.port(), longest), 0);
  auto requests = server.waitForRequests(1);
  ASSERT_EQ(requests.size(), 1u);
  const std::string tail = "Content-Length: 8003\nContent-Type: application/x-www-form-urlencoded\n"
                           "Accept-Charset: utf-8\n\ngcg=" + std::string(7999, 'Q') + "\n";
  ASSERT_GE(requests[0].size(), tail.size());
  EXPECT_EQ(requests[0].substr(requests[0].size() - tail.size()), tail);

  EXPECT_EQ(UploadGame("127.0.0.1", server.port(), tooLong), -1);
  requests = server.waitForRequests(2);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1], "");  // connected, then closed without a byte
  EXPECT_TRUE(pane.lines().empty()) << test::joined(pane.lines());
}

TEST(UploadGame, AMissingRecordIsReported) {
  TempFolder folder;
  StandinServer server("normal", folder.path(""));
  PaneCapture pane;
  EXPECT_EQ(UploadGame("127.0.0.1", server.port(), folder.path("no-such.gcg")), -1);
  ASSERT_EQ(pane.lines().size(), 1u);
  EXPECT_TRUE(pane.lines()[0].starts_with("GCG file not found, GCG not uploaded.")) << pane.lines()[0];
  EXPECT_EQ(server.waitForRequests(1).at(0), "");
}

TEST(UploadGame, AnUnknownHostIsReported) {
  TempFolder folder;
  const std::string record = folder.write("strength.gcg", "#player1 A Ann\n");
  PaneCapture pane;
  EXPECT_EQ(UploadGame("no-such-host.invalid", 80, record), -1);
  ASSERT_EQ(pane.lines().size(), 1u);
  EXPECT_TRUE(pane.lines()[0].starts_with("Failure resolving host, GCG not uploaded.")) << pane.lines()[0];
}

TEST(UploadGame, ARefusedConnectionIsReported) {
  TempFolder folder;
  const std::string record = folder.write("strength.gcg", "#player1 A Ann\n");
  PaneCapture pane;
  EXPECT_EQ(UploadGame("127.0.0.1", test::closedLocalPort(), record), -1);
  ASSERT_EQ(pane.lines().size(), 1u);
  EXPECT_TRUE(pane.lines()[0].starts_with("Failure connecting through socket, GCG not uploaded."))
      << pane.lines()[0];
}

TEST(UploadGame, TheDefaultFileIsStrengthGcgOfTheWorkingFolder) {
  TempFolder folder;
  StandinServer server("normal", folder.path(""));
  folder.write("strength.gcg", "x");
  test::InFolder inside(folder.path(""));
  EXPECT_EQ(UploadGame("127.0.0.1", server.port()), 0);
  const auto requests = server.waitForRequests(1);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_TRUE(requests[0].ends_with("\n\ngcg=x\n")) << requests[0];
}

}  // namespace
}  // namespace pexil
