// What the model needs around it while the plugin makes, loads or destroys a sound. The
// application context is process-wide, and a host may run the workers of several instances at
// once, so the instances take turns: each holds the model lock for the whole of such a step, and
// installs its own context (the catalogue, default options, the sound's devices and a presenter
// that keeps what the model would have shown) while it loads.
#pragma once

#include <mutex>
#include <string>

#include "engine/device_services.h"
#include "patch/application_context.h"
#include "platform/message_box.h"

// Held while a sound of the plugin is made, loaded or destroyed.
std::unique_lock<std::mutex> LockPluginModel();

// Keeps the texts of every message the model would have shown, one per line.
class TMessageKeeper : public TMessagePresenter {
 public:
  TMessageAnswer Present(QWidget* owner, const SMessage& message) override;
  const std::string& Texts() const { return texts_; }

 private:
  std::string texts_;
};

// The context of one load, installed for the object's life; the model lock must be held.
class TPluginContext {
 public:
  explicit TPluginContext(const SDeviceServices& devices);
  const std::string& Messages() const { return messages_.Texts(); }

 private:
  static SApplicationContext Context(const SDeviceServices& devices, TMessageKeeper& messages);

  TMessageKeeper messages_;
  TApplicationScope scope_;
};
