#pragma once
// The status memos of the main window: shown, coloured and refilled in one
// step, as every screen does it.

#include <QColor>
#include <QString>

class QPlainTextEdit;

namespace sfigmo {

// Makes `memo` visible, sets its background and replaces its text.
void ShowStatus(QPlainTextEdit* memo, const QColor& background, const QString& text);

}  // namespace sfigmo
