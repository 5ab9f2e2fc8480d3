#include "sjis_display.h"

#include <iconv.h>

#include <cerrno>

namespace {

// One converter per direction for the whole run: opening one costs far more than converting a
// short text, and a section may hold millions of texts.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (Ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  bool Run(const std::string& in, size_t maxGrowth, std::string& out) {
    if (!Ok()) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial shift state
    out.assign(in.size() * maxGrowth + 8, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = &out[0];
    size_t dstLeft = out.size();
    if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1) || srcLeft != 0) return false;
    if (iconv(cd_, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1)) return false;
    out.resize(out.size() - dstLeft);
    return true;
  }

 private:
  iconv_t cd_;
};

Converter& ToUtf8() {
  static Converter converter("UTF-8", "CP932");
  return converter;
}

Converter& ToSjis() {
  static Converter converter("CP932", "UTF-8");
  return converter;
}

bool IsAscii(const std::string& text) {
  for (unsigned char c : text) {
    if (c >= 0x80) return false;
  }
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool DecodeSjis(const std::string& sjis, std::string& utf8) {
  // The code page keeps ASCII as it is, and most texts of a drawing are ASCII.
  if (IsAscii(sjis)) {
    utf8 = sjis;
    return true;
  }
  // A CP932 byte becomes at most three UTF-8 bytes (a single-byte katakana does).
  std::string back;
  return ToUtf8().Run(sjis, 3, utf8) && ToSjis().Run(utf8, 1, back) && back == sjis;
}

bool EncodeSjis(const std::string& utf8, std::string& sjis) {
  if (IsAscii(utf8)) {
    sjis = utf8;
    return true;
  }
  return ToSjis().Run(utf8, 1, sjis);
}

std::string HexBytes(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
  }
  return hex;
}

bool ParseHexBytes(const std::string& hex, std::string& bytes) {
  if (hex.size() % 2 != 0) return false;
  bytes.clear();
  bytes.reserve(hex.size() / 2);
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexValue(hex[i]);
    const int low = HexValue(hex[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes += static_cast<char>(high * 16 + low);
  }
  return true;
}

std::string QuotedText(const std::string& sjis) {
  std::string utf8;
  if (!DecodeSjis(sjis, utf8)) return "<sjis:" + HexBytes(sjis) + ">";
  std::string quoted = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\t':
        quoted += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          static const char kDigits[] = "0123456789abcdef";
          quoted += "\\x";
          quoted += kDigits[c >> 4];
          quoted += kDigits[c & 15];
        } else {
          quoted += static_cast<char>(c);
        }
    }
  }
  return quoted + "\"";
}
