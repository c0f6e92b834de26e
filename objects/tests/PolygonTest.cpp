#include "CurvesTestSupport.h"

#include "CommandIds.h"
#include "Messages.h"
#include "StringTable.h"
#include "TDataPolyLine.h"
#include "TDataPolygone.h"
#include "ValueFormat.h"

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace curves_test;

const std::vector<TPoint> kSquare = {{100, 100}, {200, 100}, {200, 200}, {100, 200}};
// A five-pointed star drawn in one stroke: its middle is crossed twice.
const std::vector<TPoint> kStar = {{50, 10}, {26, 82}, {88, 38}, {12, 38}, {74, 82}};

template <class T>
std::unique_ptr<T> Make(const std::vector<TPoint>& points)
{
  return std::make_unique<T>(points.data(), static_cast<uint16_t>(points.size()));
}

std::vector<TPoint> PointsOf(const TDataPolygone& p)
{
  const TPoint* v = p.Vertices().Points();
  return v ? std::vector<TPoint>(v, v + p.Vertices().Count()) : std::vector<TPoint>();
}

// ---- geometry ----

TEST(PolygonTest, PolygonIsHitInsideByTheEvenOddRuleAndPolylineOnlyOnItsEdges)
{
  auto polygon = Make<TDataPolygone>(kSquare);
  auto polyline = Make<TDataPolyLine>(kSquare);
  EXPECT_TRUE(polygon->Contains(150, 150));
  EXPECT_FALSE(polyline->Contains(150, 150));
  // On an edge and within the tolerance of a 1-unit pen (1 unit).
  for (auto* p : {static_cast<TDataPolygone*>(polygon.get()), static_cast<TDataPolygone*>(polyline.get())}) {
    EXPECT_TRUE(p->Contains(150, 100));
    EXPECT_TRUE(p->Contains(150, 99));
    EXPECT_FALSE(p->Contains(150, 97));
  }
  // The closing edge belongs to the polygon only.
  EXPECT_TRUE(polygon->Contains(100, 150));
  EXPECT_FALSE(polyline->Contains(100, 150));
  EXPECT_FALSE(polygon->Contains(300, 150));

  // A wider pen widens the edges: tolerance 10 / 2 + 1.
  polyline->SetPenWidth(10);
  EXPECT_TRUE(polyline->Contains(150, 94));
  EXPECT_FALSE(polyline->Contains(150, 93));

  auto star = Make<TDataPolygone>(kStar);
  EXPECT_FALSE(star->Contains(50, 50));  // the middle is crossed twice: outside
  EXPECT_TRUE(star->Contains(50, 20));   // inside a point of the star
  EXPECT_TRUE(star->Contains(20, 40));
  EXPECT_FALSE(star->Contains(10, 60));
}

TEST(PolygonTest, RectangleIsTheBoundingBoxOfTheVerticesAfterEveryChange)
{
  const std::vector<TPoint> vertical = {{10, 10}, {10, 50}, {10, 30}};
  auto line = Make<TDataPolyLine>(vertical);
  EXPECT_EQ(Ltrb(*line), "(10, 10, 11, 50)");

  auto polygon = Make<TDataPolygone>(kSquare);
  EXPECT_TRUE(polygon->Offset(0, 0));
  EXPECT_TRUE(polygon->Offset(-50, 10));
  EXPECT_EQ(Ltrb(*polygon), "(50, 110, 150, 210)");
  EXPECT_EQ(PointsOf(*polygon)[2], (TPoint{150, 210}));

  // Resize moves only the selected vertices, and nothing without selection.
  EXPECT_FALSE(polygon->Resize(10, 10));
  EXPECT_EQ(polygon->SelectPoints(TRect(140, 100, 160, 220)), 2);
  EXPECT_TRUE(polygon->Resize(30, -5));
  EXPECT_EQ(PointsOf(*polygon), (std::vector<TPoint>{{50, 110}, {180, 105}, {180, 205}, {50, 210}}));
  EXPECT_EQ(Ltrb(*polygon), "(50, 105, 180, 210)");

  polygon->ReversePoints();
  EXPECT_EQ(PointsOf(*polygon).front(), (TPoint{50, 210}));
  EXPECT_TRUE(polygon->IsSelected(1) && polygon->IsSelected(2));
}

