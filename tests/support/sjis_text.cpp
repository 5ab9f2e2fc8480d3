#include "support/sjis_text.h"

#include <iconv.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool Convert(const char* to, const char* from, const std::string& in, std::string* out) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string result(in.size() * 4 + 16, '\0');
  char* src = const_cast<char*>(in.data());
  char* dst = &result[0];
  size_t srcLeft = in.size(), dstLeft = result.size();
  const bool done = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1) && srcLeft == 0;
  iconv_close(cd);
  if (done) *out = result.substr(0, result.size() - dstLeft);
  return done;
}

}  // namespace

std::string Sjis(const std::string& utf8) {
  std::string out;
  if (!Convert("CP932", "UTF-8", utf8, &out)) {
    std::fprintf(stderr, "cannot convert to CP932: %s\n", utf8.c_str());
    std::abort();
  }
  return out;
}

bool SjisToUtf8(const std::string& sjis, std::string* utf8) {
  return Convert("UTF-8", "CP932", sjis, utf8);
}
