#include "ObjectStream.h"
#include "ClassTable.h"
#include "TString.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

// A small record type used to exercise framing: "TRect 0 l t r b" shaped,
// registered under the TRect id so the reader can create it.
class Probe : public TStreamable
{
public:
  static constexpr int32_t kVersion = 0;
  Probe() { classId = kTRect; }
  int32_t a = -1, b = -1;
  TString nested;
  TInStream& Read(TInStream& is) override
  {
    int32_t v;
    if (!BeginRecord(is, kTRect, v))
      return is;
    is >> a >> b;
    EndFirstLine(is, v, kVersion);
    if (PeekClassId(is) == kTString)
      ReadInto(is, nested);
    return is;
  }
  TOutStream& Write(TOutStream& os) const override
  {
    WriteHeader(os, kTRect, kVersion);
    os << ' ' << a << ' ' << b << '\n';
    return WriteNested(os, nested);
  }
};

TStreamable* MakeProbe(TDataOwner*, int32_t)
{
  return new Probe;
}

class ObjectStreamTest : public ::testing::Test
{
protected:
  void SetUp() override { SetClassFactory(kTRect, MakeProbe); }
  void TearDown() override { SetClassFactory(kTRect, nullptr); }
};

} // namespace

TEST(ClassTable, FixedRowsAndLookups)
{
  EXPECT_STREQ(GetClassName(kTRect), "TRect");
  EXPECT_STREQ(GetClassName(kTDataGroupSymbol), "TDataGroupSymbol");
  EXPECT_STREQ(GetClassName(59), "TDataTexteNomFichier");
  EXPECT_EQ(GetClassName(-1), nullptr);
  EXPECT_EQ(GetClassName(60), nullptr);
  EXPECT_EQ(GetClassId("TDataLine"), 31);
  EXPECT_EQ(GetClassId("tdataline"), 0) << "names match exactly";
  EXPECT_EQ(GetClassId("TStreamable"), 0) << "row 0 doubles as not-found";
  EXPECT_EQ(GetClassIdByCommand(32641), kTDataLine);
  EXPECT_EQ(GetClassIdByCommand(32291), kTDataTexteNomFichier);
  EXPECT_EQ(GetClassIdByCommand(0), 0);
  EXPECT_EQ(SetClassFactory(60, MakeProbe), 0);
  EXPECT_EQ(GetClassFactory(99), nullptr);
  EXPECT_EQ(CreateObject(kTDataGrid, nullptr, 0), nullptr);
}

TEST_F(ObjectStreamTest, RoundTripWithNestedRecord)
{
  Probe p;
  p.a = 12;
  p.b = -7;
  p.nested.Assign("two words");
  TOutStream os;
  WriteFrom(os, p);
  EXPECT_EQ(os.Data(), "TRect 0 12 -7\n\tTString 1 9 9 two words\n");

  TInStream is(os.Data());
  std::unique_ptr<TStreamable> back(ReadObject(is));
  ASSERT_TRUE(back);
  auto* q = static_cast<Probe*>(back.get());
  EXPECT_EQ(q->a, 12);
  EXPECT_EQ(q->b, -7);
  EXPECT_EQ(q->nested.Str(), "two words");
}

TEST_F(ObjectStreamTest, UnknownRecordsAreSkippedAsAWhole)
{
  TInStream is("TRect 0 1 2\n\tTString 1 7 1 x\n"
               "TMystery 4 1 2 3\n\tTPen 0 0 1 1 0\n"
               "TRect 0 3 4\n\tTString 1 7 1 y\n");
  std::unique_ptr<TStreamable> first(ReadObject(is));
  std::unique_ptr<TStreamable> second(ReadObject(is));
  ASSERT_TRUE(first && second);
  EXPECT_EQ(static_cast<Probe*>(second.get())->a, 3);
  EXPECT_EQ(ReadObject(is), nullptr);
}

TEST_F(ObjectStreamTest, NewerVersionSkipsRestOfFirstLineButReadsNested)
{
  TInStream is("TRect 5 1 2 99 extra words\n\tTString 1 7 2 ok\n");
  std::unique_ptr<TStreamable> obj(ReadObject(is));
  ASSERT_TRUE(obj);
  auto* q = static_cast<Probe*>(obj.get());
  EXPECT_EQ(q->b, 2);
  EXPECT_EQ(q->nested.Str(), "ok");
}

TEST_F(ObjectStreamTest, LongLinesDoNotEndTheList)
{
  const std::string text(600, 'x');
  TInStream is("TRect 0 1 2\n\tTString 1 600 600 " + text + "\nTRect 0 5 6\n\tTString 1 7 0 \n");
  std::unique_ptr<TStreamable> a(ReadObject(is));
  std::unique_ptr<TStreamable> b(ReadObject(is));
  ASSERT_TRUE(a && b);
  EXPECT_EQ(static_cast<Probe*>(a.get())->nested.Str(), text);
  EXPECT_EQ(static_cast<Probe*>(b.get())->a, 5);
}

TEST_F(ObjectStreamTest, MalformedNumberEndsReadingWithoutCrash)
{
  TInStream is("TRect 0 1 zz\n\tTString 1 7 1 a\nTRect 0 3 4\n");
  std::unique_ptr<TStreamable> a(ReadObject(is));
  ASSERT_TRUE(a) << "the object consumed its name, so it is returned with defaults";
  EXPECT_EQ(static_cast<Probe*>(a.get())->a, 1);
  EXPECT_EQ(static_cast<Probe*>(a.get())->b, -1);
  EXPECT_TRUE(is.fail());
  EXPECT_EQ(PeekClassId(is), 0);
  EXPECT_EQ(ReadObject(is), nullptr);
}

