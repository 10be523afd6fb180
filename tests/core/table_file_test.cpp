#include "core/table_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>

#include "core/bmp.h"
#include "core/full_text.h"
#include "core/access_stats.h"
#include "core/std_table_storage.h"
#include "core/table_backups.h"
#include "support/fixed_clock.h"
#include "table_layout.h"

namespace quenda {
namespace {

namespace fs = std::filesystem;
using quenda_test::Bytes;
using quenda_test::Concat;
using quenda_test::Filled;
using quenda_test::Indices;
using quenda_test::kFieldsSize;
using quenda_test::kFileSize;
using quenda_test::kRecordSize;
using quenda_test::Pattern;
using quenda_test::RawFields;
using quenda_test::Record;

// The table the reader tests fill.
SlotTable& Table() {
  static SlotTable table;
  return table;
}
void ResetTable() { Table() = SlotTable{}; }

// A copy whose allocation ends with its last byte, so that a read past it is caught.
Bytes Exact(const Bytes& b) { return Bytes(b.begin(), b.end()); }

std::string Text(const MaybeError& error) { return error ? ErrorText(*error) : "<no error>"; }

Indices IndicesOf(const IconBitmap& icon) {
  Indices px;
  for (std::size_t i = 0; i < px.size(); ++i) px[i] = icon.index[i];
  return px;
}

Indices Flipped(const Indices& px) {
  Indices out;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) out[x + 32 * y] = px[x + 32 * (31 - y)];
  }
  return out;
}

RawFields FieldsOf(const SlotRecord& r) {
  RawFields f;
  std::memcpy(f.bytes.data(), &r.fields, kFieldsSize);
  return f;
}

void SetIcon(int record, const Indices& px) {
  for (std::size_t i = 0; i < px.size(); ++i)
    Table().records[record].icon.index[i] = px[i];
}

Indices IconAt(int record) { return IndicesOf(Table().records[record].icon); }
RawFields FieldsAt(int record) { return FieldsOf(Table().records[record]); }

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}
std::uint32_t Le16(const Bytes& b, std::size_t at) { return b[at] | b[at + 1] << 8; }

// Offset and a few bytes around the first difference, for readable failures.
::testing::AssertionResult SameBytes(const Bytes& got, const Bytes& want) {
  if (got == want) return ::testing::AssertionSuccess();
  std::size_t i = 0;
  while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
  return ::testing::AssertionFailure()
         << "sizes " << got.size() << " and " << want.size() << ", first difference at byte " << i
         << " (record " << i / kRecordSize << ", offset " << i % kRecordSize << ")";
}

// Nine fields full of distinct non-zero bytes, so that a partial read shows.
RawFields BusyFields(int seed) {
  RawFields f;
  for (std::size_t i = 0; i < kFieldsSize; ++i) f.bytes[i] = std::uint8_t(1 + (i * 7 + seed) % 250);
  return f;
}

// A table whose every record differs, with junk behind the NULs and non-zero reserved flags.
Bytes VariedTable() {
  Bytes file;
  for (std::size_t n = 0; n < quenda_test::kRecordCount; ++n) {
    RawFields f;
    const std::string id = std::to_string(n);
    f.Put(Flag0, std::string{char(n), 1});
    f.Put(Flag1, n % 2 ? "1" : "0");
    f.Put(Title, "title " + id + std::string(1, '\0') + "older and longer title");
    f.Put(Target, std::string(128, char('A' + n % 26)));
    f.Put(DisplayName, "name" + std::string(1, '\0') + "rest");
    f.Put(AccessCount, std::to_string(n * 1000003 % 10000000000ull));
    f.Put(LastAccess, "2024/01/02 3:04:05");
    f.Put(Memo, std::string(256, char(0x81 + n % 30)));
    const Bytes rec = Record(f, n % 7 == 0 ? Filled(std::uint8_t(n % 16)) : Pattern(int(n)));
    file.insert(file.end(), rec.begin(), rec.end());
  }
  return file;
}

Bytes EmptyRecord() { return Record(RawFields{}, Filled(0)); }

