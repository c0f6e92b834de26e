#include "TListe.h"

#include "ClassTable.h"
#include "Messages.h"
#include "TDialog.h"

#include <QListWidget>

TListe::TListe(TDialog* dialog, int32_t id) : TControl(dialog, id)
{
  classId = kTListe;
  auto* list = new QListWidget(DialogWindow());
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  QObject::connect(list, &QListWidget::currentRowChanged, [this] { NotifyDialog(kClicked); });
  QObject::connect(list, &QListWidget::itemDoubleClicked, [this] {
    if (TDialog* owning = GetDialog())
      owning->WndProc(WM_COMMAND_, IDOK_, 0);
  });
  SetWidget(list);
}

bool TListe::IsA(int32_t id) const
{
  return id == kTListe || TControl::IsA(id);
}

void TListe::Add(const std::string& text)
{
  if (auto* list = static_cast<QListWidget*>(Widget()))
    list->addItem(QString::fromStdString(text));
}

void TListe::Clear()
{
  if (auto* list = static_cast<QListWidget*>(Widget()))
    list->clear();
}

int32_t TListe::Count() const
{
  const auto* list = static_cast<const QListWidget*>(Widget());
  return list ? list->count() : 0;
}

int32_t TListe::GetSelection() const
{
  const auto* list = static_cast<const QListWidget*>(Widget());
  return list ? list->currentRow() : -1;
}

void TListe::SetSelection(int32_t index)
{
  if (auto* list = static_cast<QListWidget*>(Widget()))
    list->setCurrentRow(index >= 0 && index < list->count() ? index : -1);
}

std::string TListe::GetItemText(int32_t index) const
{
  const auto* list = static_cast<const QListWidget*>(Widget());
  const QListWidgetItem* item = list ? list->item(index) : nullptr;
  return item ? item->text().toStdString() : std::string();
}
