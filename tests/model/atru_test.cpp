// Attribute values: typed text conversions, the target and ATRS-marker conventions, value
// semantics.
#include "model/atru.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <utility>

#include "model/atrs.h"
#include "support/sjis_text.h"

namespace {

SxfZCdbATRU WithValue(const char* text) {
  SxfZCdbATRU v;
  v.SetValueStr(text);
  return v;
}

TEST(Atru, TargetConvention) {
  const CString target(Sjis("ターゲット").c_str());

  SxfZCdbATRU v;
  // Every 32-bit handle survives the "%u" text, also above 0x7FFFFFFF.
  for (DWORD handle : {0u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFEu}) {
    v.SetTarget(handle, "memo");
    EXPECT_EQ(v.IsTarget(), handle);
    EXPECT_EQ(v.GetTargetMemo(), "memo");
  }
  // The handle 0xFFFFFFFF is no target: its memo is hidden, though still stored.
  v.SetTarget(0xFFFFFFFF, "memo");
  EXPECT_EQ(v.IsTarget(), 0xFFFFFFFFu);
  EXPECT_TRUE(v.GetTargetMemo().IsEmpty());
  EXPECT_EQ(v.GetZukeiName(), "memo");

  // The name decides, byte for byte; a non-numeric value parses as handle 0.
  SxfZCdbATRU named;
  named.name = target;
  named.value = "abc";
  EXPECT_EQ(named.IsTarget(), 0u);
  named.name = (Sjis("ターゲット") + " ").c_str();
  named.value = "5";
  EXPECT_EQ(named.IsTarget(), 0xFFFFFFFFu);
  named.SetZukeiName("memo");
  EXPECT_TRUE(named.GetTargetMemo().IsEmpty());
  EXPECT_EQ(named.GetZukeiName(), "memo");
}

TEST(Atru, IntegerTextsAndTruncatingGetters) {
  // Parsed as a signed number, then cut to the result's width.
  EXPECT_EQ(WithValue("300").GetValueBYTE(), 44);
  EXPECT_EQ(WithValue("200").GetValueCHAR(), -56);
  EXPECT_EQ(WithValue("70000").GetValueWORD(), 4464);
  EXPECT_EQ(WithValue("40000").GetValueSHORT(), -25536);
  EXPECT_EQ(WithValue("-1").GetValueWORD(), 65535);
  EXPECT_EQ(WithValue("4294967295").GetValueLONG(), -1);

  // Blanks, sign, digits up to the first non-digit; nothing numeric gives 0.
  EXPECT_EQ(WithValue(" \t\n-12abc").GetValueLONG(), -12);
  EXPECT_EQ(WithValue("+3.9").GetValueLONG(), 3);
  EXPECT_EQ(WithValue("- 5").GetValueLONG(), 0);
}

TEST(Atru, DoubleTextsAndDecimalDigits) {
  SxfZCdbATRU v;
  v.SetValueDOUBLE(2.0, 3);
  EXPECT_EQ(v.value, "2.000");
  int keta = -1;
  EXPECT_EQ(v.GetValueDOUBLE(keta), 2.0);
  EXPECT_EQ(keta, 3);
  v.SetValueDOUBLE(-0.125, 2);
  EXPECT_EQ(v.value, "-0.12");  // round half to even on the exact binary value, as printf

  // keta 0 or less: an integer from the host's rounding, no decimal point.
  // Halves round away from zero.
  const std::pair<double, const char*> rounded[] = {{2.6, "3"}, {-2.5, "-3"}, {2.4999, "2"}, {7.0, "7"}};
  for (const auto& [d, text] : rounded) {
    for (int k : {0, -3}) {
      v.SetValueDOUBLE(d, k);
      EXPECT_EQ(v.value, text) << d;
    }
  }

  // Bytes after the first point, whatever they are.
  EXPECT_EQ(SxfZCdbATRU::GetDoubleKeta("1.50"), 2);
  EXPECT_EQ(SxfZCdbATRU::GetDoubleKeta("3."), 0);
  EXPECT_EQ(SxfZCdbATRU::GetDoubleKeta("1.5e3"), 3);
  EXPECT_EQ(SxfZCdbATRU::GetDoubleKeta("1.2.3"), 3);
  EXPECT_EQ(SxfZCdbATRU::GetDoubleKeta(nullptr), 0);

  // The longest leading decimal number; anything else is 0.
  EXPECT_EQ(WithValue("  -1.25e2xyz").GetValueDOUBLE(keta), -125.0);
  EXPECT_EQ(WithValue("0x10").GetValueDOUBLE(keta), 0.0);
  EXPECT_EQ(WithValue("inf").GetValueDOUBLE(keta), 0.0);
  EXPECT_EQ(WithValue("0.0001e-400").GetValueDOUBLE(keta), 0.0);

  // What GetValueDOUBLE returns, written back with its keta, gives the same text.
  std::mt19937 random(7);
  std::uniform_real_distribution<double> values(-1e6, 1e6);
  for (int i = 0; i < 500; ++i) {
    int digits = 1 + i % 12;
    v.SetValueDOUBLE(values(random), digits);
    CString text = v.value;
    double back = v.GetValueDOUBLE(keta);
    ASSERT_EQ(keta, digits);
    v.SetValueDOUBLE(back, keta);
    ASSERT_EQ(v.value, text);
  }
}

TEST(Atru, AtrsMarkerAndValueSemantics) {
  EXPECT_EQ(WithValue("$$$").IsAtrsData(), 1);
  EXPECT_EQ(WithValue("$$$ ").IsAtrsData(), 0);
  EXPECT_EQ(WithValue("$$").IsAtrsData(), 0);

  SxfZCdbATRU a;
  a.name = "n";
  SxfZCdbATRU b = a;
  // kind alone makes two values different while their definition parts stay the same.
  b.kind = 11;
  EXPECT_EQ(a.IsSame(b), 0);
  EXPECT_EQ(static_cast<const SxfZCdbATRS&>(a).IsSame(b), 1);
}

}  // namespace
