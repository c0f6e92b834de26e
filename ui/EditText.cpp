#include "EditText.h"

#include "Messages.h"
#include "TDialog.h"
#include "TEdit.h"
#include "TFont.h"

#include <QFont>

namespace {

constexpr int32_t kEditItem = 101;

} // namespace

bool EditText(TVue* parent, std::string& text, int32_t limit, const std::string& title, const TFont* font)
{
  TDialog dialog("KARWI_DialogMultiEdit", parent);
  auto* edit = dialog.ControlAs<TEdit>(kEditItem);
  if (!edit)
    return false;
  dialog.SetTitle(title);
  if (font) {
    // The face and style of the text at a size the dialogue can show.
    QFont shown = edit->Widget()->font();
    const QFont& face = font->GetHandle();
    shown.setFamily(face.family());
    shown.setWeight(face.weight());
    shown.setItalic(face.italic());
    edit->SetFont(shown);
  }
  // The text comes back with the line ends it came with.
  edit->SetLineEnd(text.find("\r\n") != std::string::npos ? "\r\n" : "\n");
  edit->SetLimit(limit);
  edit->SetText(text);
  if (dialog.RunModal() != IDOK_)
    return false;
  text = edit->GetText();
  return true;
}
