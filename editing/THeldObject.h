#pragma once

#include <memory>

class TData;
class TDataGroup;

// Deletes a selection carrier's shell only: the carrier gathers objects
// that belong to someone else (the view), which stay.
struct ShellOnly
{
  void operator()(TDataGroup* carrier) const;
};
// A carrier for the length of one command.
using Carrier = std::unique_ptr<TDataGroup, ShellOnly>;

// An object, or a carrier of objects, that an undo record holds, with what
// the record owns of it. Out of the document, the record owns it all (a
// carrier with its children): destroying the record destroys it. In the
// document, the objects are the view's; the record owns at most the shell
// of a carrier that gathers them.
class THeldObject
{
public:
  THeldObject() = default;
  ~THeldObject();
  THeldObject(THeldObject&& other) noexcept;
  THeldObject& operator=(THeldObject&& other) noexcept;
  THeldObject(const THeldObject&) = delete;
  THeldObject& operator=(const THeldObject&) = delete;

  // What left the document (or never was in it): the record owns all of it.
  static THeldObject OutOfDocument(std::unique_ptr<TData> object);
  // What is in the document: the record owns only a carrier's shell.
  static THeldObject InDocument(TData* object);

  TData* Get() const { return m_object; }
  bool IsOutOfDocument() const { return m_ownsAll; }
  bool IsCarrier() const { return m_carrier; }
  // The objects left the document: from now on the record owns them.
  void LeaveDocument() { m_ownsAll = true; }
  // The objects joined the document: the view owns them from now on.
  void EnterDocument() { m_ownsAll = false; }

private:
  void Reset();

  TData* m_object = nullptr;
  bool m_ownsAll = false;
  // Known while the object surely lives: an object in the document may be
  // gone by the time the record is (another record destroyed it), and is
  // then never looked at again.
  bool m_carrier = false;
};

// True for a carrier: a plain group the view adds, removes and looks for
// child by child (a top-level group of a document is always such a carrier).
bool IsCarrier(const TData* object);
