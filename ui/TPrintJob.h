#pragma once

#include "TUserInput.h"

#include <QString>

#include <memory>
#include <string>

class QPrinter;
class QWidget;
class TYieldBox;

// The program's printer and the job running on it. The printer is kept
// from one job to the next (the "current printer"); with no printer
// installed it prints to a PDF file, which is written beside its name and
// put in place only when the job ends well, so a stopped job leaves no
// file behind.
class TPrintJob
{
public:
  static TPrintJob& Current();
  ~TPrintJob();
  TPrintJob(const TPrintJob&) = delete;
  TPrintJob& operator=(const TPrintJob&) = delete;

  // mode 0: the current printer as it is (its dialog when it would print
  // to a file not yet named), 1: the print dialog, 2: the page set-up
  // dialog. Null when cancelled.
  QPrinter* Choose(QWidget* owner, int32_t mode, TUserInput::PrintSettings& settings);
  void ShowProgress(QWidget* owner, const std::string& title, bool show);
  bool Cancelled();
  bool End(bool abort);

private:
  TPrintJob();
  void Prepare(const TUserInput::PrintSettings& settings);

  std::unique_ptr<QPrinter> m_printer;
  std::unique_ptr<TYieldBox> m_box;
  QString m_target; // the PDF file chosen, while a job writes beside it
  QString m_partial;
};