TEST(PolygonTest, MessagesAnswerTheKindAndWhetherTheSelectionMayMove)
{
  auto polygon = Make<TDataPolygone>(kSquare);
  auto polyline = Make<TDataPolyLine>(kSquare);
  EXPECT_EQ(polygon->Message(MSG_TYPE_NAME, 0, 0, nullptr), 29292u);
  EXPECT_EQ(polygon->Message(MSG_MASK_A, 0, 0, nullptr), 0x50800407u);
  EXPECT_EQ(polygon->Message(MSG_MASK_B, 0, 0, nullptr), 0x480010u);
  EXPECT_EQ(polyline->Message(MSG_TYPE_NAME, 0, 0, nullptr), 29286u);
  EXPECT_EQ(polyline->Message(MSG_MASK_A, 0, 0, nullptr), 0x40000407u);
  EXPECT_EQ(polyline->Message(MSG_MASK_B, 0, 0, nullptr), 0x480010u);
  EXPECT_STREQ(LoadStr(polygon->Message(MSG_TYPE_NAME, 0, 0, nullptr)), "Polygon");
  EXPECT_STREQ(LoadStr(polyline->Message(MSG_TYPE_NAME, 0, 0, nullptr)), "Poly-line");
  EXPECT_TRUE(polyline->IsA(kTDataPolyLine) && polyline->IsA(kTDataPolygone) && polyline->IsA(kTData));
  EXPECT_FALSE(polygon->IsA(kTDataPolyLine));

  TRect paper(0, 0, 800, 1000);
  EXPECT_EQ(polygon->Message(MSG_MAY_RESIZE, 10, 10, &paper), 0u);  // nothing selected
  polygon->SelectLastPoint();
  EXPECT_EQ(polygon->Message(MSG_MAY_RESIZE, 10, 10, &paper), 1u);
  EXPECT_EQ(polygon->Message(MSG_MAY_RESIZE, -101, 0, &paper), 0u);
  EXPECT_EQ(polygon->Message(MSG_MAY_RESIZE, 0, 800, &paper), 1u);
  EXPECT_EQ(polygon->Message(MSG_MAY_RESIZE, 0, 801, &paper), 0u);
  EXPECT_EQ(polygon->Message(MSG_MAY_RESIZE, 0, 0, nullptr), 0u);
  // The question changes nothing.
  EXPECT_EQ(PointsOf(*polygon), kSquare);
}

TEST(PolygonTest, RectangleModesDescribeTheFirstVertexAndTheLastEdge)
{
  auto polygon = Make<TDataPolygone>({{150, 100}, {200, 200}, {100, 200}});
  TRect r;
  polygon->GetRect(r, 3);
  EXPECT_EQ(Ltrb(r), "(150, 100, 100, 100)");
  polygon->GetRect(r, 5);
  EXPECT_EQ(Ltrb(r), "(97, 97, 203, 203)");
  polygon->GetRect(r, 9);
  EXPECT_EQ(Ltrb(r), "(200, 200, 100, 200)");
  polygon->GetRect(r, 10);
  EXPECT_EQ(Ltrb(r), "(200, 200, -100, 0)");
  polygon->GetRect(r, 0);
  EXPECT_EQ(Ltrb(r), "(100, 100, 200, 200)");

  // Setting back the position that was read is no move; a new position
  // puts the first vertex there.
  polygon->GetRect(r, 3);
  polygon->SetRect(r, 3);
  EXPECT_EQ(Ltrb(*polygon), "(100, 100, 200, 200)");
  polygon->SetRect(TRect(10, 20, 0, 0), 3);
  EXPECT_EQ(PointsOf(*polygon).front(), (TPoint{10, 20}));
  EXPECT_EQ(Ltrb(*polygon), "(-40, 20, 60, 120)");
  polygon->SetRect(TRect(0, 0, 5, 5), 0);
  EXPECT_EQ(Ltrb(*polygon), "(-40, 20, 60, 120)");

  auto single = Make<TDataPolyLine>({{5, 6}});
  single->GetRect(r, 9);
  EXPECT_EQ(Ltrb(r), "(5, 6, 6, 7)");
}

TEST(PolygonTest, CloneCopiesTheVerticesButNotTheSelection)
{
  auto polyline = Make<TDataPolyLine>(kSquare);
  polyline->SetLayers(2);
  polyline->SelectLastPoint();
  std::unique_ptr<TData> copy(polyline->Clone(nullptr, 0));
  ASSERT_TRUE(copy->IsA(kTDataPolyLine));
  auto* line = static_cast<TDataPolyLine*>(copy.get());
  EXPECT_EQ(PointsOf(*line), kSquare);
  EXPECT_EQ(line->GetLayers(), 2);
  EXPECT_EQ(Ltrb(*line), Ltrb(*polyline));
  EXPECT_FALSE(line->Resize(5, 5));
}

