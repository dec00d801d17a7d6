// The bytes of an INI file and the cp932 text the program works on, as the Windows private-profile
// functions see them: a file that opens with a byte-order mark is UTF-8 (EF BB BF), UTF-16
// little-endian (FF FE) or UTF-16 big-endian (FE FF); any other file is cp932 as it stands.
// A file is written back in the form it was read in: the same mark, the same encoding.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mirovane {

enum class IniEncoding : std::uint8_t { Cp932, Utf8, Utf16Le, Utf16Be };

// How a file was stored, for writing it back the same way.
struct IniFileFormat {
  IniEncoding encoding = IniEncoding::Cp932;
  // The lines cp932 cannot hold exactly (characters it lacks, broken sequences), by the cp932
  // text they were read as, with the bytes they had in the file: every line of that text, in
  // file order. A line the program writes back unchanged gets its own bytes again, so nothing
  // is lost.
  std::unordered_map<std::string, std::vector<std::string>> keptLines;
};

struct DecodedIniFile {
  std::string text;  // cp932, without the byte-order mark
  IniFileFormat format;
};

// The text of a file's bytes, and how they were stored.
DecodedIniFile DecodeIniFile(std::string_view bytes);

// The bytes of cp932 `text` stored as `format` says, byte-order mark first. A file decoded and
// encoded again unchanged comes out byte for byte as it was.
std::string EncodeIniFile(std::string_view text, const IniFileFormat& format);

}  // namespace mirovane
