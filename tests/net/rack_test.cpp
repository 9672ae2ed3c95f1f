#include <gtest/gtest.h>

#include "net/http_get.hpp"

namespace pexil {
namespace {

TEST(OpeningRack, NoneWithoutTheMarker) {
  EXPECT_FALSE(ParseOpeningRack("HTTP/1.0 200 OK\r\n\r\nOK\r\n"));
  EXPECT_FALSE(ParseOpeningRack(""));
  EXPECT_FALSE(ParseOpeningRack("Rack:AEINRST"));
}

TEST(OpeningRack, TheTextAfterTheMarkerWithoutTrailingSpace) {
  EXPECT_EQ(ParseOpeningRack("HTTP/1.0 200 OK\r\n\r\nRack: AEINRST\r\n"), "AEINRST");
  EXPECT_EQ(ParseOpeningRack("Rack: aeinrst"), "aeinrst");
  EXPECT_EQ(ParseOpeningRack("Rack: QiZ?Ab  \t \n\n"), "QiZ?Ab");
}

TEST(OpeningRack, OnlyWhenItBeginsWithALetter) {
  EXPECT_FALSE(ParseOpeningRack("Rack: ?EINRST"));
  EXPECT_FALSE(ParseOpeningRack("Rack:  AEINRST"));
  EXPECT_FALSE(ParseOpeningRack("Rack: 7"));
  EXPECT_FALSE(ParseOpeningRack("Rack: \r\n"));
  EXPECT_FALSE(ParseOpeningRack("Rack: "));
}

TEST(OpeningRack, TheFirstMarkerCounts) {
  EXPECT_EQ(ParseOpeningRack("Rack: AB\nRack: CD\n"), "AB\nRack: CD");
}

TEST(UrlHost, BetweenTheSlashesAndTheNextSlash) {
  EXPECT_EQ(UrlHost("http://results.example/pexil/gcg.cgi?rlexicon=TWL06"), "results.example");
  EXPECT_EQ(UrlHost("http://127.0.0.1"), "127.0.0.1");
  EXPECT_EQ(UrlHost("plainhost"), "plainhost");
}

}  // namespace
}  // namespace pexil
