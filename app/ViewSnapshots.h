#pragma once

#include <QString>
#include <QStringList>

namespace krn310 {

class TForm1;

// Shows each of the eight views in turn, as a click on its tree node does,
// and saves a picture of the whole window for each into dir as
// "<node>-<view>.png" (for example "0-GroupBox1.png"). Gives the files
// written; throws std::runtime_error when the folder or a file cannot be
// written. The window is left on the view and node it showed before.
QStringList RenderViews(TForm1& form, const QString& dir);

} // namespace krn310
