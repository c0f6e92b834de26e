// Recording a page as a placeable metafile: the headers, a record stream
// every reader can walk, the object table kept as readers rebuild it, and
// files that are written whole or not at all.

#include "TBrush.h"
#include "TFont.h"
#include "TMetaFile.h"
#include "TPen.h"
#include "TempFiles.h"
#include "WmfFormat.h"

#include "RenderTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <vector>

#include <unistd.h>

namespace {

using namespace palette;

struct WmfRecord
{
  uint16_t function = 0;
  std::vector<int16_t> words; // the parameters as 16-bit words
  std::string bytes;          // the parameters as they stand
};

struct WmfFile
{
  bool placeable = false;
  int16_t bounds[4] = {};
  uint16_t inch = 0;
  bool checksumOk = false;
  uint32_t sizeWords = 0;
  uint16_t objects = 0;
  uint32_t largest = 0;
  std::vector<WmfRecord> records;
  std::string problem; // empty when the stream is well formed
};

// Walks a file as a reader does, checking every size on the way and the
// object table (creation in the lowest free slot, selection and deletion of
// live objects only).
WmfFile Parse(const std::string& data)
{
  WmfFile file;
  const auto* p = reinterpret_cast<const uint8_t*>(data.data());
  size_t at = 0;
  if (data.size() >= wmf::kPlaceableSize && wmf::GetDword(p) == wmf::kPlaceableKey) {
    file.placeable = true;
    for (int i = 0; i < 4; ++i)
      file.bounds[i] = static_cast<int16_t>(wmf::GetWord(p + 6 + 2 * i));
    file.inch = wmf::GetWord(p + 14);
    file.checksumOk = wmf::PlaceableChecksum(p) == wmf::GetWord(p + 20);
    at = wmf::kPlaceableSize;
  }
  if (data.size() < at + wmf::kHeaderSize)
    return file.problem = "no header", file;
  if (wmf::GetWord(p + at) != 1 || wmf::GetWord(p + at + 2) != 9 || wmf::GetWord(p + at + 4) != 0x0300)
    return file.problem = "bad header", file;
  file.sizeWords = wmf::GetDword(p + at + 6);
  file.objects = wmf::GetWord(p + at + 10);
  file.largest = wmf::GetDword(p + at + 12);
  if (size_t{file.sizeWords} * 2 != data.size() - at)
    return file.problem = "size in header differs from the file", file;
  at += wmf::kHeaderSize;
  std::vector<bool> table(file.objects, false);
  uint32_t largest = 0;
  while (at + 6 <= data.size()) {
    const uint32_t words = wmf::GetDword(p + at);
    if (words < 3 || at + size_t{words} * 2 > data.size())
      return file.problem = "record overruns the file", file;
    largest = std::max(largest, words);
    WmfRecord record;
    record.function = wmf::GetWord(p + at + 4);
    record.bytes.assign(data, at + 6, size_t{words} * 2 - 6);
    for (uint32_t i = 3; i < words; ++i)
      record.words.push_back(static_cast<int16_t>(wmf::GetWord(p + at + 2 * i)));
    at += size_t{words} * 2;
    const uint16_t f = record.function;
    if (f == wmf::kCreatePenIndirect || f == wmf::kCreateBrushIndirect || f == wmf::kCreateFontIndirect) {
      const auto free = std::find(table.begin(), table.end(), false);
      if (free == table.end())
        return file.problem = "more objects than the header declares", file;
      *free = true;
    } else if (f == wmf::kSelectObject || f == wmf::kDeleteObject) {
      const auto index = static_cast<size_t>(record.words.at(0));
      if (index >= table.size() || !table[index])
        return file.problem = "selects or deletes an object that is not there", file;
      if (f == wmf::kDeleteObject)
        table[index] = false;
    }
    file.records.push_back(std::move(record));
    if (f == wmf::kEof)
      break;
  }
  if (file.records.empty() || file.records.back().function != wmf::kEof || at != data.size())
    return file.problem = "no end record at the end", file;
  if (largest != file.largest)
    return file.problem = "largest record differs from the header", file;
  return file;
}

std::vector<const WmfRecord*> Find(const WmfFile& file, uint16_t function)
{
  std::vector<const WmfRecord*> found;
  for (const WmfRecord& record : file.records)
    if (record.function == function)
      found.push_back(&record);
  return found;
}

class MetaFileTest : public ::testing::Test
{
protected:
  void SetUp() override { ASSERT_TRUE(SetTempFolder(dir.File("tmp"))); }
  void TearDown() override
  {
    // No recording is ever left behind.
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("tmp")));
    SetTempFolder("");
  }
  TempDir dir;
};

} // namespace

