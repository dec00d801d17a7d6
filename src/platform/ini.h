// An INI file held whole in memory (cp932), read and changed the way the Windows private-profile
// functions read and change it, and written back with every line it did not change kept as is.
//
// Reading: section and key names match without regard to ASCII case (double-byte characters are
// compared exactly); blanks around the key and the value are ignored; one pair of matching quotes
// around a value is removed; the first of several equal keys wins, and only the first section of
// a name is searched; a value is at most 2047 bytes. A line without '=' holds no key, a section
// header ends at its last ']', a line opening with '[' but without ']' is ignored whole, and ';'
// starts no comment of its own (";Key=1" is the key ";Key"), as GetPrivateProfileString reads.
//
// Every section header and every key of the first section of each name is found through one hash
// table of line numbers, built when the text is read and kept up to date by Set, so a look-up
// costs the same in a file of five lines and in one of five thousand. The table holds no copies
// of names: a hit is confirmed against the line itself.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirovane {

// ASCII-case-insensitive comparison that steps over double-byte cp932 characters. A name that
// ends in half a double-byte character equals nothing, not even itself.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept;

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
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  // The first section of a name: where its header is, and where a new key goes (after the last
  // line of the section that is neither blank nor a comment).
  struct Section {
    std::size_t header;
    std::size_t tail;
  };
  // An indexed name: a section (tag 0, `at` = its number in sections_) or a key of section number
  // tag - 1 (`at` = the line of its first entry), with where the name stands in its line (header
  // lines never change; an entry rewritten in place moves its key to the start).
  struct Name {
    std::size_t hash;
    std::size_t tag;
    std::size_t at;
    std::size_t begin;
    std::size_t length;
  };

  // Builds sections_ and the table from lines_ as they stand.
  void Index();
  // Takes line `at` (no header) into section `section`: its key, if it is the first entry of
  // that key, and the section's tail.
  void Note(std::size_t section, std::size_t at);
  // The number of the first section called `name`, or npos.
  std::size_t FindSection(std::string_view name) const;
  // The number in names_ of the first entry of `key` in section number `section`, or npos.
  std::size_t FindKey(std::size_t section, std::string_view key) const;
  // The number in names_ of `name` under `tag`, or npos.
  std::size_t Find(std::size_t hash, std::size_t tag, std::string_view name) const;
  // Adds a name that is not indexed yet, growing the table when half full.
  void Insert(const Name& name);
  // Puts names_[n] into the first free slot from its hash on.
  void Place(std::size_t n);
  // The text of an indexed name, as it is in its line.
  std::string_view TextOf(const Name& name) const;

  std::vector<std::string> lines_;
  std::vector<Section> sections_;
  std::vector<Name> names_;
  // Open addressing over names_: a number in names_ plus 1, or 0 for a free slot. The size is a
  // power of two, and at most half the slots are used.
  std::vector<std::size_t> table_;
};

}  // namespace mirovane
