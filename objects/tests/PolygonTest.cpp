#include "CurvesTestSupport.h"

#include "CommandIds.h"
#include "Messages.h"
#include "ObjectStream.h"
#include "TDataPolyLine.h"
#include "TDataPolygone.h"
#include "ValueFormat.h"

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace curves_test;

const std::vector<TPoint> kSquare = {{100, 100}, {200, 100}, {200, 200}, {100, 200}};

template <class T> std::unique_ptr<T> Make(const std::vector<TPoint>& points)
{
  return std::make_unique<T>(points.data(), static_cast<uint16_t>(points.size()));
}

std::vector<TPoint> PointsOf(const TDataPolygone& p)
{
  const TPoint* v = p.Vertices().Points();
  return v ? std::vector<TPoint>(v, v + p.Vertices().Count()) : std::vector<TPoint>();
}

TEST(PolygonTest, PolygonIsHitInsideByTheEvenOddRuleAndPolylineOnlyOnItsEdges)
{
  auto polygon = Make<TDataPolygone>(kSquare);
  auto polyline = Make<TDataPolyLine>(kSquare);
  EXPECT_TRUE(polygon->Contains(150, 150));
  EXPECT_FALSE(polyline->Contains(150, 150));
  for (TDataPolygone* p : {polygon.get(), static_cast<TDataPolygone*>(polyline.get())}) {
    EXPECT_TRUE(p->Contains(150, 99)); // within half the pen width plus one
    EXPECT_FALSE(p->Contains(150, 97));
  }
  // The closing edge belongs to the polygon only.
  EXPECT_TRUE(polygon->Contains(100, 150));
  EXPECT_FALSE(polyline->Contains(100, 150));
  polyline->SetPenWidth(10);
  EXPECT_TRUE(polyline->Contains(150, 94));
  EXPECT_FALSE(polyline->Contains(150, 93));

  // A five-pointed star drawn in one stroke: its middle is crossed twice.
  auto star = Make<TDataPolygone>({{50, 10}, {26, 82}, {88, 38}, {12, 38}, {74, 82}});
  EXPECT_FALSE(star->Contains(50, 50));
  EXPECT_TRUE(star->Contains(50, 20));
  EXPECT_TRUE(star->Contains(20, 40));
  EXPECT_FALSE(star->Contains(10, 60));
}

TEST(PolygonTest, GeometryFollowsTheVertices)
{
  EXPECT_EQ(Ltrb(*Make<TDataPolyLine>({{10, 10}, {10, 50}})), "(10, 10, 11, 50)");

  auto polygon = Make<TDataPolygone>({{150, 100}, {200, 200}, {100, 200}});
  EXPECT_TRUE(polygon->Offset(0, 0));
  TRect r;
  polygon->GetRect(r, kRectPosition); // the position is the first vertex
  EXPECT_EQ(Ltrb(r), "(150, 100, 100, 100)");
  polygon->GetRect(r, kRectLastSegment); // the last edge as a point and a displacement
  EXPECT_EQ(Ltrb(r), "(200, 200, -100, 0)");
  polygon->GetRect(r, kRectPosition);
  polygon->SetRect(r, kRectPosition);
  EXPECT_EQ(Ltrb(*polygon), "(100, 100, 200, 200)");
  polygon->SetRect(TRect(10, 20, 0, 0), kRectPosition);
  EXPECT_EQ(PointsOf(*polygon).front(), (TPoint{10, 20}));
  EXPECT_EQ(Ltrb(*polygon), "(-40, 20, 60, 120)");

  // Resize and the question before it concern the selected vertices only.
  TRect paper(0, 0, 800, 1000);
  EXPECT_FALSE(polygon->Resize(5, 5));
  EXPECT_EQ(polygon->Message(MSG_MAY_RESIZE, 5, 5, &paper), 0u);
  EXPECT_EQ(polygon->SelectPoints(TRect(-50, 100, 100, 130)), 2);
  EXPECT_EQ(polygon->Message(MSG_MAY_RESIZE, 40, 0, &paper), 1u);
  EXPECT_EQ(polygon->Message(MSG_MAY_RESIZE, 0, 881, &paper), 0u);
  EXPECT_TRUE(polygon->Resize(40, 0));
  EXPECT_EQ(PointsOf(*polygon), (std::vector<TPoint>{{10, 20}, {100, 120}, {0, 120}}));

  std::unique_ptr<TData> copy(polygon->Clone(nullptr, 0));
  EXPECT_EQ(PointsOf(*static_cast<TDataPolygone*>(copy.get())), PointsOf(*polygon));
  EXPECT_FALSE(copy->Resize(5, 5)); // the selection stays behind
  std::unique_ptr<TData> line(Make<TDataPolyLine>(kSquare)->Clone(nullptr, 0));
  EXPECT_TRUE(line->IsA(kTDataPolyLine) && line->IsA(kTDataPolygone));
}

