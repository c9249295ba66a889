#include "online/record_codec.h"

#include <array>
#include <vector>

namespace {

constexpr size_t kLetterBits = 5;
constexpr size_t kByteBits = 8;

// The record's labels in their order; the last one is followed by the padding alone.
constexpr std::array<std::string_view, 7> kLabels = {
    "type=", "name=", "score=", "key=", "p=", "add=", "z="};

int LetterValue(char letter) {
  const size_t at = kRecordLetters.find(letter);
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

}  // namespace

std::string EncodeBits(std::string_view text) {
  std::array<std::array<char, kByteBits>, 256> table;
  for (size_t value = 0; value < table.size(); ++value) {
    for (size_t bit = 0; bit < kByteBits; ++bit) {
      table[value][bit] = (value >> (kByteBits - 1 - bit)) & 1 ? '1' : '0';
    }
  }
  std::string bits;
  bits.reserve(text.size() * kByteBits);
  for (const char c : text) {
    const auto& row = table[static_cast<unsigned char>(c)];
    bits.append(row.data(), row.size());
  }
  return bits;
}

std::string EncodeLetters(std::string_view bits) {
  const size_t front = (kLetterBits - bits.size() % kLetterBits) % kLetterBits;
  std::string padded(front, '0');
  padded.append(bits);
  std::string letters;
  letters.reserve(padded.size() / kLetterBits);
  for (size_t at = 0; at < padded.size(); at += kLetterBits) {
    size_t value = 0;
    for (size_t bit = 0; bit < kLetterBits; ++bit) {
      value = value * 2 + (padded[at + bit] == '1' ? 1 : 0);
    }
    letters.push_back(kRecordLetters[value]);
  }
  return letters;
}

std::string BuildResultRecord(std::string_view name, int32_t score, std::string_view p,
                              std::string_view country) {
  std::string record = "type=0|name=";
  record.append(name);
  record.append("|score=").append(std::to_string(score));
  record.append("|key=").push_back(kRecordKey);
  record.append("|p=").append(p);
  record.append("|add=").append(country);
  record.append("|z=");
  while (record.size() % kLetterBits != 0) {
    record.push_back('0');
  }
  return record;
}

std::string EncodeRecord(std::string_view record) {
  return EncodeLetters(EncodeBits(record));
}

std::optional<std::string> DecodeLetters(std::string_view letters) {
  std::string bits;
  bits.reserve(letters.size() * kLetterBits);
  for (const char letter : letters) {
    const int value = LetterValue(letter);
    if (value < 0) {
      return std::nullopt;
    }
    for (size_t bit = 0; bit < kLetterBits; ++bit) {
      bits.push_back((value >> (kLetterBits - 1 - bit)) & 1 ? '1' : '0');
    }
  }
  // The encoder only ever puts fewer than five '0's in front of whole bytes.
  const size_t front = bits.size() % kByteBits;
  if (front >= kLetterBits || bits.find('1') < front) {
    return std::nullopt;
  }
  return bits.substr(front);
}

std::optional<std::string> DecodeBits(std::string_view bits) {
  if (bits.size() % kByteBits != 0) {
    return std::nullopt;
  }
  std::string text;
  text.reserve(bits.size() / kByteBits);
  for (size_t at = 0; at < bits.size(); at += kByteBits) {
    unsigned value = 0;
    for (size_t bit = 0; bit < kByteBits; ++bit) {
      const char c = bits[at + bit];
      if (c != '0' && c != '1') {
        return std::nullopt;
      }
      value = value * 2 + (c == '1' ? 1 : 0);
    }
    text.push_back(static_cast<char>(value));
  }
  return text;
}

std::optional<std::string> DecodeRecord(std::string_view inf) {
  const auto bits = DecodeLetters(inf);
  return bits ? DecodeBits(*bits) : std::nullopt;
}

TRecordParse ParseResultRecord(std::string_view record) {
  std::vector<std::string_view> pieces;
  for (size_t start = 0;;) {
    const size_t bar = record.find('|', start);
    pieces.push_back(record.substr(start, bar == std::string_view::npos ? bar : bar - start));
    if (bar == std::string_view::npos) {
      break;
    }
    start = bar + 1;
  }
  if (pieces.size() != kLabels.size()) {
    return {std::nullopt, "the record has " + std::to_string(pieces.size()) +
                              " pieces instead of " + std::to_string(kLabels.size())};
  }
  std::array<std::string, kLabels.size()> values;
  for (size_t i = 0; i < kLabels.size(); ++i) {
    if (!pieces[i].starts_with(kLabels[i])) {
      return {std::nullopt, "piece " + std::to_string(i + 1) + " is not " +
                                std::string(kLabels[i].substr(0, kLabels[i].size() - 1))};
    }
    values[i] = pieces[i].substr(kLabels[i].size());
  }
  const std::string& padding = values.back();
  if (padding.find_first_not_of('0') != std::string::npos || padding.size() >= kLetterBits ||
      record.size() % kLetterBits != 0) {
    return {std::nullopt, "the record's padding is wrong"};
  }
  return {TResultRecord{values[0], values[1], values[2], values[3], values[4], values[5]}, {}};
}
