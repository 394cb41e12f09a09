#include "acquisition/recording_check.h"

#include <cmath>
#include <utility>

#include "analysis/record_judgement.h"

namespace sfigmo {

int FrameWidth(int outerWidth) { return static_cast<int>(std::nearbyint((outerWidth - 15) / 2.0)); }

RecordingVerdict CheckRecording(const PulsogramRecord& record, MarkTable& marks) {
  // The quality is the check screen's own step, on the working marks.
  RecordJudgement judgement = JudgeRecord(record, QualityCheck::Skip);
  marks = std::move(judgement.Marks);
  return judgement.Verdict;
}

bool MarkAndAccept(const PulsogramRecord& record, MarkTable& marks) {
  return CheckRecording(record, marks).accepted();
}

QString CutShortText(const PulsogramRecord& record, QChar decimalSeparator) {
  const double seconds = UsableSampleCount(record) * record.SamplePeriod;
  QString shown = QString::number(std::isfinite(seconds) ? seconds : 0.0, 'f', 1);
  shown.replace(QLatin1Char('.'), decimalSeparator);
  return QStringLiteral("ЗАПИСЬ ПРЕРВАНА: датчик перестал отвечать, записано только ") + shown +
         QStringLiteral(" с");
}

QString RejectionReason(const RecordingVerdict& verdict, const PulsogramRecord& record,
                        QChar decimalSeparator) {
  return QString::fromStdString(ImplausibleText(verdict, record.SamplePeriod,
                                                static_cast<char>(decimalSeparator.toLatin1())));
}

}  // namespace sfigmo
