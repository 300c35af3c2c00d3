// The recovery copy: a changed sound survives a program that ends without closing it, and the
// restored sound belongs to its own file.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/recovery_copy.h"
#include "sound_session_fixture.h"

namespace {

class RecoveryTest : public SoundSessionTest {
 protected:
  // Leaves what a crash leaves: a changed sound copied by a session that then ended without
  // closing it. Returns the changed sound's text.
  std::string LeaveChangedSound(const QString& path) {
    TRecordingOwner crashedOwner;
    auto crashed = std::make_unique<TSoundSession>(crashedOwner, nullptr);
    crashedOwner.session = crashed.get();
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
  ASSERT_TRUE(session.OfferRecovery());
  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0].caption, "Restore Sound");
  EXPECT_TRUE(presenter.shown[0].text.contains('"' + path + '"'));
  EXPECT_EQ(Document().SoundText(), changed);
  EXPECT_TRUE(Document().IsModified());
  EXPECT_EQ(owner.arrivals, 1);
  EXPECT_EQ(Bytes(path), original);

  ASSERT_TRUE(session.SaveSound(false));
  EXPECT_TRUE(owner.proposals.isEmpty()) << "it saves to its own file without a question";
  EXPECT_EQ(Bytes(path).toStdString(), changed);
  session.Tick();
  EXPECT_FALSE(QFileInfo::exists(copy)) << "a saved sound needs no copy";
}

TEST_F(RecoveryTest, DeclinedAndCleanlyClosedSoundsLeaveNoCopy) {
  const QString path = Example("drone.zmr");
  LeaveChangedSound(path);
  presenter.answer = TMessageAnswer::No;
  EXPECT_FALSE(session.OfferRecovery());
  EXPECT_FALSE(QFileInfo::exists(copy)) << "a declined copy is removed";
  EXPECT_TRUE(TRecoveryCopy::LeftBehind().empty());

  // No after the save question throws the changes and their copy away; a save needs no copy.
  for (const TMessageAnswer answer : {TMessageAnswer::No, TMessageAnswer::Yes}) {
    session.OpenFile(path);
    Document().MarkChanged();
    session.Tick();
    const QString own = session.Recovery().Path();
    ASSERT_TRUE(QFileInfo::exists(own));
    presenter.answer = answer;
    ASSERT_TRUE(session.CloseSound(true));
    EXPECT_FALSE(QFileInfo::exists(own));
  }
  EXPECT_TRUE(TRecoveryCopy::LeftBehind().empty());
}

TEST_F(RecoveryTest, ADamagedCopyIsRestoredAsFarAsItGoesAndSaysSo) {
  const QString path = folder.filePath("lost.zmr");
  ASSERT_TRUE(QDir().mkpath(TRecoveryCopy::Folder()));
  QFile left(QDir(TRecoveryCopy::Folder()).filePath("1-1.zmr"));
  ASSERT_TRUE(left.open(QIODevice::WriteOnly));
  left.write("ZelmarRecovery " + QFile::encodeName(path).toPercentEncoding() + "\nnot a sound\n");
  left.close();
  presenter.answer = TMessageAnswer::Yes;
  ASSERT_TRUE(session.OfferRecovery());
  ASSERT_EQ(presenter.shown.size(), 2u);
  EXPECT_EQ(presenter.shown[1].caption, "Load file");
  EXPECT_TRUE(presenter.shown[1].text.startsWith("The copy of \"" + path + "\" is damaged: "))
      << presenter.shown[1].text.toStdString();
  EXPECT_EQ(presenter.shown[1].icon, TMessageIcon::Error);
  EXPECT_TRUE(owner.windowShown) << "the partly read sound shows";
  EXPECT_EQ(session.Title(), path);
}

TEST_F(RecoveryTest, ARunningProgramsCopyIsNotOffered) {
  session.NewSound();
  Document().MarkChanged();
  session.Tick();
  ASSERT_FALSE(session.Recovery().Path().isEmpty());
  EXPECT_TRUE(TRecoveryCopy::LeftBehind().empty());
}

}  // namespace
