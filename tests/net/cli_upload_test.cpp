// pexil-cli upload, run as a program: the host comes from the settings file
// that PEXIL_SETTINGS names (or --host); without one nothing is sent.
#include <string>

#include <gtest/gtest.h>

#include "net_test_support.hpp"
#include "standin.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

using test::StandinServer;
using test::TempFolder;

TEST(CliUpload, WithNoHostConfiguredNothingIsSent) {
  TempFolder folder;
  StandinServer server("normal", folder.path(""));
  folder.write("strength.gcg", "#player1 A Ann\n");
  const auto result = test::runProgram({PEXIL_CLI, "upload", "--port", std::to_string(server.port())},
                                       folder.path(""), {{"PEXIL_SETTINGS", folder.path("pexil.conf")}});
  EXPECT_EQ(result.status, 1) << result.output;
  EXPECT_NE(result.output.find("Upload is not set up"), std::string::npos) << result.output;
  // The server answers nothing it was not asked: give a stray connection
  // time to be recorded before looking.
  ::usleep(100000);
  EXPECT_TRUE(server.requests().empty());
}

TEST(CliUpload, TheConfiguredHostGetsTheRecord) {
  TempFolder folder;
  StandinServer server("normal", folder.path(""));
  folder.write("strength.gcg", "8D QI +22\n");
  folder.write("pexil.conf", "[Options]\nUploadHost=127.0.0.1\n");
  const auto result = test::runProgram({PEXIL_CLI, "upload", "--port", std::to_string(server.port())},
                                       folder.path(""), {{"PEXIL_SETTINGS", folder.path("pexil.conf")}});
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find("strength.gcg was uploaded to 127.0.0.1"), std::string::npos) << result.output;
  const auto requests = server.waitForRequests(1);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_TRUE(requests[0].starts_with("POST /pexil/gcg.cgi HTTP/1.1\nHost: 127.0.0.1\nContent-Length: 24\n"))
      << requests[0];
  EXPECT_TRUE(requests[0].ends_with("\n\ngcg=%38D+QI+%2B%32%32%0A\n")) << requests[0];
}

TEST(CliUpload, AnotherFileAndAFailureGiveExitStatusOne) {
  TempFolder folder;
  folder.write("pexil.conf", "[Options]\nUploadHost=127.0.0.1\n");
  const int port = test::closedLocalPort();
  const auto refused = test::runProgram({PEXIL_CLI, "upload", "game.gcg", "--port", std::to_string(port)},
                                        folder.path(""), {{"PEXIL_SETTINGS", folder.path("pexil.conf")}});
  EXPECT_EQ(refused.status, 1) << refused.output;
  EXPECT_NE(refused.output.find("Failure connecting through socket, GCG not uploaded."), std::string::npos)
      << refused.output;

  StandinServer server("normal", folder.path(""));
  const auto missing = test::runProgram({PEXIL_CLI, "upload", "game.gcg", "--port", std::to_string(server.port())},
                                        folder.path(""), {{"PEXIL_SETTINGS", folder.path("pexil.conf")}});
  EXPECT_EQ(missing.status, 1) << missing.output;
  EXPECT_NE(missing.output.find("GCG file not found, GCG not uploaded."), std::string::npos) << missing.output;

  folder.write("game.gcg", "x");
  const auto sent = test::runProgram(
      {PEXIL_CLI, "upload", "game.gcg", "--host", "127.0.0.1", "--port", std::to_string(server.port())},
      folder.path(""), {{"PEXIL_SETTINGS", folder.path("absent.conf")}});
  EXPECT_EQ(sent.status, 0) << sent.output;
  const auto requests = server.waitForRequests(2);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_TRUE(requests[1].ends_with("\n\ngcg=x\n")) << requests[1];
}

// The stand-in itself: a folder it cannot record into is refused at start.
TEST(StandinServer, AFolderItCannotWriteToIsRefused) {
  TempFolder folder;
  const auto result = test::runProgram({PEXIL_STANDIN_SERVER, "--dir", folder.path("missing"), "--port", "0"},
                                       folder.path(""), {});
  EXPECT_EQ(result.status, 2) << result.output;
  EXPECT_NE(result.output.find("cannot write to the folder"), std::string::npos) << result.output;
}

}  // namespace
}  // namespace pexil
