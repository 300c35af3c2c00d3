#include "cli/headless_renderer.h"

#include <QString>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <set>

#include "cli/device_modules.h"
#include "cli/render_devices.h"
#include "engine/envelope.h"
#include "engine/midi_file.h"
#include "engine/offline_runner.h"
#include "engine/speaker_kernels.h"
#include "engine/wav_file.h"
#include "engine/work_type.h"
#include "modules/catalogue.h"
#include "modules/midi.h"
#include "modules/speakers.h"
#include "patch/application_context.h"
#include "patch/dokument_klang.h"
#include "persist/output_file.h"
#include "platform/message_box.h"

namespace {

constexpr double kDefaultSeconds = 5.0;
// After the MIDI file ends, releases are followed for at most this long.
constexpr double kLongestRelease = 30.0;
constexpr std::int64_t kBlockSamples = kEngineSampleRate / 10;
constexpr std::uint32_t kFramesPerEngineSample = 2;
// Engine samples computed between two moves of the file clocks.
constexpr std::int64_t kStepSamples = 32;

// Keeps what device modules would have shown the user, so the render can say it in its error.
class TMessageCatcher : public TMessagePresenter {
 public:
  TMessageAnswer Present(QWidget*, const SMessage& message) override {
    // A warning (a dropped wire) does not stop the render, so it is said at once.
    if (message.icon == TMessageIcon::Warning) {
      std::fprintf(stderr, "zelmar: warning: %s\n", message.text.toStdString().c_str());
      return TMessageAnswer::Ok;
    }
    last = message.text.toStdString();
    return TMessageAnswer::Ok;
  }
  std::string last;
};

std::uint32_t LeadFrames(TKlangEngine& engine, const TLautsprecher& speaker) {
  if (speaker.IsStereo()) {
    return static_cast<TWorkLautsprecherStereo*>(engine.Work(kWorkLautsprecherStereo))
               ->LeadBytes() /
           TWorkLautsprecherStereo::kFrameBytes;
  }
  return static_cast<TWorkLautsprecher*>(engine.Work(kWorkLautsprecher))->LeadBytes() /
         TWorkLautsprecher::kFrameBytes;
}

bool EnvelopesSounding(TKlangEngine& engine) {
  const auto* work = static_cast<const TWorkADSR*>(engine.Work(kWorkADSR));
  if (work->records == nullptr) return false;
  for (const SADSRRecord* record = work->firstRecord; record <= work->lastRecord; ++record) {
    if (record->state != kEnvelopeIdle) return true;
  }
  return false;
}

std::string Sanitized(const std::string& name) {
  std::string safe = name;
  for (char& c : safe) {
    const bool plain =
        std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.';
    if (!plain) c = '_';
  }
  return safe;
}

std::string Lowercase(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// What a render does once the sound is loaded and its devices are chosen.
class TRender {
 public:
  TRender(TDokumentKlang& document, TRenderDevices& devices, std::vector<TLautsprecher*> speakers)
      : document_(document),
        devices_(devices),
        speakers_(std::move(speakers)),
        runner_(document.Engine()) {}

  bool Start() {
    if (runner_.Start() != TKlangEngine::kStarted) return false;
    for (std::size_t i = 0; i < speakers_.size(); ++i) {
      lead_ = LeadFrames(document_.Engine(), *speakers_[i]);
      devices_.WaveOut().File(static_cast<int>(i))->SkipLeadingFrames(lead_);
    }
    return true;
  }

  // Renders up to `planned` samples, and after them up to `limit` while a release sounds. False
  // when `progress` asked to stop.
  bool Run(std::int64_t planned, std::int64_t limit, const TRenderProgress& progress) {
    while (runner_.SamplesComputed() < limit) {
      const bool inTail = runner_.SamplesComputed() >= planned;
      if (inTail && !EnvelopesSounding(document_.Engine())) break;
      const std::int64_t block =
          std::min(kBlockSamples, (inTail ? limit : planned) - runner_.SamplesComputed());
      Step(block);
      document_.PollEngine();
      if (progress && !progress(static_cast<double>(runner_.SamplesComputed()) / kEngineSampleRate,
                                static_cast<double>(std::max(planned, runner_.SamplesComputed())) /
                                    kEngineSampleRate)) {
        return false;
      }
    }
    return true;
  }

  // Computes `count` samples in steps that end where a MIDI message is due, so that every
  // message arrives before its exact sample; the file clocks follow after each step, which
  // keeps them within kStepSamples of the engine, far inside the speakers' drift tolerance.
  void Step(std::int64_t count) {
    const std::int64_t end = runner_.SamplesComputed() + count;
    while (runner_.SamplesComputed() < end) {
      const std::int64_t now = runner_.SamplesComputed();
      devices_.MidiIn().DeliverUpTo(now);
      const std::int64_t next =
          std::min({end, now + kStepSamples, devices_.MidiIn().NextEventSample()});
      runner_.Run(next - now);
      WaitForHandOvers();
      devices_.WaveOut().Play(static_cast<std::uint32_t>(kFramesPerEngineSample * (next - now)));
    }
  }

  // Plays out what the speakers keep ahead, stops the sound and completes the files.
  std::int64_t Finish() {
    WaitForHandOvers();
    devices_.WaveOut().Play(lead_);
    runner_.Stop();
    for (TLautsprecher* speaker : speakers_)
      speaker->CloseDevice();
    return runner_.SamplesComputed();
  }

 private:
  // The drivers hand buffers to the files on threads of their own. The files play only once
  // every queued buffer has arrived, so that when a buffer comes back, and with it each speaker's
  // clock correction, depends on the samples alone and never on how busy the machine is.
  void WaitForHandOvers() {
    for (TLautsprecher* speaker : speakers_) {
      if (TWorkWaveOut* driver = speaker->Driver())
        driver->WaitUntilHandedOver(std::chrono::seconds(5));
    }
  }

  TDokumentKlang& document_;
  TRenderDevices& devices_;
  std::vector<TLautsprecher*> speakers_;
  TOfflineRunner runner_;
  std::uint32_t lead_ = 0;
};

bool Fail(std::string& error, std::string message) {
  error = std::move(message);
  return false;
}

// The levels of every file, as the devices wrote them.
void Measure(const TRenderWaveOut& waveOut, std::size_t files, SRenderSummary& summary) {
  double sumOfSquares = 0;
  std::uint64_t count = 0;
  for (std::size_t i = 0; i < files; ++i) {
    const SWavLevels levels = waveOut.File(static_cast<int>(i))->Levels();
    summary.peak = std::max(summary.peak, levels.peak);
    sumOfSquares += levels.sumOfSquares;
    count += levels.samples;
  }
  summary.rms = count > 0 ? std::sqrt(sumOfSquares / static_cast<double>(count)) : 0;
}

}  // namespace

std::vector<std::filesystem::path> RenderOutputs(const std::filesystem::path& output,
                                                 const std::vector<std::string>& speakers) {
  if (speakers.size() == 1) return {output};
  std::vector<std::filesystem::path> files;
  files.reserve(speakers.size());
  // Compared without case, so that the files stay apart on a folder that ignores it.
  std::set<std::string> taken;
  for (const std::string& speaker : speakers) {
    const std::string name = Sanitized(speaker);
    std::string unique = name;
    for (int number = 2; !taken.insert(Lowercase(unique)).second; ++number)
      unique = name + "-" + std::to_string(number);
    files.push_back(output.parent_path() /
                    (output.stem().string() + "-" + unique + output.extension().string()));
  }
  return files;
}

namespace {

// The catalogue, default options and no devices: sound files open their devices while loading,
// and the render chooses them afterwards.
SApplicationContext RenderContext(TMessagePresenter& messages) {
  SApplicationContext context;
  context.moduleTypes = ModuleCatalogue();
  context.messages = &messages;
  return context;
}

// Everything a render holds, in the order it must be taken down: the document (its speakers
// close their files) before the devices. Files still open then belong to a render that failed, so
// they are abandoned first and every output stays as it was.
struct SRenderSession {
  ~SRenderSession() {
    if (devices) devices->WaveOut().Abandon();
  }

