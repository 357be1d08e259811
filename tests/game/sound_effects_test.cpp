// The two effect classes: loading, voices, rotation, play parameters,
// stopping, destruction and every way sound ends up off.
#include <sys/stat.h>

#include <functional>
#include <stdexcept>

#include "support/faulty_sound.h"
#include "support/process.h"
#include "support/sound_fixture.h"

using namespace dx;

namespace {

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

}  // namespace

// The effects on a device that fails where a test says.
class EffectsTest : public SoundTest {
 protected:
  SoundFaults& Faults() { return faulty_.Faults(); }

 private:
  FaultySound faulty_;
};

TEST_F(EffectsTest, FilesOfAtMost100BytesCannotMakeABuffer) {
  ASSERT_NE(OpenPaused(), nullptr);
  for (size_t size : {0u, 9u, 50u, 100u}) {
    Faults().createBufferFlags.clear();
    const std::string path = WriteFile("short.wav", Pattern(size));
    EXPECT_EQ(ErrorOf([&] { TDSPolySound s(*w, host, path); }), "IDirectSound.CreateSoundBuffer failed: 80070057")
        << size;
    EXPECT_EQ(Faults().createBufferFlags, (std::vector<uint32_t>{0x180EA, 0x100EA}));
    EXPECT_EQ(SoundDevice()->BufferCount(), 0);
  }
}

TEST_F(EffectsTest, LoaderSkipsTheHeaderCutsLongFilesAndEndsWith0x81) {
  ASSERT_NE(OpenPaused(), nullptr);
  // 101 to 109 bytes: nothing but the tail value.
  for (size_t size : {101u, 105u, 109u}) {
    TDSPolySound s(*w, host, WriteFile("tiny.wav", Pattern(size)));
    EXPECT_EQ(Contents(s.Buffer), std::vector<uint8_t>(size - 100, 0x81)) << size;
  }
  // Longer than 100000 bytes: the first 100000 give 99900 bytes of sound.
  const std::vector<uint8_t> big = Pattern(150000);
  TDSPolySound s(*w, host, WriteFile("big.wav", big));
  std::vector<uint8_t> expected(big.begin() + 100, big.begin() + 99990);
  expected.insert(expected.end(), 10, 0x81);
  EXPECT_EQ(Contents(s.Buffer), expected);
  // The voices share those samples.
  EXPECT_EQ(Contents(s.Voices[7]), expected);
}

TEST_F(EffectsTest, AStereo16BitFileIsStillEightBitMonoAt22050) {
  ASSERT_NE(OpenPaused(), nullptr);
  // A RIFF header saying 16-bit stereo at 44100 Hz, then 2000 data bytes.
  std::vector<uint8_t> file = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                               16, 0, 0, 0, 1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0,
                               'd', 'a', 't', 'a', 0xD0, 0x07, 0, 0};
  const std::vector<uint8_t> body = Pattern(2000);
  file.insert(file.end(), body.begin(), body.end());
  TDSPolySound s(*w, host, WriteFile("stereo16.wav", file));

  WAVEFORMATEX f;
  s.Voices[1]->GetFormat(&f);
  EXPECT_EQ(f.nChannels, 1);
  EXPECT_EQ(f.wBitsPerSample, 8);
  EXPECT_EQ(f.nSamplesPerSec, 22050u);
  std::vector<uint8_t> expected(file.begin() + 100, file.end() - 10);
  expected.insert(expected.end(), 10, 0x81);
  EXPECT_EQ(Contents(s.Buffer), expected);
}

TEST_F(EffectsTest, BufferCreationRetriesOnceWithoutGlobalFocus) {
  ASSERT_NE(OpenPaused(), nullptr);
  const std::string path = WriteFile("fire.wav", Pattern(1000));
  // Counts the rounds of message processing that loading lets run, by the
  // number of creation attempts made when each round runs.
  struct Rounds {
    int count = 0;
    int afterAttempt[3] = {};
  } rounds;
  host.OnRound = [this, &rounds] {
    ++rounds.count;
    const size_t attempts = Faults().createBufferFlags.size();
    if (attempts < 3) ++rounds.afterAttempt[attempts];
  };
  Faults().createBufferFailures = 1;
  {
    TDSPolySound s(*w, host, path);
    EXPECT_NE(s.Buffer, nullptr);
    EXPECT_EQ(Faults().createBufferFlags, (std::vector<uint32_t>{0x180EA, 0x100EA}));
  }
  EXPECT_EQ(rounds.count, 15000);
  // 5000 rounds between the two attempts, 10000 after the second.
  EXPECT_EQ(rounds.afterAttempt[0], 0);
  EXPECT_EQ(rounds.afterAttempt[1], 5000);
  EXPECT_EQ(rounds.afterAttempt[2], 10000);
  // A first attempt that works is followed by all 15000 rounds.
  rounds = Rounds{};
  Faults().createBufferFlags.clear();
  { TDSPolySound s(*w, host, path); }
  EXPECT_EQ(rounds.afterAttempt[1], 15000);
  host.OnRound = nullptr;
  Faults().createBufferFailures = 2;
  EXPECT_EQ(ErrorOf([&] { TDSPolySound s(*w, host, path); }), "IDirectSound.CreateSoundBuffer failed: 8007000E");
}