// ---- records ----

TEST(PolygonTest, RecordsRoundTripByteForByte)
{
  auto polygon = Make<TDataPolygone>({{10, 20}, {30, 20}, {30, 40}});
  polygon->SetState(TData::kUncopyable, true);
  const std::string text = Written(*polygon);
  EXPECT_EQ(text.substr(0, text.find("TData 3")), "TDataPolygone 1\n\tTPolygone 0 3 10 20 30 20 30 40 \n\t");
  EXPECT_EQ(text.substr(text.rfind('\t')), "\tTRect 0 10 20 30 40\n");
  TDataPolygone reader;
  EXPECT_EQ(LeftUnread(reader, text + "next"), 5u);  // from the final line feed on
  auto back = ReadBack<TDataPolygone>(text);
  EXPECT_EQ(Written(*back), text);
  EXPECT_EQ(back->GetState(), TData::kUncopyable);

  auto polyline = Make<TDataPolyLine>(kSquare);
  const std::string lineText = Written(*polyline);
  EXPECT_EQ(lineText.substr(0, lineText.find("TPolygone")), "TDataPolyLine 1\n\tTDataPolygone 1\n\t");
  auto lineBack = ReadBack<TDataPolyLine>(lineText);
  EXPECT_EQ(PointsOf(*lineBack), kSquare);
  EXPECT_EQ(Written(*lineBack), lineText);
}

TEST(PolygonTest, OlderAndNewerRecordsAreRead)
{
  // The first records held a pen and a brush of their own.
  auto old = ReadBack<TDataPolygone>("TDataPolygone 0\n\tTPolygone 0 2 1 2 3 4 \n\tTPen 0 2 5 5 255\n"
                                       "\tTBrush 0 0 65280 0\n\tTData 1 0 8 0 255 65280\n\tTRect 0 0 0 0 0\n");
  EXPECT_EQ(PointsOf(*old), (std::vector<TPoint>{{1, 2}, {3, 4}}));
  EXPECT_EQ(old->GetPen().GetWidth(), 5);
  EXPECT_EQ(old->GetPen().GetStyle(), TPen::kDot);
  EXPECT_EQ(old->GetColor(1), 65280u);
  EXPECT_EQ(Ltrb(*old), "(1, 2, 3, 4)");

  // A newer writer's extra fields on the first lines are skipped.
  auto newer = ReadBack<TDataPolyLine>("TDataPolyLine 3 7 7\n\tTDataPolygone 2 9\n\tTPolygone 0 2 1 2 3 4 \n"
                                         "\tTData 3 0 4 0\n\tTPen 0 0 1 1 0\n\tTBrush 0 1 0 0\n\tTRect 0 0 0 0 0\n");
  EXPECT_EQ(PointsOf(*newer), (std::vector<TPoint>{{1, 2}, {3, 4}}));
  EXPECT_EQ(newer->GetLayers(), 4);
  const std::string rewritten = Written(*newer);
  EXPECT_EQ(rewritten.substr(0, rewritten.find("TPolygone")), "TDataPolyLine 1\n\tTDataPolygone 1\n\t");

  // Another class's record is left alone.
  TDataPolygone other;
  EXPECT_EQ(LeftUnread(other, "TDataPolyLine 1\n"), 16u);
  EXPECT_EQ(other.Vertices().Count(), 0);
}

// ---- commands ----

class PolygonCommandTest : public CurvesTest
{
protected:
  // Puts the pointer on a page point, where the user's hand would be.
  void PointerAt(TPoint p) { input.SetPointer(p.x, p.y); }
};

