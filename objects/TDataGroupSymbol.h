#pragma once

#include "TDataGroup.h"
#include "TString.h"

#include <cstdint>
#include <string_view>

// A symbol definition: a named group kept in the document's symbol library.
// Its members are stored relative to its own top-left corner (its left and
// top stay 0), and its reference point is where instances are placed by.
// Instances (TDataSymbol) show it by name.
class TDataGroupSymbol : public TDataGroup
{
public:
  static constexpr int32_t kVersion = 1;

  TDataGroupSymbol();

  // Marks a definition as being walked (painted, its layers collected) for
  // as long as it lives, so that a definition that contains an instance of
  // itself, directly or through others, is not walked again from inside.
  class Visit
  {
  public:
    explicit Visit(const TDataGroupSymbol* definition);
    ~Visit();
    Visit(const Visit&) = delete;
    Visit& operator=(const Visit&) = delete;
    // False for a null definition or one that is already being walked.
    bool Entered() const { return m_definition != nullptr; }

  private:
    const TDataGroupSymbol* m_definition;
  };

  // The class factory: a new empty definition owned by the view and on its
  // active layers when made for a view.
  static TStreamable* Create(TDataOwner* client, int32_t argument);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  TData* Clone(TData* target, int32_t argument) const override;

  void SetName(std::string_view name) { symbolName.Assign(name); }
  std::string_view GetName() const { return symbolName.View(); }
  // False for an empty name.
  bool NameEquals(std::string_view name) const;
  // The members that are symbol instances: all of them for an empty name,
  // otherwise those showing that name.
  int32_t CountInstances(std::string_view name) const;
  // Renames the definition when it is called oldName, and every member
  // instance of oldName; refuses an empty newName. True when anything was
  // renamed. before (may be null) receives every renamed string with its
  // capacity.
  bool Rename(std::string_view oldName, std::string_view newName, StringCapacities* before = nullptr);
  // Lets every member instance look up its definition again, then moves the
  // content back so that it starts at the definition's top-left corner
  // again (the reference point moves with it).
  void RefreshInstances();
  // Fills an empty definition with copies of source's members, moved so
  // that source's top-left corner becomes (0, 0), and takes source's size.
  // The copies show no reference cross. Returns how many were copied.
  int32_t BuildFrom(const TDataGroup& source);

private:
  TString symbolName;
  mutable bool visiting = false;
};