TEST(TableFile, SavedTableFollowsTheFileLayoutByteForByte) {
  ResetTable();
  // (0,0): a shorter title over a longer one; a target of exactly its width.
  SetSlotField(Table(), Title, 0, 0, "abcdefgh");
  SetSlotField(Table(), Title, 0, 0, "xy");
  SetSlotField(Table(), Flag1, 0, 0, "1");
  SetSlotField(Table(), Target, 0, 0, std::string(128, 't'));
  // (0,1): reserved bytes are carried, whatever they hold.
  std::memcpy(FieldBytes(Table().At(0, 1).fields, Flag0).data(), "\x01\x02", 2);
  // (3,7): a drawn icon.
  Picture picture(32, 32);
  const Indices drawn = Pattern(3);
  for (int i = 0; i < 32 * 32; ++i) picture.pixels[i] = kIconPalette[drawn[i]];
  StoreSlotIcon(Table(), 3, 7, picture);
  // (9,24): cleared, so white.
  SetSlotField(Table(), Memo, 9, 24, "gone");
  ClearSlot(Table(), 9, 24);
  // (13,24): fields of exactly their widths.
  SetSlotField(Table(), AccessCount, 13, 24, "1234567890");
  SetSlotField(Table(), Memo, 13, 24, std::string(256, 'm'));

  Bytes want;
  for (int n = 0; n < kSlotCount; ++n) {
    RawFields f;
    Indices px = Filled(0);
    if (n == 0) {
      f.Put(Title, std::string("xy\0defgh", 8));
      f.Put(Flag1, std::string("1\0", 2));
      f.Put(Target, std::string(128, 't'));
    }
    if (n == 1) f.Put(Flag0, "\x01\x02");
    if (n == 3 * 25 + 7) px = drawn;
    if (n == 9 * 25 + 24) px = Filled(15);
    if (n == 13 * 25 + 24) f.Put(AccessCount, "1234567890").Put(Memo, std::string(256, 'm'));
    const Bytes rec = Record(f, px);
    want.insert(want.end(), rec.begin(), rec.end());
  }

  const std::vector<std::uint8_t> got = SerializeRecords(Table());
  ASSERT_EQ(got.size(), 478800u);
  EXPECT_TRUE(SameBytes(got, want));

  // The same, read straight off the offsets.
  // Colour table entries: blue, green, red, 0.
  const std::uint8_t palette[16][4] = {
      {0, 0, 0, 0},       {0, 0, 128, 0},   {0, 128, 0, 0},   {0, 128, 128, 0},
      {128, 0, 0, 0},     {128, 0, 128, 0}, {128, 128, 0, 0}, {128, 128, 128, 0},
      {192, 192, 192, 0}, {0, 0, 255, 0},   {0, 255, 0, 0},   {0, 255, 255, 0},
      {255, 0, 0, 0},     {255, 0, 255, 0}, {255, 255, 0, 0}, {255, 255, 255, 0}};
  for (int n : {0, 82, 249, 349}) {
    SCOPED_TRACE("record " + std::to_string(n));
    const std::size_t img = std::size_t(n) * 1368 + 738;
    EXPECT_EQ(got[img], 'B');
    EXPECT_EQ(got[img + 1], 'M');
    const std::pair<std::size_t, std::uint32_t> fields32[] = {
        {2, 630},  {10, 118}, {14, 40}, {18, 32}, {22, 32}, {30, 0},
        {34, 512}, {38, 0},   {42, 0},  {46, 16}, {50, 0}};
    for (auto [at, v] : fields32) EXPECT_EQ(Le32(got, img + at), v) << "image offset " << at;
    EXPECT_EQ(Le16(got, img + 6), 0u);
    EXPECT_EQ(Le16(got, img + 8), 0u);
    EXPECT_EQ(Le16(got, img + 26), 1u);
    EXPECT_EQ(Le16(got, img + 28), 4u);
    EXPECT_EQ(std::memcmp(&got[img + 54], palette, 64), 0);
  }
  const std::size_t drawn_px = 82 * 1368 + 738 + 118;
  EXPECT_EQ(got[drawn_px], drawn[32 * 31] << 4 | drawn[32 * 31 + 1]);  // bottom row first
  EXPECT_EQ(got[drawn_px + 16 * 31 + 1], drawn[2] << 4 | drawn[3]);    // top row last
  for (int i = 0; i < 512; ++i) {
    ASSERT_EQ(got[249 * 1368 + 738 + 118 + i], 0xFF) << i;
    ASSERT_EQ(got[348 * 1368 + 738 + 118 + i], 0x00) << i;
  }
  EXPECT_EQ(std::memcmp(&got[4], "xy\0defgh", 8), 0);
  EXPECT_EQ(got[196], 0);  // the display name right behind the full target
}

TEST(TableFile, ParseThenSerializeReproducesTheFile) {
  ResetTable();
  const Bytes file = VariedTable();
  ASSERT_EQ(file.size(), kFileSize);
  const MaybeError error = ParseTable(Exact(file), Table()).error;
  ASSERT_FALSE(error) << Text(error);
  EXPECT_EQ(GetSlotField(Table(), Title, 13, 24), "title 349");
  EXPECT_EQ(GetSlotField(Table(), DisplayName, 0, 1), "name");
  EXPECT_TRUE(SameBytes(SerializeTable(Table()), file));
}

// Cut the file after every byte of the first record: fields keep what was read, a cut header or
// colour table is a read error that leaves the icon alone, cut pixels are taken as they are.
TEST(TableFile, TruncationAtEveryByteOfTheFirstRecord) {
  ResetTable();
  const RawFields fields = BusyFields(1);
  const Indices px = Pattern(4);
  const Bytes record = Record(fields, px);
  const std::size_t pixels_at = kFieldsSize + 118;
  for (std::size_t cut = 0; cut <= record.size(); ++cut) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    Table().records[0].fields = SlotFields{};
    SetIcon(0, Filled(13));
    SetIcon(1, Filled(14));

    const MaybeError error =
        ParseTable(Exact(Bytes(record.begin(), record.begin() + cut)), Table()).error;

    ASSERT_EQ(Text(error), msg::kReadError);
    RawFields want_fields;
    std::memcpy(want_fields.bytes.data(), record.data(), std::min(cut, kFieldsSize));
    ASSERT_EQ(FieldsAt(0).bytes, want_fields.bytes);
    Indices want_icon = Filled(13);
    if (cut >= pixels_at) {
      for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
          const std::size_t at = pixels_at + std::size_t(31 - y) * 16 + std::size_t(x / 2);
          want_icon[x + 32 * y] = at < cut ? px[x + 32 * y] : 0;
        }
      }
    }
    ASSERT_EQ(IconAt(0), want_icon);
    ASSERT_EQ(FieldsAt(1).bytes, RawFields{}.bytes);
    ASSERT_EQ(IconAt(1), Filled(14));
  }
}

TEST(TableFile, TruncationInsideAForeignImage) {
  // 24-bit, 48 x 48, stored bottom row first: 144 bytes a row behind a 54-byte header.
  quenda_test::BmpForm form;
  form.width = form.height = 48;
  form.pixel = [](int x, int y) { return quenda_test::kPalette[(x + 2 * y) % 9]; };
  const Bytes image = quenda_test::Bmp(form);
  ASSERT_EQ(image.size(), 54u + 48 * 144);
  const RawFields first = BusyFields(2), second = BusyFields(3);
  const Bytes head =
      Concat({Record(first, Pattern(0)), Bytes(second.bytes.begin(), second.bytes.end())});

  struct Case {
    std::size_t cut;  // bytes of the image kept
    bool accepted;    // otherwise a read error leaves the icon alone
  };
  const Case cases[] = {{0, false},
                        {1, false},
                        {13, false},
                        {14, false},
                        {17, false},
                        {18, false},
                        {53, false},
                        {54, true},
                        {54 + 144 * 20, true},
                        {54 + 144 * 20 + 6, true},
                        {image.size() - 1, true},
                        {image.size(), true}};
  for (const Case& c : cases) {
    SCOPED_TRACE("image cut at " + std::to_string(c.cut));
    ResetTable();
    SetIcon(1, Filled(14));
    Bytes file = head;
    file.insert(file.end(), image.begin(), image.begin() + std::ptrdiff_t(c.cut));

    const MaybeError error = ParseTable(Exact(file), Table()).error;

    EXPECT_EQ(Text(error), msg::kReadError);
    EXPECT_EQ(FieldsAt(0).bytes, first.bytes);
    EXPECT_EQ(IconAt(0), Pattern(0));
    EXPECT_EQ(FieldsAt(1).bytes, second.bytes);
    Indices want = Filled(14);
    if (c.accepted) {
      const std::size_t have = c.cut - 54;
      for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
          const std::size_t at = std::size_t(47 - y) * 144 + 3 * std::size_t(x);
          ASSERT_TRUE(at + 3 <= have || at >= have) << "a cut inside a pixel";
          want[x + 32 * y] = at < have ? std::uint8_t((x + 2 * y) % 9) : 0;
        }
      }
    }
    EXPECT_EQ(IconAt(1), want);
  }
}

