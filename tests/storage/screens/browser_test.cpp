// "Отк&р" and opening a stored measurement inside the main window.
#include <sys/stat.h>

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "analysis/screens/check_screen.h"
#include "archive_window.h"
#include "draw/session.h"
#include "draw/trace_area.h"
#include "hostile_records.h"
#include "screen_checks.h"

namespace sfigmo::test {
namespace {

class Browsing : public ArchiveWindow {
 protected:
  // A rejected record shows what the recording check shows for one.
  void ExpectTheCheckAdvice() {
    int count = 0;
    const AdviceLine* advice = RejectionAdvice(&count);
    for (int i = 0; i < count; ++i) {
      EXPECT_TRUE(TextAt(form->traceCanvas(), advice[i].x, advice[i].y,
                         QString::fromUtf8(advice[i].text), {.points = 10}))
          << advice[i].text;
    }
  }
  void Open() {
    form->N1Click();  // the "Фай&л" menu opens first
    form->Open_->trigger();
  }
};

TEST_F(Browsing, ListSortsTheWayARussianReaderExpects) {
  const char* names[] = {"яблоко.pul", "Банан.pul", "ёжик.pul",  "Апельсин.pul",
                         "елка.pul",   "Жук.pul",   "notes.txt", "банан2.pul"};
  for (const char* n : names) Put(archive() / n, *TrendRecord("x", 1, 0, 0, 0));
  fs::create_directories(archive() / "папка.pul");
  form->session().setConclusionShown(true);
  Open();
  EXPECT_EQ(Entries(form->ListBox1),
            (QStringList{"Апельсин.pul", "Банан.pul", "банан2.pul", "ёжик.pul", "елка.pul",
                         "Жук.pul", "яблоко.pul"}));  // ё files with е, not after я
  EXPECT_TRUE(form->ListBox1->isVisible());
  EXPECT_TRUE(form->ListBox2->isHidden());
  EXPECT_TRUE(form->Button1->isHidden());
  for (QPushButton* b : {form->Button2, form->Button3, form->Button4, form->Button5}) {
    EXPECT_TRUE(b->isVisible());
  }
  for (QPushButton* b : {form->Button3, form->Button4, form->Button5}) EXPECT_FALSE(b->isEnabled());
  EXPECT_EQ(form->session().ConclusionShown(), 0);
  EXPECT_EQ(form->session().TrendViewShown(), 0);
  SaveScreen(QStringLiteral("archive-list"));
}

TEST_F(Browsing, EmptyArchiveGivesAnEmptyListAndADoubleClickDoesNothing) {
  Open();
  EXPECT_EQ(form->ListBox1->count(), 0);
  form->Regis_->setEnabled(true);
  actions->browser().OpenChosen();
  EXPECT_EQ(form->LastRecordRead, 0);
  EXPECT_TRUE(form->Regis_->isEnabled());
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Browsing, OpeningMakesTheRecordCurrentAndTheLastMeasurement) {
  auto a = WaveRecord(1);
  auto b = WaveRecord(2);
  b->SamplePeriod = 0.0125;
  Put(archive() / "a.pul", *a);
  Put(archive() / "b.pul", *b);
  Put(last() / "old.pul", *WaveRecord(3));
  for (bool saveEnabled : {true, false}) {
    form->Save_->setEnabled(saveEnabled);
    form->Regis_->setEnabled(true);
    Open();
    DoubleClick(form->ListBox1, 0);
    ASSERT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_EQ(Bytes(*form->CurrentRecord), Bytes(*a));
    EXPECT_EQ(FilesIn(last()), std::vector<std::string>{"a.pul"});
    EXPECT_EQ(form->WorkingPeriod, a->SamplePeriod);
    EXPECT_EQ(form->Memo2->toPlainText(), QStringLiteral("       КАДР  1"));
    EXPECT_EQ(form->FrameNumber, 1);
    EXPECT_FALSE(form->Regis_->isEnabled());
    EXPECT_EQ(form->Save_->isEnabled(), saveEnabled);
    EXPECT_TRUE(form->Button3->isEnabled());
    EXPECT_TRUE(form->ListBox1->isHidden());
    EXPECT_EQ(form->LastRecordRead, 1);
  }
  EXPECT_FALSE(TraceIsBlank());
  SaveScreen(QStringLiteral("archive-opened"));
  Open();
  DoubleClick(form->ListBox1, 1);
  EXPECT_EQ(FilesIn(last()), std::vector<std::string>{"b.pul"});
  EXPECT_EQ(Snapshot().at("DataMLT/DatInt/b.pul"), Bytes(*b));
  EXPECT_EQ(form->WorkingPeriod, 0.0125);
  // Saving now stores the opened record with its own results.
  EXPECT_EQ(form->Results, b->Results);
}

TEST_F(Browsing, FirstBeatAfterTwoSecondsShowsTheError) {
  Put(archive() / "late.pul", *WaveRecord(1, 320));
  Open();
  DoubleClick(form->ListBox1, 0);
  EXPECT_EQ(form->Memo2->toPlainText(), QStringLiteral("      ОШИБКА"));
  EXPECT_EQ(form->Memo2->palette().color(QPalette::Base), QColor(255, 0, 0));
  EXPECT_FALSE(form->Button4->isEnabled());
  // A rejected record never becomes the last measurement.
  EXPECT_TRUE(FilesIn(last()).empty());
  EXPECT_EQ(form->LastRecordRead, 0);
  ExpectTheCheckAdvice();
  SaveScreen(QStringLiteral("archive-rejected"));
}

// Records that are not accepted are shown with "ОШИБКА" and leave the last
// measurement as it was, so nothing later sends or reports them.
TEST_F(Browsing, RecordsNotAcceptedNeverBecomeTheLastMeasurement) {
  const auto hostile = HostileRecords();
  for (const HostileRecord& h : hostile) Put(archive() / (std::string(h.Name) + ".pul"), *h.Record);
  auto kept = WaveRecord(3);
  Put(last() / "old.pul", *kept);
  for (int i = 0; i < static_cast<int>(hostile.size()); ++i) {
    Open();
    DoubleClick(form->ListBox1, i);
    SCOPED_TRACE(form->ListBox1->item(i)->text().toStdString());
    EXPECT_EQ(form->Memo2->toPlainText(), QStringLiteral("      ОШИБКА"));
    EXPECT_EQ(FilesIn(last()), std::vector<std::string>{"old.pul"});
    EXPECT_EQ(Snapshot().at("DataMLT/DatInt/old.pul"), Bytes(*kept));
    EXPECT_EQ(form->LastRecordRead, 0);
  }
}

// On a larger screen the advice lies at its scaled places alike.
class BrowsingAt1920 : public Browsing {
 protected:
  void SetUp() override {
    screenWidth = 1920;
    Browsing::SetUp();
  }
};

TEST_F(BrowsingAt1920, ARejectedRecordShowsTheCheckAdvice) {
  Put(archive() / "late.pul", *WaveRecord(1, 320));
  Open();
  DoubleClick(form->ListBox1, 0);
  EXPECT_EQ(form->Memo2->toPlainText(), QStringLiteral("      ОШИБКА"));
  ExpectTheCheckAdvice();
  SaveScreen(QStringLiteral("archive-rejected-1920"));
}

TEST_F(Browsing, UnreadableEntriesGiveOneMessageAndKeepTheLastMeasurement) {
  auto kept = WaveRecord(4);
  Put(last() / "kept.pul", *kept);
  auto sample = WaveRecord(5);
  const std::string shortBytes = Bytes(*sample).substr(0, kRecordSize - 1);
  std::ofstream(archive() / "1short.pul", std::ios::binary) << shortBytes;
  Put(archive() / "2gone.pul", *sample);
  Put(archive() / "3dir.pul", *sample);
  Put(archive() / "4fifo.pul", *sample);
  Open();
  ASSERT_EQ(form->ListBox1->count(), 4);
  // Changed behind the list's back.
  fs::remove(archive() / "2gone.pul");
  fs::remove(archive() / "3dir.pul");
  fs::create_directory(archive() / "3dir.pul");
  fs::remove(archive() / "4fifo.pul");
  ASSERT_EQ(::mkfifo((archive() / "4fifo.pul").c_str(), 0600), 0);
  const std::string current = Bytes(*form->CurrentRecord);
  const char* expected[] = {"1short.pul", "2gone.pul", "3dir.pul", "4fifo.pul"};
  for (int row = 0; row < 4; ++row) {  // the list stays up after a failed opening
    messages.clear();
    DoubleClick(form->ListBox1, row);
    ASSERT_EQ(messages.size(), 1) << expected[row];
    EXPECT_TRUE(messages[0].contains(QString::fromUtf8(expected[row])))
        << messages[0].toStdString();
    EXPECT_EQ(FilesIn(last()), std::vector<std::string>{"kept.pul"});
    EXPECT_EQ(Snapshot().at("DataMLT/DatInt/kept.pul"), Bytes(*kept));
    EXPECT_EQ(Bytes(*form->CurrentRecord), current);
  }
  EXPECT_TRUE(messages[0].contains(QStringLiteral("это не обычный файл")));
}

TEST_F(Browsing, AnArchiveFolderThatCannotBeReadIsReported) {
  fs::remove_all(archive());
  std::ofstream(archive()) << "a file where the folder should be";
  Open();
  EXPECT_EQ(form->ListBox1->count(), 0);
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains(QString::fromStdString(archive().string())));
}

}  // namespace
}  // namespace sfigmo::test
