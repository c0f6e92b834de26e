#include "TestSupport.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

namespace {

const std::string kExample = std::string(VEKTA_SOURCE_DIR) + "/editing/tests/data/example.vk1";

struct Result
{
  int status = -1;
  QByteArray out, err;
};

Result RunCli(const QStringList& args)
{
  QProcess process;
  process.start(QStringLiteral(VEKTA_CLI), args);
  Result result;
  if (!process.waitForFinished(120000))
    return result;
  result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  result.out = process.readAllStandardOutput();
  result.err = process.readAllStandardError();
  return result;
}

QString Q(const std::string& s)
{
  return QString::fromStdString(s);
}

QStringList FilesIn(const TempDir& dir)
{
  return QDir(Q(dir.Path())).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
}

} // namespace

TEST(CliTest, VersionAndHelpAnswerWithoutADocument)
{
  const Result version = RunCli({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(version.out.startsWith("vekta-cli ")) << version.out.toStdString();
  EXPECT_TRUE(version.out.trimmed().split(' ').last().contains('.')) << version.out.toStdString();
  const Result help = RunCli({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.contains("--version"));
}

TEST(CliTest, InfoDescribesTheExample)
{
  const Result r = RunCli({"info", Q(kExample)});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
  QJsonParseError parseError;
  const QJsonObject info = QJsonDocument::fromJson(r.out, &parseError).object();
  ASSERT_EQ(parseError.error, QJsonParseError::NoError) << r.out.toStdString();
  EXPECT_EQ(info["fileVersion"].toInt(), 7);
  EXPECT_EQ(info["paper"].toObject(), (QJsonObject{{"width", 800},
                                                   {"height", 1000},
                                                   {"unitsPerInch", 100},
                                                   {"unitFactor", 0.01},
                                                   {"decimals", 2},
                                                   {"numberFormat", 6}}));
  const QJsonArray names{"1", "2", "3", "4", "5", "6", "7", "8"};
  EXPECT_EQ(info["layers"].toObject(),
            (QJsonObject{{"visible", 65535}, {"active", 8}, {"protected", 0}, {"names", names}}));
  EXPECT_EQ(info["objectCount"].toInt(), 1);
  EXPECT_EQ(info["objects"].toObject(), (QJsonObject{{"TDataRectangle", 1}}));
  EXPECT_EQ(info["symbols"], QJsonValue(QJsonArray()));
}

TEST(CliTest, InfoListsTheSymbolDefinitions)
{
  auto definition = [](const std::string& name, int32_t width) {
    return "TDataGroupSymbol 1 \tTString 1 7 " + std::to_string(name.size()) + " " + name +
           "\n\tTDataGroup 2 0 0 0\n\tTData 3 16 8 0\n\tTPen 0 6 1 1 0\n\tTBrush 0 1 0 0\n\tTRect 0 0 0 " +
           std::to_string(width) + " 20\n";
  };
  const std::string document = "\n[VEKT Symboles]\n0 2\n" + definition("Door", 40) + definition("Gate", 60) +
                               "\n[VEKT TData-Version]\n0 7\n\n[VEKT TData]\n0\n";
  TempDir dir;
  const std::string path = dir.File("symbols.vk1");
  WriteWholeFile(path, document);
  const Result r = RunCli({"info", Q(path)});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  const QJsonObject info = QJsonDocument::fromJson(r.out).object();
  EXPECT_EQ(info["symbols"].toArray(), (QJsonArray{"Door", "Gate"}));
}

TEST(CliTest, ResaveGivesTheSameBytes)
{
  TempDir dir;
  const std::string out = dir.File("out.vk1");
  const Result r = RunCli({"resave", Q(kExample), Q(out)});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_EQ(ReadWholeFile(out), ReadWholeFile(kExample));
  EXPECT_EQ(FilesIn(dir), QStringList{"out.vk1"});
}

TEST(CliTest, RasterExportsFollowTheZoom)
{
  TempDir dir;
  for (const char* name : {"a.png", "a.jpg"}) {
    for (int zoom : {100, 300}) {
      const std::string out = dir.File(std::to_string(zoom) + name);
      const Result r =
          RunCli({"export", Q(kExample), Q(out), "--zoom", QString::number(zoom), "--quality", "90"});
      ASSERT_EQ(r.status, 0) << r.err.toStdString();
      const QImage image(Q(out));
      EXPECT_EQ(image.size(), QSize(8 * zoom, 10 * zoom)) << out;
    }
  }
  // The rounded rectangle's outline is black on the white sheet.
  const QImage image(Q(dir.File("100a.png")));
  EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(200, 100), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(200, 150), qRgb(255, 255, 255));
}

TEST(CliTest, VectorExportsHaveThePaperSize)
{
  TempDir dir;
  const std::string pdf = dir.File("a.pdf");
  Result r = RunCli({"export", Q(kExample), Q(pdf)});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  const std::string bytes = ReadWholeFile(pdf);
  EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
  // 8 x 10 inches.
  const QRegularExpression box(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])");
  const QRegularExpressionMatch match =
      box.match(QString::fromLatin1(bytes.data(), static_cast<int>(bytes.size())));
  ASSERT_TRUE(match.hasMatch());
  EXPECT_NEAR(match.captured(1).toDouble(), 576.0, 0.01);
  EXPECT_NEAR(match.captured(2).toDouble(), 720.0, 0.01);
  // Vector drawing, no picture inside.
  EXPECT_EQ(bytes.find("/Subtype /Image"), std::string::npos);

  const std::string svg = dir.File("a.svg");
  r = RunCli({"export", Q(kExample), Q(svg)});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  const std::string text = ReadWholeFile(svg);
  // In the page's own unit, one user unit per logical unit.
  EXPECT_NE(text.find(R"(width="8in" height="10in" viewBox="0 0 800 1000")"), std::string::npos);
  EXPECT_EQ(text.find("<image"), std::string::npos);
  // The rectangle's outline stays a black line one unit wide, not a filled
  // ring: the file is smaller and the line still a line for whoever edits it.
  EXPECT_NE(text.find("{fill:none;stroke:#000000;stroke-width:1}"), std::string::npos);
  EXPECT_EQ(text.find("fill:#000000"), std::string::npos);

  const QString rsvg = QStandardPaths::findExecutable("rsvg-convert");
  if (rsvg.isEmpty())
    GTEST_SKIP() << "rsvg-convert is not installed";
  const std::string png = dir.File("a.png");
  const std::string fromSvg = dir.File("svg.png");
  ASSERT_EQ(RunCli({"export", Q(kExample), Q(png)}).status, 0);
  ASSERT_EQ(QProcess::execute(rsvg, {"-w", "800", "-h", "1000", "-o", Q(fromSvg), Q(svg)}), 0);
  const ImageDiff diff = CompareImages(QImage(Q(fromSvg)), QImage(Q(png)), 32, 20);
  EXPECT_TRUE(diff.same) << diff.message;
}

// Every kind of drawing object, a symbol with two instances, a hidden layer
// and a coloured page.
TEST(CliTest, APdfKeepsTheTextsAsTextWithTheirFonts)
{
  TempDir dir;
  const std::string pdf = dir.File("showcase.pdf");
  ASSERT_EQ(RunCli({"export", Q(std::string(VEKTA_SOURCE_DIR) + "/examples/showcase.vk1"), Q(pdf)}).status,
            0);
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {Q(pdf), QStringLiteral("-")});
  if (!text.waitForFinished(60000))
    GTEST_SKIP() << "pdftotext is not installed";
  const QString words = QString::fromUtf8(text.readAllStandardOutput());
  for (const char* expected : {"Vekta", "Every kind of drawing object on one page", "Lines and arrows",
                               "Framed", "Symbols and groups"})
    EXPECT_TRUE(words.contains(QString::fromUtf8(expected))) << expected << " not in:\n"
                                                             << words.toStdString();
  QProcess fonts;
  fonts.start(QStringLiteral("pdffonts"), {Q(pdf)});
  ASSERT_TRUE(fonts.waitForFinished(60000));
  // A header, a rule, then one line per font, each embedded as a subset.
  const QStringList lines = QString::fromUtf8(fonts.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  ASSERT_GT(lines.size(), 2);
  for (qsizetype i = 2; i < lines.size(); ++i)
    EXPECT_TRUE(lines[i].contains(QStringLiteral(" yes "))) << lines[i].toStdString();
}

TEST(CliTest, AViewerDrawsTheShowcaseSvgAsThePng)
{
  // rsvg draws text with the font's kerning; the page does not kern, and
  // the SVG spaces its letters so that each line keeps its length. The
  // showcase is full of text: without that spacing the two pictures are
  // 29.2 dB apart.
  const QString rsvg = QStandardPaths::findExecutable("rsvg-convert");
  if (rsvg.isEmpty())
    GTEST_SKIP() << "rsvg-convert is not installed";
  TempDir dir;
  const std::string showcase = std::string(VEKTA_SOURCE_DIR) + "/examples/showcase.vk1";
  const std::string svg = dir.File("showcase.svg");
  const std::string png = dir.File("showcase.png");
  const std::string drawn = dir.File("rsvg.png");
  ASSERT_EQ(RunCli({"export", Q(showcase), Q(svg)}).status, 0);
  ASSERT_EQ(RunCli({"export", Q(showcase), Q(png)}).status, 0);
  ASSERT_EQ(QProcess::execute(rsvg, {"-w", "800", "-h", "1000", "-o", Q(drawn), Q(svg)}), 0);
  const QImage ours = QImage(Q(png)).convertToFormat(QImage::Format_RGB32);
  const QImage theirs = QImage(Q(drawn)).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(ours.size(), theirs.size());
  double squares = 0;
  for (int y = 0; y < ours.height(); ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(ours.constScanLine(y));
    const auto* b = reinterpret_cast<const QRgb*>(theirs.constScanLine(y));
    for (int x = 0; x < ours.width(); ++x) {
      for (int shift : {0, 8, 16}) {
        const double d =
            static_cast<double>((a[x] >> shift) & 0xFF) - static_cast<double>((b[x] >> shift) & 0xFF);
        squares += d * d;
      }
    }
  }
  const double mean = squares / (3.0 * ours.width() * ours.height());
  const double psnr = 10 * std::log10(255.0 * 255.0 / std::max(mean, 1e-9));
  EXPECT_GE(psnr, 30.0);
  EXPECT_NE(ReadWholeFile(svg).find("letter-spacing=\""), std::string::npos);
}

TEST(CliTest, EveryObjectKindRoundTripsAndDrawsAsTheReference)
{
  const std::string document = std::string(VEKTA_TEST_DATA) + "/all_objects.vk1";
  TempDir dir;
  const std::string copy = dir.File("copy.vk1");
  Result r = RunCli({"resave", Q(document), Q(copy)});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_EQ(ReadWholeFile(copy), ReadWholeFile(document));

  const std::string png = dir.File("all.png");
  r = RunCli({"export", Q(document), Q(png)});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_TRUE(MatchesGolden(QImage(Q(png)), std::string(VEKTA_TEST_DATA) + "/golden/all_objects.png", 8, 40));
}

TEST(CliTest, FailuresSayWhyOnOneLineAndWriteNothing)
{
  TempDir dir;
  const std::string notVekta = dir.File("notes.vk1");
  WriteWholeFile(notVekta, "just some text\n");
  const std::string newer = dir.File("newer.vk1");
  std::string text = ReadWholeFile(kExample);
  text.replace(text.find("0 7\n"), 4, "0 8\n");
  WriteWholeFile(newer, text);
  const std::string damaged = dir.File("damaged.vk1");
  text = ReadWholeFile(kExample);
  text.replace(text.find("TData 3 0"), 9, "TData 3 x");
  WriteWholeFile(damaged, text);
  const QStringList inputs = FilesIn(dir);

  const QString out = Q(dir.File("out.png"));
  const std::vector<QStringList> cases = {
      {},
      {"frobnicate"},
      {"info"},
      {"info", Q(dir.File("missing.vk1"))},
      {"info", Q(notVekta)},
      {"info", Q(newer)},
      {"resave", Q(damaged), Q(dir.File("out.vk1"))},
      {"resave", Q(kExample)},
      {"resave", Q(kExample), Q(dir.File("no/folder/out.vk1"))},
      {"export", Q(kExample), Q(dir.File("out.bmp"))},
      {"export", Q(kExample), out, "--zoom", "0"},
      {"export", Q(kExample), out, "--zoom"},
      {"export", Q(kExample), out, "--quality", "101"},
      {"export", Q(kExample), out, "--colour", "red"},
      {"export", Q(dir.File("missing.vk1")), out},
      {"export", Q(kExample), Q(dir.File("no/folder/out.png"))},
      {"export", Q(kExample), Q(dir.File("no/folder/out.pdf"))},
  };
  for (const QStringList& args : cases) {
    const Result r = RunCli(args);
    const std::string what = args.join(' ').toStdString();
    EXPECT_GT(r.status, 0) << what;
    EXPECT_TRUE(r.out.isEmpty()) << what;
    EXPECT_TRUE(r.err.startsWith("vekta-cli: ")) << what << ": " << r.err.toStdString();
    EXPECT_EQ(r.err.count('\n'), 1) << what << ": " << r.err.toStdString();
  }
  EXPECT_EQ(FilesIn(dir), inputs);

  EXPECT_NE(RunCli({"info", Q(notVekta)}).err.indexOf("not a Vekta document"), -1);
  EXPECT_NE(RunCli({"info", Q(damaged)}).err.indexOf("only 0 objects"), -1);
}

TEST(CliTest, AReadOnlyTargetIsRefusedAndALinkIsWrittenThrough)
{
  TempDir dir;
  const std::string kept = dir.File("kept.vk1");
  const std::string keptPng = dir.File("kept.png");
  WriteWholeFile(kept, "mine");
  WriteWholeFile(keptPng, "mine too");
  for (const std::string& path : {kept, keptPng})
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  for (const QStringList& args :
       {QStringList{"resave", Q(kExample), Q(kept)}, QStringList{"export", Q(kExample), Q(keptPng)}}) {
    const Result r = RunCli(args);
    EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
    EXPECT_NE(r.err.indexOf("read-only"), -1) << r.err.toStdString();
  }
  EXPECT_EQ(ReadWholeFile(kept), "mine");
  EXPECT_EQ(ReadWholeFile(keptPng), "mine too");

  const std::string real = dir.File("real.vk1");
  WriteWholeFile(real, "old");
  std::filesystem::create_symlink("real.vk1", dir.File("link.vk1"));
  const Result r = RunCli({"resave", Q(kExample), Q(dir.File("link.vk1"))});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_TRUE(std::filesystem::is_symlink(std::filesystem::symlink_status(dir.File("link.vk1"))));
  EXPECT_EQ(ReadWholeFile(real), ReadWholeFile(kExample));
}

TEST(CliTest, HelpShowsTheUsage)
{
  const Result r = RunCli({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.out.startsWith("Usage:"));
  EXPECT_NE(r.out.indexOf("export IN.vk1"), -1);
}

TEST(CliTest, InfoListsThePicturesAndExportDrawsThem)
{
  TempDir dir;
  QImage picture(40, 20, QImage::Format_RGB32);
  picture.fill(qRgb(255, 0, 0));
  const std::string present = dir.File("red.png");
  ASSERT_TRUE(picture.save(Q(present)));
  const std::string missing = dir.File("gone.bmp");
  auto image = [](const std::string& file, int32_t left) {
    return "TDataImage 1 1 0 0 0 0\n\tTString 1 " + std::to_string(file.size() + 1) + " " +
           std::to_string(file.size()) + " " + file +
           "\n\tTData 3 0 8 0\n\tTPen 0 6 1 1 0\n\tTBrush 0 1 0 0\n" + "\tTRect 0 " + std::to_string(left) +
           " 10 " + std::to_string(left + 100) + " 60\n";
  };
  const std::string document =
      "\n[VEKT TData-Version]\n0 7\n\n[VEKT TData]\n2\n" + image(present, 10) + image(missing, 200);
  const std::string path = dir.File("pictures.vk1");
  WriteWholeFile(path, document);

  const Result r = RunCli({"info", Q(path)});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  const QJsonArray images = QJsonDocument::fromJson(r.out).object()["images"].toArray();
  ASSERT_EQ(images.size(), 2);
  EXPECT_EQ(images[0].toObject()["file"].toString(), Q(present));
  EXPECT_TRUE(images[0].toObject()["loaded"].toBool());
  EXPECT_EQ(images[0].toObject()["width"].toInt(), 40);
  EXPECT_FALSE(images[1].toObject()["loaded"].toBool());
  EXPECT_EQ(images[1].toObject()["error"].toString(), "Original file not found");

  const std::string png = dir.File("out.png");
  ASSERT_EQ(RunCli({"export", Q(path), Q(png)}).status, 0);
  const QImage drawn(Q(png));
  ASSERT_FALSE(drawn.isNull());
  EXPECT_EQ(drawn.pixel(50, 30), qRgb(255, 0, 0)) << "stretched over its frame";
  // The missing one shows its frame and "???" on white.
  EXPECT_EQ(drawn.pixel(250, 50), qRgb(255, 255, 255));
  // And the document resaved keeps both paths as they were.
  const std::string resaved = dir.File("again.vk1");
  ASSERT_EQ(RunCli({"resave", Q(path), Q(resaved)}).status, 0);
  const std::string text = ReadWholeFile(resaved);
  EXPECT_NE(text.find(missing), std::string::npos);
  EXPECT_NE(text.find(present), std::string::npos);
}