// Record 1's image is spoilt; record 0 comes before it and, where it matters, record 2 after.
TEST(TableFile, HostileImagesGiveTheirErrorOrABoundedRead) {
  enum Outcome {
    kFailsHere,  // the error at record 1: its fields read, its icon as before
    kEatsRest,   // record 1 taken with the rest of the file as pixels; record 2 is never reached
    kNextFound,  // record 1 taken; record 2 read; the read error comes at record 3
    kBounded,    // the reader wanders, but within the file and with a read error at the end
  };
  struct Case {
    const char* name;
    std::function<Bytes(Bytes)> spoil;  // takes record 1's good image
    bool then_record2;
    Outcome outcome;
    const char* error;
    Indices icon{};  // record 1's icon when taken
  };
  const Indices px = Pattern(1);
  auto patch32 = [](std::size_t at, std::uint32_t v) {
    return [=](Bytes b) {
      quenda_test::Patch32(b, at, v);
      return b;
    };
  };
  auto patch16 = [](std::size_t at, std::uint32_t v) {
    return [=](Bytes b) {
      quenda_test::Patch16(b, at, v);
      return b;
    };
  };
  auto first = [](std::size_t n) {
    return [=](Bytes b) {
      b.resize(n);
      return b;
    };
  };
  auto both = [](auto f, auto g) { return [=](Bytes b) { return g(f(std::move(b))); }; };
  const std::uint32_t kMin = 0x80000000u;  // INT32_MIN as stored
  // Only the bottom stored row lies within the first 512 bytes when rows are 2^30 bytes long.
  Indices one_row = Filled(0);
  for (int x = 0; x < 32; ++x) one_row[x + 32 * 31] = px[x + 32 * 31];

  const Case cases[] = {
      {"type BA", patch16(0, 'B' | 'A' << 8), true, kFailsHere, msg::kInvalidBitmap},
      {"type bm", patch16(0, 'b' | 'm' << 8), true, kFailsHere, msg::kInvalidBitmap},
      {"planes 0", patch16(26, 0), true, kFailsHere, msg::kInvalidBitmap},
      {"planes 2", patch16(26, 2), true, kFailsHere, msg::kInvalidBitmap},
      {"planes 65535", patch16(26, 0xFFFF), true, kFailsHere, msg::kInvalidBitmap},
      {"header size 0", patch32(14, 0), true, kFailsHere, msg::kInvalidBitmap},
      {"header size 13", patch32(14, 13), true, kFailsHere, msg::kInvalidBitmap},
      {"header size 39", patch32(14, 39), true, kFailsHere, msg::kInvalidBitmap},
      {"header size 1,000,000", patch32(14, 1000000), true, kFailsHere, msg::kReadError},
      {"header size 0xFFFFFFFF", patch32(14, 0xFFFFFFFF), true, kFailsHere, msg::kReadError},
      {"colours used 257, table short", patch32(46, 257), false, kFailsHere, msg::kReadError},
      {"colours used 0xFFFFFFFF", patch32(46, 0xFFFFFFFF), true, kFailsHere, msg::kReadError},
      {"colours used 0x40000000", patch32(46, 0x40000000), true, kFailsHere, msg::kReadError},
      {"colours used 300, table goes on", patch32(46, 300), true, kBounded, msg::kReadError},
      {"width 0", patch32(18, 0), true, kFailsHere, msg::kInvalidBitmap},
      {"width -32", patch32(18, std::uint32_t(-32)), true, kFailsHere, msg::kInvalidBitmap},
      {"width INT32_MIN", patch32(18, kMin), true, kFailsHere, msg::kInvalidBitmap},
      {"height 0", patch32(22, 0), true, kFailsHere, msg::kInvalidBitmap},
      {"bits 0", patch16(28, 0), true, kFailsHere, msg::kInvalidBitmap},
      {"bits 3", patch16(28, 3), true, kFailsHere, msg::kInvalidBitmap},
      {"bits 64", patch16(28, 64), true, kFailsHere, msg::kInvalidBitmap},
      {"run-length compression", patch32(30, 2), true, kFailsHere, msg::kInvalidBitmap},
      {"file header only", first(14), false, kFailsHere, msg::kReadError},
      {"info header cut short", first(14 + 20), false, kFailsHere, msg::kReadError},
      {"colour table cut short", first(14 + 40 + 30), false, kFailsHere, msg::kReadError},
      // Bit-field masks behind a header too short to hold them.
      {"masks cut short",
       both(first(14 + 44), both(patch32(14, 44), both(patch16(28, 32), patch32(30, 3)))), false,
       kFailsHere, msg::kReadError},
      {"height -32", patch32(22, std::uint32_t(-32)), true, kNextFound, nullptr, Flipped(px)},
      {"height INT32_MIN, pixel size 512", patch32(22, kMin), true, kNextFound, nullptr,
       Flipped(px)},
      {"height INT32_MIN, pixel size 0", both(patch32(22, kMin), patch32(34, 0)), true, kEatsRest,
       nullptr, Flipped(px)},
      {"pixel size 0xFFFFFFFF", patch32(34, 0xFFFFFFFF), true, kEatsRest, nullptr, px},
      {"width 0x7FFFFFFF, pixel size 512", patch32(18, 0x7FFFFFFF), true, kNextFound, nullptr,
       one_row},
      {"width 0x7FFFFFFF, pixel size 0", both(patch32(18, 0x7FFFFFFF), patch32(34, 0)), true,
       kEatsRest, nullptr, one_row},
  };

  const RawFields f0 = BusyFields(10), f1 = BusyFields(11), f2 = BusyFields(12);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetTable();
    SetIcon(1, Filled(14));
    SetIcon(2, Filled(13));
    Bytes file = Concat({Record(f0, Pattern(0)), Record(f1, c.spoil(quenda_test::IconImage(px)))});
    if (c.then_record2) file = Concat({file, Record(f2, Pattern(2))});

    const MaybeError error = ParseTable(Exact(file), Table()).error;

    EXPECT_EQ(Text(error), c.error ? c.error : msg::kReadError);
    EXPECT_EQ(FieldsAt(0).bytes, f0.bytes);
    EXPECT_EQ(IconAt(0), Pattern(0));
    if (c.outcome == kBounded) continue;
    EXPECT_EQ(FieldsAt(1).bytes, f1.bytes);
    EXPECT_EQ(IconAt(1), c.outcome == kFailsHere ? Filled(14) : c.icon);
    if (c.outcome == kNextFound) {
      EXPECT_EQ(FieldsAt(2).bytes, f2.bytes);
      EXPECT_EQ(IconAt(2), Pattern(2));
    } else {
      EXPECT_EQ(FieldsAt(2).bytes, RawFields{}.bytes);
      EXPECT_EQ(IconAt(2), Filled(13));
    }
    EXPECT_EQ(FieldsAt(3).bytes, RawFields{}.bytes);
  }
}

