// The DirectSound work-alike: buffer semantics the effects rely on, the
// mixer's arithmetic, and pan and volume measured on real device output.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "sound/mixer.h"
#include "support/sound_device_fixture.h"

using namespace dx;

namespace {

constexpr uint32_t kEffectFlags = 0x100EA;

IDirectSoundBuffer* MakeBuffer(IDirectSound* d, const std::vector<uint8_t>& samples,
                               uint32_t flags = kEffectFlags) {
  WAVEFORMATEX f;
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = 1;
  f.nSamplesPerSec = 22050;
  f.nAvgBytesPerSec = 22050;
  f.nBlockAlign = 1;
  f.wBitsPerSample = 8;
  DSBUFFERDESC desc;
  desc.dwSize = 20;
  desc.dwFlags = flags;
  desc.dwBufferBytes = static_cast<uint32_t>(samples.size());
  desc.lpwfxFormat = &f;
  IDirectSoundBuffer* b = nullptr;
  EXPECT_EQ(d->CreateSoundBuffer(&desc, &b, nullptr), DS_OK);
  void* p1 = nullptr;
  uint32_t l1 = 0;
  EXPECT_EQ(b->Lock(0, desc.dwBufferBytes, &p1, &l1, nullptr, nullptr, 0), DS_OK);
  std::copy(samples.begin(), samples.end(), static_cast<uint8_t*>(p1));
  b->Unlock(p1, l1, nullptr, 0);
  return b;
}

// A square wave of amplitude 96 around the midpoint.
std::vector<uint8_t> Square(size_t samples) {
  std::vector<uint8_t> s(samples);
  for (size_t i = 0; i < samples; ++i) s[i] = (i / 32) % 2 ? 32 : 224;
  return s;
}

}  // namespace

using LayerTest = SoundDeviceTest;

TEST_F(LayerTest, PlayContinuesStopKeepsPositionAndDuplicatesAreIndependent) {
  IDirectSound* d = OpenPaused();
  ASSERT_NE(d, nullptr);
  const int tenMs = d->OutputRate() / 100;
  IDirectSoundBuffer* b = MakeBuffer(d, Square(2205));
  b->Play(0, 0, 0);
  Render(tenMs);
  EXPECT_NEAR(Position(b), 220, 1);
  b->Stop();
  Render(tenMs);
  EXPECT_NEAR(Position(b), 220, 1);
  b->Play(0, 0, 0);
  Render(tenMs);
  EXPECT_NEAR(Position(b), 441, 1);
  b->Stop();
  b->SetCurrentPosition(0);
  EXPECT_EQ(Position(b), 0u);

  IDirectSoundBuffer* dup = nullptr;
  ASSERT_EQ(d->DuplicateSoundBuffer(b, &dup), DS_OK);
  dup->SetPan(500);
  dup->SetFrequency(44100);
  int32_t pan = 1;
  b->GetPan(&pan);
  EXPECT_EQ(pan, 0);
  dup->Play(0, 0, 0);
  Render(tenMs);
  EXPECT_NEAR(Position(dup), 441, 1);
  EXPECT_EQ(Position(b), 0u);
  // The samples are shared: a write through the source shows in the copy,
  // which keeps them after the source has gone.
  void* p1 = nullptr;
  uint32_t l1 = 0;
  ASSERT_EQ(b->Lock(2000, 205, &p1, &l1, nullptr, nullptr, 0), DS_OK);
  std::fill_n(static_cast<uint8_t*>(p1), l1, uint8_t{0x81});
  b->Unlock(p1, l1, nullptr, 0);
  b->Release();
  std::vector<uint8_t> expected = Square(2205);
  std::fill(expected.begin() + 2000, expected.end(), uint8_t{0x81});
  EXPECT_EQ(Contents(dup), expected);

  // A looping buffer wraps instead of stopping.
  IDirectSoundBuffer* loop = MakeBuffer(d, Square(100));
  loop->Play(0, 0, DSBPLAY_LOOPING);
  Render(tenMs * 10);
  EXPECT_TRUE(Playing(loop));
  loop->Release();
  dup->Release();
}