  std::vector<std::filesystem::path> outputs;
  TMessageCatcher messages;
  TApplicationScope context{RenderContext(messages)};
  std::unique_ptr<TRenderDevices> devices;
  TDokumentKlang document;
};

bool CheckFiles(const SRenderRequest& request, SMidiFile& midi, std::string& error) {
  if (!request.midi.empty() && !ReadMidiFile(request.midi, midi, error)) return false;
  std::vector<std::int16_t> recording;
  if (!request.input.empty() && !LoadRecording(request.input, recording, error)) return false;
  std::error_code status;
  if (!std::filesystem::is_regular_file(request.sound, status)) {
    return Fail(error, request.sound.string() + ": no such sound file");
  }
  return CheckOutputPath(request.output, error);
}

// Every file the render writes may be written, and none of them is an input or another output.
bool CheckOutputs(const SRenderRequest& request, const std::vector<std::filesystem::path>& outputs,
                  std::string& error) {
  for (const auto& output : outputs) {
    if (!CheckOutputPath(output, error)) return false;
  }
  return CheckOutputsApart(outputs, {request.sound, request.midi, request.input}, error);
}

// The samples a render plans and the most it follows releases to. A render longer than the
// speakers' WAV files can hold is refused before it starts.
bool PlanLength(const SRenderRequest& request, const SMidiFile& midi,
                const std::vector<TLautsprecher*>& speakers, std::int64_t& planned,
                std::int64_t& limit, std::string& error) {
  const bool stereo = std::any_of(speakers.begin(), speakers.end(),
                                  [](const TLautsprecher* speaker) { return speaker->IsStereo(); });
  const std::uint64_t bytesPerSample = kFramesPerEngineSample * (stereo ? 4 : 2);
  // Less a second for what the speakers keep ahead, which is played out at the end.
  const auto longest =
      static_cast<std::int64_t>(kWavMaxDataBytes / bytesPerSample) - kEngineSampleRate;
  if (request.seconds) {
    planned = static_cast<std::int64_t>(std::llround(*request.seconds * kEngineSampleRate));
  } else if (request.midi.empty()) {
    planned = static_cast<std::int64_t>(kDefaultSeconds * kEngineSampleRate);
  } else {
    planned = midi.lengthSamples;
  }
  if (planned > longest) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "the render would last %.1f hours, longer than a %s WAV file holds (%.1f "
                  "hours); choose a shorter length with --seconds",
                  static_cast<double>(planned) / kEngineSampleRate / 3600,
                  stereo ? "stereo" : "mono",
                  static_cast<double>(longest) / kEngineSampleRate / 3600);
    return Fail(error, text);
  }
  const auto tail = static_cast<std::int64_t>(kLongestRelease * kEngineSampleRate);
  limit = request.seconds || request.midi.empty() ? planned : std::min(planned + tail, longest);
  return true;
}

