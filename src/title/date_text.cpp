#include "title/date_text.h"

#include <cstdint>
#include <cstring>

#include "model/japanese_texts.h"
#include "platform/sjis.h"

namespace {

struct DateSeparators {
  const char* year;
  const char* month;
  const char* day;  // null: the style has no day mark
};

// Tried in this order; the first style whose year and month separators both occur wins.
const DateSeparators kDateSeparators[] = {
    {"-", "-", nullptr},
    {"/", "/", nullptr},
    {".", ".", nullptr},
    {kJpWideHyphenMinus, kJpWideHyphenMinus, nullptr},
    {kJpHyphen, kJpHyphen, nullptr},
    {kJpWideSolidus, kJpWideSolidus, nullptr},
    {kJpWideFullStop, kJpWideFullStop, nullptr},
    {kJpYear, kJpMonth, kJpDay},
};

constexpr int kHeiseiOffset = 1988;  // 平成1 is 1989
constexpr int kShowaOffset = 1925;   // 昭和1 is 1926

// Numbers are read digit by digit without a length limit; a run of digits that would overflow
// stops growing here instead. Such a year still reads as "after 1902", but no caller keeps a year
// that large (the title block resets years after 2100).
constexpr int kNumberCap = 1000000000;

// A view of one Shift-JIS text with the character-level tests the date reader needs. Every
// position handed around is a character boundary.
class DateScanner {
 public:
  explicit DateScanner(const char* text) : s_(text ? text : ""), n_(static_cast<int>(std::strlen(s_))) {}

  int Length() const { return n_; }
  int CharLen(int i) const { return SjisCharLength(s_, n_, i); }

  // The first occurrence of pattern at a character boundary at or after from, or -1. The scan
  // always starts at the beginning so that from may fall inside a double-byte character without
  // letting a match start on its second byte.
  int Find(const char* pattern, int from = 0) const {
    int m = static_cast<int>(std::strlen(pattern));
    for (int i = 0; i + m <= n_; i += CharLen(i)) {
      if (i >= from && std::memcmp(s_ + i, pattern, static_cast<size_t>(m)) == 0) return i;
    }
    return -1;
  }

  // Length of the blank at i (ASCII or full-width space), or 0.
  int BlankAt(int i) const {
    if (i >= n_) return 0;
    if (s_[i] == ' ') return 1;
    if (i + 1 < n_ && std::memcmp(s_ + i, kJpWideSpace, 2) == 0) return 2;
    return 0;
  }

  // Length of the digit at i (ASCII or full-width), or 0; its value goes to *value.
  int DigitAt(int i, int* value) const {
    if (i >= n_) return 0;
    BYTE b = static_cast<BYTE>(s_[i]);
    if (b >= '0' && b <= '9') {
      *value = b - '0';
      return 1;
    }
    if (i + 1 < n_ && b == static_cast<BYTE>(kJpWideZero[0])) {
      BYTE t = static_cast<BYTE>(s_[i + 1]);
      BYTE zero = static_cast<BYTE>(kJpWideZero[1]);
      BYTE nine = static_cast<BYTE>(kJpWideNine[1]);
      if (t >= zero && t <= nine) {
        *value = t - zero;
        return 2;
      }
    }
    return 0;
  }

  int FirstDigit() const {
    int value;
    for (int i = 0; i < n_; i += CharLen(i)) {
      if (DigitAt(i, &value)) return i;
    }
    return -1;
  }

  // True when [from, to) holds nothing but blanks (also when it is empty).
  bool OnlyBlanks(int from, int to) const {
    for (int i = from; i < to;) {
      int len = BlankAt(i);
      if (len == 0) return false;
      i += len;
    }
    return true;
  }

  struct Number {
    int value = 0;
    int digitsStart = 0;  // after the leading blanks
    int end = 0;          // first position after the digits
  };

  // Skips blanks, then reads consecutive digits; no digits read as 0.
  Number ReadNumber(int start) const {
    Number num;
    int i = start;
    for (int len; (len = BlankAt(i)) != 0;) i += len;
    num.digitsStart = i;
    int digit;
    for (int len; (len = DigitAt(i, &digit)) != 0; i += len) {
      num.value = num.value >= kNumberCap / 10 ? kNumberCap : num.value * 10 + digit;
    }
    num.end = i;
    return num;
  }

  CString Slice(int from, int to) const { return to > from ? CString(s_ + from, to - from) : CString(); }

 private:
  const char* s_;
  int n_;
};

// Replaces the three "%s" of a date template in order. A clean date holds no '%' of its own, so
// every "%s" in the template is one that the parser put there.
CString FillDateTemplate(const CString& templ, const CString& year, const CString& month,
                         const CString& day) {
  const CString* parts[] = {&year, &month, &day};
  CString out;
  int from = 0;
  for (const CString* part : parts) {
    int at = templ.Find("%s", from);
    if (at < 0) break;
    out += templ.Mid(from, at - from);
    out += *part;
    from = at + 2;
  }
  out += templ.Mid(from);
  return out;
}

}  // namespace

