#include "app/WindowSettings.h"

#include <QCoreApplication>
#include <QSettings>
#include <algorithm>

#include "platform/Random.h"
#include "workbench/QueensProblem.h"

namespace zp::app {

namespace {

constexpr char kShared[] = "shared", kContinued[] = "continued";

}  // namespace

QString DefaultSettingsFile() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, QCoreApplication::organizationName(),
                   QCoreApplication::applicationName())
      .fileName();
}

TWindowSettings ReadWindowSettings(const QString& File) {
  TWindowSettings s;
  const QSettings ini(File, QSettings::IniFormat);
  bool ok = false;
  const int queens = ini.value("queens").toInt(&ok);
  if (ok) s.Form.Queens = std::clamp(queens, queens::kMinQueens, queens::kMaxQueens);
  if (ini.contains("generations")) s.Form.Generations = ini.value("generations").toString();
  if (ini.contains("graph")) s.Form.Graph = ini.value("graph").toBool();
  s.Form.SharedStreams = ini.value("streams").toString() == QLatin1String(kShared);
  if (const auto seed = ParseSeed(ini.value("seed").toString().toStdString())) s.Seed = *seed;
  s.Geometry = ini.value("geometry").toByteArray();
  s.LastFolder = ini.value("lastFolder").toString();
  s.RecentFiles = ini.value("recentFiles").toStringList();
  for (const QString& key : ini.allKeys())
    if (key.startsWith(QLatin1String("experiments/"))) {
      // An unquoted "8,10-12" in the file reads as a list: the text is its items joined again.
      const QVariant value = ini.value(key);
      s.Experiments[key.mid(12)] =
          value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(',')) : value.toString();
    }
  return s;
}

bool WriteWindowSettings(const QString& File, const TWindowSettings& Settings) {
  QSettings ini(File, QSettings::IniFormat);
  ini.setValue("queens", Settings.Form.Queens);
  ini.setValue("generations", Settings.Form.Generations);
  ini.setValue("seed", QString::number(Settings.Seed));
  ini.setValue("graph", Settings.Form.Graph);
  ini.setValue("streams", QLatin1String(Settings.Form.SharedStreams ? kShared : kContinued));
  ini.setValue("geometry", Settings.Geometry);
  ini.setValue("lastFolder", Settings.LastFolder);
  ini.setValue("recentFiles", Settings.RecentFiles);
  ini.remove("experiments");
  for (auto it = Settings.Experiments.begin(); it != Settings.Experiments.end(); ++it)
    ini.setValue("experiments/" + it.key(), it.value());
  ini.sync();
  return ini.status() == QSettings::NoError;
}

}  // namespace zp::app
