#include "plugin/plugin_context.h"

#include "modules/catalogue.h"

std::unique_lock<std::mutex> LockPluginModel() {
  static std::mutex model;
  return std::unique_lock(model);
}

TMessageAnswer TMessageKeeper::Present(QWidget*, const SMessage& message) {
  if (!texts_.empty()) texts_ += '\n';
  texts_ += message.text.toStdString();
  // Questions take the answer that changes nothing, as without a screen.
  return message.buttons == TMessageButtons::Ok ? TMessageAnswer::Ok : TMessageAnswer::Cancel;
}

TPluginContext::TPluginContext(const SDeviceServices& devices)
    : scope_(Context(devices, messages_)) {}

SApplicationContext TPluginContext::Context(const SDeviceServices& devices,
                                            TMessageKeeper& messages) {
  SApplicationContext context;
  context.moduleTypes = ModuleCatalogue();
  context.messages = &messages;
  // With the default options every speaker and MIDI input that follows the default device
  // opens device 0, which is the host's like every other number.
  context.devices = devices;
  return context;
}