// Valid images of other forms are read by their own headers, so the next record is found.
TEST(TableFile, ForeignImagesLetTheNextRecordBeFound) {
  struct Case {
    const char* name;
    quenda_test::BmpForm form;
    std::uint8_t colour;  // the picture is one palette colour
  };
  std::vector<Case> cases;
  auto solid = [](std::uint32_t c) { return [c](int, int) { return c; }; };
  {
    quenda_test::BmpForm s;
    s.width = s.height = 48;
    s.pixel = solid(0xFF0000);
    cases.push_back({"24-bit 48x48", s, 9});
  }
  {
    quenda_test::BmpForm s;
    s.width = s.height = 16;
    s.bits = 8;
    s.palette.assign(256, 0x00FF00);
    s.pixel = solid(200);
    cases.push_back({"8-bit 16x16", s, 10});
  }
  {
    quenda_test::BmpForm s;
    s.bits = 1;
    s.palette = {0x000000, 0xFFFF00};
    s.pixel = solid(1);
    cases.push_back({"1-bit 32x32", s, 11});
  }
  {
    quenda_test::BmpForm s;
    s.height = -32;
    s.bits = 4;
    s.palette.assign(kIconPalette.begin(), kIconPalette.end());
    s.pixel = solid(12);
    cases.push_back({"4-bit top-down", s, 12});
  }
  {
    quenda_test::BmpForm s;
    s.width = 40;
    s.height = 20;
    s.bits = 32;
    s.compression = 3;
    s.header_size = 124;
    s.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
    s.pixel = solid(0xFF00FF);
    cases.push_back({"32-bit, 124-byte header", s, 13});
  }
  {
    quenda_test::BmpForm s;
    s.header_size = 12;
    s.pixel = solid(0x00FFFF);
    cases.push_back({"core header 24-bit", s, 14});
  }

  const RawFields f0 = BusyFields(20), f1 = BusyFields(21), f2 = BusyFields(22);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetTable();
    const Bytes file = Concat(
        {Record(f0, Pattern(0)), Record(f1, quenda_test::Bmp(c.form)), Record(f2, Pattern(2))});

    const MaybeError error = ParseTable(Exact(file), Table()).error;

    EXPECT_EQ(Text(error), msg::kReadError);  // the file ends after record 2
    EXPECT_EQ(FieldsAt(1).bytes, f1.bytes);
    EXPECT_EQ(FieldsAt(2).bytes, f2.bytes);
    EXPECT_EQ(IconAt(2), Pattern(2));
    const int w = std::min(c.form.width, 32), h = std::min(std::abs(c.form.height), 32);
    Indices want = Filled(kWhite);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) want[x + 32 * y] = c.colour;
    }
    EXPECT_EQ(IconAt(1), want);
  }
}

// A table file on real files in a folder of the test's own.
class TableStorageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           ("quenda_" + std::string(info->name()) + "_" +
            std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(dir_);
    file = std::make_unique<TableFile>(dir_, portable_, "DESK");
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  // A new start: a fresh table read through a fresh file value.
  MaybeError Restart(TableStorage* storage = nullptr) {
    table = SlotTable{};
    file = std::make_unique<TableFile>(dir_, storage ? *storage : portable_, "DESK");
    return file->Load(table);
  }
  MaybeError Load() { return file->Load(table); }
  MaybeError Save() { return file->Save(table); }

  fs::path File(const std::string& name = "Quenda.Tbl") const { return dir_ / name; }

  static void Write(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
  }
  static Bytes Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static std::string WithPath(const char* message, const fs::path& path) {
    std::string text = message;
    text.replace(text.find("%s"), 2, path.generic_string());
    return text;
  }
  std::string Field(int field, PageIndex page, SlotIndex slot) const {
    return GetSlotField(table, field, page, slot);
  }
  Indices Icon(int record) const { return IndicesOf(table.records[record].icon); }

  fs::path dir_;
  StdTableStorage portable_;
  SlotTable table;
  std::unique_ptr<TableFile> file;
};

TEST_F(TableStorageTest, LoadThenSaveKeepsTheFileByteForByte) {
  const Bytes file_bytes = VariedTable();
  Write(File(), file_bytes);

  const MaybeError loaded = Restart();
  ASSERT_FALSE(loaded) << Text(loaded);
  EXPECT_FALSE(file->Damaged());
  EXPECT_EQ(Field(Title, 4, 3), "title 103");
  const MaybeError saved = Save();
  ASSERT_FALSE(saved) << Text(saved);

  EXPECT_TRUE(SameBytes(Read(File()), file_bytes));
  EXPECT_FALSE(fs::exists(File("Quenda.Tbl.damaged")));
  EXPECT_FALSE(fs::exists(File("Quenda.Tbl.tmp")));
}

