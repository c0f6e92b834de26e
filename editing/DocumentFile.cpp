#include "DocumentFile.h"

#include "ClassTable.h"
#include "Defaults.h"
#include "FieldRefresh.h"
#include "ImageFactories.h"
#include "LongWork.h"
#include "Messages.h"
#include "ObjectStream.h"
#include "OrderedWrite.h"
#include "StringTable.h"
#include "TAtomicFile.h"
#include "TDataGroup.h"
#include "TDataGroupSymbol.h"
#include "TImage.h"
#include "TInStream.h"
#include "TOutStream.h"
#include "TUserInput.h"
#include "TaClientPage.h"
#include "TailReader.h"
#include "WaitCursor.h"
#include "WorkMonitor.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

namespace {

constexpr const char* kPaperSection = "VEKT Papier";
constexpr const char* kVersionSection = "VEKT TData-Version";
constexpr const char* kObjectSection = "VEKT TData";
constexpr const char* kDocumentExtension = "vk1";

// How a save ended; callers that only need the public result map it.
enum class SaveOutcome { kDeclined, kWritten, kCancelled, kFailed };

int32_t ToResult(SaveOutcome outcome)
{
  switch (outcome) {
  case SaveOutcome::kWritten:
    return kDocumentDone;
  case SaveOutcome::kCancelled:
    return kDocumentCancelled;
  default:
    return kDocumentNotDone;
  }
}

// A message box through the view's input; without one, the box's safe way
// out.
int32_t Ask(TClient& client, const std::string& text, const std::string& title, uint32_t flags)
{
  if (TUserInput* input = client.GetInput())
    return input->MessageBox(text, title, flags);
  switch (flags & 0xF) {
  case MB_OK_:
    return IDOK_;
  case MB_YESNO_:
    return IDNO_;
  default:
    return IDCANCEL_;
  }
}

bool ChooseSavePath(TClient& client, std::string& path)
{
  TUserInput* input = client.GetInput();
  return input && input->ChooseSaveFile(path, LoadStr(IDS_DOCUMENT_FILTER), kDocumentExtension) &&
         !path.empty();
}

bool ChooseOpenPath(TaClientPage& client, std::string& path)
{
  TUserInput* input = client.GetInput();
  path = StartFolder(client);
  return input && input->ChooseOpenFile(path, LoadStr(IDS_DOCUMENT_FILTER)) && !path.empty();
}

// Two paths name the same file when their canonical forms agree (compared
// as the file system compares names).
bool SameFile(const std::string& a, const std::string& b)
{
  if (a.empty() || b.empty())
    return false;
  std::error_code ea, eb;
  const std::filesystem::path ca = std::filesystem::weakly_canonical(a, ea);
  const std::filesystem::path cb = std::filesystem::weakly_canonical(b, eb);
  if (ea || eb)
    return a == b;
  return ca == cb;
}

// Field texts such as the file name follow the document before it is
// written.
void RefreshBeforeSave(TClient& client)
{
  RefreshObjects(client, TData::kRefreshOnSave);
}

void WriteDocument(const TaClientPage& client, TOutStream& os)
{
  client.WriteClientSection(os);
  WriteSectionTag(os, kPaperSection);
  client.GetPage()->WritePaperSection(os);
  client.WriteSnapSection(os);
  client.GetLayerModule().Write(os);
  client.GetSymbolModule().WriteSymbolSection(os);
  WriteObjectList(client, os);
}

// Marks the view as being read into for as long as it lives.
class Loading
{
public:
  explicit Loading(TClient& client) : m_client(client) { m_client.SetLoading(true); }
  ~Loading() { m_client.SetLoading(false); }
  Loading(const Loading&) = delete;
  Loading& operator=(const Loading&) = delete;

private:
  TClient& m_client;
};

// Each reader finds its own section and applies its defaults when the
// section is missing, so the order in the file does not matter. Returns
// whether the object list was read to its end.
// Pictures are not kept in the document: once it is read, each image
// reads its file, or shares the pixels of one already read.
void LoadPictures(TaClientPage& client)
{
  const auto load = [](TImage& image) { image.Message(MSG_REFRESH_NO_WINDOW, 0, 0, nullptr); };
  for (int32_t i = 0; i < client.ObjectCount(); ++i)
    ForEachImage(client.ObjectAtIndex(i), load);
  const TClientModuleSym& symbols = client.GetSymbolModule();
  for (int32_t i = 0; i < symbols.GetDefinitionCount(); ++i)
    ForEachImage(symbols.GetDefinition(i), load);
}

bool ReadDocument(TaClientPage& client, TInStream& is, int32_t& objectsRead)
{
  client.ReadClientSection(is);
  const bool hasPaper = FindSectionTag(is, kPaperSection) != 0;
  client.GetPage()->ReadPaperSection(is, hasPaper);
  client.ReadSnapSection(is);
  client.GetLayerModule().Read(is);
  client.GetSymbolModule().ReadSymbolSection(is);
  bool complete = true;
  objectsRead = ReadObjectList(client, is, &complete);
  LoadPictures(client);
  return complete;
}

// Writes the document to path with the path already in place for the
// field texts; on failure the document keeps its old path.
bool WriteDocumentFile(TaClientPage& client, const std::string& path, std::string& reason)
{
  const std::string oldPath = client.GetFilePath();
  client.SetFilePath(path);
  RefreshBeforeSave(client);
  // Written block by block: a large document never lies in memory whole.
  const auto write = [&client](TOutStream& os) {
    WriteDocument(client, os);
    return os.good();
  };
  if (SaveFileAtomic(path, write, &reason))
    return true;
  client.SetFilePath(oldPath);
  RefreshBeforeSave(client);
  return false;
}

// Asks before a document read from a damaged file replaces that file.
// Yes keeps target, No lets the user choose another file; false when the
// user cancelled.
bool ConfirmTarget(TaClientPage& client, std::string& target, bool& nameChanged)
{
  while (client.IsFromDamagedFile() && SameFile(target, client.GetFilePath())) {
    const int32_t answer = Ask(client, FormatStr(IDS_SAVE_OVER_DAMAGED, client.GetTitle().c_str()),
                               LoadStr(IDS_SAVE_DOCUMENT_TITLE), MB_YESNOCANCEL_ | MB_ICONEXCLAMATION_);
    if (answer == IDYES_)
      return true;
    if (answer != IDNO_ || !ChooseSavePath(client, target))
      return false;
    nameChanged = true;
  }
  return true;
}

SaveOutcome Save(TaClientPage& client, bool ask, bool saveAs, std::string* error)
{
  if (ask) {
    if (!client.IsModified())
      return SaveOutcome::kDeclined;
    const std::string text = client.GetFileName().empty()
                                 ? FormatStr(IDS_SAVE_CHANGES_UNTITLED, client.GetUntitledNumber())
                                 : FormatStr(IDS_SAVE_CHANGES, client.GetFileName().c_str());
    const int32_t answer = Ask(client, text, LoadStr(IDS_SAVE_TITLE), MB_YESNOCANCEL_ | MB_ICONQUESTION_);
    if (answer == IDCANCEL_)
      return SaveOutcome::kCancelled;
    if (answer != IDYES_)
      return SaveOutcome::kDeclined;
  }

  std::string target = client.GetFilePath();
  bool nameChanged = false;
  if (target.empty() || saveAs) {
    if (!ChooseSavePath(client, target))
      return SaveOutcome::kCancelled;
    nameChanged = true;
  }
  if (!ConfirmTarget(client, target, nameChanged))
    return SaveOutcome::kCancelled;

  std::string reason;
  if (!WriteDocumentFile(client, target, reason)) {
    const std::string title = LoadStr(IDS_SAVE_DOCUMENT_TITLE);
    if (Ask(client, LoadStr(IDS_SAVE_OPEN_ERROR_RETRY), title, MB_YESNO_ | MB_ICONSTOP_) != IDYES_) {
      if (error)
        *error = reason;
      return SaveOutcome::kFailed;
    }
    if (!ChooseSavePath(client, target) || !ConfirmTarget(client, target, nameChanged))
      return SaveOutcome::kCancelled;
    nameChanged = true;
    if (!WriteDocumentFile(client, target, reason)) {
      Ask(client, FormatStr(IDS_SAVE_OPEN_ERROR, reason.c_str()), title, MB_OK_ | MB_ICONSTOP_);
      if (error)
        *error = reason;
      return SaveOutcome::kFailed;
    }
  }

  client.SetModified(false);
  client.SetFromDamagedFile(false);
  if (nameChanged)
    client.NotifyDocument(MSG_DOC_SAVED_AS);
  return SaveOutcome::kWritten;
}

// Adds a record read from the list to the view; false when the list breaks
// off there (the record broke off, is not a drawing object, or the view
// would not take it).
bool AddRead(TClient& client, std::unique_ptr<TStreamable> object, bool broken, int32_t& added)
{
  // A record that broke off leaves an object with made-up fields.
  if (broken)
    return false;
  TData* data = object->IsA(kTData) ? dynamic_cast<TData*>(object.get()) : nullptr;
  if (!data)
    return false;
  const int32_t taken = client.AddNewObject(data, false);
  if (taken == 0)
    return false;
  if (client.ObjectAtIndex(client.ObjectCount() - 1) == data) {
    object.release();
    ++added;
    return true;
  }
  // The view takes a plain group for a selection carrier and keeps its
  // members instead of the group: they leave the group, whose empty shell
  // goes, so that nothing is owned twice.
  if (auto* group = dynamic_cast<TDataGroup*>(data))
    group->RemoveAllChildren();
  added += taken;
  return true;
}

// Reads records until the list ends; false when it broke off at a record
// that could not be read or added.
bool ReadObjects(TClient& client, TInStream& is, int32_t& added)
{
  // Reading a huge document can be given up: the work that asked for it
  // is asked now and then (the caller sees the answer and drops it all).
  unsigned sinceAsked = 0;
  const auto givenUp = [&sinceAsked]() {
    if (++sinceAsked < WorkMonitor::kItemsBetweenPolls)
      return false;
    sinceAsked = 0;
    return WorkMonitor::Poll();
  };
  // A long list is read from its middle on by a second thread meanwhile;
  // what it read is taken when this reading comes to where it began.
  std::unique_ptr<TailReader> tail;
  const size_t split = TailReader::SplitPoint(
      is.Data(), static_cast<size_t>(std::max<int64_t>(is.tellg(), 0)), is.Data().size());
  if (split != std::string_view::npos) {
    // The defaults objects copy are made before two threads copy them.
    DefaultFont().GetHandle();
    DefaultPen().GetHandle();
    DefaultBrush().GetHandle();
    tail = std::make_unique<TailReader>(is.Data(), split);
  }
  for (;;) {
    if (givenUp())
      return true;
    if (tail) {
      const int32_t next = FindNextObject(is);
      const int64_t at = is.tellg();
      if (next != 0 && at == static_cast<int64_t>(tail->Start())) {
        if (!tail->Wait([] { return WorkMonitor::Poll(); }))
          return true;
        for (std::unique_ptr<TStreamable>& object : tail->Objects()) {
          if (givenUp())
            return true;
          if (!AddRead(client, std::move(object), false, added))
            return false;
        }
        tail->LeaveAsRead(is);
        return tail->Intact();
      }
      // The list ended before that line, or a record read past it.
      if (next == 0 || at > static_cast<int64_t>(tail->Start()))
        tail.reset();
    }
    std::unique_ptr<TStreamable> object(ReadObject(is));
    if (!object) {
      // The end of the list, unless the stream broke or a record of a known
      // class is still ahead (one without a reader, or one that gave
      // nothing).
      return !is.fail() && FindNextObject(is) == 0;
    }
    const bool broken = is.fail();
    if (!AddRead(client, std::move(object), broken, added))
      return false;
  }
}

} // namespace