TEST(WmfFormat, PlaceableHeaderChecksumIsTheExclusiveOrOfItsWords)
{
  const std::vector<uint8_t> header = wmf::PlaceableHeader(0, 0, 1000, 800, 100);
  ASSERT_EQ(header.size(), wmf::kPlaceableSize);
  const uint16_t expected = 0xCDD7 ^ 0x9AC6 ^ 0 ^ 0 ^ 0 ^ 1000 ^ 800 ^ 100 ^ 0 ^ 0;
  EXPECT_EQ(wmf::GetWord(header.data() + 20), expected);
  EXPECT_EQ(std::string(header.begin(), header.begin() + 4), "\xD7\xCD\xC6\x9A");
  EXPECT_EQ(wmf::ToWesternBytes("a\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD"), "a\xE9\x80?");
}

TEST_F(MetaFileTest, APageIsRecordedAsRecordsEveryReaderCanWalk)
{
  const std::string path = dir.File("page.wmf");
  TMetaFile page(path, 1000, 800);
  ASSERT_TRUE(page.HasDevice());
  page.SetUnitsPerInch(254);
  page.SelectPen(TPen(kRed, 5, TPen::kDash));
  page.SelectBrush(Solid(kYellow));
  page.Rectangle(TRect(10, 20, 300, 200));
  page.SelectBrush(Hatch(TBrush::kCross, kBlue));
  page.Ellipse(TRect(400, 20, 600, 220));
  // Drawing inside a clip, with objects changed while it holds.
  const TRect clip(0, 0, 500, 500);
  page.SetClipRect(&clip);
  page.SelectPen(TPen(kGreen, 0, TPen::kSolid));
  page.SelectBrush(Solid(kRed));
  page.Line(0, 700, 999, 700);
  page.SetClipRect(nullptr);
  const TPoint zigzag[4] = {{10, 300}, {50, 400}, {90, 300}, {130, 400}};
  page.Polyline(zigzag, 4);
  page.SelectFont(TFont(40, 0));
  page.SetTextColor(kBlue);
  page.TextOut(100, 500, "Caf\xC3\xA9");
  page.FillRect(700, 700, 799, 749, nullptr);
  ASSERT_TRUE(page.Close(true)) << page.Error();

  const WmfFile file = Parse(ReadWholeFile(path));
  ASSERT_EQ(file.problem, "");
  ASSERT_TRUE(file.placeable);
  EXPECT_TRUE(file.checksumOk);
  EXPECT_EQ((std::vector<int16_t>(file.bounds, file.bounds + 4)), (std::vector<int16_t>{0, 0, 1000, 800}));
  // The page's own units, so that the picture is placed at its true size.
  EXPECT_EQ(file.inch, 254);
  // The window is the paper.
  ASSERT_EQ(Find(file, wmf::kSetMapMode).size(), 1u);
  EXPECT_EQ(Find(file, wmf::kSetMapMode)[0]->words[0], 8);
  ASSERT_FALSE(Find(file, wmf::kSetWindowExt).empty());
  EXPECT_EQ(Find(file, wmf::kSetWindowExt).back()->words, (std::vector<int16_t>{800, 1000}));
  // Shapes keep their coordinates (bottom, right, top, left).
  ASSERT_EQ(Find(file, wmf::kRectangle).size(), 1u);
  EXPECT_EQ(Find(file, wmf::kRectangle)[0]->words, (std::vector<int16_t>{200, 300, 20, 10}));
  EXPECT_EQ(Find(file, wmf::kEllipse)[0]->words, (std::vector<int16_t>{220, 600, 20, 400}));
  EXPECT_EQ(Find(file, wmf::kPolyline)[0]->words,
            (std::vector<int16_t>{4, 10, 300, 50, 400, 90, 300, 130, 400}));
  // The clip holds between a saved and a restored state.
  ASSERT_EQ(Find(file, wmf::kIntersectClipRect).size(), 1u);
  EXPECT_EQ(Find(file, wmf::kIntersectClipRect)[0]->words, (std::vector<int16_t>{500, 500, 0, 0}));
  EXPECT_EQ(Find(file, wmf::kSaveDc).size(), 1u);
  EXPECT_EQ(Find(file, wmf::kRestoreDc).size(), 1u);
  // Pens as created: the dashed pen 5 units wide in red (0x000000FF).
  const WmfRecord* pen = nullptr;
  for (const WmfRecord* record : Find(file, wmf::kCreatePenIndirect))
    if (record->words[0] == TPen::kDash)
      pen = record;
  ASSERT_NE(pen, nullptr);
  EXPECT_EQ(pen->words[1], 5);
  EXPECT_EQ(wmf::GetDword(reinterpret_cast<const uint8_t*>(pen->bytes.data()) + 6), 0x0000FFu);
  // Text in the Western code page, after its font.
  const std::vector<const WmfRecord*> texts = Find(file, wmf::kExtTextOut);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0]->words[0], 500);
  EXPECT_EQ(texts[0]->words[1], 100);
  EXPECT_EQ(texts[0]->words[2], 4);
  EXPECT_EQ(texts[0]->bytes.substr(8, 4), "Caf\xE9");
  EXPECT_EQ(Find(file, wmf::kCreateFontIndirect).back()->words[0], -40);
  // A fill is a pattern block with the brush.
  ASSERT_EQ(Find(file, wmf::kPatBlt).size(), 1u);
  EXPECT_EQ(Find(file, wmf::kPatBlt)[0]->words, (std::vector<int16_t>{0x0021, 0x00F0, 50, 100, 700, 700}));
}

