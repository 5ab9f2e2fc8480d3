#include "host/environ_obj.h"

namespace {

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

bool IsAbsolute(const CString& path) {
  if (path.IsEmpty()) return false;
  if (IsSeparator(path[0])) return true;
  const char c = path[0];
  const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  return letter && path.GetLength() >= 2 && path[1] == ':';
}

}  // namespace

CEnvironObj::CEnvironObj(const char* baseFolder) : base_(baseFolder) {}

CEnvironObj::~CEnvironObj() = default;

CString CEnvironObj::GetFileNameFromRelativePath(const CString& path) const {
  if (path.IsEmpty() || IsAbsolute(path) || base_.IsEmpty()) return path;
  CString rest = path;
  while (rest.GetLength() >= 2 && rest[0] == '.' && IsSeparator(rest[1])) rest = rest.Mid(2);
  // A Shift-JIS trail byte may be 0x5C, so the separator test on the base's last byte must know
  // whether that byte ends a double-byte character; Find is character-aware.
  const bool backslash = base_.Find('\\') >= 0 && base_.Find('/') < 0;
  const char separator = backslash ? '\\' : '/';
  CString full = base_;
  const int last = full.GetLength() - 1;
  const bool endsWithSeparator = full[last] == '/' || (full[last] == '\\' && full.ReverseFind('\\') == last);
  if (!endsWithSeparator) full += separator;
  full += rest;
  return full;
}
