// Records of attribute values in both formats: round trips, pinned layouts, legacy versions,
// damaged input.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "model/atrs.h"
#include "model/atru.h"
#include "model/old_format.h"
#include "platform/carchive.h"
#include "platform/cfile.h"
#include "support/sjis_text.h"

namespace {

using Bytes = std::vector<BYTE>;

// Little helpers that spell a record byte by byte.
struct Builder {
  Bytes b;
  Builder& u8(int v) {
    b.push_back(static_cast<BYTE>(v));
    return *this;
  }
  Builder& i32(int32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<BYTE>(static_cast<uint32_t>(v) >> (8 * i)));
    return *this;
  }
  Builder& f64(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    for (int i = 0; i < 8; ++i) b.push_back(static_cast<BYTE>(bits >> (8 * i)));
    return *this;
  }
  Builder& raw(const std::string& s) {
    b.insert(b.end(), s.begin(), s.end());
    return *this;
  }
  // Old-format file string.
  Builder& fstr(const std::string& s) {
    i32(static_cast<int32_t>(s.size()));
    if (!s.empty()) raw(s).u8(0);
    return *this;
  }
  // Archive string below 255 bytes.
  Builder& astr(const std::string& s) { return u8(static_cast<int>(s.size())).raw(s); }
  // One tagged entry of the new format: tag, block length, block bytes.
  Builder& entry(int32_t tag, const Builder& content) {
    i32(tag).i32(static_cast<int32_t>(content.b.size()));
    b.insert(b.end(), content.b.begin(), content.b.end());
    return *this;
  }
};

Bytes Contents(const CMemFile& file) {
  return Bytes(file.Data(), file.Data() + file.GetLength());
}

// A memory file holding a copy of bytes, positioned at its start.
struct ReadFile {
  explicit ReadFile(const Bytes& bytes)
      : data(bytes), file(data.empty() ? nullptr : data.data(), data.size()) {}
  Bytes data;
  CMemFile file;
};

template <class Write>
Bytes Store(Write write) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    write(ar);
    ar.Close();
  }
  return Contents(file);
}

SxfZCdbATRU SampleValue() {
  SxfZCdbATRU v;
  v.name = Sjis("幅員").c_str();
  v.type = "LEN";
  v.unit = "m";
  v.kind = -3;
  v.value = "12.50";
  v.zukeiName = Sjis("道路表").c_str();  // 表 has the trail byte 0x5C
  return v;
}

TEST(OldValueRecord, FileStringLayout) {
  CMemFile file;
  ASSERT_EQ(old_format::WriteString(&file, ""), 1);
  ASSERT_EQ(old_format::WriteString(&file, "abc"), 1);
  EXPECT_EQ(Contents(file), (Bytes{0, 0, 0, 0, 3, 0, 0, 0, 'a', 'b', 'c', 0}));

  // A length of 0 or less leaves the destination alone and reads nothing more.
  ReadFile in(Builder().i32(0).i32(-5).i32(2).raw("xy").u8(0).b);
  CString text("kept");
  ASSERT_EQ(old_format::ReadString(&in.file, text), 1);
  ASSERT_EQ(old_format::ReadString(&in.file, text), 1);
  EXPECT_EQ(text, "kept");
  ASSERT_EQ(old_format::ReadString(&in.file, text), 1);
  EXPECT_EQ(text, "xy");
  EXPECT_EQ(old_format::BytesLeft(&in.file), 0u);

  // A length beyond the end fails without trying to allocate it.
  ReadFile huge(Builder().i32(0x7FFFFFFF).raw("abc").b);
  EXPECT_EQ(old_format::ReadString(&huge.file, text), 0);
  EXPECT_EQ(text, "xy");
}

TEST(OldValueRecord, AtruLayoutAndRoundTrip) {
  SxfZCdbATRU v = SampleValue();
  CMemFile file;
  ASSERT_EQ(WriteATRU(&file, v), 1);
  Builder expected;
  expected.u8(4).u8(4).fstr(v.name.str()).fstr("LEN").fstr("m").i32(-3).fstr("12.50").fstr(v.zukeiName.str());
  EXPECT_EQ(Contents(file), expected.b);

  file.SeekToBegin();
  std::unique_ptr<SxfZCdbATRU> back(ReadATRU(&file));
  ASSERT_TRUE(back);
  EXPECT_TRUE(back->IsSame(v));
  EXPECT_EQ(old_format::BytesLeft(&file), 0u);

  SxfZCdbATRS def;
  def.name = "n";
  CMemFile atrsFile;
  ASSERT_EQ(WriteATRS(&atrsFile, def), 1);
  EXPECT_EQ(Contents(atrsFile), Builder().u8(4).fstr("n").fstr("").fstr("").b);
  atrsFile.SeekToBegin();
  SxfZCdbATRS defBack;
  defBack.type = "old";
  ASSERT_EQ(ReadATRS(&atrsFile, defBack), 1);
  EXPECT_EQ(defBack.name, "n");
  EXPECT_EQ(defBack.type, "old");  // an empty text on file keeps what was there
}

