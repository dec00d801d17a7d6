// An INI file held whole in memory (cp932), read and changed the way the Windows private-profile
// functions read and change it, and written back with every line it did not change kept as is.
//
// Reading: section and key names match without regard to ASCII case (double-byte characters are
// compared exactly); blanks around the key and the value are ignored; one pair of matching quotes
// around a value is removed; the first of several equal keys wins, and only the first section of
// a name is searched; a value is at most 2047 bytes. A line without '=' holds no key, a section
// header ends at its last ']', a line opening with '[' but without ']' is ignored whole, and ';'
// starts no comment of its own (";Key=1" is the key ";Key"), as GetPrivateProfileString reads.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirovane {

class IniDocument {
 public:
  static constexpr std::size_t kMaxValue = 2047;

  IniDocument() = default;
  explicit IniDocument(std::string_view text);

  // The value of `key` in `section`, or nothing when either is missing.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // Sets `key` in `section`: the first existing entry is rewritten in place, a new key goes after
  // the last entry of the section, a new section goes at the end of the file.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  // The whole file, CR LF after every line.
  std::string Text() const;

 private:
  // Index of the header line of the first section called `section`, or npos.
  std::size_t FindSection(std::string_view section) const;
  // Index of the line holding `key` in the section whose header is at `header`, or npos.
  std::size_t FindKey(std::size_t header, std::string_view key) const;

  std::vector<std::string> lines_;
};

// ASCII-case-insensitive comparison that steps over double-byte cp932 characters.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept;

}  // namespace mirovane