TEST_F(PolygonCommandTest, InformationsShowsTheAreaInThePageUnits)
{
  auto triangle = Make<TDataPolygone>({{0, 0}, {10, 0}, {0, 10}});
  EXPECT_DOUBLE_EQ(triangle->Area(), 50);
  EXPECT_EQ(triangle->ContextCommand(&client, CM_OBJ_INFORMATIONS), 0);
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(input.messageBoxes[0].text, "Area is:  50");
  EXPECT_EQ(input.messageBoxes[0].title, "Informations");

  client.GetPage()->SetUnitFactor(0.1f);
  client.GetPage()->SetDecimals(2);
  const std::string sep(1, DecimalSeparator());
  triangle->ContextCommand(&client, CM_OBJ_INFORMATIONS);
  EXPECT_EQ(input.messageBoxes.back().text, "Area is:  0" + sep + "50");

  // Fewer than three vertices enclose nothing.
  auto two = Make<TDataPolygone>({{0, 0}, {10, 10}});
  two->ContextCommand(&client, CM_OBJ_INFORMATIONS);
  EXPECT_EQ(input.messageBoxes.back().text, "Area is:  0" + sep + "00");

  // The polyline has no area to show.
  auto polyline = Make<TDataPolyLine>({{0, 0}, {10, 0}, {0, 10}});
  EXPECT_EQ(polyline->ContextCommand(&client, CM_OBJ_INFORMATIONS), 0);
  EXPECT_EQ(input.messageBoxes.size(), 3u);
}

TEST_F(PolygonCommandTest, ExchangeEndsDecidesWhereNewVerticesFollow)
{
  auto polyline = Make<TDataPolyLine>({{100, 100}, {200, 100}, {200, 200}});
  EXPECT_EQ(polyline->ContextCommand(&client, CM_OBJ_EXCHANGE_ENDS), CM_OBJ_EXCHANGE_ENDS);
  EXPECT_EQ(PointsOf(*polyline), (std::vector<TPoint>{{200, 200}, {200, 100}, {100, 100}}));

  // The entry now goes on from the former first vertex.
  PointerAt({100, 100});
  input.Click(50, 150);
  input.Char(VK_RETURN_);
  EXPECT_EQ(polyline->ContextCommand(&client, CM_OBJ_ADD_DELETE_POINTS), CM_OBJ_ADD_DELETE_POINTS);
  EXPECT_EQ(PointsOf(*polyline), (std::vector<TPoint>{{200, 200}, {200, 100}, {100, 100}, {50, 150}}));

  polyline->ContextCommand(&client, CM_OBJ_EXCHANGE_ENDS);
  polyline->ContextCommand(&client, CM_OBJ_EXCHANGE_ENDS);
  EXPECT_EQ(PointsOf(*polyline).back(), (TPoint{50, 150}));
  ExpectViewRestored();
}

TEST_F(PolygonCommandTest, SizeMovesTheSurroundedVertices)
{
  auto polygon = Make<TDataPolygone>(kSquare);
  input.Click(190, 90);  // first corner of the rectangle
  input.Drag(20, 120);   // its opposite corner
  input.LeftUp();
  input.Drag(30, -10);  // the two right-hand vertices
  input.LeftUp();
  EXPECT_EQ(polygon->ContextCommand(&client, CM_OBJ_SIZE), CM_OBJ_SIZE);
  EXPECT_EQ(PointsOf(*polygon), (std::vector<TPoint>{{100, 100}, {230, 90}, {230, 190}, {100, 200}}));
  EXPECT_EQ(Ltrb(*polygon), "(100, 90, 230, 200)");
  EXPECT_EQ(input.statusTexts.front(), "Surround points to move...");
  // The polygon itself never carries a selection.
  EXPECT_FALSE(polygon->Resize(1, 1));
  ExpectViewRestored();
}

TEST_F(PolygonCommandTest, SizeCancelledAtAnyStepChangesNothing)
{
  auto polygon = Make<TDataPolygone>(kSquare);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(polygon->ContextCommand(&client, CM_OBJ_SIZE), 0);

  input.Click(190, 90);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(polygon->ContextCommand(&client, CM_OBJ_SIZE), 0);

  // A rectangle around no vertex.
  input.Click(130, 130);
  input.Drag(20, 20);
  input.LeftUp();
  EXPECT_EQ(polygon->ContextCommand(&client, CM_OBJ_SIZE), 0);
  EXPECT_EQ(input.PendingMessages(), 0);

  input.Click(190, 90);
  input.Drag(20, 120);
  input.LeftUp();
  input.Drag(30, -10);
  input.RightUp();
  EXPECT_EQ(polygon->ContextCommand(&client, CM_OBJ_SIZE), 0);
  EXPECT_EQ(PointsOf(*polygon), kSquare);
  ExpectViewRestored();
}