TEST_F(TableStorageTest, MissingFileNamesItsFullPathAndIsNotKeptAside) {
  SetSlotField(table, Title, 0, 0, "kept");
  const MaybeError error = Load();
  EXPECT_EQ(Text(error), WithPath(msg::kCannotOpen, dir_ / "Quenda.Tbl"));
  EXPECT_FALSE(file->Damaged());
  EXPECT_EQ(Field(Title, 0, 0), "kept");

  ASSERT_FALSE(Save());
  const Bytes saved = Read(File());
  Bytes want = Record(RawFields{}.Put(Title, "kept"), Filled(0));
  for (int n = 1; n < kSlotCount; ++n) want = Concat({want, EmptyRecord()});
  EXPECT_TRUE(SameBytes(Bytes(saved.begin(), saved.begin() + kFileSize), want));
  EXPECT_FALSE(fs::exists(File("Quenda.Tbl.damaged")));
}

TEST_F(TableStorageTest, DamagedFileIsKeptAsideBeforeTheFirstSave) {
  const Bytes full = VariedTable();
  Bytes damaged(full.begin(), full.begin() + 20 * kRecordSize);  // records at no fixed size
  damaged[5 * kRecordSize + kFieldsSize] = 'X';  // record 5's image no longer starts "BM"
  Write(File(), damaged);

  EXPECT_EQ(Text(Restart()), msg::kInvalidBitmap);
  EXPECT_TRUE(file->Damaged());
  EXPECT_EQ(Field(Title, 0, 4), "title 4");
  EXPECT_EQ(Field(Title, 0, 5), "title 5");  // the failing record's fields are read
  EXPECT_EQ(Icon(5), Filled(0));
  EXPECT_EQ(Field(Title, 0, 6), "");

  ASSERT_FALSE(Save());
  EXPECT_TRUE(SameBytes(Read(File("Quenda.Tbl.damaged")), damaged));
  const Bytes saved = Read(File());
  ASSERT_EQ(saved.size(), kFileSize);
  EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 5 * kRecordSize, damaged.begin()));

  // Another damaged load does not overwrite the first copy.
  Write(File(), damaged);
  EXPECT_EQ(Text(Restart()), msg::kInvalidBitmap);
  ASSERT_FALSE(Save());
  EXPECT_TRUE(SameBytes(Read(File("Quenda.Tbl.damaged2")), damaged));
  EXPECT_TRUE(SameBytes(Read(File("Quenda.Tbl.damaged")), damaged));

  // Once saved, the file is sound again: no further copies.
  ASSERT_FALSE(Save());
  EXPECT_FALSE(fs::exists(File("Quenda.Tbl.damaged3")));
}

// Every record at the layout's size: one damaged icon costs only its own slot.
TEST_F(TableStorageTest, ADamagedRecordCostsOnlyItself) {
  Bytes damaged = VariedTable();
  damaged[7 * kRecordSize + kFieldsSize] = 'X';
  damaged[7 * kRecordSize + kFieldsSize + 1] = 'X';
  damaged[300 * kRecordSize + kFieldsSize + 14] = 7;  // a header size no image has
  Write(File(), damaged);

  const std::string error = Text(Restart());
  EXPECT_NE(error.find(SlotName(7)), std::string::npos) << error;
  EXPECT_NE(error.find(SlotName(300)), std::string::npos) << error;
  EXPECT_EQ(Field(Title, 0, 7), "title 7");
  EXPECT_EQ(Icon(7), Filled(0));
  EXPECT_EQ(Field(Title, 0, 8), "title 8");
  EXPECT_EQ(Icon(8), Pattern(8));
  EXPECT_EQ(Field(Title, 13, 24), "title 349");
  EXPECT_TRUE(file->Damaged());
  ASSERT_FALSE(Save());
  EXPECT_TRUE(SameBytes(Read(File("Quenda.Tbl.damaged")), damaged));
  const Bytes saved = Read(File());
  EXPECT_TRUE(std::equal(saved.begin() + 8 * kRecordSize, saved.begin() + 300 * kRecordSize,
                         damaged.begin() + 8 * kRecordSize));
}

TEST_F(TableStorageTest, ShortFileLoadsWhatItHasAndTheNextSaveIsComplete) {
  const Bytes full = VariedTable();
  const std::size_t cut = 10 * kRecordSize + 400;  // ten records and part of the eleventh's fields
  const Bytes short_file(full.begin(), full.begin() + std::ptrdiff_t(cut));
  Write(File(), short_file);

  EXPECT_EQ(Text(Restart()), msg::kReadError);
  EXPECT_EQ(Field(Title, 0, 9), "title 9");
  EXPECT_EQ(Icon(9), Pattern(9));
  EXPECT_EQ(Field(Title, 0, 10), "title 10");
  EXPECT_EQ(Field(Memo, 0, 10), "");  // beyond the cut
  EXPECT_EQ(Icon(10), Filled(0));

  ASSERT_FALSE(Save());
  const Bytes saved = Read(File());
  ASSERT_EQ(saved.size(), kFileSize);
  RawFields part;
  std::memcpy(part.bytes.data(), &full[10 * kRecordSize], 400);
  Bytes want(full.begin(), full.begin() + 10 * kRecordSize);
  want = Concat({want, Record(part, Filled(0))});
  for (int n = 11; n < kSlotCount; ++n) want = Concat({want, EmptyRecord()});
  EXPECT_TRUE(SameBytes(saved, want));
  EXPECT_TRUE(SameBytes(Read(File("Quenda.Tbl.damaged")), short_file));
}

TEST_F(TableStorageTest, EmptyFileIsAReadErrorThatChangesNoSlot) {
  Write(File(), {});
  SetSlotField(table, Title, 0, 0, "kept");
  EXPECT_EQ(Text(Load()), msg::kReadError);
  EXPECT_EQ(Field(Title, 0, 0), "kept");
  EXPECT_EQ(Icon(0), Filled(0));
}

TEST_F(TableStorageTest, NothingBehindTheLastRecordIsReadButItIsKeptAside) {
  Bytes foreign = VariedTable();
  foreign.insert(foreign.end(), 5000, 0xEE);
  Write(File(), foreign);
  ASSERT_FALSE(Restart());
  EXPECT_TRUE(file->Damaged());
  ASSERT_FALSE(Save());
  EXPECT_TRUE(SameBytes(Read(File()), Bytes(foreign.begin(), foreign.begin() + kFileSize)));
  EXPECT_TRUE(SameBytes(Read(File("Quenda.Tbl.damaged")), foreign));
}