// Gives every speaker a file of its own, every MIDI input a copy of the MIDI file and every
// microphone the recording, and checks that each speaker is on a complete chain.
bool ChooseDevices(SRenderSession& session, const std::vector<SDeviceModule>& modules,
                   const std::vector<std::string>& speakerNames, std::string& error) {
  int speakerDevice = 0;
  int midiDevice = 0;
  for (const SDeviceModule& found : modules) {
    const bool isSpeaker = dynamic_cast<TLautsprecher*>(found.module) != nullptr;
    const bool isMidi = dynamic_cast<TModulMidiIn*>(found.module) != nullptr;
    found.module->UseDefaultDevice->value = 0;
    found.module->Device->value = isSpeaker ? speakerDevice++ : isMidi ? midiDevice++ : 0;
    session.messages.last.clear();
    if (!found.module->OpenDevice(true)) {
      return Fail(error, "module \"" + found.name + "\": " + session.messages.last);
    }
  }
  session.document.RevalidatePatch();
  std::size_t speaker = 0;
  for (const SDeviceModule& found : modules) {
    if (dynamic_cast<TLautsprecher*>(found.module) == nullptr) continue;
    if (!found.module->IsActive(nullptr)) {
      return Fail(error, "speaker \"" + speakerNames[speaker] +
                             "\": its chain is incomplete (a module on the way has a free input)");
    }
    ++speaker;
  }
  return true;
}

}  // namespace

bool RenderSound(const SRenderRequest& request, SRenderSummary& summary, std::string& error,
                 const TRenderProgress& progress) {
  const auto begin = std::chrono::steady_clock::now();
  summary = SRenderSummary();
  SMidiFile midi;
  if (!CheckFiles(request, midi, error)) return false;
  // A length of the user's own may cut notes short, but never ends them.
  if (!request.seconds) ReleaseHeldNotes(midi);
  // Before the document exists: its noise table is drawn when it is built.
  std::srand(request.seed.value_or(static_cast<unsigned>(std::time(nullptr))));

  SRenderSession session;
  std::string fault;
  if (!session.document.Load(QString::fromStdString(request.sound.string()), fault)) {
    return Fail(error, request.sound.string() + ": not a readable sound file (" + fault + ")");
  }
  if (request.voices) session.document.SetVoiceCount(*request.voices);

  const std::vector<SDeviceModule> deviceModules = FindDeviceModules(*session.document.ModuleList);
  std::vector<TLautsprecher*> speakers;
  std::vector<std::string> speakerNames;
  for (const SDeviceModule& found : deviceModules) {
    if (auto* speaker = dynamic_cast<TLautsprecher*>(found.module)) {
      speakers.push_back(speaker);
      speakerNames.push_back(found.name);
    }
  }
  if (speakers.empty()) return Fail(error, request.sound.string() + ": the sound has no speaker");
  session.outputs = RenderOutputs(request.output, speakerNames);
  if (!CheckOutputs(request, session.outputs, error)) return false;
  std::int64_t planned = 0;
  std::int64_t limit = 0;
  if (!PlanLength(request, midi, speakers, planned, limit, error)) return false;
  session.devices = std::make_unique<TRenderDevices>(session.outputs, midi.events, request.input);
  if (!ChooseDevices(session, deviceModules, speakerNames, error)) return false;

  TRender render(session.document, *session.devices, speakers);
  if (!render.Start()) return Fail(error, request.sound.string() + ": the engine cannot start");
  const bool completed = render.Run(planned, limit, progress);
  if (!completed) session.devices->WaveOut().Abandon();
  const std::int64_t rendered = render.Finish();
  if (!completed) return Fail(error, "the render was stopped; every output is as it was");
  for (std::size_t i = 0; i < session.outputs.size(); ++i) {
    const TWavFileOutDevice& file = *session.devices->WaveOut().File(static_cast<int>(i));
    if (!file.Written())
      return Fail(error, session.outputs[i].string() + ": " + file.ErrorText(kWaveError));
  }
  Measure(session.devices->WaveOut(), session.outputs.size(), summary);
  summary.files = session.outputs;
  summary.seconds = static_cast<double>(rendered) / kEngineSampleRate;
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
  summary.realTimeFactor = took.count() > 0 ? summary.seconds / took.count() : 0;
  return true;
}
