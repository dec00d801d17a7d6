#include "platform/codec.h"

namespace mirovane {

std::string_view DropIncompleteTrail(std::string_view cp932) noexcept {
  std::size_t i = 0;
  while (i < cp932.size()) {
    if (IsCp932LeadByte(static_cast<unsigned char>(cp932[i]))) {
      if (i + 1 >= cp932.size()) return cp932.substr(0, i);
      i += 2;
    } else {
      ++i;
    }
  }
  return cp932;
}

}  // namespace mirovane
