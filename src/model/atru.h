// SxfZCdbATRU: an SXF attribute value, held as text, with its definition part.
//
// A value type: copying and assignment copy all six fields; IsSame compares all six. Typed
// setters format numbers with fixed formats, so a typed value lives only as its text; typed
// getters parse the text back. Neither formatting nor parsing depends on the process locale:
// - integers: leading white space skipped, optional sign, decimal digits up to the first
//   non-digit; no digits gives 0. Digits beyond 32 bits wrap modulo 2^32, so every handle that
//   SetTarget writes with "%u" reads back as the same 32 bits.
// - doubles: the longest leading decimal number (digits, optional point and fraction, optional
//   exponent) after white space and sign; none gives 0.0.
//
// Two text conventions give a value a meaning the rest of the plug-in relies on:
// - target attribute: name kJpTarget ("ターゲット"), type "INN", empty unit, the record handle in value
//   ("%u"), the memo in zukeiName. A parsed handle of 0xFFFFFFFF counts as no target.
// - ATRS marker: value exactly "$$$"; the value stands for a bare SxfZCdbATRS.
#pragma once

#include "model/atrs.h"
#include "platform/carchive.h"
#include "platform/cfile.h"
#include "platform/cstring.h"
#include "platform/types.h"
#include "platform/visibility.h"

// The kind a new value carries, and the kind of every attribute the plug-in makes itself (target,
// image and contour attributes). Kinds are the callers' codes: the plug-in only copies, compares
// and stores them.
inline constexpr LONG kDefaultAttrKind = 10;

class SXF_API SxfZCdbATRU : public SxfZCdbATRS {
 public:
  SxfZCdbATRU() = default;
  SxfZCdbATRU(const SxfZCdbATRU&) = default;
  SxfZCdbATRU(SxfZCdbATRU&&) noexcept = default;
  SxfZCdbATRU& operator=(const SxfZCdbATRU&) = default;
  SxfZCdbATRU& operator=(SxfZCdbATRU&&) noexcept = default;
  ~SxfZCdbATRU() override;

  // 1 when name, type, unit, kind, value and zukeiName are all equal.
  int IsSame(const SxfZCdbATRU& other) const;

  void SetValueBYTE(BYTE v);    // "%d"
  void SetValueCHAR(char v);    // "%d" of the signed 8-bit number
  void SetValueWORD(WORD v);    // "%u"
  void SetValueSHORT(short v);  // "%d"
  void SetValueDWORD(ULONG v);  // "%u"
  void SetValueLONG(LONG v);    // "%d"
  // keta > 0: "%.*f" with keta decimals. keta <= 0: v made an integer by the host's GPt::ToInt
  // and written without a decimal point.
  void SetValueDOUBLE(double v, int keta);
  void SetValueStr(const char* text);

  // value parsed as a signed decimal integer, cut to the result type's low bits.
  BYTE GetValueBYTE() const;
  char GetValueCHAR() const;
  WORD GetValueWORD() const;
  short GetValueSHORT() const;
  DWORD GetValueDWORD() const;
  LONG GetValueLONG() const;
  // Sets keta = GetDoubleKeta(value) and returns value parsed as a decimal number, so that
  // SetValueDOUBLE(result, keta) writes the same text back.
  double GetValueDOUBLE(int& keta) const;
  const char* GetStr() const { return value; }
  const char* GetValueStr() const { return value; }

  // Number of bytes after the first "." of s (0 when there is none or s is null): "1.50" 2,
  // "12" 0, "3." 0, "1.5e3" 3.
  static int GetDoubleKeta(const char* s);

  // 1 when value is exactly "$$$".
  int IsAtrsData() const;
  // 0xFFFFFFFF when name is not the target name; otherwise value parsed as a signed decimal.
  DWORD IsTarget() const;
  // Makes this a target attribute of handle; kind is left alone; a null memo empties zukeiName.
  void SetTarget(ULONG handle, const char* memo);
  // zukeiName for a target whose handle is not 0xFFFFFFFF; otherwise empty.
  CString GetTargetMemo() const;
  void SetZukeiName(const char* text);
  CString GetZukeiName() const { return zukeiName; }

  LONG kind = kDefaultAttrKind;  // code carried with the value; copied, compared and stored only
  CString value;                 // the value as text
  CString zukeiName;             // figure name; the memo of a target attribute
};