// The system's storage, except that the table file cannot be read (another program holds it).
class HeldFileStorage : public StdTableStorage {
 public:
  ReadStatus ReadAll(const PathText&, std::size_t, FileBytes&) override {
    return ReadStatus::Failed;
  }
};

TEST_F(TableStorageTest, AFileThatCouldNotBeReadIsReplacedOnlyAfterAChange) {
  HeldFileStorage held;
  const Bytes old = VariedTable();
  Write(File(), old);
  EXPECT_EQ(Text(Restart(&held)), WithPath(msg::kCannotOpen, File()));
  ASSERT_FALSE(Save());  // unchanged: nothing written, nothing copied
  EXPECT_TRUE(SameBytes(Read(File()), old));
  EXPECT_FALSE(fs::exists(File("Quenda.Tbl.damaged")));
  EXPECT_FALSE(fs::exists(File("Quenda.Tbl.tmp")));
  SetSlotField(table, Title, 0, 0, "new");  // changed: the old file goes aside first
  ASSERT_FALSE(Save());
  EXPECT_TRUE(SameBytes(Read(File("Quenda.Tbl.damaged")), old));
  EXPECT_EQ(Read(File()).size() >= kFileSize, true);

  // The portable storage does not read a folder in the file's place as an empty table.
  fs::remove(File());
  fs::create_directory(File());
  EXPECT_EQ(Text(Restart()), WithPath(msg::kCannotOpen, File()));
  ASSERT_FALSE(Save());
  EXPECT_TRUE(fs::is_directory(File()));
  SetSlotField(table, Title, 0, 0, "new");  // the message names the folder, not its copy
  EXPECT_EQ(Text(Save()), WithPath(msg::kCannotOpen, File()));
}

// Saves on days of December, each by a Quenda started anew: the backups kept, each the table file
// whole as it was before its day's first save, and the save done even when no copy is made.
TEST_F(TableStorageTest, TheFirstSaveOfADayKeepsTheFileAsItWasInTheBackups) {
  struct FailingCopy : StdTableStorage {
    MaybeError KeepCopy(const PathText&, const PathText& to) override {
      return Error::WithPath(msg::kCannotCreate, to);
    }
  } failing;
  struct Row {
    const char* name;
    std::vector<int> days, kept;  // kept: newest first
    bool table_there = true;
    TableStorage* storage = nullptr;
  } rows[] = {
      {"first save of a day", {8}, {8}},
      {"second save the same day", {8, 8, 9}, {9, 8}},
      {"the 15th day prunes the oldest", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
       {15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2}},
      {"a failing copy still saves", {8}, {}, true, &failing},
      {"no table file yet", {8}, {}, false},
  };
  testing::FixedClock clock;
  SetClock(&clock);
  const fs::path backups = dir_ / "backups" / BackupFolderName(dir_.native());
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fs::remove_all(dir_);
    fs::create_directories(backups);
    Write(backups / "Quenda.Tbl.2026120x", {1});  // no backup's name: left alone
    (void)Restart();
    SetSlotWholeText(table, Memo, 0, 0, "block");  // Quenda's block behind the records
    if (row.table_there) {
      ASSERT_FALSE(Save());
    }
    std::map<int, Bytes> before;  // by day, the file before that day's first save
    for (const int day : row.days) {
      clock.now.day = day;
      before.emplace(day, Read(File()));
      (void)Restart(row.storage);
      file->SetBackupFolder(backups.native());
      SetSlotField(table, Title, 0, 0, std::to_string(day));
      ASSERT_FALSE(Save()) << day;
    }
    std::vector<int> kept;
    for (const TableBackup& b : ListBackups(portable_, backups.native())) {
      kept.push_back(b.day);
      EXPECT_TRUE(SameBytes(Read(b.path), before[b.day])) << b.day;
    }
    EXPECT_EQ(kept, row.kept);
    EXPECT_TRUE(fs::exists(backups / "Quenda.Tbl.2026120x"));
    ASSERT_FALSE(Restart());
    EXPECT_EQ(Field(Title, 0, 0), std::to_string(row.days.back()));
  }
  SetClock(nullptr);
  // One name for a folder however its path ends, another for another folder.
  EXPECT_EQ(BackupFolderName(PathWithSuffix(dir_.native(), "/")), BackupFolderName(dir_.native()));
  EXPECT_NE(BackupFolderName((dir_ / "a").native()), BackupFolderName((dir_ / "b").native()));
  EXPECT_EQ(fs::path(BackupFolderName((dir_ / "Tables").native())).string().rfind("Tables-", 0), 0u);
}

TEST_F(TableStorageTest, FailedSaveNamesTheFileAndLeavesTheOldOneAlone) {
  {
    TableFile absent(dir_ / "absent", portable_);
    EXPECT_EQ(Text(absent.Save(table)), WithPath(msg::kCannotCreate, dir_ / "absent" / "Quenda.Tbl"));
    EXPECT_FALSE(fs::exists(dir_ / "absent"));
  }

  // The temporary file cannot be made: the table file keeps its bytes, whole texts and all.
  const Bytes old = VariedTable();
  Write(File(), old);
  ASSERT_FALSE(Restart());
  fs::create_directories(File("Quenda.Tbl.tmp") / "busy");
  SetSlotField(table, Target, 0, 0, "C:\\?");
  SetSlotWholeText(table, Target, 0, 0, "C:\\\xc3\xa9");
  EXPECT_EQ(Text(Save()), WithPath(msg::kCannotCreate, dir_ / "Quenda.Tbl"));
  EXPECT_TRUE(SameBytes(Read(File()), old));

  // A damaged file's copy is taken back when the save fails, and made again by the next one.
  Bytes damaged = old;
  damaged[kFieldsSize] = 'X';
  damaged.resize(3 * kRecordSize);
  Write(File(), damaged);
  EXPECT_EQ(Text(Restart()), msg::kInvalidBitmap);
  EXPECT_EQ(Text(Save()), WithPath(msg::kCannotCreate, dir_ / "Quenda.Tbl"));
  EXPECT_TRUE(SameBytes(Read(File()), damaged));
  EXPECT_FALSE(fs::exists(File("Quenda.Tbl.damaged")));
  fs::remove_all(File("Quenda.Tbl.tmp"));
  ASSERT_FALSE(Save());
  EXPECT_TRUE(SameBytes(Read(File("Quenda.Tbl.damaged")), damaged));
}

