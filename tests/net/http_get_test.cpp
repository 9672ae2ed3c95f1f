#include <string>

#include <gtest/gtest.h>

#include "net/http_get.hpp"
#include "net_test_support.hpp"
#include "standin.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

using test::PaneCapture;
using test::StandinServer;
using test::TempFolder;

// Short times, so that the failure paths stay fast.
HttpGetOptions quick() {
  HttpGetOptions options;
  options.connectTimeoutMs = 2000;
  options.receiveTimeoutMs = 2000;
  return options;
}

TEST(HttpGet, TheRackRequestGetsTheRack) {
  TempFolder folder;
  StandinServer server("normal", folder.path(""));
  std::string reply;
  PaneCapture pane;
  const std::string url = "http://127.0.0.1/pexil/gcg.cgi?rlexicon=TWL06";
  ASSERT_EQ(HttpGet(url, reply, server.port(), quick()), 0);
  EXPECT_TRUE(reply.starts_with("HTTP/1.0 200 OK\r\n")) << reply;
  EXPECT_EQ(ParseOpeningRack(reply), "AEINRST");
  EXPECT_TRUE(pane.lines().empty());
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], "GET " + url + "\n\n");
}

TEST(HttpGet, AReportGetsAnOkWithoutARack) {
  TempFolder folder;
  StandinServer server("normal", folder.path(""));
  std::string reply;
  const std::string url = "http://127.0.0.1/pexil/gcg.cgi?move=QI%208D&lex=TWL06&rack=AEIQRST&ply=9";
  ASSERT_EQ(HttpGet(url, reply, server.port(), quick()), 0);
  EXPECT_TRUE(reply.ends_with("\r\n\r\nOK\r\n")) << reply;
  EXPECT_FALSE(ParseOpeningRack(reply));
  EXPECT_EQ(server.requests().at(0), "GET " + url + "\n\n");
}

TEST(HttpGet, AConnectionResetAtOnceFails) {
  TempFolder folder;
  StandinServer server("refuse", folder.path(""));
  std::string reply = "stale";
  PaneCapture pane;
  const int code = HttpGet("http://127.0.0.1/x", reply, server.port(), quick());
  // The reset meets either the request going out or the wait for the reply.
  EXPECT_TRUE(code == kHttpNoConnection || code == kHttpReceiveFailed) << code;
  EXPECT_EQ(reply, "");
  EXPECT_FALSE(pane.lines().empty());
}

TEST(HttpGet, AClosedPortIsNoConnection) {
  std::string reply;
  PaneCapture pane;
  const int port = test::closedLocalPort();
  EXPECT_EQ(HttpGet("http://127.0.0.1/x", reply, port, quick()), kHttpNoConnection);
  ASSERT_EQ(pane.lines().size(), 1u);
  EXPECT_EQ(pane.lines()[0], "No connection to 127.0.0.1 on port " + std::to_string(port) + ".");
}

TEST(HttpGet, AnUnknownHostIsNotResolved) {
  std::string reply;
  PaneCapture pane;
  EXPECT_EQ(HttpGet("http://no-such-host.invalid/pexil/gcg.cgi", reply, 80, quick()), kHttpNoHost);
  ASSERT_EQ(pane.lines().size(), 1u);
  EXPECT_EQ(pane.lines()[0], "The host no-such-host.invalid could not be found.");
}

TEST(HttpGet, AResetMidReplyIsAFailedReceive) {
  TempFolder folder;
  StandinServer server("reset", folder.path(""));
  std::string reply;
  PaneCapture pane;
  EXPECT_EQ(HttpGet("http://127.0.0.1/pexil/gcg.cgi?rlexicon=CSW12", reply, server.port(), quick()),
            kHttpReceiveFailed);
  EXPECT_EQ(reply, "");
  EXPECT_TRUE(test::asMessage(pane.lines()).starts_with("The reply from 127.0.0.1 broke off: "))
      << test::asMessage(pane.lines());
}

TEST(HttpGet, AReplyThatNeverEndsTimesOut) {
  TempFolder folder;
  StandinServer server("hang", folder.path(""));
  std::string reply;
  HttpGetOptions options = quick();
  options.receiveTimeoutMs = 300;
  PaneCapture pane;
  EXPECT_EQ(HttpGet("http://127.0.0.1/x", reply, server.port(), options), kHttpTimedOut);
  EXPECT_EQ(reply, "");
  EXPECT_EQ(test::asMessage(pane.lines()), "The reply from 127.0.0.1 did not end within 0.3 seconds and was given up.");
}

TEST(HttpGet, ATenMegabyteReplyIsRefusedByTheCap) {
  TempFolder folder;
  StandinServer server("huge", folder.path(""));
  std::string reply;
  PaneCapture pane;
  EXPECT_EQ(HttpGet("http://127.0.0.1/x", reply, server.port(), quick()), kHttpNoRoom);
  EXPECT_EQ(reply, "");
  EXPECT_EQ(test::asMessage(pane.lines()), "The reply from 127.0.0.1 is longer than 4096 KiB and was refused.");
}

TEST(HttpGet, GarbageIsReturnedAsReceived) {
  TempFolder folder;
  StandinServer server("garbage", folder.path(""));
  std::string reply;
  PaneCapture pane;
  ASSERT_EQ(HttpGet("http://127.0.0.1/pexil/gcg.cgi?rlexicon=TWL06", reply, server.port(), quick()), 0);
  std::string expected(4096, '\0');
  for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<char>((i * 37 + 11) & 0xFF);
  EXPECT_EQ(reply, expected);
  EXPECT_FALSE(ParseOpeningRack(reply));
  EXPECT_TRUE(pane.lines().empty());
}

TEST(HttpGet, QuietCallersHearNothing) {
  std::string reply;
  HttpGetOptions options = quick();
  options.report = false;
  PaneCapture pane;
  EXPECT_EQ(HttpGet("http://127.0.0.1/x", reply, test::closedLocalPort(), options), kHttpNoConnection);
  EXPECT_TRUE(pane.lines().empty());
}

}  // namespace
}  // namespace pexil
