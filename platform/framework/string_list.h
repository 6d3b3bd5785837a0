#pragma once
// Ordered list of strings.
#include <string>
#include <utility>
#include <vector>

#include "platform/framework/ansi_string.h"

class TStringList {
 public:
  int Add(AnsiString text) {
    FStrings.push_back(std::move(text));
    return Count() - 1;
  }
  void Clear() { FStrings.clear(); }
  int Count() const { return static_cast<int>(FStrings.size()); }
  const AnsiString& operator[](int index) const { return FStrings.at(index); }
  AnsiString& operator[](int index) { return FStrings.at(index); }

  // Every string followed by a line break.
  AnsiString Text() const {
    AnsiString text;
    for (const auto& s : FStrings) text += s + "\n";
    return text;
  }

  auto begin() const { return FStrings.begin(); }
  auto end() const { return FStrings.end(); }

 private:
  std::vector<AnsiString> FStrings;
};
