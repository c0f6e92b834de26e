#pragma once

#include <cstdint>
#include <string>

class TClient;
class TInStream;
class TOutStream;
class TaClientPage;

// The document file (.vk1): the sections of the page view, the paper, the
// grid and snap, the layers, the symbol library and the object list, in
// that order, each behind its tag. Files are read whole into memory and
// written whole through a temporary file, so a failed save never damages
// the file it was meant to replace.
//
// Every question and message goes through the view's user input. A view
// without one (no window, as in the command-line tool) gets the safe answer
// of every question: No, or Cancel where there is a Cancel button.

// The version written into "VEKT TData-Version".
inline constexpr int32_t kDocumentFileVersion = 7;

// Results of SaveDocument and CloseDocument.
enum DocumentResult : int32_t {
  kDocumentNotDone = 0,
  kDocumentDone = 1,
  kDocumentCancelled = 2,
};

// Writes the document. With ask, an unmodified document is left alone and
// a modified one is saved only when the user says so. Without a path, or
// with saveAs, the user chooses the file. Returns kDocumentDone when the
// file was written, kDocumentCancelled when the user cancelled (the save
// question, a file dialog), kDocumentNotDone otherwise; error (may be null)
// then receives the reason of a failed write. A failed write leaves the
// file as it was, keeps the document modified and is reported to the user.
int32_t SaveDocument(TaClientPage& client, bool ask, bool saveAs, std::string* error = nullptr);

// What LoadDocument did, for callers that report it themselves.
struct LoadReport
{
  enum class Outcome {
    kLoaded,
    kKeptOpen,   // the file is the open document and the user kept it
    kCancelled,  // a file dialog or the save question was cancelled
    kUnreadable, // the file could not be read (reason says why)
    kRefused,    // not a document, or a newer one, and the user declined
  };
  Outcome outcome = Outcome::kCancelled;
  int32_t fileVersion = 0;
  int32_t objectsRead = 0;
  // The object list broke off before its end: objects are missing.
  bool damaged = false;
  std::string reason;
};

// Loads the file at path (with null or an empty path the user chooses it)
// into the view, after offering to save the document it held. Returns 1
// when a document was loaded, and also when the file is the one already
// open and the user declines to reload it; 0 otherwise, with the document
// on screen untouched. Reading a large file shows the work after half a
// second; when the user gives it up the view is left empty (kCancelled).
int32_t LoadDocument(TaClientPage& client, const char* path, LoadReport* report = nullptr);

// Where a file dialog opened for client starts: the folder of its file
// (with a trailing separator, so the dialog shows the folder itself), or
// empty for a document never saved.
std::string StartFolder(const TaClientPage& client);

// Offers to save changes, then empties the view. Returns kDocumentCancelled
// when the user cancelled or the changes the user wanted saved could not be
// written (the document then stays as it is), kDocumentDone otherwise.
int32_t CloseDocument(TaClientPage& client);
// The first half of CloseDocument: the offer to save, the document left
// open either way. Quitting asks every document before closing any.
int32_t OfferToSave(TaClientPage& client);

// 0 when the stream holds no object list (not a document), 1 for a file
// without a version section, otherwise the stored version.
int32_t GetFileVersion(TInStream& is);

// The "VEKT TData-Version" and "VEKT TData" sections: the objects that are
// saved (state without TData::kNotSaved), in list order.
void WriteObjectList(const TClient& client, TOutStream& os);
// Adds the objects of the stream's object list to client and returns how
// many were added. The list ends at the next section tag or the end of the
// data; complete (may be null) is false when it broke off before that, at a
// record that could not be read or added.
int32_t ReadObjectList(TClient& client, TInStream& is, bool* complete = nullptr);
