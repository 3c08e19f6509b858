#include "app/RecentFiles.h"

#include <algorithm>

namespace zp::app {

QString ToString(TDocumentKind Kind) {
  const std::string_view name = kDocumentKindNames[static_cast<size_t>(Kind)];
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

std::optional<TDocumentKind> DocumentKindFromString(const QString& Text) {
  for (size_t i = 0; i < kDocumentKindNames.size(); ++i)
    if (Text == ToString(static_cast<TDocumentKind>(i))) return static_cast<TDocumentKind>(i);
  return std::nullopt;
}

void TRecentFiles::Add(const QString& File, TDocumentKind Kind) {
  if (File.isEmpty()) return;
  Remove(File);
  entries_.insert(entries_.begin(), TRecentFile{File, Kind});
  if (entries_.size() > kMaxEntries) entries_.resize(kMaxEntries);
}

void TRecentFiles::Remove(const QString& File) {
  std::erase_if(entries_, [&](const TRecentFile& e) { return e.File == File; });
}

QStringList TRecentFiles::ToStrings() const {
  QStringList lines;
  for (const TRecentFile& e : entries_) lines << ToString(e.Kind) + QLatin1Char(':') + e.File;
  return lines;
}

void TRecentFiles::FromStrings(const QStringList& Lines) {
  entries_.clear();
  // Oldest first, so that Add leaves them newest first and drops repeats and the surplus.
  for (auto line = Lines.crbegin(); line != Lines.crend(); ++line) {
    const qsizetype colon = line->indexOf(QLatin1Char(':'));
    if (colon < 0) continue;
    if (const auto kind = DocumentKindFromString(line->left(colon))) Add(line->mid(colon + 1), *kind);
  }
}

}  // namespace zp::app
