#include "draw/status_memo.h"

#include <QPalette>
#include <QPlainTextEdit>

namespace sfigmo {

void ShowStatus(QPlainTextEdit* memo, const QColor& background, const QString& text) {
  memo->show();
  QPalette pal = memo->palette();
  pal.setColor(QPalette::Base, background);
  memo->setPalette(pal);
  memo->setPlainText(text);
}

}  // namespace sfigmo
