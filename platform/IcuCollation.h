#pragma once
// The collation backend on ICU: the collator of a locale at secondary
// strength, so letter case is ignored and accents are not.
#include <memory>
#include <string>

#include "platform/Collation.h"

namespace quillet {

class IcuCollation : public Collation {
 public:
  // locale: an ICU or POSIX locale name ("de", "sv_SE", "de_DE.UTF-8"). "",
  // "C" and "POSIX" (with any codeset) mean ICU's root collation: ICU's own
  // POSIX tailoring puts every capital before every small letter.
  explicit IcuCollation(const std::string& locale = "");
  ~IcuCollation() override;
  IcuCollation(const IcuCollation&) = delete;
  IcuCollation& operator=(const IcuCollation&) = delete;

  std::string SortKey(std::string_view text) override;
  int Compare(std::string_view a, std::string_view b) override;

  // The ICU locale the collator was asked for ("" for root).
  const std::string& LocaleId() const { return localeId_; }
  // False when ICU knows no language of that name and sorts by the root
  // collation instead ("xx", a typing mistake).
  bool KnowsLocale() const { return knowsLocale_; }

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::string localeId_;
  bool knowsLocale_ = true;
};

// The locale the collation follows, from the values of LC_ALL, LC_COLLATE and
// LANG (null when unset): the first that is set and not empty.
std::string CollationLocaleName(const char* lcAll, const char* lcCollate, const char* lang);

// The ICU locale id for a locale name: codeset and modifier dropped
// ("de_DE.UTF-8@euro" gives "de_DE"); "" for C, POSIX and the empty name.
std::string IcuLocaleId(const std::string& name);

}  // namespace quillet
