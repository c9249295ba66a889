#include "online/record_codec.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(RecordCodec, EncodesTheGivenExamples) {
  EXPECT_EQ(EncodeBits("a"), "01100001");
  EXPECT_EQ(EncodeBits(std::string("\x00\xff", 2)), "0000000011111111");
  EXPECT_EQ(EncodeLetters(EncodeBits("abc")), "GC2VD");
  EXPECT_EQ(EncodeLetters(EncodeBits("abcde")), "NFTGG3DF");
  EXPECT_EQ(EncodeRecord("abcde"), "NFTGG3DF");
}

TEST(RecordCodec, BuildsThePaddedRecord) {
  const std::string record = BuildResultRecord("Bob", 500, "", "UK");
  EXPECT_EQ(record, "type=0|name=Bob|score=500|key=Q|p=|add=UK|z=0");
  EXPECT_EQ(BuildResultRecord("Bob", 500, "ABCDEFGHJKLMNPQR", "UK"),
            "type=0|name=Bob|score=500|key=Q|p=ABCDEFGHJKLMNPQR|add=UK|z=");
  EXPECT_EQ(BuildResultRecord("", 0, "", ""), "type=0|name=|score=0|key=Q|p=|add=|z=000");
}

TEST(RecordCodec, EncodedRecordsAreEightFifthsLongInTheAlphabetAndDecodeBack) {
  for (size_t nameLength = 0; nameLength <= 10; ++nameLength) {
    for (const int32_t score : {0, 7, 500, 123456, 100000000}) {
      const std::string record =
          BuildResultRecord(std::string(nameLength, 'x'), score, "TOKENTOKENTOKEN1", "UK");
      ASSERT_EQ(record.size() % 5, 0u) << record;
      const std::string inf = EncodeRecord(record);
      EXPECT_EQ(inf.size() * 5, record.size() * 8) << record;
      EXPECT_EQ(inf.find_first_not_of(kRecordLetters), std::string::npos) << inf;
      EXPECT_EQ(DecodeRecord(inf), record);
    }
  }
}

TEST(RecordCodec, AnyBytesOfAnyLengthRoundTrip) {
  std::mt19937 random(17);
  for (size_t length = 0; length < 40; ++length) {
    std::string text;
    for (size_t i = 0; i < length; ++i) {
      text.push_back(static_cast<char>(random() & 0xff));
    }
    EXPECT_EQ(DecodeRecord(EncodeRecord(text)), text) << "length " << length;
  }
}

TEST(RecordCodec, RefusesWhatTheEncoderCannotHaveMade) {
  struct Case {
    const char* why;
    std::string letters;
  };
  const Case cases[] = {
      {"I is not in the alphabet", "GC2VI"},
      {"O is not in the alphabet", "OC2VD"},
      {"Z is not in the alphabet", "GCZVD"},
      {"0 is not in the alphabet", "GC0VD"},
      {"lower case is not in the alphabet", "gc2vd"},
      {"three letters leave seven front bits", "GC2"},
      {"one letter leaves five front bits", "G"},
      {"a 1 in the front padding", "9C2VD"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeRecord(c.letters), std::nullopt) << c.why;
  }
  EXPECT_EQ(DecodeBits("0110000"), std::nullopt);
  EXPECT_EQ(DecodeBits("0110000x"), std::nullopt);
  EXPECT_EQ(DecodeRecord(""), "");
}

TEST(RecordCodec, ParsesTheSevenPiecesInOrder) {
  const TRecordParse parse =
      ParseResultRecord(BuildResultRecord("Bob", 500, "ABCDEFGHJKLMNPQR", "UK"));
  ASSERT_TRUE(parse.Record) << parse.Error;
  EXPECT_EQ(parse.Record->Type, "0");
  EXPECT_EQ(parse.Record->Name, "Bob");
  EXPECT_EQ(parse.Record->Score, "500");
  EXPECT_EQ(parse.Record->Key, "Q");
  EXPECT_EQ(parse.Record->P, "ABCDEFGHJKLMNPQR");
  EXPECT_EQ(parse.Record->Country, "UK");
}

TEST(RecordCodec, RefusesRecordsOutOfShape) {
  const char* cases[] = {
      "",
      "type=0|name=Bob|score=500|key=Q|p=|add=UK",           // no padding piece
      "type=0|score=500|name=Bob|key=Q|p=|add=UK|z=0",       // reordered
      "type=0|name=Bob|score=500|key=Q|add=UK|p=|z=0",       // reordered
      "type=0|name=B|b|score=500|key=Q|p=|add=UK|z=0000",    // a bar in the name
      "type=0|name=Bob|score=500|key=Q|p=|add=UK|z=",        // 44 characters: padding missing
      "type=0|name=Bob|score=500|key=Q|p=|add=UK|z=000000",  // more padding than needed
      "type=0|name=Bob|score=500|key=Q|p=|add=UK|z=1",       // padding not zeros
      "type=0|nam=Bobb|score=500|key=Q|p=|add=UK|z=0",       // wrong label
      "|name=Bob|score=500|key=Q|p=|add=UK|z=0000",          // no type label
      "type=0|name=Bob|score=500|key=Q|p=|add=UK|z=0|x=0000",
  };
  for (const char* record : cases) {
    const TRecordParse parse = ParseResultRecord(record);
    EXPECT_FALSE(parse.Record) << record;
    EXPECT_FALSE(parse.Error.empty()) << record;
  }
}

}  // namespace
