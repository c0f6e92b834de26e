#include "DialogDescriptions.h"

#include "StringTable.h"
#include "TCheck.h"
#include "TDialog.h"
#include "TEdit.h"
#include "TEdl.h"
#include "TQtPageDevice.h"
#include "TRadio.h"
#include "TStatic.h"
#include "TextCompare.h"
#include "ValueFormat.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include <string>
#include <vector>

namespace {

constexpr int32_t kLayerCount = 8;
constexpr uint16_t kLayerNameType = kTypeString | 31;

void AddButtons(TDialog& dialog)
{
  dialog.AddOkCancel(LoadStr(IDS_BUTTON_OK), LoadStr(IDS_BUTTON_CANCEL));
}

// A field and its label side by side in a grid row.
void AddField(QGridLayout* grid, int row, int column, TEdl* field)
{
  grid->addWidget(field->GetLabel()->Widget(), row, column);
  grid->addWidget(field->Widget(), row, column + 1);
}

std::vector<std::string> Texts(std::initializer_list<uint32_t> ids)
{
  std::vector<std::string> texts;
  for (uint32_t id : ids)
    texts.emplace_back(LoadStr(id));
  return texts;
}

void DescribeLayers(TDialog& dialog)
{
  dialog.SetTitle(LoadStr(IDS_LAYERS_TITLE));
  std::vector<std::string> numbers;
  for (int32_t i = 1; i <= kLayerCount; ++i)
    numbers.push_back(std::to_string(i));
  const std::vector<std::string> blank(kLayerCount);

  auto* active = new TRadio(&dialog, 100, LoadStr(IDS_LAYER_ACTIVE), numbers, 101);
  auto* names = new TGroupBox(&dialog, 200, LoadStr(IDS_LAYER_NAME));
  std::vector<TEdl*> fields;
  for (int32_t i = 0; i < kLayerCount; ++i) {
    fields.push_back(new TEdl(&dialog, 201 + i, "", kLayerNameType, 0, 0, 31, 16));
    names->Grid()->addWidget(fields.back()->Widget(), i, 0);
  }
  auto* visible = new TCheck(&dialog, 300, LoadStr(IDS_LAYER_VISIBLE), blank, 301);
  auto* protectedLayers = new TCheck(&dialog, 400, LoadStr(IDS_LAYER_PROTECTED), blank, 401);

  // The four columns line up row by row: every row is as high as a name
  // field, with the same spacing in every group.
  const int rowHeight = fields.front()->Widget()->sizeHint().height();
  for (TRadioBase* group : {static_cast<TRadioBase*>(active), static_cast<TRadioBase*>(visible),
                            static_cast<TRadioBase*>(protectedLayers)}) {
    for (int32_t i = 0; i < group->ItemCount(); ++i)
      group->Button(i)->setFixedHeight(rowHeight);
    group->Grid()->setVerticalSpacing(4);
  }
  for (TEdl* field : fields)
    field->Widget()->setFixedHeight(rowHeight);
  names->Grid()->setVerticalSpacing(4);

  auto* row = new QHBoxLayout;
  for (TControl* column : {static_cast<TControl*>(active), static_cast<TControl*>(names),
                           static_cast<TControl*>(visible), static_cast<TControl*>(protectedLayers)})
    row->addWidget(column->Widget(), 0, Qt::AlignTop);
  dialog.Body()->addLayout(row);
  AddButtons(dialog);
}

void DescribeObjectLayers(TDialog& dialog)
{
  dialog.SetTitle(LoadStr(IDS_LAYER_TITLE));
  std::vector<std::string> numbers;
  for (int32_t i = 1; i <= kLayerCount; ++i)
    numbers.push_back(std::to_string(i));
  auto* layers = new TCheck(&dialog, 100, LoadStr(IDS_LAYER_GROUP), numbers, 101, 4);
  dialog.Body()->addWidget(layers->Widget());
  AddButtons(dialog);
}

void DescribeUnits(TDialog& dialog)
{
  dialog.SetTitle(LoadStr(IDS_UNITS_TITLE));
  auto* paper = new TRadio(&dialog, 100, LoadStr(IDS_UNITS_ON_PAPER),
                           Texts({IDS_UNIT_0002_INCH, IDS_UNIT_0005_INCH, IDS_UNIT_001_INCH, IDS_UNIT_005_MM,
                                  IDS_UNIT_01_MM, IDS_UNIT_02_MM}),
                           101);
  auto* scale = new TEdl(&dialog, 200, LoadStr(IDS_UNITS_SCALE), kTypeFloat, 6, 6, 15, 12, 199);
  auto* decimals = new TEdl(&dialog, 300, LoadStr(IDS_UNITS_DECIMALS), kTypeInt32, 12, 0, 2, 2, 299);
  auto* format = new TRadio(
      &dialog, 500, LoadStr(IDS_UNITS_FORMAT),
      Texts({IDS_UNITS_FORMAT_DECIMALS, IDS_UNITS_FORMAT_INCHES, IDS_UNITS_FORMAT_FEET_INCHES}), 501);
  auto* sizeLabel = new TStatic(&dialog, 600, LoadStr(IDS_UNITS_PIXEL_SIZE));
  auto* sizeLine = new TStatic(&dialog, 400, "");
  sizeLine->Widget()->setMinimumWidth(sizeLine->Widget()->fontMetrics().horizontalAdvance(QLatin1Char('0')) *
                                      24);

  auto* fields = new QGridLayout;
  AddField(fields, 0, 0, scale);
  AddField(fields, 1, 0, decimals);
  fields->setColumnStretch(2, 1);
  auto* right = new QVBoxLayout;
  right->addWidget(format->Widget());
  right->addLayout(fields);
  right->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addWidget(paper->Widget());
  top->addLayout(right);
  auto* size = new QHBoxLayout;
  size->addWidget(sizeLabel->Widget());
  size->addWidget(sizeLine->Widget(), 1);
  dialog.Body()->addLayout(top);
  dialog.Body()->addLayout(size);
  AddButtons(dialog);
}

// One framed group of the snap dialogue: its check box over its X and Y
// fields.
void DescribeSnapGroup(TDialog& dialog, int32_t group, uint32_t caption)
{
  auto* frame = new TGroupBox(&dialog, group, "");
  auto* check = new TCheck(&dialog, group + 1, "", {LoadStr(caption)}, group + 1);
  auto* x = new TEdl(&dialog, group + 2, LoadStr(IDS_SNAP_X), kTypeDouble, 6, 2, 15, 10, group + 3);
  auto* y = new TEdl(&dialog, group + 4, LoadStr(IDS_SNAP_Y), kTypeDouble, 6, 2, 15, 10, group + 5);
  QGridLayout* grid = frame->Grid();
  grid->addWidget(check->Widget(), 0, 0, 1, 4);
  AddField(grid, 1, 0, x);
  AddField(grid, 1, 2, y);
  dialog.Body()->addWidget(frame->Widget());
}

void DescribeSnap(TDialog& dialog)
{
  dialog.SetTitle(LoadStr(IDS_SNAP_TITLE));
  DescribeSnapGroup(dialog, 101, IDS_SNAP_GRID);
  DescribeSnapGroup(dialog, 107, IDS_SNAP_SNAP);
  AddButtons(dialog);
}

// A line drawn as the page draws the pen style of a button of the line
// style dialogue (0 solid, then dash, dot, dash-dot, dash-dot-dot).
QIcon PenStyleIcon(int32_t button, const QColor& colour)
{
  constexpr int kWidth = 120, kHeight = 12;
  QIcon icon;
  for (const qreal ratio : {1.0, 2.0}) {
    QPixmap pixmap(static_cast<int>(kWidth * ratio), static_cast<int>(kHeight * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QPen pen(colour, 1.0);
    pen.setCapStyle(Qt::FlatCap);
    if (button > 0)
      pen.setDashPattern(TQtPageDevice::DashPattern(static_cast<uint32_t>(button)));
    painter.setPen(pen);
    painter.drawLine(QPointF(0, kHeight / 2.0), QPointF(kWidth, kHeight / 2.0));
    icon.addPixmap(pixmap);
  }
  return icon;
}

void DescribePen(TDialog& dialog)
{
  dialog.SetTitle(LoadStr(IDS_PEN_TITLE));
  auto* style = new TRadio(
      &dialog, 32585, LoadStr(IDS_PEN_STYLE),
      Texts({IDS_PEN_SOLID, IDS_PEN_DASH, IDS_PEN_DOT, IDS_PEN_DASH_DOT, IDS_PEN_DASH_DOT_DOT}), 100);
  // Typed captions cannot picture a solid line (it came out as dashes):
  // each button shows its line as the page draws it, and keeps its caption
  // for screen readers and as a tip.
  for (int32_t i = 0; i < style->ItemCount(); ++i) {
    QAbstractButton* button = style->Button(i);
    button->setAccessibleName(button->text());
    button->setToolTip(button->text());
    button->setText(QString());
    button->setIcon(PenStyleIcon(i, button->palette().color(QPalette::WindowText)));
    button->setIconSize(QSize(120, 12));
  }
  auto* width = new TEdl(&dialog, 32563, LoadStr(IDS_PEN_WIDTH), kTypeDouble, 6, 0, 15, 10, 900);
  auto* row = new QGridLayout;
  AddField(row, 0, 0, width);
  row->setColumnStretch(2, 1);
  dialog.Body()->addWidget(style->Widget());
  dialog.Body()->addLayout(row);
  AddButtons(dialog);
}

void DescribeMultiEdit(TDialog& dialog)
{
  auto* edit = new TEdit(&dialog, 101, "", -1);
  const QFontMetrics metrics(edit->Widget()->font());
  edit->Widget()->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('x')) * 50,
                                 metrics.lineSpacing() * 10);
  // This one may be resized to see a long text.
  dialog.Body()->setSizeConstraint(QLayout::SetDefaultConstraint);
  dialog.Body()->addWidget(edit->Widget(), 1);
  AddButtons(dialog);
}

struct Description
{
  const char* name;
  DialogDescription describe;
};

const Description kDescriptions[] = {
    {"KARWI_DIALOGLAYERS", DescribeLayers}, {"KARWI_DIALOG1LAYER", DescribeObjectLayers},
    {"KARWI_DIALOGUNITES", DescribeUnits},  {"KARWI_DIALOGSNAP", DescribeSnap},
    {"KARWI_CHOOSEPEN", DescribePen},       {"KARWI_DIALOGMULTIEDIT", DescribeMultiEdit},
};

} // namespace

DialogDescription FindDialogDescription(std::string_view resource)
{
  for (const Description& description : kDescriptions) {
    if (CompareTextNoCase(resource, description.name) == 0)
      return description.describe;
  }
  return nullptr;
}