TEST_F(ObjectStreamTest, FindNextObjectSkipsIndentedLinesAndStopsAtTags)
{
  TInStream is("\tTRect 0 1 2\n TRect 0 1 2\nTStreamable 0\n\n[Next]\nTRect 0 1 2\n");
  EXPECT_EQ(FindNextObject(is), 0);
  EXPECT_EQ(is.tellg(), 0) << "the stream is restored when nothing is found";
  EXPECT_TRUE(is.good());
}

TEST(ObjectStream, TStringEdgeCases)
{
  TString s;
  TInStream is("TString 1 5 10 abcdefghij\n");
  ReadInto(is, s);
  EXPECT_EQ(s.Str(), "abcdefg") << "reads no more than the buffer's capacity (at least 7)";

  TString empty;
  TOutStream os;
  WriteFrom(os, empty);
  EXPECT_EQ(os.Data(), "TString 1 0 0 \n");

  TString old;
  TInStream latin("TString 1 7 4 caf\xe9\n");
  ReadInto(latin, old);
  EXPECT_EQ(old.Str(), "caf\xc3\xa9") << "Windows-1252 text is read as UTF-8";

  TString newer;
  TInStream v2("TString 2 7 2 hi trailing stuff\nTRect");
  ReadInto(v2, newer);
  EXPECT_EQ(newer.Str(), "hi");
  EXPECT_EQ(PeekClassId(v2), kTRect);
}

TEST(ObjectStream, SectionTags)
{
  TOutStream os;
  WriteSectionTag(os, "VEKT TData-Version");
  os << "0 7\n";
  WriteSectionTag(os, "vekt tdata");
  os << "3\n";
  EXPECT_EQ(os.Data().substr(0, 22), "\n[VEKT TData-Version]\n");

  TInStream is(os.Data());
  ASSERT_EQ(FindSectionTag(is, "VEKT TData"), 1) << "full names, any case";
  int32_t n = 0;
  is >> n;
  EXPECT_EQ(n, 3);
  ASSERT_EQ(FindSectionTag(is, "VEKT TDATA-VERSION"), 1) << "every search starts from the beginning";
  is >> n;
  EXPECT_EQ(n, 0);
  EXPECT_EQ(FindSectionTag(is, "VEKT Layers"), 0);
  EXPECT_TRUE(is.good());
  EXPECT_EQ(is.tellg(), 0);

  TInStream accented("\n[VÉKT Tdatà]\n5\n");
  EXPECT_EQ(FindSectionTag(accented, "VEKT TData"), 1);
}

TEST(ObjectStream, NumberExtractionFollowsStreamRules)
{
  TInStream is("  42 -3 65535 65536 4294967295 -1 0.01 1e3 x");
  int32_t i = 0;
  uint16_t u16 = 0;
  uint32_t u32 = 0;
  is >> i;
  EXPECT_EQ(i, 42);
  is >> i;
  EXPECT_EQ(i, -3);
  is >> u16;
  EXPECT_EQ(u16, 65535);
  is >> u16;
  EXPECT_TRUE(is.fail()) << "out of range for 16 bits";
  is.clear();
  is >> u32;
  EXPECT_EQ(u32, 4294967295u);
  is >> u32;
  EXPECT_EQ(u32, 4294967295u) << "a negative unsigned value wraps";
  float f = 0;
  is >> f;
  EXPECT_FLOAT_EQ(f, 0.01f);
  double d = 0;
  is >> d;
  EXPECT_DOUBLE_EQ(d, 1000.0);
  is >> i;
  EXPECT_TRUE(is.fail());

  TOutStream os;
  os << 0.01f << ' ' << 1.0f << ' ' << 123456789.0 << ' ' << 0.1f << ' ' << -2.5 << ' ' << 1e-5;
  EXPECT_EQ(os.Data(), "0.01 1 1.23457e+08 0.1 -2.5 1e-05");
}

TEST(ObjectStream, FilesAreReadWholeWhateverTheySayOfTheirSize)
{
  // A regular file is read in one piece sized from its length (a long one
  // in two halves at once, joined where they meet); files whose length the
  // system does not know (here one of the kernel's) are read to their end
  // all the same.
  const std::string path = ::testing::TempDir() + "/instream-whole.txt";
  for (int lines : {30000, 1000001}) {
    std::string text;
    for (int i = 0; i < lines; ++i)
      text += "TDataLine 1 " + std::to_string(i) + "\n";
    {
      std::FILE* f = std::fopen(path.c_str(), "wb");
      ASSERT_NE(f, nullptr);
      std::fwrite(text.data(), 1, text.size(), f);
      std::fclose(f);
    }
    TInStream is;
    ASSERT_TRUE(is.LoadFile(path));
    EXPECT_TRUE(is.Data() == text) << lines << " lines";
  }
  std::remove(path.c_str());
  TInStream is;

  TInStream status;
  ASSERT_TRUE(status.LoadFile("/proc/self/status"));
  EXPECT_NE(status.Data().find("Name:"), std::string::npos);
  EXPECT_FALSE(is.LoadFile(path)) << "a file that is gone";

  // Words are passed over as they are read: the stream stops after them
  // and fails only when there is none.
  TInStream words("  TDataLine\t7\n");
  words.SkipWord();
  int32_t version = 0;
  words >> version;
  EXPECT_EQ(version, 7);
  words.SkipWord();
  EXPECT_TRUE(words.fail());
}
