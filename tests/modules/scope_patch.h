// A fixed source wired into a scope, in a render rig, for the scope's tests and its window's.
#pragma once

#include <cstdint>
#include <memory>

#include "modules/scope.h"
#include "tests/modules/patch_builder.h"
#include "tests/modules/render_rig.h"

struct SScopePatch {
  explicit SScopePatch(std::int32_t value, std::int32_t time = 100) {
    source = &Place(rig.Document(), "Source", std::make_shared<TFixedSource>(value));
    scope = &Create<TAusgabeSehen>(rig.Document(), "Scope", "OutputLook");
    scope->Time->value = time;
    Wire(*source, *scope);
  }
  TRenderRig rig;
  TFixedSource* source;
  TAusgabeSehen* scope;
};
