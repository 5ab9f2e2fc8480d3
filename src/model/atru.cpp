#include "model/atru.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <system_error>

#include "host/zcdb_rec.h"
#include "host/zgelm.h"
#include "model/japanese_texts.h"

namespace {

constexpr char kAtrsMarker[] = "$$$";

// White space as the C library's isspace sees it in the "C" locale, written out so that no
// locale can change it.
bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Signed decimal parse. Digits accumulate modulo 2^32 rather than clamping: a handle written
// with "%u" above 0x7FFFFFFF then reads back as the same record, not as a different one.
DWORD ParseInteger(const char* s) {
  if (!s) return 0;
  while (IsBlank(*s)) ++s;
  bool negative = false;
  if (*s == '+' || *s == '-') negative = *s++ == '-';
  DWORD v = 0;
  for (; IsDigit(*s); ++s) v = v * 10u + static_cast<DWORD>(*s - '0');
  return negative ? 0u - v : v;
}

// Longest leading decimal number: [blanks][sign]digits[.digits][(e|E)[sign]digits], at least one
// mantissa digit. std::from_chars does the conversion: correctly rounded and locale-free.
double ParseDouble(const char* s) {
  if (!s) return 0.0;
  while (IsBlank(*s)) ++s;
  bool negative = false;
  if (*s == '+' || *s == '-') negative = *s++ == '-';
  const char* begin = s;
  const char* p = s;
  int intDigits = 0;  // significant digits before the point (leading zeros dropped)
  int mantissaDigits = 0;
  for (; IsDigit(*p); ++p, ++mantissaDigits)
    if (intDigits || *p != '0') ++intDigits;
  int fractionZeros = 0;  // zeros right after the point, while no significant digit came yet
  bool significantSeen = intDigits > 0;
  if (*p == '.') {
    ++p;
    for (; IsDigit(*p); ++p, ++mantissaDigits) {
      if (!significantSeen && *p == '0') ++fractionZeros;
      if (*p != '0') significantSeen = true;
    }
  }
  if (mantissaDigits == 0) return 0.0;
  long exponent = 0;
  if (*p == 'e' || *p == 'E') {
    const char* e = p + 1;
    bool expNegative = false;
    if (*e == '+' || *e == '-') expNegative = *e++ == '-';
    if (IsDigit(*e)) {
      for (; IsDigit(*e); ++e)
        if (exponent < 100000) exponent = exponent * 10 + (*e - '0');
      if (expNegative) exponent = -exponent;
      p = e;
    }
  }
  double v = 0.0;
  std::from_chars_result r = std::from_chars(begin, p, v, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    // from_chars leaves v alone when the number does not fit: decide between overflow and
    // underflow by the position of the first significant digit.
    long magnitude = (intDigits > 0 ? intDigits : -fractionZeros) + exponent;
    v = magnitude > 0 ? HUGE_VAL : 0.0;
  } else if (r.ec != std::errc()) {
    v = 0.0;
  }
  return negative ? -v : v;
}

// "%.*f" without the C library: std::to_chars prints exactly what printf prints in the "C" locale.
CString FormatFixed(double v, int digits) {
  std::string buf(static_cast<size_t>(digits) + 340, '\0');
  std::to_chars_result r =
      std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed, digits);
  return CString(buf.data(), static_cast<int>(r.ptr - buf.data()));
}

}  // namespace

SxfZCdbATRU::~SxfZCdbATRU() = default;

int SxfZCdbATRU::IsSame(const SxfZCdbATRU& other) const {
  return name == other.name && type == other.type && unit == other.unit && kind == other.kind &&
                 value == other.value && zukeiName == other.zukeiName
             ? 1
             : 0;
}

// "%d" and "%u" print the same digits in every locale; only the double texts need care.
void SxfZCdbATRU::SetValueBYTE(BYTE v) {
  value.Format("%d", static_cast<int>(v));
}
void SxfZCdbATRU::SetValueCHAR(char v) {
  value.Format("%d", static_cast<int>(static_cast<signed char>(v)));
}
void SxfZCdbATRU::SetValueWORD(WORD v) {
  value.Format("%u", static_cast<unsigned>(v));
}
void SxfZCdbATRU::SetValueSHORT(short v) {
  value.Format("%d", static_cast<int>(v));
}
void SxfZCdbATRU::SetValueDWORD(ULONG v) {
  value.Format("%u", static_cast<unsigned>(v));
}
void SxfZCdbATRU::SetValueLONG(LONG v) {
  value.Format("%d", static_cast<int>(v));
}

void SxfZCdbATRU::SetValueDOUBLE(double v, int keta) {
  if (keta > 0) {
    value = FormatFixed(v, keta);
  } else {
    value.Format("%d", GPt::ToInt(v));
  }
}

void SxfZCdbATRU::SetValueStr(const char* text) {
  value = text;
}

BYTE SxfZCdbATRU::GetValueBYTE() const {
  return static_cast<BYTE>(ParseInteger(value));
}
char SxfZCdbATRU::GetValueCHAR() const {
  return static_cast<char>(ParseInteger(value) & 0xFF);
}
WORD SxfZCdbATRU::GetValueWORD() const {
  return static_cast<WORD>(ParseInteger(value));
}
short SxfZCdbATRU::GetValueSHORT() const {
  return static_cast<short>(ParseInteger(value) & 0xFFFF);
}
DWORD SxfZCdbATRU::GetValueDWORD() const {
  return ParseInteger(value);
}
LONG SxfZCdbATRU::GetValueLONG() const {
  return static_cast<LONG>(ParseInteger(value));
}

double SxfZCdbATRU::GetValueDOUBLE(int& keta) const {
  keta = GetDoubleKeta(value);
  return ParseDouble(value);
}

int SxfZCdbATRU::GetDoubleKeta(const char* s) {
  if (!s) return 0;
  // '.' is never the second byte of a double-byte character, so a byte search is enough.
  const char* point = std::strchr(s, '.');
  return point ? static_cast<int>(std::strlen(point + 1)) : 0;
}

int SxfZCdbATRU::IsAtrsData() const {
  return value == kAtrsMarker ? 1 : 0;
}

DWORD SxfZCdbATRU::IsTarget() const {
  // The length first: most names are not the target's, and this is asked of every attribute
  // whenever a figure's targets are counted.
  constexpr int kLength = sizeof(kJpTarget) - 1;
  const bool target = name.GetLength() == kLength && std::memcmp(name.GetString(), kJpTarget, kLength) == 0;
  return target ? ParseInteger(value) : ZCDB_NO_HANDLE;
}

void SxfZCdbATRU::SetTarget(ULONG handle, const char* memo) {
  name = kJpTarget;
  type = "INN";
  unit.Empty();
  value.Format("%u", static_cast<unsigned>(handle));
  zukeiName = memo;
}

CString SxfZCdbATRU::GetTargetMemo() const {
  return IsTarget() != ZCDB_NO_HANDLE ? zukeiName : CString();
}

void SxfZCdbATRU::SetZukeiName(const char* text) {
  zukeiName = text;
}
