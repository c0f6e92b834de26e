#include <gtest/gtest.h>

#include "TFichierIni.h"
#include "TestSupport.h"

#include <climits>
#include <cstring>
#include <string>

namespace {

// Reads text as a file's content through Read (not only Parse), so the
// tests go through the same path as the program.
bool ReadText(TFichierIni& ini, const TempDir& dir, const std::string& text, const char* name = "in.ini")
{
  WriteWholeFile(dir.File(name), text);
  return ini.Read(dir.File(name).c_str());
}

std::string Value(const TFichierIni& ini, const char* section, const char* key)
{
  std::string v = "<missing>";
  ini.GetString(section, key, v);
  return v;
}

} // namespace

TEST(TFichierIni, SectionsDifferingInCaseMerge)
{
  TempDir dir;
  TFichierIni ini;
  ASSERT_TRUE(ReadText(ini, dir, "[Preferences]\na=1\n[Other]\nx=0\n[PREFERENCES]\nb=2\n"));
  ASSERT_EQ(ini.SectionCount(), 2);
  const TSectionIni* prefs = ini.FindSection("preferences");
  ASSERT_NE(prefs, nullptr);
  EXPECT_STREQ(prefs->Name().Text(), "Preferences") << "the first spelling is kept";
  EXPECT_EQ(prefs->Count(), 2);
  EXPECT_EQ(Value(ini, "preferences", "B"), "2");
  EXPECT_EQ(ini.Format(), "\n[Preferences]\na = 1\nb = 2\n\n[Other]\nx = 0\n");
}

TEST(TFichierIni, RepeatedKeyKeepsFirstSpellingAndLastValue)
{
  TempDir dir;
  TFichierIni ini;
  ASSERT_TRUE(ReadText(ini, dir, "[S]\nKeyName = first\n  keyname=second  \n"));
  const TSectionIni* s = ini.FindSection("S");
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->Count(), 1);
  EXPECT_STREQ(s->ItemAt(0)->Key().Text(), "KeyName");
  EXPECT_STREQ(s->ItemAt(0)->Value().Text(), "second");
  EXPECT_EQ(Value(ini, "s", "KEYNAME"), "second");
}

TEST(TFichierIni, LineWithoutEqualsIsAKeyWithEmptyValue)
{
  TempDir dir;
  TFichierIni ini;
  ASSERT_TRUE(ReadText(ini, dir, "[S]\n  lonely word  \nk = a = b\n"));
  EXPECT_EQ(Value(ini, "S", "lonely word"), "");
  EXPECT_EQ(Value(ini, "S", "k"), "a = b") << "split at the first =";
  EXPECT_EQ(ini.Format(), "\n[S]\nlonely word = \nk = a = b\n");
}

TEST(TFichierIni, CommentsStayInPlaceAndHeaderTextBecomesComment)
{
  TempDir dir;
  TFichierIni ini;
  ASSERT_TRUE(
      ReadText(ini, dir, "; leading comment\nstray text\n\n[A]\nx=1\n; about y\ny=2\n;second\n[B]\n;only\n"));
  ASSERT_EQ(ini.HeaderCount(), 2);
  EXPECT_STREQ(ini.HeaderAt(1)->Text(), "stray text");
  const TSectionIni* a = ini.FindSection("A");
  ASSERT_EQ(a->Count(), 4);
  EXPECT_TRUE(a->ItemAt(1)->IsComment());
  EXPECT_STREQ(a->ItemAt(1)->Key().Text(), "; about y");
  EXPECT_EQ(ini.Format(), "; leading comment\n;stray text\n"
                          "\n[A]\nx = 1\n; about y\ny = 2\n;second\n"
                          "\n[B]\n;only\n");
}

TEST(TFichierIni, GetIntKeepsDefaultUnlessThereIsAValue)
{
  TempDir dir;
  TFichierIni ini;
  ASSERT_TRUE(ReadText(ini, dir, "[S]\nempty=\nn = -42\nlead = 12abc\nword = abc\nhuge = 99999999999\n"));
  int32_t v = 7;
  EXPECT_FALSE(ini.GetInt("S", "empty", v));
  EXPECT_EQ(v, 7);
  EXPECT_FALSE(ini.GetInt("S", "missing", v));
  EXPECT_FALSE(ini.GetInt("Nowhere", "n", v));
  EXPECT_FALSE(ini.GetInt(nullptr, "n", v));
  EXPECT_EQ(v, 7);
  EXPECT_TRUE(ini.GetInt("s", "N", v));
  EXPECT_EQ(v, -42);
  EXPECT_TRUE(ini.GetInt("S", "lead", v));
  EXPECT_EQ(v, 12) << "conversion stops at the first other character";
  EXPECT_TRUE(ini.GetInt("S", "word", v));
  EXPECT_EQ(v, 0) << "a value without digits reads as 0";
  EXPECT_TRUE(ini.GetInt("S", "huge", v));
  EXPECT_EQ(v, INT32_MAX) << "saturates instead of overflowing";
}

