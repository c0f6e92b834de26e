#include "TDialogIntegers.h"

#include "Messages.h"
#include "StringTable.h"
#include "TEdl.h"
#include "TStatic.h"
#include "ValueFormat.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

constexpr int32_t kFirstField = 100;
constexpr int32_t kFieldWidth = 6;

} // namespace

TDialogIntegers::TDialogIntegers(TVue* parentView, const std::string& title,
                                 const std::vector<TUserInput::IntegerField>& fields)
    : TDialog(parentView, title)
{
  SetCentredOnScreen(true);
  m_grid = new QGridLayout;
  for (size_t i = 0; i < fields.size(); ++i) {
    const int32_t id = kFirstField + static_cast<int32_t>(i);
    auto* edit = new TEdl(this, id, fields[i].label, kTypeInt16, 6, 0, kFieldWidth, kFieldWidth);
    edit->SetText(std::to_string(fields[i].value));
    edit->Widget()->setMaximumWidth(edit->Widget()->minimumWidth());
    m_grid->addWidget(edit->GetLabel()->Widget(), static_cast<int>(i) + 1, 0);
    m_grid->addWidget(edit->Widget(), static_cast<int>(i) + 1, 1);
  }
  Body()->addLayout(m_grid);
  AddOkCancel(LoadStr(IDS_BUTTON_PROMPT_OK), LoadStr(IDS_BUTTON_CANCEL));
}

TDialogIntegers::TDialogIntegers(TVue* parentView, const std::string& title,
                                 const std::vector<TUserInput::IntegerField>& fields,
                                 const TUserInput::PaperSizeHelp& help)
    : TDialogIntegers(parentView, title, fields)
{
  if (fields.size() == 2)
    AddPaperHelp(help);
}

int32_t TDialogIntegers::FieldValue(size_t index) const
{
  int16_t value = 0;
  if (const auto* edit = ControlAs<TEdl>(kFirstField + static_cast<int32_t>(index)))
    edit->GetValue(&value);
  return value;
}

void TDialogIntegers::AddPaperHelp(const TUserInput::PaperSizeHelp& help)
{
  QLineEdit* edits[2] = {};
  for (size_t i = 0; i < 2; ++i) {
    if (auto* edit = ControlAs<TEdl>(kFirstField + static_cast<int32_t>(i)))
      edits[i] = qobject_cast<QLineEdit*>(edit->Widget());
  }
  if (!edits[0] || !edits[1])
    return;
  auto* presets = new QComboBox;
  presets->addItem(QString::fromStdString(LoadStr(IDS_PAPER_CUSTOM)));
  for (const TUserInput::PaperPreset& preset : help.presets)
    presets->addItem(QString::fromStdString(preset.name));
  auto* label = new QLabel(QString::fromStdString(LoadStr(IDS_PAPER_LABEL)));
  label->setBuddy(presets);
  m_grid->addWidget(label, 0, 0);
  m_grid->addWidget(presets, 0, 1, 1, 2);
  QLabel* shown[2] = {new QLabel, new QLabel};
  m_grid->addWidget(shown[0], 1, 2);
  m_grid->addWidget(shown[1], 2, 2);

  QLineEdit* width = edits[0];
  QLineEdit* height = edits[1];
  // Typing shows the size in the user's unit and picks the preset it
  // matches; choosing a preset types its size.
  auto refresh = [this, help, presets, shown] {
    const int32_t values[2] = {FieldValue(0), FieldValue(1)};
    for (size_t i = 0; i < 2; ++i)
      shown[i]->setText(help.describe ? QString::fromStdString(help.describe(values[i])) : QString());
    int index = 0;
    for (size_t i = 0; i < help.presets.size() && index == 0; ++i) {
      if (help.presets[i].width == values[0] && help.presets[i].height == values[1])
        index = static_cast<int>(i) + 1;
    }
    const QSignalBlocker quiet(presets);
    presets->setCurrentIndex(index);
  };
  QObject::connect(width, &QLineEdit::textChanged, presets, refresh);
  QObject::connect(height, &QLineEdit::textChanged, presets, refresh);
  QObject::connect(presets, &QComboBox::currentIndexChanged, presets, [help, width, height](int index) {
    if (index < 1 || static_cast<size_t>(index) > help.presets.size())
      return;
    const TUserInput::PaperPreset& preset = help.presets[static_cast<size_t>(index) - 1];
    width->setText(QString::number(preset.width));
    height->setText(QString::number(preset.height));
  });
  refresh();
}

bool TDialogIntegers::Run(std::vector<TUserInput::IntegerField>& fields)
{
  if (RunModal() != IDOK_)
    return false;
  for (size_t i = 0; i < fields.size(); ++i)
    fields[i].value = FieldValue(i);
  return true;
}
