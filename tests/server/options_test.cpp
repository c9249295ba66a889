#include "options.h"

#include <gtest/gtest.h>

namespace {

TEST(ScoresOptions, DefaultsAndEachOption) {
  const scores::OptionsParse defaults = scores::ParseOptions({});
  ASSERT_TRUE(defaults.Options);
  EXPECT_EQ(defaults.Options->Host, "127.0.0.1");
  EXPECT_EQ(defaults.Options->Port, 8642);
  EXPECT_EQ(defaults.Options->Database, "scores.sqlite");
  EXPECT_FALSE(defaults.Options->TrustProxy);
  EXPECT_EQ(defaults.Options->Service.UploadLimit, 10);
  EXPECT_EQ(defaults.Options->Service.RequestLimit, 120);

  const scores::OptionsParse set = scores::ParseOptions(
      {"--listen", "[::1]:9000", "--db", "/srv/s.sqlite", "--trust-proxy", "--upload-limit", "3",
       "--request-limit", "40", "--threads", "4", "--motd", "Hello there"});
  ASSERT_TRUE(set.Options) << set.Error;
  EXPECT_EQ(set.Options->Host, "::1");
  EXPECT_EQ(set.Options->Port, 9000);
  EXPECT_EQ(set.Options->Database, "/srv/s.sqlite");
  EXPECT_TRUE(set.Options->TrustProxy);
  EXPECT_EQ(set.Options->Service.UploadLimit, 3);
  EXPECT_EQ(set.Options->Service.RequestLimit, 40);
  EXPECT_EQ(set.Options->Threads, 4);
  EXPECT_EQ(set.Options->Service.Message, "Hello there");

  EXPECT_TRUE(scores::ParseOptions({"--db", "x", "--help"}).Help);
}

TEST(ScoresOptions, RefusesBadValues) {
  const std::vector<std::vector<std::string>> cases = {
      {"--listen", "8642"},
      {"--listen", ":8642"},
      {"--listen", "host:65536"},
      {"--listen", "host:80x"},
      {"--upload-limit", "0"},
      {"--request-limit", "-5"},
      {"--threads", "many"},
      {"--motd", "a|b"},
      {"--db"},
      {"--verbose"},
      {"scores.sqlite"},
  };
  for (const auto& args : cases) {
    const scores::OptionsParse parse = scores::ParseOptions(args);
    EXPECT_FALSE(parse.Options) << args[0];
    EXPECT_FALSE(parse.Error.empty()) << args[0];
  }
}

}  // namespace