TEST(PolygonTest, RecordsRoundTripAndReadOlderAndNewerVersions)
{
  auto polygon = Make<TDataPolygone>({{10, 20}, {30, 20}, {30, 40}});
  const std::string text = Written(*polygon);
  EXPECT_EQ(text.substr(0, text.find("TData 3")), "TDataPolygone 1\n\tTPolygone 0 3 10 20 30 20 30 40 \n\t");
  EXPECT_EQ(Written(*ReadBack<TDataPolygone>(text)), text);

  const std::string lineText = Written(*Make<TDataPolyLine>(kSquare));
  EXPECT_EQ(lineText.substr(0, lineText.find("TPolygone")), "TDataPolyLine 1\n\tTDataPolygone 1\n\t");
  RegisterObjectFactories();
  TInStream is(lineText);
  std::unique_ptr<TStreamable> read(ReadObject(is));
  ASSERT_TRUE(read && read->IsA(kTDataPolyLine));
  EXPECT_EQ(Written(*read), lineText);

  // The first records held a pen and a brush of their own.
  auto old = ReadBack<TDataPolygone>("TDataPolygone 0\n\tTPolygone 0 2 1 2 3 4 \n\tTPen 0 2 5 5 255\n"
                                     "\tTBrush 0 0 65280 0\n\tTData 1 0 8 0 255 65280\n\tTRect 0 0 0 0 0\n");
  EXPECT_EQ(PointsOf(*old), (std::vector<TPoint>{{1, 2}, {3, 4}}));
  EXPECT_EQ(old->GetPen().GetWidth(), 5);
  EXPECT_EQ(old->GetPen().GetStyle(), TPen::kDot);
  EXPECT_EQ(Ltrb(*old), "(1, 2, 3, 4)");

  // A newer writer's extra fields on the first lines are skipped.
  auto newer =
      ReadBack<TDataPolyLine>("TDataPolyLine 3 7 7\n\tTDataPolygone 2 9\n\tTPolygone 0 2 1 2 3 4 \n"
                              "\tTData 3 0 4 0\n\tTPen 0 0 1 1 0\n\tTBrush 0 1 0 0\n\tTRect 0 0 0 0 0\n");
  EXPECT_EQ(PointsOf(*newer), (std::vector<TPoint>{{1, 2}, {3, 4}}));
  EXPECT_EQ(newer->GetLayers(), 4);

  TDataPolygone other;
  EXPECT_EQ(LeftUnread(other, "TDataPolyLine 1\n"), 16u); // another class: untouched
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
  EXPECT_EQ(triangle->ContextCommand(&client, CM_OBJ_INFORMATIONS), 0);
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(input.messageBoxes[0].text, "Area is:  50");
  EXPECT_EQ(input.messageBoxes[0].title, "Informations");

  client.GetPage()->SetUnitFactor(0.1f);
  client.GetPage()->SetDecimals(2);
  const std::string sep(1, DecimalSeparator());
  triangle->ContextCommand(&client, CM_OBJ_INFORMATIONS);
  EXPECT_EQ(input.messageBoxes.back().text, "Area is:  0" + sep + "50");
  Make<TDataPolygone>({{0, 0}, {10, 10}})->ContextCommand(&client, CM_OBJ_INFORMATIONS);
  EXPECT_EQ(input.messageBoxes.back().text, "Area is:  0" + sep + "00");

  // The polyline has no area to show.
  EXPECT_EQ(Make<TDataPolyLine>(kSquare)->ContextCommand(&client, CM_OBJ_INFORMATIONS), 0);
  EXPECT_EQ(input.messageBoxes.size(), 3u);
}

