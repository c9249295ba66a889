#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/image_pack.h"

namespace qbtools {
namespace {

TEST(ImagePack, LaysOutTableThenPicturesInEntryOrder) {
  const Bytes pack = BuildPack({{'a', 'b', 'c'}, {'d'}});
  const Bytes expected = {16, 0, 0, 0, 3, 0, 0, 0, 19, 0, 0, 0, 1, 0, 0, 0, 'a', 'b', 'c', 'd'};
  EXPECT_EQ(pack, expected);
}

TEST(ImagePack, ReadsBackWhatWasWritten) {
  std::vector<Bytes> pictures;
  for (int n = 0; n < 55; ++n) {
    pictures.push_back(Bytes(static_cast<size_t>(n * 7 + 1), static_cast<uint8_t>(n)));
  }
  const PackReader reader(BuildPack(pictures));
  ASSERT_EQ(reader.Count(), pictures.size());
  for (size_t n = 0; n < pictures.size(); ++n) {
    const auto picture = reader.Picture(n);
    EXPECT_EQ(Bytes(picture.begin(), picture.end()), pictures[n]) << "entry " << n;
  }
  EXPECT_EQ(reader.Offset(0), 55u * 8);
}

TEST(ImagePack, RefusesPacksItCannotWrite) {
  EXPECT_THROW(BuildPack({}), PackError);
  EXPECT_THROW(BuildPack(std::vector<Bytes>(65537, Bytes{1})), PackError);
}

TEST(ImagePack, RejectsBrokenTables) {
  const struct {
    const char* why;
    Bytes pack;
  } cases[] = {
      {"shorter than one entry", {8, 0, 0}},
      {"first offset not a whole number of entries", {12, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 9}},
      {"table longer than the file", {64, 0, 0, 0, 1, 0, 0, 0, 9}},
      {"picture past the end", {8, 0, 0, 0, 5, 0, 0, 0, 1, 2}},
      {"second picture past the end", {16, 0, 0, 0, 1, 0, 0, 0, 17, 0, 0, 0, 2, 0, 0, 0, 1, 2}},
  };
  for (const auto& c : cases) {
    EXPECT_THROW(PackReader{c.pack}, PackError) << c.why;
  }
}

}  // namespace
}  // namespace qbtools