TEST_F(EffectsTest, LockFailuresRaiseAndReleaseTheBuffer) {
  ASSERT_NE(OpenPaused(), nullptr);
  const std::string path = WriteFile("fire.wav", Pattern(1000));
  Faults().lockFailures = 1;
  EXPECT_EQ(ErrorOf([&] { TDSPolySound s(*w, host, path); }), "IDirectSoundBuffer.Lock failed: 88780032");
  EXPECT_EQ(SoundDevice()->BufferCount(), 0);
  Faults().lockShortBy = 1;  // a shorter first region reports code 0
  EXPECT_EQ(ErrorOf([&] { TDSPolySound s(*w, host, path); }), "IDirectSoundBuffer.Lock failed: 0");
  EXPECT_EQ(SoundDevice()->BufferCount(), 0);
  EXPECT_EQ(w->SoundOff, 0);
}

TEST_F(EffectsTest, AMissingFileOrDeviceEndsTheProgram) {
  ASSERT_NE(OpenPaused(), nullptr);
  EXPECT_THROW((TDSPolySound{*w, host, dir + "/missing.wav"}), HeadlessEnd);
  // A FIFO counts as missing: it is not waited on.
  ASSERT_TRUE(testsupport::MakeFifo(dir + "/fifo.wav"));
  EXPECT_THROW((TDSPolySound{*w, host, dir + "/fifo.wav"}), HeadlessEnd);

  // Sound on but no device (the start found none and something set 0 again).
  const std::string path = WriteFile("dokan.wav", Pattern(1000));
  w->SoundOff = 0;
  CloseSoundDevice(*w);
  EXPECT_THROW((TDSPolySound{*w, host, path}), HeadlessEnd);
}

TEST_F(EffectsTest, VoicesAreDuplicatedWithUpTo100Attempts) {
  ASSERT_NE(OpenPaused(), nullptr);
  const std::string path = WriteFile("fire.wav", Pattern(1000));
  // 99 failures: voice 1 succeeds on its last attempt.
  Faults().duplicateFailures = 99;
  {
    TDSPolySound s(*w, host, path);
    EXPECT_EQ(Faults().duplicateCalls, 109);
    EXPECT_EQ(w->SoundOff, 0);
    EXPECT_EQ(SoundDevice()->BufferCount(), 11);
  }
  EXPECT_EQ(SoundDevice()->BufferCount(), 0);

  // Voice 1 fails 100 times: sound goes off, the other voices are still made.
  Faults().duplicateFailures = 100;
  auto s = std::make_unique<TDSPolySound>(*w, host, path);
  EXPECT_EQ(w->SoundOff, 1);
  EXPECT_EQ(s->Voices[1], nullptr);
  for (int v = 2; v <= 10; ++v) EXPECT_NE(s->Voices[v], nullptr);
  // With sound off the destructor releases nothing; give them back here.
  for (IDirectSoundBuffer*& v : s->Voices) {
    if (v) v->Release();
    v = nullptr;
  }
  s->Buffer->Release();
  s->Buffer = nullptr;
  s.reset();
  EXPECT_EQ(SoundDevice()->BufferCount(), 0);
}

TEST_F(EffectsTest, AMissingTenthVoiceRaisesAndReleasesEverything) {
  ASSERT_NE(OpenPaused(), nullptr);
  const std::string path = WriteFile("fire.wav", Pattern(1000));
  Faults().duplicateFailuresAfter = 9;
  Faults().duplicateFailures = 100;
  EXPECT_EQ(ErrorOf([&] { TDSPolySound s(*w, host, path); }), "IDirectSound.DuplicateSoundBuffer failed: 8007000E");
  EXPECT_EQ(w->SoundOff, 1);
  EXPECT_EQ(SoundDevice()->BufferCount(), 0);
}

