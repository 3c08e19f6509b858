// The guide the Help menu shows: what each control does, the chart's mouse
// gestures, and how to tell that a method has solved the board. Rich text for
// a QTextBrowser.
#pragma once

#include <QString>

namespace zp::app {

// The guide as HTML; SettingsFile names where the window keeps its remembered settings.
QString GuideHtml(const QString& SettingsFile);

}  // namespace zp::app