TEST_F(PolygonCommandTest, ExchangeEndsDecidesWhereNewVerticesFollow)
{
  auto polyline = Make<TDataPolyLine>({{100, 100}, {200, 100}, {200, 200}});
  EXPECT_EQ(polyline->ContextCommand(&client, CM_OBJ_EXCHANGE_ENDS), CM_OBJ_EXCHANGE_ENDS);
  PointerAt({100, 100});
  input.Click(50, 150);
  input.Char(VK_RETURN_);
  EXPECT_EQ(polyline->ContextCommand(&client, CM_OBJ_ADD_DELETE_POINTS), CM_OBJ_ADD_DELETE_POINTS);
  EXPECT_EQ(PointsOf(*polyline), (std::vector<TPoint>{{200, 200}, {200, 100}, {100, 100}, {50, 150}}));
  ExpectViewRestored();
}

TEST_F(PolygonCommandTest, AVertexTypedWithSpacebarIsKeptWhenEnterEndsTheEntry)
{
  auto polygon = Make<TDataPolygone>(kSquare);
  PointerAt(kSquare.back());
  input.Click(50, 150);
  // The rubber band from (50, 150) moved by a typed 30, 20.
  input.Char(VK_SPACE_);
  input.AnswerValues(std::vector<double>{30, 20});
  input.Char(VK_RETURN_);
  EXPECT_EQ(polygon->ContextCommand(&client, CM_OBJ_ADD_DELETE_POINTS), CM_OBJ_ADD_DELETE_POINTS);
  std::vector<TPoint> expected = kSquare;
  expected.insert(expected.end(), {{50, 150}, {80, 170}});
  EXPECT_EQ(PointsOf(*polygon), expected);

  ExpectViewRestored();
}

TEST_F(PolygonCommandTest, SizeMovesTheSurroundedVerticesOrNothing)
{
  auto polygon = Make<TDataPolygone>(kSquare);
  auto surroundRightSide = [this] {
    input.Click(190, 90);
    input.Drag(20, 120);
    input.LeftUp();
  };
  surroundRightSide();
  input.Drag(30, -10);
  input.LeftUp();
  EXPECT_EQ(polygon->ContextCommand(&client, CM_OBJ_SIZE), CM_OBJ_SIZE);
  EXPECT_EQ(PointsOf(*polygon), (std::vector<TPoint>{{100, 100}, {230, 90}, {230, 190}, {100, 200}}));
  EXPECT_EQ(input.statusTexts.front(), "Surround points to move...");

  // Cancelled at the corner, while drawing the rectangle, around no vertex,
  // while dragging the vertices.
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(polygon->ContextCommand(&client, CM_OBJ_SIZE), 0);
  input.Click(190, 90);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(polygon->ContextCommand(&client, CM_OBJ_SIZE), 0);
  input.Click(130, 130);
  input.Drag(20, 20);
  input.LeftUp();
  EXPECT_EQ(polygon->ContextCommand(&client, CM_OBJ_SIZE), 0);
  input.Click(220, 80);
  input.Drag(20, 120);
  input.LeftUp();
  input.Drag(30, -10);
  input.RightUp();
  EXPECT_EQ(polygon->ContextCommand(&client, CM_OBJ_SIZE), 0);
  EXPECT_EQ(PointsOf(*polygon), (std::vector<TPoint>{{100, 100}, {230, 90}, {230, 190}, {100, 200}}));
  EXPECT_EQ(input.PendingMessages(), 0);
  ExpectViewRestored();
}

