// The work type codes: which work object computes a module. The engine runs the work types in
// the order of their codes, each one sample for all its records.
#pragma once

enum TWorkType : int {
  kWorkNone = -1,  // a module without engine work
  kWorkDelay = 0,
  kWorkKonstanten = 1,
  kWorkAddierer = 2,
  kWorkLautstaerke = 3,
  kWorkCrossfadeLautstaerke = 4,
  kWorkCrossfadeRichtung = 5,
  kWorkStereoPan = 6,
  kWorkStandardGeneratoren = 7,
  kWorkStandardSynchGeneratoren = 8,
  kWorkStandardFMGeneratoren = 9,
  kWorkRechteckGeneratoren = 10,
  kWorkRauschGeneratoren = 11,
  kWorkZufallsGeneratoren = 12,
  kWorkWavetable = 13,
  kWorkMidiTaste = 14,
  kWorkADSR = 15,
  kWorkSehen = 16,
  kWorkMicrophon = 17,
  kWorkLautsprecher = 18,
  kWorkLautsprecherStereo = 19,
  kWorkLautstaerkeSehen = 20,
  kWorkOder = 21,
  kWorkUnd = 22,
  kWorkModula = 23,
  kWorkExor = 24,
  kWorkDivision = 25,
  kWorkAufloesung = 26,
};

inline constexpr int kWorkTypeCount = 27;
