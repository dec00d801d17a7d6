#include "app/instance_guard.h"

namespace mirovane {

std::wstring InstanceGuardName(std::wstring_view exePath) {
  constexpr std::wstring_view kSeparators = L"\\/";
  const std::size_t fileStart = exePath.find_last_of(kSeparators);
  const std::wstring_view file =
      fileStart == std::wstring_view::npos ? exePath : exePath.substr(fileStart + 1);
  std::wstring_view folder =
      fileStart == std::wstring_view::npos ? std::wstring_view{} : exePath.substr(0, fileStart);
  // "C:\a\\b.exe" names the folder a; the separators of a root folder ("C:\") all go.
  while (!folder.empty() && kSeparators.find(folder.back()) != std::wstring_view::npos) {
    folder.remove_suffix(1);
  }
  // The last component; a drive ("C:") is no folder name.
  const std::size_t folderStart = folder.find_last_of(L"\\/:");
  if (folderStart != std::wstring_view::npos) folder.remove_prefix(folderStart + 1);

  std::wstring name = L"Mirovane_";
  name.append(folder);
  name += L'_';
  name.append(file);
  return name;
}

}  // namespace mirovane
