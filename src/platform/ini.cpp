#include "platform/ini.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/codec.h"

namespace mirovane {

namespace {

constexpr std::size_t npos = std::string::npos;

// For each byte: its form with ASCII letters folded, whether it starts a double-byte cp932
// character, and whether it is a blank. Looked up rather than compared: names are hashed and
// compared byte by byte on every look-up.
struct ByteTable {
  unsigned char fold[256];
  bool lead[256];
  bool blank[256];
};
constexpr ByteTable MakeByteTable() {
  ByteTable t{};
  for (int c = 0; c < 256; ++c) {
    t.fold[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    t.lead[c] = IsCp932LeadByte(static_cast<unsigned char>(c));
    t.blank[c] = c == ' ' || c == '\t';
  }
  return t;
}
constexpr ByteTable kBytes = MakeByteTable();

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

bool IsBlank(char c) { return kBytes.blank[Byte(c)]; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The name of a section header line, or nothing. As the system reads it: the name runs from the
// '[' to the last ']' of the line, blanks around it removed ("[a ] b] x" is "a ] b"); a line
// with no ']' is no header at all (nor an entry), so the entries after it stay in the section
// before it.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  const std::size_t close = line.rfind(']');
  if (close == npos) return std::nullopt;
  return Trim(line.substr(0, close));
}

// Splits an entry line into its key and value; false for a line without '=' and for a line
// opening with '[' (a header, or a broken one), which the system does not take for keys. A line
// starting with ';' is an entry like any other: comments are only lines whose key nobody asks for.
bool SplitEntry(std::string_view line, std::string_view& key, std::string_view& value) {
  const std::size_t eq = line.find('=');
  if (eq == npos) return false;
  if (const std::string_view t = Trim(line); !t.empty() && t.front() == '[') return false;
  key = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return true;
}

bool IsComment(std::string_view line) {
  line = Trim(line);
  return !line.empty() && line.front() == ';';
}

// A name that can equal another one: not ending in half a double-byte character.
bool IsWholeName(std::string_view name) { return DropIncompleteTrail(name).size() == name.size(); }

// FNV-1a over a name as EqualsIgnoringAsciiCase sees it: ASCII letters folded, the two bytes of a
// double-byte character taken as they are.
std::size_t NameHash(std::string_view name) noexcept {
  std::uint64_t h = 14695981039346656037ull;
  const auto mix = [&h](unsigned char c) {
    h ^= c;
    h *= 1099511628211ull;
  };
  for (std::size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = Byte(name[i]);
    if (kBytes.lead[c] && i + 1 < name.size()) {
      mix(c);
      mix(Byte(name[++i]));
    } else {
      mix(kBytes.fold[c]);
    }
  }
  return static_cast<std::size_t>(h ^ (h >> 32));
}

// Where `part` (a view into `line`) starts in `line`.
std::size_t Offset(std::string_view line, std::string_view part) {
  return static_cast<std::size_t>(part.data() - line.data());
}

// A name's hash under a tag: sections (tag 0) and the keys of each section spread apart.
std::size_t Mix(std::size_t hash, std::size_t tag) noexcept {
  return hash ^ static_cast<std::size_t>(tag * 0x9E3779B97F4A7C15ull);
}

}  // namespace

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const unsigned char x = Byte(a[i]);
    const unsigned char y = Byte(b[i]);
    if (kBytes.lead[x]) {
      if (x != y || i + 1 >= a.size() || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (kBytes.fold[x] != kBytes.fold[y]) {
      return false;
    }
  }
  return true;
}

IniDocument::IniDocument(std::string_view text) {
  lines_.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    lines_.emplace_back(text.substr(start, end - start));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
      ++end;
    }
    start = end + 1;
  }
  Index();
}

void IniDocument::Index() {
  sections_.clear();
  names_.clear();
  names_.reserve(lines_.size());
  std::size_t size = 16;
  while (size < 2 * (lines_.size() + 1)) size *= 2;
  table_.assign(size, 0);
  std::size_t current = npos;  // the section the lines belong to, when it is the first of its name
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(lines_[i]);
    if (!name) {
      if (current != npos) Note(current, i);
      continue;
    }
    current = npos;
    if (!IsWholeName(*name) || FindSection(*name) != npos) continue;  // never searched
    current = sections_.size();
    sections_.push_back({i, i + 1});
    Insert({Mix(NameHash(*name), 0), 0, current, Offset(lines_[i], *name), name->size()});
  }
}

