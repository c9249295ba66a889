// The result record the game uploads and its letter encoding: built and encoded by the game,
// decoded and taken apart by the high-score service. Both programs link this one codec.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The 32 letters of the encoding, value 0 first: capitals without I, O and Z, then 1 to 9.
inline constexpr std::string_view kRecordLetters = "ABCDEFGHJKLMNPQRSTUVWXY123456789";
// The game's fixed key value, sent in every result record.
inline constexpr char kRecordKey = 'Q';

// Every byte of `text` as eight '0'/'1' characters, most significant bit first.
std::string EncodeBits(std::string_view text);
// `bits` ('0'/'1') with '0's put in front up to a multiple of 5, each group of five read as a
// number (most significant bit first) and replaced by that letter of kRecordLetters.
std::string EncodeLetters(std::string_view bits);

// The padded result record: "type=0|name=…|score=…|key=Q|p=…|add=…|z=" followed by '0's up to a
// multiple of 5 characters. `name` and `country` are at most 10 letters, `p` the token of the
// version reply; none may hold a '|'.
std::string BuildResultRecord(std::string_view name, int32_t score, std::string_view p,
                              std::string_view country);
// EncodeLetters(EncodeBits(record)): the value of the upload's `inf` query key.
std::string EncodeRecord(std::string_view record);

// The inverse of EncodeLetters: nothing for a character outside kRecordLetters, or when the
// front padding cannot have come from EncodeLetters (more than four bits, or a '1' in it).
std::optional<std::string> DecodeLetters(std::string_view letters);
// The inverse of EncodeBits: nothing unless `bits` is whole bytes of '0'/'1'.
std::optional<std::string> DecodeBits(std::string_view bits);
// DecodeBits(DecodeLetters(inf)).
std::optional<std::string> DecodeRecord(std::string_view inf);

// The seven pieces of a result record, as text, without their labels or the padding.
struct TResultRecord {
  std::string Type;
  std::string Name;
  std::string Score;
  std::string Key;
  std::string P;
  std::string Country;
};

// A record taken apart, or the one-line reason why it is not a result record.
struct TRecordParse {
  std::optional<TResultRecord> Record;
  std::string Error;
};

// Splits a decoded record into its seven pieces, which must stand in the order and with the
// labels BuildResultRecord gives them, the last one being exactly the padding. The values are
// not checked here.
TRecordParse ParseResultRecord(std::string_view record);