TEST_F(EffectsTest, TheEleventhPlayUsesVoiceOneWithoutRestartingIt) {
  ASSERT_NE(OpenPaused(), nullptr);
  TDSPolySound s(*w, host, WriteFile("fire.wav", Pattern(1100)));  // 1000 samples
  for (int i = 1; i <= 10; ++i) {
    EXPECT_EQ(s.NextVoice, static_cast<uint32_t>(i));
    s.Play();
  }
  for (int v = 1; v <= 10; ++v) EXPECT_TRUE(Playing(s.Voices[v])) << v;
  const int rate = SoundDevice()->OutputRate();
  Render(rate / 100);  // 10 ms: 220.5 samples at 22050 Hz
  const uint32_t before = Position(s.Voices[1]);
  EXPECT_NEAR(before, 220, 1);
  w->PlayPan = -3000;
  w->PlayVolume = -500;
  s.Play();
  EXPECT_EQ(s.NextVoice, 2u);
  EXPECT_TRUE(Playing(s.Voices[1]));
  EXPECT_EQ(Position(s.Voices[1]), before);
  int32_t pan = 0;
  int32_t volume = 0;
  s.Voices[1]->GetPan(&pan);
  s.Voices[1]->GetVolume(&volume);
  EXPECT_EQ(pan, -3000);
  EXPECT_EQ(volume, -500);

  // A voice that played to its end starts again from its beginning.
  Render(rate / 10);
  EXPECT_FALSE(Playing(s.Voices[1]));
  EXPECT_EQ(Position(s.Voices[1]), 0u);
  s.NextVoice = 1;
  s.Play();
  Render(rate / 1000);
  EXPECT_NEAR(Position(s.Voices[1]), 22, 1);
}

TEST_F(EffectsTest, PlayClampsItsParametersAndResetsTheCells) {
  ASSERT_NE(OpenPaused(), nullptr);
  TDSPolySound s(*w, host, WriteFile("fire.wav", Pattern(1100)));
  int32_t pan = 0;
  uint32_t frequency = 0;

  w->PlayPan = 20000;
  w->PlayFrequency = 44100;
  s.NextVoice = 0;  // forced to 1
  s.Play();
  s.Voices[1]->GetPan(&pan);
  s.Voices[1]->GetFrequency(&frequency);
  EXPECT_EQ(pan, 10000);
  EXPECT_EQ(frequency, 44100u);
  EXPECT_EQ(w->PlayPan, 0);
  EXPECT_EQ(w->PlayVolume, 0);
  EXPECT_EQ(w->PlayFrequency, 0);

  w->PlayPan = -20000;
  s.NextVoice = 57;  // forced to 10, then back to 1
  s.Play();
  s.Voices[10]->GetPan(&pan);
  s.Voices[10]->GetFrequency(&frequency);
  EXPECT_EQ(pan, -10000);
  EXPECT_EQ(frequency, 22050u);  // PlayFrequency 0: the buffer's own rate
  EXPECT_EQ(s.NextVoice, 1u);

  // Stop halts and rewinds every voice.
  Render(100);
  s.Stop();
  for (int v = 1; v <= 10; ++v) {
    EXPECT_FALSE(Playing(s.Voices[v]));
    EXPECT_EQ(Position(s.Voices[v]), 0u);
  }

  // With sound off nothing plays and the cells keep their values.
  w->SoundOff = 1;
  w->PlayPan = 1234;
  w->PlayVolume = -100;
  s.Play();
  EXPECT_EQ(s.NextVoice, 1u);
  EXPECT_FALSE(Playing(s.Voices[1]));
  EXPECT_EQ(w->PlayPan, 1234);
  EXPECT_EQ(w->PlayVolume, -100);
  w->SoundOff = 0;
}

TEST_F(EffectsTest, SoundOffReadsNoFileAndLeavesTheDeviceAtTheEnd) {
  ASSERT_NE(OpenPaused(), nullptr);
  w->SoundOff = 1;  // SOUND=OFF
  {
    TDSPolySound blast(*w, host, dir + "/dokan.wav");  // neither file exists
    TDSPolySound fire(*w, host, dir + "/fire.wav");
    EXPECT_EQ(fire.Buffer, nullptr);
    EXPECT_EQ(fire.Voices[1], nullptr);
    fire.Play();
    fire.Stop();
  }
  CloseSoundDevice(*w);
  EXPECT_NE(SoundDevice(), nullptr);  // released only while sound is on
}

TEST_F(EffectsTest, WithoutAnAudioDeviceEverythingIsSilent) {
  UseDriver("no_such_audio_driver");
  OpenSoundDevice(*w, &host);
  EXPECT_EQ(w->SoundOff, 1);
  EXPECT_EQ(SoundDevice(), nullptr);
  TDSPolySound fire(*w, host, dir + "/fire.wav");
  w->PlayPan = -3000;
  fire.Play();
  EXPECT_EQ(w->PlayPan, -3000);
  CloseSoundDevice(*w);
}

TEST_F(EffectsTest, AFailedCooperativeLevelIsRaisedWithSoundOn) {
  Faults().cooperativeLevelResult = DSERR_INVALIDCALL;
  EXPECT_EQ(ErrorOf([&] { OpenSoundDevice(*w, &host); }), "IDirectSound.SetCooperativeLevel failed: 88780032");
  EXPECT_EQ(w->SoundOff, 0);
  EXPECT_NE(SoundDevice(), nullptr);
  CloseSoundDevice(*w);
  EXPECT_EQ(SoundDevice(), nullptr);
}