// Storage that notes the files it replaces, and can stop working after a number of writes, as
// a process killed or a disk filled between two writes would.
class RecordingStorage : public StdTableStorage {
 public:
  MaybeError WriteReplace(const PathText& path, std::span<const std::uint8_t> bytes) override {
    written.push_back(fs::path(path).filename().string());
    if (written.size() > writes_allowed) return Error::Plain(msg::kWriteError);
    return StdTableStorage::WriteReplace(path, bytes);
  }
  std::vector<std::string> written;
  std::size_t writes_allowed = 1000;
};

// Whole texts of every field and the slots' stamps travel inside the table file, written in one
// replace: a save that fails leaves the old file whole, and the texts belong to the records
// they were written with.
TEST_F(TableStorageTest, WholeTextsTravelInTheTableFileAndBelongToItsRecords) {
  RecordingStorage storage;
  ASSERT_TRUE(Restart(&storage));  // no file yet
  ASSERT_FALSE(Save());  // nothing of Quenda's own: the records alone
  EXPECT_EQ(Read(File()).size(), kFileSize);

  const std::string cut(128, 'a');
  const std::string whole = std::string(200, 'a') + "\\\xed\x95\x9c\t\xf0\x9f\x98\x80";
  SetSlotField(table, Target, 9, 4, cut);
  SetSlotWholeText(table, Target, 9, 4, whole);
  SetSlotField(table, Title, 9, 4, "?.bat");
  SetSlotWholeText(table, Title, 9, 4, "\xed\x95\x9c.bat");
  SetSlotField(table, Memo, 9, 4, "??");
  SetSlotWholeText(table, Memo, 9, 4, "\xed\x95\x9c\xea\xb8\x80");
  storage.written.clear();
  ASSERT_FALSE(Save());
  EXPECT_EQ(storage.written, std::vector<std::string>{"Quenda.Tbl"});
  const Bytes saved = Read(File());
  EXPECT_GT(saved.size(), kFileSize);

  // Killed at the write: the file on disk is the old one, whole.
  storage.writes_allowed = 0;
  SetSlotWholeText(table, Memo, 9, 4, "\xea\xb8\x80");
  EXPECT_TRUE(Save());
  EXPECT_TRUE(SameBytes(Read(File()), saved));

  // A restart, or the file alone copied to another folder: every text comes back.
  const fs::path elsewhere = dir_ / "copy";
  fs::create_directories(elsewhere);
  fs::copy_file(File(), elsewhere / "Quenda.Tbl");
  for (const fs::path& folder : {dir_, elsewhere}) {
    table = SlotTable{};
    TableFile at(folder, portable_);
    ASSERT_FALSE(at.Load(table));
    EXPECT_FALSE(at.Damaged());
    EXPECT_EQ(SlotWholeText(table, Target, 9, 4), whole);
    EXPECT_EQ(SlotWholeText(table, Title, 9, 4), "\xed\x95\x9c.bat");
    EXPECT_EQ(SlotWholeText(table, Memo, 9, 4), "\xed\x95\x9c\xea\xb8\x80");
    EXPECT_EQ(table.At(9, 4).stamp.machine, "DESK");
  }

  // A program that rewrites the records (or one record) makes the block stale: the cuts rule,
  // and nothing is kept aside for it.
  Bytes changed = saved;
  changed[(9 * 25 + 4) * kRecordSize + 68 + 127] = 'b';
  Write(File(), changed);
  ASSERT_FALSE(Restart());
  EXPECT_FALSE(file->Damaged());
  EXPECT_EQ(SlotWholeText(table, Target, 9, 4), std::nullopt);
  EXPECT_EQ(Field(Target, 9, 4), std::string(127, 'a') + "b");
}

// Restoring last week's table brings last week's targets, even where this week's share their
// first 128 bytes.
TEST_F(TableStorageTest, ARestoredTableOpensItsOwnTargets) {
  const std::string cut(128, 'x');
  SetSlotField(table, Target, 0, 3, cut);
  SetSlotWholeText(table, Target, 0, 3, cut + "/last-week");
  ASSERT_FALSE(Save());
  const Bytes last_week = Read(File());
  SetSlotField(table, Target, 0, 3, cut);
  SetSlotWholeText(table, Target, 0, 3, cut + "/this-week");
  ASSERT_FALSE(Save());
  Write(File(), last_week);
  ASSERT_FALSE(Restart());
  EXPECT_EQ(SlotWholeText(table, Target, 0, 3), cut + "/last-week");
}

// An earlier version kept the whole texts in a file beside the table: read once, carried into
// the table file, and removed only once a table carrying them is written.
TEST_F(TableStorageTest, AnEarlierWholeTextFileIsCarriedIntoTheTable) {
  RawFields f;
  f.Put(Target, "C:\\?.txt");
  Bytes old = Record(f, Filled(0));
  for (int n = 1; n < kSlotCount; ++n) old = Concat({old, EmptyRecord()});
  Write(File(), old);
  const std::string texts =
      "Quenda.Tbl whole texts 1\n0\tTarget\t433a5c3f2e747874\tC:\\\\\xc3\xa9.txt\n";
  Write(File("Quenda.Tbl.utf8"), Bytes(texts.begin(), texts.end()));

  RecordingStorage failing;
  failing.writes_allowed = 0;
  ASSERT_FALSE(Restart(&failing));
  EXPECT_EQ(SlotWholeText(table, Target, 0, 0), "C:\\\xc3\xa9.txt");
  EXPECT_TRUE(Save());
  EXPECT_TRUE(fs::exists(File("Quenda.Tbl.utf8")));  // the write failed: the old file stays

  ASSERT_FALSE(Restart());
  ASSERT_FALSE(Save());
  EXPECT_FALSE(fs::exists(File("Quenda.Tbl.utf8")));
  ASSERT_FALSE(Restart());
  EXPECT_EQ(SlotWholeText(table, Target, 0, 0), "C:\\\xc3\xa9.txt");
}

