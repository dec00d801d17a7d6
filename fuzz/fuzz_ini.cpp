// Arbitrary bytes as a settings file: the document keeps every line it does not change, a saved
// file reads back the way it was read, and the settings record survives a save and a load.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/settings.h"
#include "app/settings_codec.h"
#include "platform/ini.h"

namespace {

// The record as the program would save it into an empty file.
std::string Saved(const mirovane::TCalendarSettings& s) {
  mirovane::IniDocument doc;
  mirovane::WriteSettings(doc, s);
  return doc.Text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const mirovane::IniDocument doc(text);

  // Written out and read again, the file answers every question the same way. The probes are
  // the settings' own keys and a section/key pair taken from the input itself.
  const mirovane::IniDocument again(doc.Text());
  const std::string_view probeSection = text.substr(0, text.size() / 3);
  const std::string_view probeKey = text.substr(text.size() / 3, text.size() / 3);
  if (doc.Get(probeSection, probeKey) != again.Get(probeSection, probeKey)) __builtin_trap();

  // The record read from the file, saved and read back, is the same record.
  mirovane::TCalendarSettings first;
  mirovane::ReadSettings(doc, first);
  const std::string saved = Saved(first);
  mirovane::TCalendarSettings second;
  mirovane::ReadSettings(mirovane::IniDocument(saved), second);
  if (Saved(second) != saved) __builtin_trap();

  // Saving into the user's file keeps the record too (the file's other lines stay around it).
  mirovane::IniDocument user(text);
  mirovane::WriteSettings(user, first);
  mirovane::TCalendarSettings third;
  mirovane::ReadSettings(mirovane::IniDocument(user.Text()), third);
  if (Saved(third) != saved) __builtin_trap();
  return 0;
}
