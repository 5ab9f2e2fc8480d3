#include "platform/sjis.h"

#include <cstring>

int SjisFind(const char* text, int length, const char* pattern, int patternLength, int start) {
  if (start < 0) start = 0;
  if (start > length) return -1;
  if (patternLength == 0) return start;
  for (int i = start; i + patternLength <= length; i += SjisCharLength(text, length, i)) {
    if (std::memcmp(text + i, pattern, patternLength) == 0) return i;
  }
  return -1;
}

int SjisFindChar(const char* text, int length, char ch, int start) {
  if (start < 0) start = 0;
  for (int i = start; i < length; i += SjisCharLength(text, length, i)) {
    if (text[i] == ch) return i;
  }
  return -1;
}

int SjisReverseFindChar(const char* text, int length, char ch) {
  int found = -1;
  for (int i = 0; i < length; i += SjisCharLength(text, length, i)) {
    if (text[i] == ch) found = i;
  }
  return found;
}