TEST(OldValueRecord, EarlierVersionsRead) {
  Bytes atrs = Builder().u8(0).fstr("w").fstr("STR").fstr("").b;

  // Versions 0, 2 and 3: no figure name.
  for (int version : {0, 2, 3}) {
    Builder rec;
    rec.u8(version).raw(std::string(atrs.begin(), atrs.end())).i32(8).fstr("v").raw("trailing");
    ReadFile in(rec.b);
    std::unique_ptr<SxfZCdbATRU> v(ReadATRU(&in.file));
    ASSERT_TRUE(v) << version;
    EXPECT_EQ(v->name, "w");
    EXPECT_EQ(v->kind, 8);
    EXPECT_EQ(v->value, "v");
    EXPECT_TRUE(v->zukeiName.IsEmpty());
    EXPECT_EQ(old_format::BytesLeft(&in.file), 8u) << "read past the record";
  }

  // Version 1, form 1: typed raw numbers turned into text; kind stays 10.
  struct Legacy {
    int code;
    Bytes raw;
    const char* text;
  };
  const Legacy cases[] = {
      {1, {0xFB}, "-5"},
      {3, {0x00, 0x80}, "-32768"},
      {4, {0xFF, 0xFF, 0xFF, 0xFF}, "4294967295"},
  };
  for (const Legacy& c : cases) {
    Builder rec;
    rec.u8(1).u8(1).raw(std::string(atrs.begin(), atrs.end())).u8(c.code);
    rec.b.insert(rec.b.end(), c.raw.begin(), c.raw.end());
    ReadFile in(rec.b);
    std::unique_ptr<SxfZCdbATRU> v(ReadATRU(&in.file));
    ASSERT_TRUE(v) << c.code;
    EXPECT_EQ(v->value, c.text) << c.code;
    EXPECT_EQ(v->kind, 10);
  }
  {
    Builder rec;
    rec.u8(1).u8(1).raw(std::string(atrs.begin(), atrs.end())).u8(6).f64(2.5);
    ReadFile in(rec.b);
    std::unique_ptr<SxfZCdbATRU> v(ReadATRU(&in.file));
    ASSERT_TRUE(v);
    EXPECT_EQ(v->value, "2.50000000");
    EXPECT_EQ(v->name, "w");
    EXPECT_EQ(v->kind, 10);
  }
  {
    Builder rec;
    rec.u8(1).u8(2).raw(std::string(atrs.begin(), atrs.end())).fstr("text");
    ReadFile in(rec.b);
    std::unique_ptr<SxfZCdbATRU> v(ReadATRU(&in.file));
    ASSERT_TRUE(v);
    EXPECT_EQ(v->value, "text");
  }

  // Rejected: unknown form, type code 7, version above 4, an ATRS part of version 5.
  const Bytes rejected[] = {
      Builder().u8(1).u8(3).raw(std::string(atrs.begin(), atrs.end())).fstr("x").b,
      Builder().u8(1).u8(1).raw(std::string(atrs.begin(), atrs.end())).u8(7).f64(1).b,
      Builder().u8(5).raw(std::string(atrs.begin(), atrs.end())).i32(1).fstr("x").fstr("y").b,
      Builder().u8(4).u8(5).fstr("w").fstr("").fstr("").i32(1).fstr("x").fstr("y").b,
  };
  for (const Bytes& rec : rejected) {
    ReadFile in(rec);
    EXPECT_EQ(ReadATRU(&in.file), nullptr);
  }
}

TEST(OldValueRecord, DamagedInputFailsCleanly) {
  CMemFile file;
  ASSERT_EQ(WriteATRU(&file, SampleValue()), 1);
  Bytes whole = Contents(file);
  for (size_t n = 0; n < whole.size(); ++n) {
    ReadFile in(Bytes(whole.begin(), whole.begin() + static_cast<long>(n)));
    EXPECT_EQ(ReadATRU(&in.file), nullptr) << "prefix of " << n << " bytes";
  }

  // A file that cannot take the whole record makes the writer answer 0, not throw.
  for (size_t size = 0; size < whole.size(); ++size) {
    Bytes room(size + 1);
    CMemFile small(room.data(), static_cast<UINT>(size));
    EXPECT_EQ(WriteATRU(&small, SampleValue()), 0) << size;
  }
  Bytes room(whole.size());
  CMemFile exact(room.data(), static_cast<UINT>(room.size()));
  EXPECT_EQ(WriteATRU(&exact, SampleValue()), 1);
}