TEST_F(PolygonCommandTest, AddDeletePointsAppendsAndTakesBackVertices)
{
  auto polygon = Make<TDataPolygone>(kSquare);
  PointerAt(kSquare.back());
  input.Click(50, 150);
  input.Click(60, 120);
  input.Drag(5, 5); // the rubber band is dropped on ENTER
  input.Char(VK_RETURN_);
  EXPECT_EQ(polygon->ContextCommand(&client, CM_OBJ_ADD_DELETE_POINTS), CM_OBJ_ADD_DELETE_POINTS);
  std::vector<TPoint> expected = kSquare;
  expected.insert(expected.end(), {{50, 150}, {60, 120}});
  EXPECT_EQ(PointsOf(*polygon), expected);
  EXPECT_EQ(polygon->Vertices().Capacity(), 6);

  // DELETE drops the rubber band: the last vertex follows the pointer again.
  PointerAt({60, 120});
  input.Key(VK_DELETE_);
  input.Click(70, 130);
  input.Char(VK_RETURN_);
  polygon->ContextCommand(&client, CM_OBJ_ADD_DELETE_POINTS);
  expected.back() = {70, 130};
  EXPECT_EQ(PointsOf(*polygon), expected);

  // ESC ends the entry with what is left while that is still a polygon...
  PointerAt({70, 130});
  for (int i = 0; i < 3; ++i)
    input.Key(VK_DELETE_);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(polygon->ContextCommand(&client, CM_OBJ_ADD_DELETE_POINTS), CM_OBJ_ADD_DELETE_POINTS);
  EXPECT_EQ(PointsOf(*polygon), (std::vector<TPoint>{{100, 100}, {200, 100}, {200, 200}}));
  // ... and cancels when it would not be one.
  input.Key(VK_DELETE_);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(polygon->ContextCommand(&client, CM_OBJ_ADD_DELETE_POINTS), 0);
  EXPECT_EQ(PointsOf(*polygon).size(), 3u);
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
}

TEST_F(PolygonCommandTest, PointEntryReadoutShowsTheLastEdgeAndItsAngle)
{
  auto polyline = Make<TDataPolyLine>({{100, 100}});
  PointerAt({100, 100});
  input.Drag(100, -100);
  input.Char(VK_RETURN_);
  EXPECT_EQ(polyline->ContextCommand(&client, CM_TRACK_SIZE_2), CM_TRACK_SIZE_2);
  EXPECT_EQ(input.statusTexts[1], "X1= 100  Y1= 100  X2= 200  Y2= 0 Angle = 45.0°"
                                  "   (click: next point, <ENTER>: finish, <DEL>: remove the last point)");
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
  EXPECT_EQ(PointsOf(*polygon), (std::vector<TPoint>{{100, 100}, {200, 100}, {200, 200}}));
  EXPECT_EQ(polygon->GetLayers(), 2);

  // With only the minimum, ENTER keeps the rubber band as the last vertex.
  input.Click(100, 100);
  input.Click(200, 100);
  input.Drag(0, 100);
  input.Char(VK_RETURN_);
  polygon = CreateInteractively<TDataPolygone>(kTDataPolygone);
  ASSERT_TRUE(polygon);
  EXPECT_EQ(PointsOf(*polygon), (std::vector<TPoint>{{100, 100}, {200, 100}, {200, 200}}));
  ExpectViewRestored();
}

TEST_F(PolygonCommandTest, CancellingCreationAtAnyStepLeavesNothing)
{
  // ESC at the first vertex, right after it, after the second (a polygon
  // needs three); the right button; an empty script.
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
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(CreateObject(kTDataPolyLine, &client, 0), nullptr);
  input.Click(100, 100);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(CreateObject(kTDataPolyLine, &client, 0), nullptr);
  EXPECT_EQ(input.PendingMessages(), 0);
  ExpectViewRestored();
}

TEST_F(PolygonCommandTest, PolylineIsKeptWithTwoVerticesWhenEscapeEndsIt)
{
  input.Click(100, 100);
  input.Click(200, 150);
  input.Drag(30, 30);
  input.Char(VK_ESCAPE_);
  auto polyline = CreateInteractively<TDataPolyLine>(kTDataPolyLine);
  ASSERT_TRUE(polyline);
  EXPECT_EQ(PointsOf(*polyline), (std::vector<TPoint>{{100, 100}, {200, 150}}));
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
  EXPECT_EQ(PointsOf(*polyline).back(), (TPoint{10 + 99 * 7, 10}));
  EXPECT_EQ(input.PendingMessages(), 5 * 3);
}

} // namespace