// Another writer (a second PC through a synced folder) changes the file while this one runs.
TEST_F(TableStorageTest, AnotherWritersChangesAreTakenOrMerged) {
  ASSERT_TRUE(Restart());
  WriteNewEntry(table, 0, 1, "https://a.example/", "a", "a", "1");
  ASSERT_FALSE(Save());
  // Nothing changed: one look at the file's version and nothing more.
  EXPECT_FALSE(file->Sync(table).changed);

  // The other side edits slot 2 and opens slot 1 twice; nothing unwritten here: taken as it is.
  SlotTable other = table;
  other.machine = "LAPTOP";
  TableFile other_file(dir_, portable_, "LAPTOP");
  ASSERT_FALSE(other_file.Load(other));
  WriteNewEntry(other, 0, 2, "https://b.example/", "b", "b", "1");
  SetSlotField(other, AccessCount, 0, 1, "2");
  ASSERT_FALSE(other_file.Save(other));
  TableFile::SyncResult sync = file->Sync(table);
  EXPECT_TRUE(sync.changed);
  EXPECT_EQ(Field(Title, 0, 2), "b");
  EXPECT_FALSE(file->Unwritten(table));

  // Both sides open slot 1 and edit slot 3; this side also edits slot 4: merged at the save.
  UpdateAccessStatistics(table, 0, 1);
  SetSlotField(table, Memo, 0, 3, "mine");
  SetSlotField(table, Memo, 0, 4, "only mine");
  ASSERT_FALSE(other_file.Load(other));
  UpdateAccessStatistics(other, 0, 1);
  SetSlotField(other, Memo, 0, 3, "theirs");
  ASSERT_FALSE(other_file.Save(other));
  ASSERT_FALSE(file->Save(table, &sync));
  EXPECT_FALSE(sync.conflict_copy.empty());
  ASSERT_FALSE(Restart());
  EXPECT_EQ(Field(AccessCount, 0, 1), "4");
  EXPECT_EQ(Field(Memo, 0, 3), "mine");
  EXPECT_EQ(Field(Memo, 0, 4), "only mine");
  EXPECT_EQ(Field(Title, 0, 2), "b");
  const fs::path copy = sync.conflict_copy;
  EXPECT_EQ(copy.filename().string().rfind("Quenda.Tbl.conflict-LAPTOP-", 0), 0u) << copy;
  SlotTable theirs;
  TableFile at(dir_, portable_);
  ASSERT_FALSE(ParseTable(Read(copy), theirs).error);
  EXPECT_EQ(GetSlotField(theirs, Memo, 0, 3), "theirs");
}

// The merge, slot by slot: what each side made of the version both started from.
TEST(MergeTables, RulesPerSlot) {
  struct Side {
    const char* target;
    const char* memo;
    const char* count;
    const char* last;
    std::int64_t stamped;
  };
  struct Case {
    const char* what;
    Side base, mine, theirs, want;
    bool conflict;
  };
  const Case cases[] = {
      {"openings on both sides add up; the later access wins",
       {"t", "m", "1", "2026/12/1 9:00:00", 1}, {"t", "m", "3", "2026/12/9 8:00:00", 1},
       {"t", "m", "2", "2026/12/10 7:00:00", 1}, {"t", "m", "4", "2026/12/10 7:00:00", 1}, false},
      {"changed there only: taken, with the openings here",
       {"t", "m", "1", "2026/12/1", 1}, {"t", "m", "2", "2026/12/2", 1},
       {"t", "new", "1", "2026/12/1", 5}, {"t", "new", "2", "2026/12/2", 5}, false},
      {"changed here only: kept, with the openings there",
       {"t", "m", "1", "2026/12/1", 1}, {"t", "new", "1", "2026/12/1", 5},
       {"t", "m", "9", "2026/12/3", 1}, {"t", "new", "9", "2026/12/3", 5}, false},
      {"a new target there: its own count",
       {"t", "m", "5", "2026/12/1", 1}, {"t", "m", "7", "2026/12/2", 1},
       {"u", "", "0", "2026/12/3", 5}, {"u", "", "0", "2026/12/3", 5}, false},
      {"the same edit on both sides is no conflict",
       {"t", "m", "1", "", 1}, {"t", "same", "1", "", 5}, {"t", "same", "1", "", 6},
       {"t", "same", "1", "", 5}, false},
      {"edited on both sides: this side's entry is kept",
       {"t", "m", "1", "", 1}, {"t", "mine", "1", "", 5}, {"t", "theirs", "1", "", 6},
       {"t", "mine", "1", "", 5}, true},
      {"an older copy written back over an edit seen here",
       {"t", "edited", "1", "", 5}, {"t", "edited", "1", "", 5}, {"t", "old", "1", "", 2},
       {"t", "edited", "1", "", 5}, true},
      {"a count that is no number counts as none",
       {"t", "m", "x", "", 1}, {"t", "m", "x", "", 1}, {"t", "m", "2", "", 1},
       {"t", "m", "2", "", 1}, false},
  };
  const auto make = [](const Side& side) {
    SlotRecord r;
    SetFieldText(FieldBytes(r.fields, Target), side.target);
    SetFieldText(FieldBytes(r.fields, Memo), side.memo);
    SetFieldText(FieldBytes(r.fields, AccessCount), side.count);
    SetFieldText(FieldBytes(r.fields, LastAccess), side.last);
    r.stamp = {"PC", side.stamped};
    return r;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SlotTable base, mine, theirs;
    base.records[42] = make(c.base);
    mine.records[42] = make(c.mine);
    theirs.records[42] = make(c.theirs);
    const MergeResult result = MergeTables(base, mine, theirs);
    const SlotRecord want = make(c.want);
    for (int field : {Target, Memo, AccessCount, LastAccess}) {
      EXPECT_EQ(GetSlotField(mine, field, 1, 17), FieldText(FieldBytes(want.fields, field))) << field;
    }
    EXPECT_EQ(mine.records[42].stamp, want.stamp);
    EXPECT_EQ(result.conflicts, c.conflict ? std::vector<int>{42} : std::vector<int>{});
  }
}

}  // namespace
}  // namespace quenda