TEST(TFichierIni, GetStringCutsToTheBuffer)
{
  TFichierIni ini;
  ASSERT_TRUE(ini.SetString("S", "k", "abcdef"));
  ASSERT_TRUE(ini.SetString("S", "accent", "\xc3\xa9t\xc3\xa9")); // "été"
  char buf[8] = "xxxxxxx";
  EXPECT_TRUE(ini.GetString("S", "k", buf, 1));
  EXPECT_STREQ(buf, "") << "size 1 yields an empty string";
  EXPECT_TRUE(ini.GetString("S", "k", buf, 4));
  EXPECT_STREQ(buf, "abc");
  EXPECT_TRUE(ini.GetString("S", "accent", buf, 3));
  EXPECT_STREQ(buf, "\xc3\xa9") << "never cut inside a UTF-8 character";

  std::memcpy(buf, "keepme", 7);
  EXPECT_FALSE(ini.GetString("S", "k", buf, 0));
  EXPECT_FALSE(ini.GetString("S", "missing", buf, 8));
  EXPECT_FALSE(ini.GetString("S", "k", static_cast<char*>(nullptr), 8));
  EXPECT_FALSE(ini.GetString("S", nullptr, buf, 8));
  EXPECT_STREQ(buf, "keepme") << "failures leave the buffer untouched";
}

TEST(TFichierIni, SetStringAndSetInt)
{
  TFichierIni ini;
  EXPECT_FALSE(ini.SetString(nullptr, "k", "v"));
  EXPECT_FALSE(ini.SetString("S", nullptr, "v"));
  EXPECT_EQ(ini.SectionCount(), 0);
  EXPECT_TRUE(ini.SetString(" Main ", " Key ", "  spaced value \t"));
  EXPECT_TRUE(ini.SetInt("main", "KEY", -17)) << "finds the item, whatever the case";
  EXPECT_TRUE(ini.SetString("main", "none", nullptr));
  EXPECT_TRUE(ini.SetInt("Other", "n", INT32_MIN));
  EXPECT_EQ(ini.Format(), "\n[Main]\nKey = -17\nnone = \n\n[Other]\nn = -2147483648\n");
  int32_t v = 0;
  EXPECT_TRUE(ini.GetInt("other", "n", v));
  EXPECT_EQ(v, INT32_MIN);
}

TEST(TFichierIni, GetAtEnumeratesItems)
{
  TFichierIni ini;
  ini.SetString("FichiersRecents", "0", "/home/u/a.vk1");
  ini.SetString("FichiersRecents", "1", "");
  const TSectionIni* s = ini.FindSection("FichiersRecents");
  ASSERT_NE(s, nullptr);
  char key[4], value[8];
  EXPECT_TRUE(s->GetAt(0, key, value, sizeof key, sizeof value));
  EXPECT_STREQ(key, "0");
  EXPECT_STREQ(value, "/home/u");
  EXPECT_TRUE(s->GetAt(1, key, nullptr, sizeof key, 0));
  EXPECT_STREQ(key, "1");
  EXPECT_FALSE(s->GetAt(2, key, value, sizeof key, sizeof value));
  EXPECT_FALSE(s->GetAt(-1, key, value, sizeof key, sizeof value));
  EXPECT_FALSE(s->GetAt(0, key, value, 0, sizeof value));
}

TEST(TFichierIni, ReadingThenWritingNormalises)
{
  TempDir dir;
  const std::string original = "\r\n  [ Preferences ]  trailing\r\n"
                               "PrefObjetsSerie=1\r\n"
                               "  Langage   =   fr   \r\n"
                               "\r\n\r\n"
                               "[MainWindow]\r\nx=10\r\n"
                               "[preferences]\r\nprefobjetsserie=0\r\n";
  TFichierIni ini;
  ASSERT_TRUE(ReadText(ini, dir, original));
  ASSERT_TRUE(ini.Write(dir.File("out.ini").c_str()));
  const std::string expected = "\n[Preferences]\nPrefObjetsSerie = 0\nLangage = fr\n\n[MainWindow]\nx = 10\n";
  EXPECT_EQ(ReadWholeFile(dir.File("out.ini")), expected);
  EXPECT_EQ(ini.Path(), dir.File("out.ini"));

  TFichierIni again;
  ASSERT_TRUE(again.Read(dir.File("out.ini").c_str()));
  ASSERT_TRUE(again.Write());
  EXPECT_EQ(ReadWholeFile(dir.File("out.ini")), expected) << "a written file reads back unchanged";
}

