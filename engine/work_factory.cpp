#include "engine/work_factory.h"

#include "engine/constant_work.h"
#include "engine/delay_kernel.h"
#include "engine/envelope.h"
#include "engine/logic_kernels.h"
#include "engine/microphone_kernel.h"
#include "engine/midi_key.h"
#include "engine/mixer_kernels.h"
#include "engine/noise_generators.h"
#include "engine/pulse_generator.h"
#include "engine/scope_kernel.h"
#include "engine/speaker_kernels.h"
#include "engine/table_generators.h"
#include "engine/volume_view_kernel.h"

std::unique_ptr<TWorkBasisklassen> CreateWorkObject(int code) {
  // One line per code, so that each kernel family replaces only its own lines.
  // clang-format off
  switch (code) {
    case 0: return std::make_unique<TWorkDelay>();
    case 1: return std::make_unique<TWorkKonstanten>();
    case 2: return std::make_unique<TWorkAddierer>();
    case 3: return std::make_unique<TWorkLautstaerke>();
    case 4: return std::make_unique<TWorkCrossfadeLautstaerke>();
    case 5: return std::make_unique<TWorkCrossfadeRichtung>();
    case 6: return std::make_unique<TWorkStereoPan>();
    case 7: return std::make_unique<TWorkStandardGeneratoren>();
    case 8: return std::make_unique<TWorkStandardSynchGeneratoren>();
    case 9: return std::make_unique<TWorkStandardFMGeneratoren>();
    case 10: return std::make_unique<TWorkRechteckGeneratoren>();
    case 11: return std::make_unique<TWorkRauschGeneratoren>();
    case 12: return std::make_unique<TWorkZufallsGeneratoren>();
    case 13: return std::make_unique<TWorkWavetable>();
    case 14: return std::make_unique<TWorkMidiTaste>();
    case 15: return std::make_unique<TWorkADSR>();
    case 16: return std::make_unique<TWorkSehen>();
    case 17: return std::make_unique<TWorkMicrophon>();
    case 18: return std::make_unique<TWorkLautsprecher>();
    case 19: return std::make_unique<TWorkLautsprecherStereo>();
    case 20: return std::make_unique<TWorkLautstaerkeSehen>();
    case 21: return std::make_unique<TWorkOder>();
    case 22: return std::make_unique<TWorkUnd>();
    case 23: return std::make_unique<TWorkModula>();
    case 24: return std::make_unique<TWorkExor>();
    case 25: return std::make_unique<TWorkDivision>();
    case 26: return std::make_unique<TWorkAufloesung>();
    default: return nullptr;
  }
  // clang-format on
}