TEST(NewValueRecord, LayoutAndRoundTrip) {
  SxfZCdbATRS def;
  def.name = "a";
  Bytes atrs = Store([&](CArchive& ar) { EXPECT_EQ(NewWriteATRS(ar, def), 1); });
  EXPECT_EQ(atrs, Builder().entry(1, Builder().astr("a").astr("").astr("")).i32(0).b);

  SxfZCdbATRU v = SampleValue();
  Bytes atru = Store([&](CArchive& ar) { EXPECT_EQ(NewWriteATRU(ar, v), 1); });
  Builder fields;
  fields.i32(-3).astr("12.50").astr(v.zukeiName.str());
  Builder definition;
  definition.entry(1, Builder().astr(v.name.str()).astr("LEN").astr("m")).i32(0);
  EXPECT_EQ(atru, Builder().entry(1, fields).entry(100, definition).i32(0).b);

  ReadFile in(atru);
  CArchive ar(&in.file, CArchive::load);
  std::unique_ptr<SxfZCdbATRU> back(NewReadATRU(ar));
  ASSERT_TRUE(back);
  EXPECT_TRUE(back->IsSame(v));
  EXPECT_EQ(ar.BytesLeft(), 0u);
}

TEST(NewValueRecord, ToleratesUnknownTagsAndShortOrMissingBlocks) {
  SxfZCdbATRU v = SampleValue();
  Builder fields;
  fields.i32(-3).astr("12.50").astr(v.zukeiName.str());
  Builder definition;
  definition.entry(1, Builder().astr(v.name.str()).astr("LEN").astr("m")).i32(0);

  auto read = [](const Bytes& bytes) {
    ReadFile in(bytes);
    CArchive ar(&in.file, CArchive::load);
    std::unique_ptr<SxfZCdbATRU> out(NewReadATRU(ar));
    EXPECT_EQ(ar.BytesLeft(), 0u);
    return out;
  };

  // A tag this reader does not know, between known ones and inside the nested record.
  Builder nestedWithUnknown;
  nestedWithUnknown.entry(9, Builder().raw("??"))
      .entry(1, Builder().astr(v.name.str()).astr("LEN").astr("m"))
      .i32(0);
  std::unique_ptr<SxfZCdbATRU> a = read(Builder()
                                            .entry(1, fields)
                                            .entry(7, Builder().i32(1).raw("junk"))
                                            .entry(100, nestedWithUnknown)
                                            .i32(0)
                                            .b);
  ASSERT_TRUE(a);
  EXPECT_TRUE(a->IsSame(v));

  // A tag-1 block holding only kind; another that stops inside the value text.
  std::unique_ptr<SxfZCdbATRU> c = read(Builder().entry(1, Builder().i32(5)).entry(100, definition).i32(0).b);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->kind, 5);
  EXPECT_TRUE(c->value.IsEmpty());
  EXPECT_TRUE(c->zukeiName.IsEmpty());
  EXPECT_EQ(c->name, v.name);
  std::unique_ptr<SxfZCdbATRU> d = read(Builder().entry(1, Builder().i32(6).u8(5).raw("ab")).i32(0).b);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->kind, 6);
  EXPECT_TRUE(d->value.IsEmpty());

  // No tag-100 entry: the definition part stays empty.
  std::unique_ptr<SxfZCdbATRU> e = read(Builder().entry(1, fields).i32(0).b);
  ASSERT_TRUE(e);
  EXPECT_TRUE(e->name.IsEmpty() && e->type.IsEmpty() && e->unit.IsEmpty());
  EXPECT_EQ(e->value, "12.50");
}

TEST(NewValueRecord, DamagedInputRaisesArchiveEndOfFile) {
  Bytes whole = Store([](CArchive& ar) { NewWriteATRU(ar, SampleValue()); });
  for (size_t n = 0; n < whole.size(); ++n) {
    ReadFile in(Bytes(whole.begin(), whole.begin() + static_cast<long>(n)));
    CArchive ar(&in.file, CArchive::load);
    try {
      delete NewReadATRU(ar);
      ADD_FAILURE() << "prefix of " << n << " bytes was accepted";
    } catch (CArchiveException& e) {
      EXPECT_EQ(e.m_cause, CArchiveException::endOfFile) << n;
    }
  }

  // Inside a tag-1 block only the end of the block is absorbed: a malformed string prefix
  // (0xFF 0xFE 0xFF announces a wide string) passes on.
  Bytes bad = Builder().entry(1, Builder().i32(1).u8(0xFF).u8(0xFE).u8(0xFF)).i32(0).b;
  ReadFile in(bad);
  CArchive ar(&in.file, CArchive::load);
  try {
    delete NewReadATRU(ar);
    ADD_FAILURE() << "malformed string accepted";
  } catch (CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::badSchema);
  }
}

}  // namespace