int32_t SaveDocument(TaClientPage& client, bool ask, bool saveAs, std::string* error)
{
  return ToResult(Save(client, ask, saveAs, error));
}

int32_t OfferToSave(TaClientPage& client)
{
  // Changes the user wanted saved but that could not be written are not
  // thrown away.
  const SaveOutcome outcome = Save(client, true, false, nullptr);
  return outcome == SaveOutcome::kCancelled || outcome == SaveOutcome::kFailed ? kDocumentCancelled
                                                                               : kDocumentDone;
}

int32_t CloseDocument(TaClientPage& client)
{
  if (OfferToSave(client) != kDocumentDone)
    return kDocumentCancelled;
  client.SetFilePath(std::string());
  client.ClearObjects();
  client.SetModified(false);
  client.SetFromDamagedFile(false);
  client.GetSymbolModule().Clear();
  client.InvalidateWindow();
  return kDocumentDone;
}

std::string StartFolder(const TaClientPage& client)
{
  if (client.GetFilePath().empty())
    return std::string();
  const std::filesystem::path folder = std::filesystem::path(client.GetFilePath()).parent_path();
  return folder.empty() ? std::string() : (folder / "").string();
}

int32_t LoadDocument(TaClientPage& client, const char* pathArgument, LoadReport* report)
{
  LoadReport local;
  LoadReport& result = report ? *report : local;
  result = LoadReport();

  std::string path = pathArgument ? pathArgument : "";
  if (path.empty() && !ChooseOpenPath(client, path))
    return 0;

  const bool reload = SameFile(path, client.GetFilePath());
  if (reload && Ask(client, LoadStr(IDS_OPEN_ALREADY_EDITED), "",
                    MB_YESNO_ | MB_ICONQUESTION_ | MB_DEFBUTTON2_) != IDYES_) {
    result.outcome = LoadReport::Outcome::kKeptOpen;
    return 1;
  }

  // The file is read and checked before anything of the open document is
  // given up.
  const std::string openTitle = LoadStr(IDS_OPEN_DOCUMENT_TITLE);
  TInStream is;
  errno = 0;
  if (!is.LoadFile(path)) {
    result.outcome = LoadReport::Outcome::kUnreadable;
    result.reason = std::strerror(errno != 0 ? errno : EIO);
    Ask(client, FormatStr(IDS_OPEN_UNREADABLE, path.c_str(), result.reason.c_str()), openTitle,
        MB_OK_ | MB_ICONSTOP_);
    return 0;
  }
  result.fileVersion = GetFileVersion(is);
  const bool unknown = result.fileVersion == 0;
  if (unknown || result.fileVersion > kDocumentFileVersion) {
    const uint32_t question = unknown ? IDS_OPEN_NOT_RECOGNIZED : IDS_OPEN_NEWER_VERSION;
    if (Ask(client, LoadStr(question), "", MB_YESNO_ | MB_ICONSTOP_ | MB_DEFBUTTON2_) != IDYES_) {
      result.outcome = LoadReport::Outcome::kRefused;
      return 0;
    }
  }

  // Reloading throws the changes away, as the user just chose.
  if (reload)
    client.SetModified(false);
  if (CloseDocument(client) != kDocumentDone)
    return 0;

  client.SetFilePath(path);
  bool complete = true;
  {
    std::optional<LongWork> work;
    if (TUserInput* input = client.GetInput())
      work.emplace(*input, LoadStr(IDS_OPEN_WORKING));
    {
      const Loading loading(client);
      complete = ReadDocument(client, is, result.objectsRead);
    }
    if (work && work->Cancelled()) {
      // Given up: no half document stays behind.
      CloseDocument(client);
      client.RecomputeView();
      result.outcome = LoadReport::Outcome::kCancelled;
      return 0;
    }
  }
  client.RecomputeView();
  client.InvalidateWindow();
  if (!complete) {
    // What is on screen is not all of the file: saving it must not quietly
    // replace the file.
    result.damaged = true;
    client.SetModified(true);
    client.SetFromDamagedFile(true);
    Ask(client, FormatStr(IDS_OPEN_DAMAGED, result.objectsRead), openTitle, MB_OK_ | MB_ICONSTOP_);
  }
  if (IsReadOnlyFile(path))
    Ask(client, LoadStr(IDS_OPEN_READ_ONLY), openTitle, MB_OK_ | MB_ICONINFORMATION_);
  client.NotifyDocument(MSG_DOC_LOADED);
  result.outcome = LoadReport::Outcome::kLoaded;
  return 1;
}