void IniDocument::Note(std::size_t section, std::size_t at) {
  const std::string& line = lines_[at];
  std::string_view k, v;
  if (SplitEntry(line, k, v) && !k.empty() && IsWholeName(k)) {
    // The first entry of a key wins, also over one that a later Set put before it.
    const std::size_t tag = section + 1;
    const std::size_t hash = Mix(NameHash(k), tag);
    const Name entry{hash, tag, at, Offset(line, k), k.size()};
    if (const std::size_t known = Find(hash, tag, k); known == npos) {
      Insert(entry);
    } else if (at < names_[known].at) {
      names_[known] = entry;
    }
  }
  if (!Trim(line).empty() && !IsComment(line)) sections_[section].tail = at + 1;
}

std::string_view IniDocument::TextOf(const Name& name) const {
  const std::string& line = lines_[name.tag == 0 ? sections_[name.at].header : name.at];
  return std::string_view(line).substr(name.begin, name.length);
}

std::size_t IniDocument::Find(std::size_t hash, std::size_t tag, std::string_view text) const {
  if (table_.empty()) return npos;
  const std::size_t mask = table_.size() - 1;
  for (std::size_t i = hash & mask; table_[i] != 0; i = (i + 1) & mask) {
    const Name& name = names_[table_[i] - 1];
    if (name.hash == hash && name.tag == tag && EqualsIgnoringAsciiCase(TextOf(name), text)) {
      return table_[i] - 1;
    }
  }
  return npos;
}

void IniDocument::Insert(const Name& name) {
  names_.push_back(name);
  if (2 * names_.size() > table_.size()) {
    table_.assign(std::max<std::size_t>(16, 2 * table_.size()), 0);
    for (std::size_t n = 0; n + 1 < names_.size(); ++n) Place(n);
  }
  Place(names_.size() - 1);
}

void IniDocument::Place(std::size_t n) {
  const std::size_t mask = table_.size() - 1;
  std::size_t i = names_[n].hash & mask;
  while (table_[i] != 0) i = (i + 1) & mask;
  table_[i] = n + 1;
}

std::size_t IniDocument::FindSection(std::string_view name) const {
  name = Trim(name);
  const std::size_t known = Find(Mix(NameHash(name), 0), 0, name);
  return known == npos ? npos : names_[known].at;
}

std::size_t IniDocument::FindKey(std::size_t section, std::string_view key) const {
  key = Trim(key);
  const std::size_t tag = section + 1;
  return Find(Mix(NameHash(key), tag), tag, key);
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  const std::size_t s = FindSection(section);
  if (s == npos) return std::nullopt;
  const std::size_t known = FindKey(s, key);
  if (known == npos) return std::nullopt;
  std::string_view k, v;
  SplitEntry(lines_[names_[known].at], k, v);  // only entries with '=' are indexed
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  if (v.size() > kMaxValue) v = DropIncompleteTrail(v.substr(0, kMaxValue));
  return std::string(v);
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  std::string entry;
  entry.reserve(key.size() + value.size() + 1);
  entry.append(Trim(key)).append("=").append(value);
  // A key such as "[x]" makes an entry line that reads as a section header: the sections are
  // then found anew from the lines, exactly as a reader of the saved file finds them.
  const bool entryIsHeader = SectionName(entry).has_value();

  const std::size_t s = FindSection(section);
  if (s == npos) {
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
    const std::string_view name = Trim(section);
    lines_.push_back("[" + std::string(name) + "]");
    lines_.push_back(std::move(entry));
    if (entryIsHeader) return Index();
    if (IsWholeName(name)) {
      const std::size_t added = sections_.size();
      sections_.push_back({lines_.size() - 2, lines_.size() - 1});
      Insert({Mix(NameHash(name), 0), 0, added, 1, name.size()});  // "[" name "]"
      Note(added, lines_.size() - 1);
    }
    return;
  }
  if (const std::size_t known = FindKey(s, key); known != npos) {
    // The file's own spelling of the key stays; the line stays an entry of the same key, which
    // now opens the line.
    Name& name = names_[known];
    lines_[name.at] = std::string(TextOf(name)) + "=" + std::string(value);
    name.begin = 0;
    return;
  }
  // After the section's last entry, so blank lines and comments before the next section stay.
  const std::size_t insert = sections_[s].tail;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert), std::move(entry));
  if (entryIsHeader) return Index();
  if (insert + 1 < lines_.size()) {  // lines moved down: so do the numbers that point at them
    for (Section& other : sections_) {
      if (other.header >= insert) ++other.header;
      if (other.tail >= insert) ++other.tail;
    }
    for (Name& name : names_) {
      if (name.tag != 0 && name.at >= insert) ++name.at;
    }
  }
  sections_[s].tail = insert;  // the new line decides
  Note(s, insert);
}

std::string IniDocument::Text() const {
  std::size_t size = 0;
  for (const std::string& line : lines_) size += line.size() + 2;
  std::string out;
  out.reserve(size);
  for (const std::string& line : lines_) {
    out += line;
    out += "\r\n";
  }
  return out;
}

}  // namespace mirovane
