// The ten port types: direction, voice mode and signal kind, with the type names that files
// store and the captions and hints that connectors show.
#pragma once

#include <string>

enum TPortCode : int {
  kPortMonoInputAnalog = 0,     // "IMA"
  kPortPolyInputAnalog = 1,     // "IPA"
  kPortMonoOutputAnalog = 2,    // "OMA"
  kPortPolyOutputAnalog = 3,    // "OPA"
  kPortMonoInputFrequenz = 4,   // "IMF"
  kPortPolyInputFrequenz = 5,   // "IPF"
  kPortMonoOutputFrequenz = 6,  // "OMF"
  kPortPolyOutputFrequenz = 7,  // "OPF"
  kPortMidiInput = 8,           // "IM"
  kPortMidiOutput = 9,          // "OM"
};
inline constexpr int kPortCodeCount = 10;

// Audio signals are called "Analog", frequency signals "Frequenz".
enum class TSignalKind { Analog, Frequenz, Midi };

struct SPortType {
  const char* typeName;
  const char* title;
  const char* hint;
  bool isInput;
  bool isPoly;
  TSignalKind kind;
};

// The type of a port code 0..9.
const SPortType& PortType(int code);
// The code of a port type name, or -1.
int PortCodeOf(const std::string& typeName);
// Whether ports of the two codes may be wired: an input and an output of one signal kind, where a
// poly input accepts a mono output but a mono input no poly output.
bool PortsCompatible(int codeA, int codeB);