TEST_F(PolygonCommandTest, AddDeletePointsAppendsClickedVertices)
{
  auto polygon = Make<TDataPolygone>(kSquare);
  PointerAt(kSquare.back());
  input.Click(50, 150);
  input.Click(60, 120);
  input.Drag(5, 5);  // the rubber band is dropped on ENTER
  input.Char(VK_RETURN_);
  EXPECT_EQ(polygon->ContextCommand(&client, CM_OBJ_ADD_DELETE_POINTS), CM_OBJ_ADD_DELETE_POINTS);
  std::vector<TPoint> expected = kSquare;
  expected.push_back({50, 150});
  expected.push_back({60, 120});
  EXPECT_EQ(PointsOf(*polygon), expected);
  EXPECT_EQ(polygon->Vertices().Capacity(), 6);
  EXPECT_EQ(Ltrb(*polygon), "(50, 100, 200, 200)");
  ExpectViewRestored();
}

TEST_F(PolygonCommandTest, DeleteTakesBackTheLastVertex)
{
  // DELETE drops the rubber band: the last vertex follows the pointer again.
  auto polygon = Make<TDataPolygone>(kSquare);
  PointerAt(kSquare.back());
  input.Key(VK_DELETE_);
  input.Click(120, 220);
  input.Char(VK_RETURN_);
  EXPECT_EQ(polygon->ContextCommand(&client, CM_OBJ_ADD_DELETE_POINTS), CM_OBJ_ADD_DELETE_POINTS);
  EXPECT_EQ(PointsOf(*polygon), (std::vector<TPoint>{{100, 100}, {200, 100}, {200, 200}, {120, 220}}));

  // ESC ends the entry with what is left, as long as that is a polygon...
  PointerAt({120, 220});
  input.Key(VK_DELETE_);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(polygon->ContextCommand(&client, CM_OBJ_ADD_DELETE_POINTS), CM_OBJ_ADD_DELETE_POINTS);
  EXPECT_EQ(PointsOf(*polygon), (std::vector<TPoint>{{100, 100}, {200, 100}, {200, 200}}));

  // ... and cancels when it would not be one.
  input.Key(VK_DELETE_);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(polygon->ContextCommand(&client, CM_OBJ_ADD_DELETE_POINTS), 0);
  EXPECT_EQ(PointsOf(*polygon), (std::vector<TPoint>{{100, 100}, {200, 100}, {200, 200}}));

  // DELETE never takes the entry below two vertices.
  auto polyline = Make<TDataPolyLine>({{100, 100}, {200, 100}});
  PointerAt({200, 100});
  for (int i = 0; i < 4; ++i)
    input.Key(VK_DELETE_);
  input.Click(300, 300);
  input.Char(VK_RETURN_);
  EXPECT_EQ(polyline->ContextCommand(&client, CM_OBJ_ADD_DELETE_POINTS), CM_OBJ_ADD_DELETE_POINTS);
  EXPECT_EQ(PointsOf(*polyline), (std::vector<TPoint>{{100, 100}, {300, 300}}));
  ExpectViewRestored();
}

TEST_F(PolygonCommandTest, AddDeletePointsKeepsEveryVertexOfALongList)
{
  std::vector<TPoint> many;
  for (int32_t i = 0; i < 150; ++i)
    many.push_back({i * 4, 100 + (i % 2) * 10});
  auto polyline = Make<TDataPolyLine>(many);
  PointerAt(many.back());
  input.Click(600, 300);
  EXPECT_EQ(polyline->ContextCommand(&client, CM_OBJ_ADD_DELETE_POINTS), CM_OBJ_ADD_DELETE_POINTS);
  many.push_back({600, 300});
  EXPECT_EQ(PointsOf(*polyline), many);
  // Nothing is done without vertices.
  TDataPolyLine empty;
  EXPECT_EQ(empty.ContextCommand(&client, CM_OBJ_ADD_DELETE_POINTS), 0);
}

TEST_F(PolygonCommandTest, PointEntryReadoutShowsTheLastEdgeAndItsAngle)
{
  auto polyline = Make<TDataPolyLine>({{100, 100}});
  PointerAt({100, 100});
  input.Drag(100, -100);
  input.Char(VK_RETURN_);
  EXPECT_EQ(polyline->ContextCommand(&client, CM_TRACK_SIZE_2), CM_TRACK_SIZE_2);
  EXPECT_EQ(input.statusTexts[1], "X1= 100  Y1= 100  X2= 200  Y2= 0 Angle = 45.0º");
  // Outside the entry the readout is the plain one.
  polyline->ShowInfo(&client, nullptr, 0);
  EXPECT_EQ(input.LastStatus(), "X= 100  Y= 100  L= 100  H= 100");
}

