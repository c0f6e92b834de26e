#include "LanguageSettings.h"

#include "DateTime.h"
#include "StringTable.h"
#include "TextCompare.h"
#include "ValueFormat.h"

void ApplyResourceLanguage()
{
  const bool english = CompareTextNoCase(LoadStr(IDS_LANGUAGE), "en_US") == 0;
  SetNameLanguage(english ? kLanguageEnglish : kLanguageFrench);
  if (english)
    SetDecimalSeparator('.');
}