int ParseDateText(const char* text, SxfParsedDate& date, CString* templ) {
  date = SxfParsedDate();
  if (templ) templ->Empty();
  DateScanner t(text);
  const int n = t.Length();

  const DateSeparators* sep = nullptr;
  int p1 = -1;
  int p2 = -1;
  for (const DateSeparators& row : kDateSeparators) {
    p1 = t.Find(row.year);
    if (p1 <= 0) continue;
    p2 = t.Find(row.month, p1 + 2);
    if (p2 > 0) {
      sep = &row;
      break;
    }
  }
  if (sep == nullptr || p2 >= n - 1) return 0;

  const int first = t.FirstDigit();
  if (first < 0 || first >= p1) return 0;
  int firstValue;
  date.fullWidth = t.DigitAt(first, &firstValue) == 2 ? 1 : 0;

  const DateScanner::Number y = t.ReadNumber(first);
  const DateScanner::Number m = t.ReadNumber(p1 + static_cast<int>(std::strlen(sep->year)));
  const DateScanner::Number d = t.ReadNumber(p2 + static_cast<int>(std::strlen(sep->month)));
  date.year = y.value;
  date.month = m.value;
  date.day = d.value;

  // A failed shape check does not stop the reading: the numbers, era and template are still
  // reported for any text that got this far, and only the verdict says the text is not clean.
  bool clean = t.OnlyBlanks(y.end, p1) && t.OnlyBlanks(m.end, p2);

  int eraAt = t.Find(kJpEraHeisei);
  if (eraAt < 0) eraAt = t.Find(kJpEraShowa);
  if (eraAt >= 0) {
    const int eraEnd = eraAt + static_cast<int>(std::strlen(kJpEraHeisei));
    if (eraEnd > first || !t.OnlyBlanks(eraEnd, first) || !t.OnlyBlanks(0, eraAt)) clean = false;
  } else if (!t.OnlyBlanks(0, first)) {
    clean = false;
  }

  const int dayMark = sep->day ? t.Find(sep->day) : -1;
  if (dayMark > 0) {
    if (dayMark < d.end || !t.OnlyBlanks(d.end, dayMark) ||
        !t.OnlyBlanks(dayMark + static_cast<int>(std::strlen(sep->day)), n)) {
      clean = false;
    }
  } else if (!t.OnlyBlanks(d.end, n)) {
    clean = false;
  }

  if (templ) {
    *templ = t.Slice(0, first) + "%s" + t.Slice(y.end, m.digitsStart) + "%s" + t.Slice(m.end, d.digitsStart) +
             "%s" + t.Slice(d.end, n);
  }

  // The era is taken from anywhere in the text, letter abbreviations included, so "H17.4.1"
  // still reads as 2005 although its shape is rejected.
  if (t.Find(kJpEraHeisei) >= 0 || t.Find("H") >= 0) {
    date.era = kDateEraHeisei;
    date.year += kHeiseiOffset;
  } else if (t.Find(kJpEraShowa) >= 0 || t.Find("S") >= 0) {
    date.era = kDateEraShowa;
    date.year += kShowaOffset;
  }

  return clean && date.year >= kFirstCleanYear && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
                 date.day <= 31
             ? 1
             : 0;
}

int ReformatDateText(const char* text, int year, int month, int day, CString& out) {
  SxfParsedDate old;
  CString templ;
  if (!ParseDateText(text, old, &templ)) return 0;

  if (old.era == kDateEraWestern) {
    if (year < kFirstWrittenYear) year = kFirstWrittenYear;
  } else {
    // In 64 bits: the caller's year may be any int.
    int64_t eraYear = static_cast<int64_t>(year) - (old.era == kDateEraHeisei ? kHeiseiOffset : kShowaOffset);
    year = eraYear < 1 ? 1 : static_cast<int>(eraYear);
  }
  if (month < 1 || month > 12) month = 1;
  if (day < 1 || day > 31) day = 1;

  out = FillDateTemplate(templ, FormatDateDigits(year, old.fullWidth), FormatDateDigits(month, old.fullWidth),
                         FormatDateDigits(day, old.fullWidth));
  return 1;
}

CString FormatDateDigits(int value, int fullWidth) {
  CString ascii;
  ascii.Format("%d", value);
  if (!fullWidth) return ascii;
  CString wide;
  for (int i = 0; i < ascii.GetLength(); ++i) {
    char c = ascii[i];
    if (c >= '0' && c <= '9') {
      wide += kJpWideZero[0];
      wide += static_cast<char>(kJpWideZero[1] + (c - '0'));
    } else {
      wide += c;
    }
  }
  return wide;
}

CString MakeCanonicalDateText(int year, int month, int day) {
  CString y, m, d;
  y.Format("%d", year);
  m.Format("%d", month);
  d.Format("%d", day);
  return y + kJpYear + m + kJpMonth + d + kJpDay;
}
