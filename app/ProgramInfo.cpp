#include "ProgramInfo.h"

#include "StringTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

std::string ProgramVersion()
{
  return VEKTA_VERSION;
}

std::string AboutText()
{
  std::string text = LoadStr(IDS_PROGRAM_NAME);
  text += " " + ProgramVersion() + "\n";
  text += LoadStr(IDS_ABOUT_DESCRIPTION);
  text += "\n\n";
  text += LoadStr(IDS_ABOUT_COMPANY);
  text += "\n";
  text += LoadStr(IDS_SUPPORT_WEB_SITE);
  text += "\n";
  text += LoadStr(IDS_ABOUT_COPYRIGHT);
  text += LoadStr(IDS_ABOUT_SUPPORT);
  text += LoadStr(IDS_SUPPORT_ONLINE_SUPPORT);
  text += "\n";
  text += LoadStr(IDS_SUPPORT_MAIL);
  return text;
}

std::string ManualPath()
{
  const QDir programFolder(QCoreApplication::applicationDirPath());
  const QString beside = programFolder.filePath(QStringLiteral("docs/index.html"));
  // Installed: bin/vekta beside share/doc/vekta.
  const QString installed = programFolder.filePath(QStringLiteral("../share/doc/vekta/index.html"));
  for (const QString& candidate : {beside, installed, QStringLiteral(VEKTA_DOCS_DIR "/index.html")}) {
    if (QFileInfo::exists(candidate))
      return QFileInfo(candidate).absoluteFilePath().toStdString();
  }
  return {};
}