TEST_F(LayerTest, ParametersAreCheckedAsDirectSoundChecksThem) {
  IDirectSound* d = OpenPaused();
  ASSERT_NE(d, nullptr);
  IDirectSoundBuffer* b = MakeBuffer(d, Square(100));
  EXPECT_EQ(b->SetVolume(1), DSERR_INVALIDPARAM);
  EXPECT_EQ(b->SetVolume(-10001), DSERR_INVALIDPARAM);
  EXPECT_EQ(b->SetPan(10001), DSERR_INVALIDPARAM);
  EXPECT_EQ(b->SetFrequency(99), DSERR_INVALIDPARAM);
  EXPECT_EQ(b->SetFrequency(200001), DSERR_INVALIDPARAM);
  EXPECT_EQ(b->SetCurrentPosition(100), DSERR_INVALIDPARAM);
  EXPECT_EQ(b->SetFrequency(30000), DS_OK);
  EXPECT_EQ(b->SetFrequency(0), DS_OK);
  uint32_t frequency = 0;
  b->GetFrequency(&frequency);
  EXPECT_EQ(frequency, 22050u);
  b->Release();

  IDirectSoundBuffer* plain = MakeBuffer(d, Square(100), DSBCAPS_STATIC);
  EXPECT_EQ(plain->SetVolume(0), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(plain->SetPan(0), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(plain->SetFrequency(0), DSERR_CONTROLUNAVAIL);
  plain->Release();

  WAVEFORMATEX f16{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  DSBUFFERDESC desc{20, kEffectFlags, 1000, 0, &f16};
  IDirectSoundBuffer* none = nullptr;
  EXPECT_EQ(d->CreateSoundBuffer(&desc, &none, nullptr), DSERR_BADFORMAT);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(d->SetCooperativeLevel(nullptr, DSSCL_EXCLUSIVE), DSERR_INVALIDPARAM);
  EXPECT_EQ(d->BufferCount(), 0);
}

TEST(MixerTest, InterpolatesAppliesGainsSaturatesAndStopsAtTheEnd) {
  SoundMixer m(44100, 4);
  const uint8_t ramp[] = {128, 192, 192, 192};
  MixVoice& v = m.Voice(m.Acquire());
  v.data = ramp;
  v.length = 4;
  v.step = m.StepFor(22050);  // half a sample per frame
  v.playing = true;
  float out[2 * 10];
  m.Mix(out, 10);
  EXPECT_FLOAT_EQ(out[0], 0.0f);
  EXPECT_FLOAT_EQ(out[2], 0.25f);  // halfway between 0 and 0.5
  EXPECT_FLOAT_EQ(out[3], 0.25f);
  EXPECT_FLOAT_EQ(out[4], 0.5f);
  EXPECT_FALSE(v.playing);  // 4 samples take 8 frames
  EXPECT_EQ(v.pos, 0u);
  EXPECT_FLOAT_EQ(out[18], 0.0f);

  // Two loud voices saturate instead of wrapping.
  const uint8_t loud[] = {255, 255, 255, 255};
  for (int i = 0; i < 2; ++i) {
    MixVoice& l = m.Voice(m.Acquire());
    l.data = loud;
    l.length = 4;
    l.step = m.StepFor(44100);
    l.playing = true;
  }
  m.Mix(out, 2);
  EXPECT_FLOAT_EQ(out[0], 1.0f);

  float left = 0;
  float right = 0;
  SoundMixer::Gains(-2500, 0, left, right);
  EXPECT_NEAR(20 * std::log10(left), -25.0, 1e-4);
  EXPECT_FLOAT_EQ(left, right);
  SoundMixer::Gains(-500, -3000, left, right);
  EXPECT_NEAR(20 * std::log10(left), -5.0, 1e-4);
  EXPECT_NEAR(20 * std::log10(right), -35.0, 1e-4);
  SoundMixer::Gains(0, 2180, left, right);
  EXPECT_NEAR(20 * std::log10(left), -21.8, 1e-4);
  EXPECT_FLOAT_EQ(right, 1.0f);
  SoundMixer::Gains(-10000, 0, left, right);
  EXPECT_EQ(left, 0.0f);
}

namespace {

struct Energy {
  double left = 0;
  double right = 0;
};

// Plays a 0.2 s square wave once through SDL's disk driver at the given
// volume and pan and returns the energy of each channel of what was written.
Energy PlayThroughDiskDriver(const std::string& file, int32_t volume, int32_t pan) {
  testsupport::SetEnvironment("SDL_AUDIODRIVER", "disk");
  testsupport::SetEnvironment("SDL_DISKAUDIOFILE", file.c_str());
  IDirectSound* d = nullptr;
  EXPECT_EQ(DirectSoundCreate(nullptr, &d, nullptr), DS_OK);
  if (d == nullptr) return {};
  const SampleFormat format = d->OutputFormat();
  IDirectSoundBuffer* b = MakeBuffer(d, Square(4410));
  b->SetVolume(volume);
  b->SetPan(pan);
  b->Play(0, 0, 0);
  for (int waited = 0; Playing(b) && waited < 5000; waited += 10) SDL_Delay(10);
  EXPECT_FALSE(Playing(b));
  SDL_Delay(150);  // the last mixed block reaches the file
  b->Release();
  d->Release();  // closes the device and joins its thread
  testsupport::SetEnvironment("SDL_AUDIODRIVER", "dummy");

  std::ifstream in(file, std::ios::binary);
  const std::vector<char> raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Energy e;
  if (format == SampleFormat::Float32) {
    const size_t n = raw.size() / sizeof(float);
    const auto* s = reinterpret_cast<const float*>(raw.data());
    for (size_t i = 0; i + 1 < n; i += 2) {
      e.left += double(s[i]) * s[i];
      e.right += double(s[i + 1]) * s[i + 1];
    }
  } else {
    const size_t n = raw.size() / sizeof(int16_t);
    const auto* s = reinterpret_cast<const int16_t*>(raw.data());
    for (size_t i = 0; i + 1 < n; i += 2) {
      e.left += double(s[i]) * s[i] / (32767.0 * 32767.0);
      e.right += double(s[i + 1]) * s[i + 1] / (32767.0 * 32767.0);
    }
  }
  return e;
}

double Db(double energy, double reference) { return 10 * std::log10(energy / reference); }

}  // namespace

TEST_F(LayerTest, NothingStreamsBeforeTheFirstBuffer) {
  // With sound off no buffer is ever made: the device must not stream
  // silence for the whole run.
  const std::string file = dir + "/idle.raw";
  testsupport::SetEnvironment("SDL_AUDIODRIVER", "disk");
  testsupport::SetEnvironment("SDL_DISKAUDIOFILE", file.c_str());
  auto written = [&] {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    return ec ? 0 : size;
  };
  IDirectSound* d = nullptr;
  ASSERT_EQ(DirectSoundCreate(nullptr, &d, nullptr), DS_OK);
  SDL_Delay(200);
  EXPECT_EQ(written(), 0u);
  IDirectSoundBuffer* b = MakeBuffer(d, Square(4410));
  // The stream starts now; on a busy machine its thread may take a while.
  for (int i = 0; i < 150 && written() == 0; ++i) SDL_Delay(20);
  EXPECT_GT(written(), 0u);
  b->Release();
  d->Release();
  testsupport::SetEnvironment("SDL_AUDIODRIVER", "dummy");
}

TEST_F(LayerTest, PanAndVolumeOnTheDiskDriversOutput) {
  const Energy panned = PlayThroughDiskDriver(dir + "/pan.raw", 0, -3000);
  ASSERT_GT(panned.left, 0);
  ASSERT_GT(panned.right, 0);
  EXPECT_NEAR(Db(panned.right, panned.left), -30.0, 0.5);

  const Energy full = PlayThroughDiskDriver(dir + "/full.raw", 0, 0);
  const Energy quiet = PlayThroughDiskDriver(dir + "/quiet.raw", -2500, 0);
  ASSERT_GT(quiet.left, 0);
  EXPECT_NEAR(Db(quiet.left, full.left), -25.0, 0.5);
  EXPECT_NEAR(Db(full.right, full.left), 0.0, 0.01);
  // The whole sound was written, as often as it was played.
  EXPECT_NEAR(Db(full.left, panned.left), 0.0, 0.01);
}

TEST_F(LayerTest, DeviceCreationFailsCleanlyWithoutAnOutput) {
  UseDriver("no_such_audio_driver");
  IDirectSound* d = reinterpret_cast<IDirectSound*>(1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(DirectSoundCreate(nullptr, &d, nullptr), DSERR_NODRIVER);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(d, nullptr);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  // One line says why.
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find(": sound off: SDL_InitSubSystem(SDL_INIT_AUDIO) failed: "),
            std::string::npos)
      << said;
}
