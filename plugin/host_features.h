// What the plugin takes from its host at instantiation: the URID map (required), the worker
// that loads sound files outside the audio thread (required), and the log (optional; without it
// messages go to standard error), with the URIDs of every word the plugin reads or writes.
#pragma once

#include <lv2/core/lv2.h>
#include <lv2/log/logger.h>
#include <lv2/urid/urid.h>
#include <lv2/worker/worker.h>

#include <string>

// The plugin's own words.
inline constexpr char kInstrumentUri[] = "urn:zelmar:instrument";
inline constexpr char kSoundStateUri[] = "urn:zelmar:instrument#sound";
inline constexpr char kSoundFileUri[] = "urn:zelmar:instrument#soundFile";

struct SInstrumentUris {
  LV2_URID atomString = 0;
  LV2_URID atomLiteral = 0;
  LV2_URID atomPath = 0;
  LV2_URID atomObject = 0;
  LV2_URID atomUrid = 0;
  LV2_URID midiEvent = 0;
  LV2_URID patchSet = 0;
  LV2_URID patchProperty = 0;
  LV2_URID patchValue = 0;
  LV2_URID sound = 0;
  LV2_URID soundFile = 0;
};

struct SHostFeatures {
  LV2_URID_Map* map = nullptr;
  LV2_Worker_Schedule* worker = nullptr;
  LV2_Log_Logger logger{};
  SInstrumentUris uris;
};

// Reads the features; false, with `missing` naming the first required one the host did not
// offer, when the plugin cannot run.
bool ReadHostFeatures(const LV2_Feature* const* features, SHostFeatures& host,
                      std::string& missing);