// ---- creation ----

TEST_F(PolygonCommandTest, PolygonIsCreatedFromClickedVerticesEndedWithEnter)
{
  client.SetLayers(2);
  input.Click(100, 100);
  input.Click(200, 100);
  input.Click(200, 200);
  input.Drag(-50, 0);
  input.Char(VK_RETURN_);
  auto polygon = CreateInteractively<TDataPolygone>(kTDataPolygone);
  ASSERT_TRUE(polygon);
  EXPECT_FALSE(polygon->IsA(kTDataPolyLine));
  EXPECT_EQ(PointsOf(*polygon), (std::vector<TPoint>{{100, 100}, {200, 100}, {200, 200}}));
  EXPECT_EQ(polygon->GetLayers(), 2);
  EXPECT_EQ(input.statusTexts.front(), "Position object or <ESC> to cancel...");
  EXPECT_EQ(client.ObjectCount(), 0);
  ExpectViewRestored();

  // Without a view: an empty polygon for a reader.
  auto blank = Made<TDataPolygone>(CreateObject(kTDataPolygone, nullptr, 0));
  ASSERT_TRUE(blank);
  EXPECT_EQ(blank->Vertices().Count(), 0);
}

TEST_F(PolygonCommandTest, EnterWithTheMinimumKeepsTheRubberBand)
{
  input.Click(100, 100);
  input.Click(200, 100);
  input.Drag(0, 100);
  input.Char(VK_RETURN_);
  auto polygon = CreateInteractively<TDataPolygone>(kTDataPolygone);
  ASSERT_TRUE(polygon);
  EXPECT_EQ(PointsOf(*polygon), (std::vector<TPoint>{{100, 100}, {200, 100}, {200, 200}}));
}

TEST_F(PolygonCommandTest, CancellingPolygonCreationAtAnyStepLeavesNothing)
{
  // ESC at the first vertex, right after it, after the second; the right
  // button; an empty script.
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(CreateObject(kTDataPolygone, &client, 0), nullptr);
  input.Click(100, 100);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(CreateObject(kTDataPolygone, &client, 0), nullptr);
  input.Click(100, 100);
  input.Click(200, 100);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(CreateObject(kTDataPolygone, &client, 0), nullptr);
  input.Click(100, 100);
  input.Click(200, 100);
  input.RightClick(200, 200);
  EXPECT_EQ(CreateObject(kTDataPolygone, &client, 0), nullptr);
  input.Click(100, 100);
  EXPECT_EQ(CreateObject(kTDataPolygone, &client, 0), nullptr);
  EXPECT_EQ(input.PendingMessages(), 0);
  EXPECT_EQ(client.ObjectCount(), 0);
  ExpectViewRestored();
}

TEST_F(PolygonCommandTest, PolylineIsKeptWithTwoVerticesWhenEscapeEndsIt)
{
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(CreateObject(kTDataPolyLine, &client, 0), nullptr);
  input.Click(100, 100);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(CreateObject(kTDataPolyLine, &client, 0), nullptr);

  input.Click(100, 100);
  input.Click(200, 150);
  input.Drag(30, 30);
  input.Char(VK_ESCAPE_);
  auto polyline = CreateInteractively<TDataPolyLine>(kTDataPolyLine);
  ASSERT_TRUE(polyline);
  EXPECT_TRUE(polyline->IsA(kTDataPolyLine));
  EXPECT_EQ(PointsOf(*polyline), (std::vector<TPoint>{{100, 100}, {200, 150}}));
  EXPECT_EQ(Ltrb(*polyline), "(100, 100, 200, 150)");
  ExpectViewRestored();
}

TEST_F(PolygonCommandTest, EntryStopsAtTheHundredthVertex)
{
  for (int32_t i = 0; i < 105; ++i)
    input.Click(10 + i * 7, 10 + (i % 3) * 20);
  auto polyline = CreateInteractively<TDataPolyLine>(kTDataPolyLine);
  ASSERT_TRUE(polyline);
  ASSERT_EQ(polyline->Vertices().Count(), TDataPolygone::kMaxEnteredPoints);
  // The hundredth click placed the last vertex; the clicks after it were
  // never taken.
  EXPECT_EQ(PointsOf(*polyline).back(), (TPoint{10 + 99 * 7, 10 + (99 % 3) * 20}));
  EXPECT_EQ(input.PendingMessages(), 5 * 3);
  ExpectViewRestored();
}

}  // namespace
