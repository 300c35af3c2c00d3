// The recovery copy: a changed sound survives a program that ends without closing it, and the
// restored sound belongs to its own file.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/recovery_copy.h"
#include "main_frame_fixture.h"

namespace {

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class RecoveryTest : public MainFrameTest {
 protected:
  // Leaves what a crash leaves: a changed sound copied by a program that then ended without
  // closing it. Returns the changed sound's text.
  std::string LeaveChangedSound(const QString& path) {
    auto crashed = std::make_unique<TMainFrame>();
    crashed->OpenFile(path);
    crashed->Document()->SetVoiceCount(crashed->Document()->CountVoices->value % 39 + 1);
    crashed->Tick();
    copy = crashed->Recovery().Path();
    EXPECT_TRUE(copy.startsWith(TRecoveryCopy::Folder())) << copy.toStdString();
    EXPECT_TRUE(QFileInfo::exists(copy));
    const std::string changed = crashed->Document()->SoundText();
    crashed.reset();
    return changed;
  }

  QString copy;
};

TEST_F(RecoveryTest, ALeftSoundIsRestoredWholeAndSavesToItsOwnFile) {
  const QString path = Example("poly_synth.zmr");
  const QByteArray original = Bytes(path);
  const std::string changed = LeaveChangedSound(path);
  EXPECT_EQ(Bytes(path), original) << "the copy never goes over the user's file";
  ASSERT_TRUE(QFileInfo::exists(copy)) << "a program that did not close its sound keeps the copy";

  presenter.answer = TMessageAnswer::Yes;
  ASSERT_TRUE(frame.OfferRecovery());
  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0].caption, "Restore Sound");
  EXPECT_TRUE(presenter.shown[0].text.contains('"' + path + '"'));
  EXPECT_EQ(Document().SoundText(), changed);
  EXPECT_TRUE(Document().IsModified());
  EXPECT_EQ(Bytes(path), original);

  ASSERT_TRUE(frame.SaveSound(false));
  EXPECT_EQ(Bytes(path).toStdString(), changed);
  frame.Tick();
  EXPECT_FALSE(QFileInfo::exists(copy)) << "a saved sound needs no copy";
}

TEST_F(RecoveryTest, DeclinedAndCleanlyClosedSoundsLeaveNoCopy) {
  const QString path = Example("drone.zmr");
  LeaveChangedSound(path);
  presenter.answer = TMessageAnswer::No;
  EXPECT_FALSE(frame.OfferRecovery());
  EXPECT_FALSE(QFileInfo::exists(copy)) << "a declined copy is removed";
  EXPECT_TRUE(TRecoveryCopy::LeftBehind().empty());

  // No after the save question throws the changes and their copy away; a save needs no copy.
  for (const TMessageAnswer answer : {TMessageAnswer::No, TMessageAnswer::Yes}) {
    frame.OpenFile(path);
    Document().MarkChanged();
    frame.Tick();
    const QString own = frame.Recovery().Path();
    ASSERT_TRUE(QFileInfo::exists(own));
    presenter.answer = answer;
    ASSERT_TRUE(frame.CloseSound(true));
    EXPECT_FALSE(QFileInfo::exists(own));
  }
  EXPECT_TRUE(TRecoveryCopy::LeftBehind().empty());
}

TEST_F(RecoveryTest, ARunningProgramsCopyIsNotOffered) {
  frame.NewSound();
  Document().MarkChanged();
  frame.Tick();
  ASSERT_FALSE(frame.Recovery().Path().isEmpty());
  EXPECT_TRUE(TRecoveryCopy::LeftBehind().empty());
}

}  // namespace
