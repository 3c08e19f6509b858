// What the window remembers from one session to the next: the main page's
// queen count, generations text, Graph box and random-number streams, the
// Experiments page's seed and other fields, the window's place and size, the folder of the last
// file and the recent files. An INI file under the user's configuration folder;
// nqueens-ga never reads it.
//
//   TWindowSettings s = ReadWindowSettings(DefaultSettingsFile());
//   WriteWindowSettings(file, s);
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace zp::app {

// The main page's part, which fills its controls at start-up.
struct TFormSettings {
  int Queens = 8;
  QString Generations = QStringLiteral("100");
  bool Graph = true;
  bool SharedStreams = false;  // off: each method continues the previous one's random numbers
};

struct TWindowSettings {
  TFormSettings Form;
  uint32_t Seed = 0;  // the Experiments page's seed; the main random source never starts from it
  QByteArray Geometry;
  QString LastFolder;
  QStringList RecentFiles;  // "kind:file" lines, newest first
  // The Experiments page's fields but the seed, by name ("queens", "repeats", "folder", ...): their texts as typed.
  QMap<QString, QString> Experiments;
};

// The application's INI file in the user's configuration folder ($XDG_CONFIG_HOME on Linux).
QString DefaultSettingsFile();
// The settings in File; a key that is missing or cannot be read keeps its default, a queen
// count out of range is brought into it. A missing file gives the defaults.
[[nodiscard]] TWindowSettings ReadWindowSettings(const QString& File);
// Writes Settings to File (its folder made if needed); false, with File as it was, when it cannot.
bool WriteWindowSettings(const QString& File, const TWindowSettings& Settings);

}  // namespace zp::app
