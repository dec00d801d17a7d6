#include "platform/ini.h"

#include "platform/codec.h"

namespace mirovane {

namespace {

constexpr std::size_t npos = std::string::npos;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

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

}  // namespace

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto x = static_cast<unsigned char>(a[i]);
    auto y = static_cast<unsigned char>(b[i]);
    if (IsCp932LeadByte(x)) {
      if (x != y || i + 1 >= a.size() || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

IniDocument::IniDocument(std::string_view text) {
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
}

std::size_t IniDocument::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(lines_[i]);
    if (name && EqualsIgnoringAsciiCase(*name, Trim(section))) return i;
  }
  return npos;
}

std::size_t IniDocument::FindKey(std::size_t header, std::string_view key) const {
  for (std::size_t i = header + 1; i < lines_.size(); ++i) {
    if (SectionName(lines_[i])) break;
    std::string_view k, v;
    if (SplitEntry(lines_[i], k, v) && !k.empty() && EqualsIgnoringAsciiCase(k, Trim(key))) {
      return i;
    }
  }
  return npos;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  const std::size_t header = FindSection(section);
  if (header == npos) return std::nullopt;
  const std::size_t at = FindKey(header, key);
  if (at == npos) return std::nullopt;
  std::string_view k, v;
  SplitEntry(lines_[at], k, v);  // FindKey found an entry with '='
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

  std::size_t header = FindSection(section);
  if (header == npos) {
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + std::string(Trim(section)) + "]");
    lines_.push_back(std::move(entry));
    return;
  }
  if (const std::size_t at = FindKey(header, key); at != npos) {
    // The file's own spelling of the key stays.
    std::string_view k, v;
    SplitEntry(lines_[at], k, v);
    lines_[at] = std::string(k) + "=" + std::string(value);
    return;
  }
  // After the section's last entry, so blank lines and comments before the next section stay.
  std::size_t insert = header + 1;
  for (std::size_t i = header + 1; i < lines_.size() && !SectionName(lines_[i]); ++i) {
    if (!Trim(lines_[i]).empty() && !IsComment(lines_[i])) insert = i + 1;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert), std::move(entry));
}

std::string IniDocument::Text() const {
  std::string out;
  for (const std::string& line : lines_) {
    out += line;
    out += "\r\n";
  }
  return out;
}

}  // namespace mirovane