TEST(TFichierIni, LongLinesWork)
{
  TempDir dir;
  const std::string key(3000, 'k');
  std::string value;
  for (int i = 0; i < 2000; ++i)
    value += "v\xc3\xa9"; // "vé"
  TFichierIni ini;
  ASSERT_TRUE(ReadText(ini, dir, "; " + std::string(500, 'c') + "\n[S]\n" + key + " = " + value + "\n"));
  EXPECT_EQ(Value(ini, "S", key.c_str()), value);
  EXPECT_EQ(ini.HeaderAt(0)->Length(), 502u);

  ASSERT_TRUE(ini.Write(dir.File("out.ini").c_str()));
  TFichierIni back;
  ASSERT_TRUE(back.Read(dir.File("out.ini").c_str()));
  EXPECT_EQ(Value(back, "S", key.c_str()), value);
  EXPECT_EQ(back.HeaderAt(0)->Length(), 502u);
}

TEST(TFichierIni, Windows1252FileIsReadAsSuch)
{
  TempDir dir;
  TFichierIni ini;
  ASSERT_TRUE(ReadText(ini, dir,
                       "[Pr\xe9"
                       "f\xe9rences]\nNom=Andr\xe9\n"));
  EXPECT_STREQ(ini.SectionAt(0)->Name().Text(), "Pr\xc3\xa9"
                                                "f\xc3\xa9rences");
  EXPECT_EQ(Value(ini, "PREFERENCES", "nom"), "Andr\xc3\xa9") << "names also match without accents";
  EXPECT_EQ(ini.Format(), "\n[Pr\xc3\xa9"
                          "f\xc3\xa9rences]\nNom = Andr\xc3\xa9\n")
      << "written as UTF-8";
}

TEST(TFichierIni, ByteOrderMarkIsSkipped)
{
  TempDir dir;
  TFichierIni ini;
  ASSERT_TRUE(ReadText(ini, dir, "\xEF\xBB\xBF[S]\nk=v\n"));
  EXPECT_EQ(ini.HeaderCount(), 0);
  EXPECT_EQ(Value(ini, "S", "k"), "v");
}

TEST(TFichierIni, ReadAddsToTheContent)
{
  TempDir dir;
  TFichierIni ini;
  ASSERT_TRUE(ReadText(ini, dir, "[S]\na=1\nb=2\n", "one.ini"));
  ASSERT_TRUE(ReadText(ini, dir, "[s]\nb=3\nc=4\n", "two.ini"));
  EXPECT_EQ(ini.Format(), "\n[S]\na = 1\nb = 3\nc = 4\n");
}

TEST(TFichierIni, MissingFileLeavesContentButTakesPath)
{
  TempDir dir;
  TFichierIni ini;
  ini.SetInt("S", "k", 5);
  EXPECT_FALSE(ini.Read(nullptr));
  EXPECT_FALSE(ini.Read(dir.File("absent.ini").c_str()));
  EXPECT_FALSE(ini.Read(dir.Path().c_str())) << "a folder is no file";
  EXPECT_EQ(ini.Format(), "\n[S]\nk = 5\n");
  // The preferences flow: read (missing), then write back to the same path.
  TFichierIni prefs;
  EXPECT_FALSE(prefs.Read(dir.File("prefs.ini").c_str()));
  prefs.SetInt("Preferences", "PrefObjetsSerie", 1);
  ASSERT_TRUE(prefs.Write(nullptr));
  EXPECT_EQ(ReadWholeFile(dir.File("prefs.ini")), "\n[Preferences]\nPrefObjetsSerie = 1\n");
}

TEST(TFichierIni, FailedWriteReportsAndKeepsTheOldFile)
{
  TempDir dir;
  TFichierIni empty;
  std::string error;
  EXPECT_FALSE(empty.Write(nullptr, &error)) << "no path at all";
  EXPECT_FALSE(error.empty());

  TFichierIni ini;
  ini.SetString("S", "k", "v");
  error.clear();
  EXPECT_FALSE(ini.Write(dir.File("no/such/folder/x.ini").c_str(), &error));
  EXPECT_FALSE(error.empty());

  // A name so long that no temporary file can be made beside it: the
  // write fails and the old file stays as it was.
  const std::string target = dir.File(std::string(250, 'p') + ".ini");
  WriteWholeFile(target, "[Old]\nkept=1\n");
  error.clear();
  EXPECT_FALSE(ini.Write(target.c_str(), &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadWholeFile(target), "[Old]\nkept=1\n");
}

TEST(TFichierIni, LineBreaksInValuesCannotAddLines)
{
  TFichierIni ini;
  ini.SetString("S", "k", "one\n[Evil]\nx=1");
  EXPECT_EQ(ini.Format(), "\n[S]\nk = one [Evil] x=1\n");
}
