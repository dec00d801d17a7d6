// Entry point of mirovane-cli: collects the arguments as UTF-8 and writes bytes unchanged.
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "platform/codec.h"

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(mirovane::WideToUtf8(argv[i]));
  return mirovane::cli::Run(args, std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return mirovane::cli::Run(args, std::cout, std::cerr);
}
#endif
