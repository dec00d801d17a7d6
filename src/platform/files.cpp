#include <string>

#include "platform/codec.h"
#include "platform/files.h"

namespace mirovane {

namespace {

std::string PathText(const std::filesystem::path& path) {
#ifdef _WIN32
  return WideToUtf8(path.native());
#else
  return path.native();
#endif
}

// "…（reason）。", the reason without the full stop the system ends its sentences with.
std::string Sentence(const std::filesystem::path& path, std::string_view verb,
                     std::string_view reason) {
  constexpr std::string_view kFullStop = "。";
  while (!reason.empty() && (reason.back() == ' ' || reason.back() == '.')) reason.remove_suffix(1);
  if (reason.ends_with(kFullStop)) reason.remove_suffix(kFullStop.size());
  std::string text = PathText(path) + " " + std::string(verb);
  if (!reason.empty()) text += "（" + std::string(reason) + "）";
  return text + std::string(kFullStop);
}

}  // namespace

std::string CannotWriteText(const std::filesystem::path& path, std::string_view reason) {
  return Sentence(path, "に書き込めません", reason);
}

std::string CannotReadText(const std::filesystem::path& path, ReadStatus status,
                           std::string_view reason) {
  return Sentence(
      path, "を読み込めません",
      status == ReadStatus::TooLarge ? std::string_view("ファイルが大きすぎます") : reason);
}

}  // namespace mirovane
