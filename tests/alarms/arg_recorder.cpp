// A stand-in for the program an alarm runs: writes the arguments it received, one per line
// (UTF-8), to "args.txt" beside itself, then ends.
#include <windows.h>

#include <shellapi.h>

#include <fstream>
#include <string>

#include "platform/codec.h"

int wmain() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring out(self);
  out = out.substr(0, out.find_last_of(L"\\/") + 1) + L"args.txt";
  std::wstring temp = out + L".part";
  {
    std::ofstream file(temp.c_str(), std::ios::binary);
    for (int i = 1; i < argc; ++i) file << mirovane::WideToUtf8(argv[i]) << '\n';
  }
  // Appears whole, so the test never reads half a file.
  MoveFileExW(temp.c_str(), out.c_str(), MOVEFILE_REPLACE_EXISTING);
  LocalFree(argv);
  return 0;
}