int32_t GetFileVersion(TInStream& is)
{
  int32_t version = 1;
  if (FindSectionTag(is, kVersionSection)) {
    int32_t record = 0, stored = 0;
    if (is >> record >> stored)
      version = stored;
  }
  return FindSectionTag(is, kObjectSection) ? version : 0;
}

void WriteObjectList(const TClient& client, TOutStream& os)
{
  int32_t count = 0;
  for (int32_t i = 0; i < client.ObjectCount(); ++i) {
    if (!client.ObjectAtIndex(i)->TestState(TData::kNotSaved))
      ++count;
  }
  WriteSectionTag(os, kVersionSection);
  os << 0 << ' ' << kDocumentFileVersion << '\n';
  WriteSectionTag(os, kObjectSection);
  os << count << '\n';
  // A long list is written on two cores (each object's record depends on
  // that object alone).
  WriteInOrder(os, static_cast<size_t>(client.ObjectCount()), [&client](TOutStream& out, size_t i) {
    const TData* object = client.ObjectAtIndex(static_cast<int32_t>(i));
    if (!object->TestState(TData::kNotSaved))
      WriteFrom(out, *object);
  });
}

int32_t ReadObjectList(TClient& client, TInStream& is, bool* complete)
{
  int32_t added = 0;
  bool intact = true;
  if (FindSectionTag(is, kObjectSection)) {
    // The stored count is not trusted: the list runs to the next section
    // or the end of the data, so records after a wrong count (even 0) are
    // not lost.
    int32_t count = 0;
    if (!(is >> count))
      is.clear();
    WaitCursor wait(client);
    intact = ReadObjects(client, is, added);
  }
  if (complete)
    *complete = intact;
  return added;
}