TEST_F(MetaFileTest, APageBeyondSixteenBitsIsRecordedInLargerUnits)
{
  const std::string path = dir.File("large.wmf");
  TMetaFile page(path, 84100, 118900); // A0 in hundredths of a millimetre
  page.SetUnitsPerInch(2540);
  page.SelectPen(TPen(kBlack, 0, TPen::kSolid));
  page.Rectangle(TRect(1000, 2000, 84100, 118900));
  page.Line(-100000, 5, 200000, 5);
  ASSERT_TRUE(page.Close(true)) << page.Error();
  const WmfFile file = Parse(ReadWholeFile(path));
  ASSERT_EQ(file.problem, "");
  // Four logical units to one metafile unit.
  EXPECT_EQ(file.bounds[2], 21025);
  EXPECT_EQ(file.bounds[3], 29725);
  EXPECT_EQ(file.inch, 635);
  EXPECT_EQ(Find(file, wmf::kRectangle)[0]->words, (std::vector<int16_t>{29725, 21025, 500, 250}));
  // Beyond the format's range a coordinate stops at its edge.
  EXPECT_EQ(Find(file, wmf::kMoveTo)[0]->words[1], -25000);
  EXPECT_EQ(Find(file, wmf::kLineTo)[0]->words[1], 32767);
}

TEST_F(MetaFileTest, AFailedWriteLeavesTheTargetAsItWasAndNoRecording)
{
  // A read-only target is not replaced.
  const std::string kept = dir.File("kept.wmf");
  WriteWholeFile(kept, "earlier picture");
  std::filesystem::permissions(kept, std::filesystem::perms::owner_read);
  {
    TMetaFile page(kept, 100, 100);
    page.Rectangle(TRect(0, 0, 50, 50));
    if (::geteuid() != 0) {
      EXPECT_FALSE(page.Close(true));
      EXPECT_NE(page.Error().find("read-only"), std::string::npos) << page.Error();
    }
  }
  EXPECT_EQ(ReadWholeFile(kept), "earlier picture");
  // A missing folder.
  const std::string missing = dir.File("no such folder/page.wmf");
  TMetaFile page(missing, 100, 100);
  EXPECT_FALSE(page.Close(true));
  EXPECT_FALSE(page.Error().empty());
  EXPECT_FALSE(std::filesystem::exists(missing));
  // Without a temporary folder that can take a file there is no device.
  ASSERT_TRUE(SetTempFolder(dir.File("tmp/sub")));
  std::filesystem::permissions(dir.File("tmp/sub"),
                               std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (::geteuid() != 0) {
    TMetaFile orphan(dir.File("orphan.wmf"), 100, 100);
    EXPECT_FALSE(orphan.HasDevice());
    orphan.Rectangle(TRect(0, 0, 50, 50));
    EXPECT_FALSE(orphan.Close(true));
    EXPECT_FALSE(std::filesystem::exists(dir.File("orphan.wmf")));
  }
  std::filesystem::permissions(dir.File("tmp/sub"), std::filesystem::perms::owner_all);
  std::filesystem::remove(dir.File("tmp/sub"));
}

TEST_F(MetaFileTest, TemporaryNamesCountOnAndOnlyTheirOwnFilesAreRemoved)
{
  const std::string first = MakeTempName();
  const std::string second = MakeTempName();
  ASSERT_FALSE(first.empty());
  EXPECT_NE(first, second);
  EXPECT_EQ(first.rfind(dir.File("tmp/T"), 0), 0u) << first;
  EXPECT_EQ(first.substr(first.size() - 4), ".$$$");
  EXPECT_TRUE(std::filesystem::exists(first));
  const std::string other = dir.File("tmp/keep.txt");
  WriteWholeFile(other, "x");
  EXPECT_FALSE(RemoveTempFile(other));
  EXPECT_TRUE(std::filesystem::exists(other));
  std::filesystem::remove(other);
  EXPECT_TRUE(RemoveTempFile(first));
  EXPECT_TRUE(RemoveTempFile(second));
  EXPECT_FALSE(SetTempFolder(std::string(300, 'a')));
}
