#pragma once

#include "ClassTable.h"
#include "DocumentFile.h"
#include "Messages.h"
#include "TPage.h"
#include "TScriptedInput.h"
#include "TaClientPage.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A plain drawing object that draws its rectangle with its own pen and brush
// and keeps the messages it was sent. Its record is the bare "TData"
// record, so tests can write object lists by hand.
class RecordingObject : public TData
{
public:
  RecordingObject() = default;
  RecordingObject(int32_t l, int32_t t, int32_t r, int32_t b) { Assign(TRect(l, t, r, b)); }
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override
  {
    received.push_back(message);
    // It takes layer masks, as drawing objects do.
    if (message == MSG_MASK_B)
      return 0x10;
    return TData::Message(message, a, b, p);
  }
  bool Paint(TPage* page, uint8_t mode) override
  {
    if (page) {
      page->SelectPen(pen);
      page->SelectBrush(brush);
    }
    return TData::Paint(page, mode);
  }
  static TStreamable* Create(TDataOwner*, int32_t) { return new RecordingObject; }

  std::vector<uint32_t> received;
};

// The record RecordingObject writes for the rectangle (l, t, r, b) with the
// default pen and brush on the default layer.
inline std::string ObjectRecord(int32_t l, int32_t t, int32_t r, int32_t b)
{
  return "TData 3 0 8 0\n\tTPen 0 6 1 1 0\n\tTBrush 0 1 0 0\n\tTRect 0 " + std::to_string(l) + " " +
         std::to_string(t) + " " + std::to_string(r) + " " + std::to_string(b) + "\n";
}

// A document view on a scripted window, with "TData" records readable as
// RecordingObjects.
class DocumentTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    SetClassFactory(kTData, &RecordingObject::Create);
    input.Attach(&client);
  }
  void TearDown() override { SetClassFactory(kTData, nullptr); }

  RecordingObject* Add(int32_t l, int32_t t, int32_t r, int32_t b)
  {
    auto* object = new RecordingObject(l, t, r, b);
    client.AddObject(object, false);
    return object;
  }
  // Writes data as a file of the temporary folder and answers its path.
  std::string File(const std::string& name, const std::string& data)
  {
    const std::string path = dir.File(name);
    WriteWholeFile(path, data);
    return path;
  }

  TempDir dir;
  TaClientPage client{3};
  TScriptedInput input;
};

// The sections of a document before its object list, as Vekta writes them
// for an 800 x 1000 paper with factor 0.01 and 2 decimals.
inline std::string DocumentHead(const std::string& versionLine = "0 7")
{
  std::string text = "\n[VEKT TClient]\n1 100 16777215\n"
                     "\n[VEKT Papier]\n-3 800 1000 1 1 0.01 2 100 6 0\n"
                     "\n[VEKT Snap]\n0 1 1 10 10 10 10\n"
                     "\n[VEKT Layers]\n2 65535 8 0 8\n1\n2\n3\n4\n5\n6\n7\n8\n"
                     "\n[VEKT Symboles]\n0 0\n";
  if (!versionLine.empty())
    text += "\n[VEKT TData-Version]\n" + versionLine + "\n";
  return text;
}

// A whole document: the head, then the object list with the stored count.
inline std::string Document(int32_t count, const std::string& records, const std::string& versionLine = "0 7")
{
  return DocumentHead(versionLine) + "\n[VEKT TData]\n" + std::to_string(count) + "\n" + records;
}
