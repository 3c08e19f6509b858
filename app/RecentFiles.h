// The files a user loaded or saved lately, newest first, each with the kind of
// GA document it holds so that opening it again uses the matching Load command.
// Kept as "kind:file" lines in the remembered settings.
//
//   TRecentFiles recent;
//   recent.Add("/data/run.xml", TDocumentKind::dkGenoType);
//   recent.Entries()[0].Kind;   // dkGenoType
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace zp::app {

// The three document kinds of the file commands: Load/Save, the GenoType pair, the Population pair.
enum class TDocumentKind { dkAlgorithm, dkGenoType, dkPopulation };
inline constexpr std::array<std::string_view, 3> kDocumentKindNames{"algorithm", "genotype", "population"};
QString ToString(TDocumentKind Kind);
// The kind named Text; none for an unknown name.
std::optional<TDocumentKind> DocumentKindFromString(const QString& Text);

struct TRecentFile {
  QString File;
  TDocumentKind Kind;
  bool operator==(const TRecentFile&) const = default;
};

class TRecentFiles {
 public:
  static constexpr int kMaxEntries = 8;

  // File becomes the newest entry, with Kind; an older entry for the same file goes,
  // and so does the oldest beyond kMaxEntries. An empty name is ignored.
  void Add(const QString& File, TDocumentKind Kind);
  // Takes File off the list; a file not listed is ignored.
  void Remove(const QString& File);
  const std::vector<TRecentFile>& Entries() const { return entries_; }

  // One "kind:file" line per entry, newest first.
  QStringList ToStrings() const;
  // Replaces the list with Lines as ToStrings writes them, skipping lines it cannot read.
  void FromStrings(const QStringList& Lines);

 private:
  std::vector<TRecentFile> entries_;
};

}  // namespace zp::app
