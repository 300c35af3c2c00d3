// The entry of the LV2 bundle: the descriptor of "urn:zelmar:instrument" and its extension
// interfaces (state and worker), each passing on to the instance.
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/worker/worker.h>

#include <cstring>
#include <exception>
#include <string>

#include "plugin/host_features.h"
#include "plugin/instrument.h"

namespace {

TInstrument& InstrumentOf(LV2_Handle instance) { return *static_cast<TInstrument*>(instance); }

LV2_Handle Instantiate(const LV2_Descriptor*, double rate, const char* bundlePath,
                       const LV2_Feature* const* features) {
  SHostFeatures host;
  std::string missing;
  if (!ReadHostFeatures(features, host, missing)) {
    lv2_log_error(&host.logger, "zelmar: the host does not offer %s\n", missing.c_str());
    return nullptr;
  }
  if (rate < TInstrument::kLowestRate || rate > TInstrument::kHighestRate) {
    lv2_log_error(&host.logger, "zelmar: the host's rate %.0f Hz is not from %.0f to %.0f Hz\n",
                  rate, TInstrument::kLowestRate, TInstrument::kHighestRate);
    return nullptr;
  }
  try {
    return new TInstrument(rate, bundlePath, host);
  } catch (const std::exception& fault) {
    lv2_log_error(&host.logger, "zelmar: %s\n", fault.what());
    return nullptr;
  }
}

void ConnectPort(LV2_Handle instance, std::uint32_t port, void* data) {
  InstrumentOf(instance).ConnectPort(port, data);
}

void Run(LV2_Handle instance, std::uint32_t frames) { InstrumentOf(instance).Run(frames); }

void Cleanup(LV2_Handle instance) { delete &InstrumentOf(instance); }

LV2_Worker_Status Work(LV2_Handle instance, LV2_Worker_Respond_Function respond,
                       LV2_Worker_Respond_Handle handle, std::uint32_t size, const void* data) {
  try {
    return InstrumentOf(instance).Work(respond, handle, size, data);
  } catch (const std::exception&) {
    return LV2_WORKER_ERR_NO_SPACE;  // no memory for the sound
  }
}

LV2_Worker_Status WorkResponse(LV2_Handle instance, std::uint32_t size, const void* data) {
  return InstrumentOf(instance).WorkResponse(size, data);
}

LV2_State_Status Save(LV2_Handle instance, LV2_State_Store_Function store, LV2_State_Handle handle,
                      std::uint32_t, const LV2_Feature* const*) {
  return InstrumentOf(instance).Save(store, handle);
}

LV2_State_Status Restore(LV2_Handle instance, LV2_State_Retrieve_Function retrieve,
                         LV2_State_Handle handle, std::uint32_t, const LV2_Feature* const*) {
  try {
    return InstrumentOf(instance).Restore(retrieve, handle);
  } catch (const std::exception&) {
    return LV2_STATE_ERR_UNKNOWN;  // no memory for the sound; the old one plays on
  }
}

const void* ExtensionData(const char* uri) {
  static const LV2_Worker_Interface worker{Work, WorkResponse, nullptr};
  static const LV2_State_Interface state{Save, Restore};
  if (std::strcmp(uri, LV2_WORKER__interface) == 0) return &worker;
  if (std::strcmp(uri, LV2_STATE__interface) == 0) return &state;
  return nullptr;
}

const LV2_Descriptor kDescriptor{kInstrumentUri, Instantiate, ConnectPort,  nullptr, Run,
                                 nullptr,        Cleanup,     ExtensionData};

}  // namespace

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(std::uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}
