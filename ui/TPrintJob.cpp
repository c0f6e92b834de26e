#include "TPrintJob.h"

#include "TYieldBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstdio>

namespace {

TPrintJob* g_job = nullptr;

} // namespace

TPrintJob& TPrintJob::Current()
{
  if (!g_job) {
    g_job = new TPrintJob;
    // Gone before the application object: the printer holds platform
    // resources that must not outlive it.
    qAddPostRoutine([] {
      delete g_job;
      g_job = nullptr;
    });
  }
  return *g_job;
}

TPrintJob::TPrintJob() = default;

TPrintJob::~TPrintJob()
{
  End(true);
}

void TPrintJob::Prepare(const TUserInput::PrintSettings& settings)
{
  if (!m_printer) {
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
      m_printer->setOutputFormat(QPrinter::PdfFormat);
      m_printer->setOutputFileName(QDir::home().filePath(QStringLiteral("print.pdf")));
    }
  }
  m_printer->setPageOrientation(settings.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
  m_printer->setCopyCount(1);
  m_printer->setFromTo(0, 0);
}

QPrinter* TPrintJob::Choose(QWidget* owner, int32_t mode, TUserInput::PrintSettings& settings)
{
  End(true);
  Prepare(settings);
  bool accepted = true;
  if (mode == 1 || (mode == 0 && m_printer->outputFormat() == QPrinter::PdfFormat &&
                    m_printer->outputFileName().isEmpty())) {
    QPrintDialog dialog(m_printer.get(), owner);
    dialog.setMinMax(settings.min, settings.max);
    dialog.setFromTo(settings.from, settings.to);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    accepted = dialog.exec() == QDialog::Accepted;
    if (accepted) {
      switch (dialog.printRange()) {
      case QAbstractPrintDialog::Selection:
        settings.rangeKind = 2;
        break;
      case QAbstractPrintDialog::PageRange:
        settings.rangeKind = 3;
        settings.from = m_printer->fromPage();
        settings.to = m_printer->toPage();
        break;
      default:
        settings.rangeKind = 1;
        break;
      }
    }
  } else if (mode == 2) {
    QPageSetupDialog dialog(m_printer.get(), owner);
    accepted = dialog.exec() == QDialog::Accepted;
  }
  if (!accepted)
    return nullptr;
  const QPageLayout layout = m_printer->pageLayout();
  settings.orientation = layout.orientation() == QPageLayout::Landscape ? 2 : 1;
  settings.paperCode = layout.pageSize().windowsId();
  if (m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty()) {
    // Written beside its name until the job ends well.
    m_target = m_printer->outputFileName();
    m_partial = m_target + QStringLiteral(".part");
    m_printer->setOutputFileName(m_partial);
  }
  return m_printer.get();
}

void TPrintJob::ShowProgress(QWidget* owner, const std::string& title, bool show)
{
  if (show) {
    if (!m_box)
      m_box = std::make_unique<TYieldBox>(owner, QString::fromStdString(title));
    m_box->Show();
  } else if (m_box) {
    m_box->Close();
  }
}

bool TPrintJob::Cancelled()
{
  return m_box && m_box->Yield() == TYieldBox::kCancelPressed;
}

bool TPrintJob::End(bool abort)
{
  if (m_box)
    m_box->Close();
  m_box.reset();
  if (m_partial.isEmpty())
    return true;
  bool ok = true;
  if (abort) {
    QFile::remove(m_partial);
  } else {
    // In place in one step; an earlier file of the name goes only now.
    ok = std::rename(QFile::encodeName(m_partial).constData(), QFile::encodeName(m_target).constData()) == 0;
    if (!ok)
      QFile::remove(m_partial);
  }
  m_printer->setOutputFileName(m_target);
  m_partial.clear();
  m_target.clear();
  return ok;
}
