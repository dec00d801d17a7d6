// Arbitrary bytes as a settings file: a file with a byte-order mark goes back byte for byte, the
// document keeps every line it does not change and after an edit answers as its saved text does,
// and the settings record survives a save and a load.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ini.h"
#include "platform/ini_file.h"
#include "settings/settings.h"
#include "settings/settings_codec.h"

namespace {

// The record as the program would save it into an empty file.
std::string Saved(const mirovane::TCalendarSettings& s) {
  mirovane::IniDocument doc;
  mirovane::WriteSettings(doc, s);
  return doc.Text();
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // Read and written back unchanged, a file with a byte-order mark is the same file, even where
  // cp932 cannot hold its characters.
  const mirovane::DecodedIniFile file = mirovane::DecodeIniFile(bytes);
  if (file.format.encoding != mirovane::IniEncoding::Cp932 &&
      mirovane::EncodeIniFile(file.text, file.format) != bytes) {
    __builtin_trap();
  }
  const std::string_view text = file.text;
  const mirovane::IniDocument doc(text);

  // Written out and read again, the file answers every question the same way. The probes are
  // a section/key pair taken from the input itself.
  const std::string_view probeSection = text.substr(0, text.size() / 3);
  const std::string_view probeKey = text.substr(text.size() / 3, text.size() / 3);
  const mirovane::IniDocument again(doc.Text());
  if (doc.Get(probeSection, probeKey) != again.Get(probeSection, probeKey)) __builtin_trap();

  // After an edit, too (a name or value with a line break would become two lines when read).
  const std::string_view value = text.substr(2 * (text.size() / 3));
  if (!HasLineBreak(probeSection) && !HasLineBreak(probeKey) && !HasLineBreak(value)) {
    mirovane::IniDocument edited(doc);
    edited.Set(probeSection, probeKey, value);
    const mirovane::IniDocument reread(edited.Text());
    if (edited.Get(probeSection, probeKey) != reread.Get(probeSection, probeKey)) __builtin_trap();
  }

  // The record read from the file, saved and read back, is the same record. A file that holds no
  // setting gives the default record, which is checked once rather than on every run.
  mirovane::TCalendarSettings first;
  mirovane::ReadSettings(doc, first);
  static const mirovane::TCalendarSettings kDefault;
  static bool defaultChecked = false;
  if (first != kDefault || !defaultChecked) {
    defaultChecked = defaultChecked || first == kDefault;
    mirovane::TCalendarSettings second;
    mirovane::ReadSettings(mirovane::IniDocument(Saved(first)), second);
    if (second != first) __builtin_trap();
  }

  // Saving into the user's file keeps the record too (the file's other lines stay around it),
  // read from the saved text and from the edited document alike.
  mirovane::IniDocument user(text);
  mirovane::WriteSettings(user, first);
  mirovane::TCalendarSettings third;
  mirovane::ReadSettings(mirovane::IniDocument(user.Text()), third);
  if (third != first) __builtin_trap();
  mirovane::TCalendarSettings fourth;
  mirovane::ReadSettings(user, fourth);
  if (fourth != first) __builtin_trap();
  return 0;
}
